// Macro and subprogram calls against the role table of each dialect: every argument
// letter, the J limit, the cleared range of a new level, which word names, repeats and
// enters a call, and the calls refused for want of their name word.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;

TEST(ConformanceCall, EveryArgumentLetterFillsItsVariable) {
    auto m = CreateMachine(DialectFanuc);
    ASSERT_EQ(Execute(*m,
                      "N10 G65 P1 A1. B2. C3. D7. E8. F9. H11. M13. Q17. R18. S19. T20. "
                      "U21. V22. W23. X24. Y25. Z26. L3 O4"),
              BlockHandled);
    EXPECT_EQ(m->Level, 1);
    const auto& level = m->LocalLevels[1];
    for (int n : {1, 2, 3, 7, 8, 9, 11, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26})
        EXPECT_DOUBLE_EQ(level[static_cast<std::size_t>(n)], n) << "#" << n;
    // G, L, N, O and P are never arguments.
    for (int n : {10, 12, 14, 15, 16})
        EXPECT_DOUBLE_EQ(level[static_cast<std::size_t>(n)], 0) << "#" << n;
    EXPECT_EQ(m->ResultNumber, 0);  // FANUC has no repeat count for a macro call
}

TEST(ConformanceCall, IJKCountsStartAgainWithEveryCall) {
    auto m = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*m, "G65L9010I1.J2.K3.I4."), BlockHandled);
    ASSERT_EQ(Execute(*m, "G65L9011I9.J8.K7."), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][4], 9);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][5], 8);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][6], 7);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][7], 0);

    // J fills #5, #8, ... #35: eleven of them, the twelfth is refused.
    std::string line = "G65L1";
    for (int i = 1; i <= 12; ++i)
        line += "J" + std::to_string(100 + i) + ".";
    LogRecorder log;
    ASSERT_EQ(Execute(*m, line), BlockHandled);
    for (int k = 0; k < 11; ++k)
        EXPECT_DOUBLE_EQ(m->LocalLevels[3][static_cast<std::size_t>(5 + 3 * k)], 101 + k) << k;
    EXPECT_EQ(log.lines, std::vector<std::string>{"too many J adress"});
}

TEST(ConformanceCall, MacroCallsClearHashZeroToThirtyTwoExceptInTosnac) {
    for (int dialect : {DialectMeldas, DialectFanuc, DialectTosnac}) {
        auto m = CreateMachine(dialect);
        for (auto& v : m->LocalLevels[1])
            v = 9;
        const char* line = dialect == DialectMeldas  ? "G65L1B2."
                           : dialect == DialectFanuc ? "G65P1B2."
                                                     : "G65O1B2.";
        ASSERT_EQ(Execute(*m, line), BlockHandled) << dialect;
        const auto& level = m->LocalLevels[1];
        EXPECT_DOUBLE_EQ(level[2], 2);
        const double cleared = dialect == DialectTosnac ? 9 : 0;
        EXPECT_DOUBLE_EQ(level[0], cleared) << dialect;
        EXPECT_DOUBLE_EQ(level[32], cleared) << dialect;
        EXPECT_DOUBLE_EQ(level[33], 9) << dialect;
        EXPECT_DOUBLE_EQ(level[35], 9) << dialect;
    }
}

TEST(ConformanceCall, NamesRepeatsAndStartsPerDialect) {
    struct Case {
        int dialect;
        const char* line;
        const char* name;
        int repeat;
        int level;
    };
    for (Case c : {Case{DialectFanuc, "G66.1P9010", "O9010", 0, 1},
                   Case{DialectFanuc, "G65P1P2", "O2", 0, 1},  // the last word wins
                   Case{DialectFanuc, "G22P100L2", "O100", 2, 0},
                   Case{DialectMeldas, "G65L9010P3", "L9010", 0, 1},  // no repeat for G65
                   Case{DialectMeldas, "G66.1L9010", "L9010", 0, 1},
                   Case{DialectMeldas, "G22L100", "L100", 0, 0},
                   Case{DialectTosnac, "G72O100L2", "O100", 2, 0},
                   Case{DialectTosnac, "G66.1O9010L4", "O9010", 4, 1}}) {
        auto m = CreateMachine(c.dialect);
        ASSERT_EQ(Execute(*m, c.line), BlockHandled) << c.line;
        EXPECT_EQ(m->ResultCode, ResultCall) << c.line;
        EXPECT_EQ(m->ProgramName, c.name) << c.line;
        EXPECT_EQ(m->ResultNumber, c.repeat) << c.line;
        EXPECT_EQ(m->Level, c.level) << c.line;
        EXPECT_EQ(m->CallDepth, 1) << c.line;
        EXPECT_EQ(m->CallKinds[1], c.level) << c.line;  // 1 when a level was opened
    }
    // A MELDAS subprogram named by L can also be entered at the sequence of its H word.
    auto m = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*m, "M98L100P3H5"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "L100");
    EXPECT_EQ(m->ResultNumber, 3);
    EXPECT_EQ(m->StartSequence, 5);
}

TEST(ConformanceCall, ACallWithoutItsNameWordFails) {
    struct Case {
        int dialect;
        const char* line;
    };
    for (Case c : {Case{DialectMeldas, "M98P3"}, Case{DialectMeldas, "G65A1."},
                   Case{DialectFanuc, "G65L9010"}, Case{DialectTosnac, "M98P100"},
                   Case{DialectTosnac, "G65P100"}}) {
        auto m = CreateMachine(c.dialect);
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.line), BlockError) << c.line;
        EXPECT_TRUE(log.Contains("not find proguram name")) << c.line << log.Joined();
    }
    // The other dialects' subprogram keyword is an ordinary G word.
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*tosnac, "G22O100"), BlockHandled);  // for its O word
    EXPECT_EQ(tosnac->ResultCode, ResultNone);
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*meldas, "G72X1"), BlockOrdinary);
}

}  // namespace
}  // namespace cuttrace
