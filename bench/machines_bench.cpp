// Dialect machine throughput: splitting and executing plain CAM blocks, and macro
// statements in a WHILE loop that computes points on a circle with SIN and COS.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace {

using cuttrace::BlockResult;
using cuttrace::CreateMachine;
using cuttrace::NcMachine;
using cuttrace::WordList;

// Lines in the shapes CAM post-processors write (compact, spaced, trimmed, numbered).
constexpr std::array<std::string_view, 8> kCamLines = {
    "G01X12.345Y-3.210F1200.\r\n", "X10.5 Y-2.25\n",
    "G02X1.Y2.I0.5J0.\n",          "N1230 G01 X-.5 Y.25 Z-1.2\n",
    "G03 X101.25 Y48.75 R12.5\n",  "G00Z5.\n",
    "(FINISH CONTOUR)\n",          "G81 X20. Y30. Z-5. R2. F150.\n",
};

void BM_CamBlocks(benchmark::State& state) {
    auto machine = CreateMachine(cuttrace::DialectFromSetting(static_cast<int>(state.range(0))));
    WordList words;
    std::size_t i = 0;
    for (auto _ : state) {
        machine->SplitBlock(kCamLines[i], words);
        BlockResult result = machine->ExecuteBlock(words);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(words[0].data());
        if (++i == kCamLines.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("blocks");
}
BENCHMARK(BM_CamBlocks)
    ->Arg(static_cast<int>(cuttrace::Dialect::Meldas))
    ->Arg(static_cast<int>(cuttrace::Dialect::Fanuc));

// A bolt-hole style loop: every pass computes one point and moves to it.
const std::vector<std::string> kLoop = {
    "#1=0",       "#3=50.",        "WHILE[#1LT1000000]DO1",
    "#2=#1*0.36", "#4=#3*COS[#2]", "#5=#3*SIN[#2]",
    "G01X#4Y#5",  "#1=#1+1",       "END1",
};
constexpr int kStatementsPerPass = 6;  // WHILE, three assignments, the increment, END

// Runs the loop program as the execution core would (loop start and end, skip to END).
int64_t RunLoop(NcMachine& machine, WordList& words, int64_t maxLines) {
    std::size_t loopStart = 0;
    std::size_t i = 0;
    int64_t executed = 0;
    while (i < kLoop.size() && executed < maxLines) {
        ++executed;
        machine.SplitBlock(kLoop[i], words);
        BlockResult result = machine.ExecuteBlock(words);
        if (result == BlockResult::Error) return -1;
        std::size_t next = i + 1;
        if (result == BlockResult::Handled) {
            switch (machine.Request().kind) {
                case cuttrace::MachineRequest::LoopBegin:
                    loopStart = i;
                    break;
                case cuttrace::MachineRequest::LoopEnd:
                    next = loopStart;
                    break;
                case cuttrace::MachineRequest::SkipToEnd:
                    next = kLoop.size();
                    break;
                default:
                    break;
            }
        }
        i = next;
    }
    return executed;
}

void BM_MacroWhileLoop(benchmark::State& state) {
    int64_t statements = 0;
    for (auto _ : state) {
        auto machine = CreateMachine(cuttrace::Dialect::Fanuc);
        WordList words;
        int64_t lines = RunLoop(*machine, words, INT64_MAX);
        if (lines < 0 || machine->Variables().Local(0, 1) != 1000000.0) {
            state.SkipWithError("the loop did not run to its end");
            break;
        }
        statements += 1000000LL * kStatementsPerPass;
    }
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MacroWhileLoop)->Iterations(1)->Unit(benchmark::kMillisecond);

// Single statements of the kinds the loop uses, for a finer picture.
void BM_Statement(benchmark::State& state) {
    // The WHILE opens a loop each time: an END closes it again, in the same block.
    static const std::array<std::string, 4> kStatements = {
        "#1=#1+1", "#4=#3*COS[#2]", "WHILE[#1LT1000000]DO1 END1", "G01X#4Y#5"};
    auto machine = CreateMachine(cuttrace::Dialect::Fanuc);
    WordList words;
    const std::string& line = kStatements[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) {
        machine->SplitBlock(line, words);
        BlockResult result = machine->ExecuteBlock(words);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(line);
}
BENCHMARK(BM_Statement)->DenseRange(0, 3);

}  // namespace
