// Executing blocks again and again allocates nothing once the buffers have grown: the
// runner executes millions of blocks and must not touch the heap per line.
#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace {
std::atomic<long> allocations{0};
}

// Counts every allocation of this test program.
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace cuttrace {
namespace {

long AllocationsFor(NcMachine& machine, const std::vector<std::string>& lines, int rounds) {
    WordList words;
    auto runAll = [&]() {
        for (const auto& line : lines) {
            machine.SplitBlock(line, words);
            EXPECT_NE(machine.ExecuteBlock(words), BlockResult::Error) << line;
        }
    };
    runAll();  // let every buffer grow to its size
    runAll();
    long before = allocations.load();
    for (int i = 0; i < rounds; ++i)
        runAll();
    return allocations.load() - before;
}

TEST(SteadyState, OrdinaryBlocksAllocateNothing) {
    auto m = CreateMachine(Dialect::Fanuc);
    std::vector<std::string> lines = {"G01X12.345Y-3.210F1200.\r\n", "X10.5 Y-2.25\n",
                                      "G02X1.Y2.I0.5J0.\n", "N10 G00 Z5. (RETRACT)\n",
                                      "G81X1.Y2.Z-3.R1.F100.\n"};
    EXPECT_EQ(AllocationsFor(*m, lines, 100), 0);
}

TEST(SteadyState, MacroStatementsAllocateNothing) {
    auto m = CreateMachine(Dialect::Fanuc);
    std::vector<std::string> lines = {
        "#1=#1+1",        "#2=#1*0.36",    "#4=50.*COS[#2]",        "#5=50.*SIN[#2]",
        "G01X#4Y#5",      "X[#4+1]Y-[#5]", "WHILE[#1LT1000000]DO1", "END1",
        "IF[#1GT0]GOTO10"};
    EXPECT_EQ(AllocationsFor(*m, lines, 100), 0);
    auto tosnac = CreateMachine(Dialect::Tosnac);
    std::vector<std::string> tlines = {"[V1=V1+1]", "[V4=50.*COS[V1]]", "G01X[V4]Y2.",
                                       "[IF,V1.GT.0,GO 10]"};
    EXPECT_EQ(AllocationsFor(*tosnac, tlines, 100), 0);
}

}  // namespace
}  // namespace cuttrace
