// Macro and subprogram calls per dialect: which word names the program, which repeats it,
// where the arguments go, how returns unwind levels, and the messages of refused calls.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using machinetest::Execute;
using machinetest::LogRecorder;

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

TEST(ConformanceCall, ArgumentValuesAreReadAsWritten) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 2.5;
    ASSERT_EQ(Execute(*m, "G65 L9010 A1 B-2.5 C#1 D-#1"), BlockHandled);
    const auto& level = m->LocalLevels[1];
    EXPECT_DOUBLE_EQ(level[1], 1);  // no decimal point: still 1, not thousandths
    EXPECT_DOUBLE_EQ(level[2], -2.5);
    EXPECT_DOUBLE_EQ(level[3], 2.5);
    EXPECT_DOUBLE_EQ(level[7], -2.5);

    m = CreateMachine(DialectFanuc);
    m->LocalLevels[0][5] = 7;
    m->LocalLevels[0][1] = -2.5;
    ASSERT_EQ(Execute(*m, "G65P9010D#5A-#1"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[1][7], 7);
    EXPECT_DOUBLE_EQ(m->LocalLevels[1][1], 2.5);  // the two minus signs cancel
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][5], 7);    // the caller's variable is untouched
}

TEST(ConformanceCall, IJKArgumentsFillTriples) {
    auto m = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*m, "G65L9010A1.B2.I3.J4.K5.I6."), BlockHandled);
    EXPECT_EQ(m->ProgramName, "L9010");
    EXPECT_EQ(m->ResultCode, ResultCall);
    EXPECT_EQ(m->Level, 1);
    const auto& level = m->LocalLevels[1];
    EXPECT_DOUBLE_EQ(level[1], 1);
    EXPECT_DOUBLE_EQ(level[2], 2);
    EXPECT_DOUBLE_EQ(level[4], 3);
    EXPECT_DOUBLE_EQ(level[5], 4);
    EXPECT_DOUBLE_EQ(level[6], 5);
    EXPECT_DOUBLE_EQ(level[7], 6);

    // The counts start again with every call.
    ASSERT_EQ(Execute(*m, "G65L9011I9.J8.K7."), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][4], 9);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][5], 8);
    EXPECT_DOUBLE_EQ(m->LocalLevels[2][6], 7);
}

TEST(ConformanceCall, TooManyIJKArgumentsAreRefusedOneByOne) {
    auto m = CreateMachine(DialectFanuc);
    std::string line = "G65P1";
    for (int i = 1; i <= 12; ++i)
        line += "I" + std::to_string(i) + ".";
    for (int i = 1; i <= 12; ++i)
        line += "J" + std::to_string(100 + i) + ".";
    for (int i = 1; i <= 11; ++i)
        line += "K" + std::to_string(200 + i) + ".";
    LogRecorder log;
    ASSERT_EQ(Execute(*m, line), BlockHandled);  // the call goes on
    const auto& level = m->LocalLevels[1];
    for (int k = 0; k < 11; ++k) {
        EXPECT_DOUBLE_EQ(level[static_cast<std::size_t>(4 + 3 * k)], k + 1) << k;
        EXPECT_DOUBLE_EQ(level[static_cast<std::size_t>(5 + 3 * k)], 101 + k) << k;
    }
    for (int k = 0; k < 10; ++k)
        EXPECT_DOUBLE_EQ(level[static_cast<std::size_t>(6 + 3 * k)], 201 + k) << k;
    EXPECT_TRUE(log.Contains("too many I adress")) << log.Joined();
    EXPECT_TRUE(log.Contains("too many J adress")) << log.Joined();
    EXPECT_TRUE(log.Contains("too many K adress")) << log.Joined();
}

TEST(ConformanceCall, MacroCallsClearTheNewLevelExceptInTosnac) {
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
        EXPECT_DOUBLE_EQ(level[1], cleared) << dialect;
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
    for (Case c : {Case{DialectFanuc, "G65P9010A5.", "O9010", 0, 1},
                   Case{DialectFanuc, "G66.1P9010", "O9010", 0, 1},
                   Case{DialectFanuc, "G65P1P2", "O2", 0, 1},  // the last word wins
                   Case{DialectFanuc, "M98P1234L3", "O1234", 3, 0},
                   Case{DialectFanuc, "G22P100L2", "O100", 2, 0},
                   Case{DialectMeldas, "G65L9010P3", "L9010", 0, 1},
                   Case{DialectMeldas, "G66.1L9010", "L9010", 0, 1},
                   Case{DialectMeldas, "M98L100P3", "L100", 3, 0},
                   Case{DialectMeldas, "G22L100", "L100", 0, 0},
                   Case{DialectTosnac, "G65O9010L3", "O9010", 3, 1},
                   Case{DialectTosnac, "G72O100L2", "O100", 2, 0},
                   Case{DialectTosnac, "M98O100", "O100", 0, 0}}) {
        auto m = CreateMachine(c.dialect);
        ASSERT_EQ(Execute(*m, c.line), BlockHandled) << c.line;
        EXPECT_EQ(m->ResultCode, ResultCall) << c.line;
        EXPECT_EQ(m->ProgramName, c.name) << c.line;
        EXPECT_EQ(m->ResultNumber, c.repeat) << c.line;
        EXPECT_EQ(m->Level, c.level) << c.line;
        EXPECT_EQ(m->CallDepth, 1) << c.line;
        EXPECT_EQ(m->CallKinds[1], c.level) << c.line;  // 1 when a level was opened
    }
    // A MELDAS subprogram can be entered at the sequence of its H word, in this program.
    auto m = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*m, "M98H20"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "");
    EXPECT_EQ(m->StartSequence, 20);
    ASSERT_EQ(Execute(*m, "M98L100P3H5"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "L100");
    EXPECT_EQ(m->StartSequence, 5);
    ASSERT_EQ(Execute(*m, "M98L100"), BlockHandled);
    EXPECT_EQ(m->StartSequence, -1);
    ASSERT_EQ(Execute(*m, "G65L100"), BlockHandled);
    EXPECT_EQ(m->StartSequence, 0);
}

TEST(ConformanceCall, ACallWithoutItsNameWordFails) {
    struct Case {
        int dialect;
        const char* line;
    };
    for (Case c :
         {Case{DialectMeldas, "M98"}, Case{DialectMeldas, "M98P3"}, Case{DialectMeldas, "G65A1."},
          Case{DialectFanuc, "M98L3"}, Case{DialectFanuc, "G65L9010"},
          Case{DialectTosnac, "M98P100"}, Case{DialectTosnac, "G65P100"}}) {
        auto m = CreateMachine(c.dialect);
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.line), BlockError) << c.line;
        EXPECT_TRUE(log.Contains("not find proguram name")) << c.line << log.Joined();
    }
    // The other dialects' subprogram keyword is an ordinary G word.
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*tosnac, "G22O100"), BlockHandled);  // the O word
    EXPECT_EQ(tosnac->ResultCode, ResultNone);
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*meldas, "G72X1"), BlockOrdinary);
}

TEST(ConformanceCall, ReturnsEndsAndModalCalls) {
    auto m = CreateMachine(DialectFanuc);
    for (const char* keyword : {"M99", "G23", "G68"}) {
        ASSERT_EQ(Execute(*m, "G65P1"), BlockHandled);
        ASSERT_EQ(Execute(*m, "M98P2"), BlockHandled);
        EXPECT_EQ(m->Level, 1);
        EXPECT_EQ(m->CallDepth, 2);
        EXPECT_EQ(Execute(*m, keyword), BlockHandled);
        EXPECT_EQ(m->ResultCode, ResultReturn);
        EXPECT_EQ(m->Level, 1) << keyword;  // the subprogram opened no level
        EXPECT_EQ(m->CallDepth, 1);
        EXPECT_EQ(Execute(*m, keyword), BlockHandled);
        EXPECT_EQ(m->Level, 0) << keyword;
        EXPECT_EQ(m->CallDepth, 0);
    }
    // A return with no open call changes nothing.
    EXPECT_EQ(Execute(*m, "M99"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultReturn);
    EXPECT_EQ(m->CallDepth, 0);
    EXPECT_EQ(m->Level, 0);

    for (const char* end : {"M30", "M02"}) {
        EXPECT_EQ(Execute(*m, end), BlockHandled);
        EXPECT_EQ(m->ResultCode, ResultProgramEnd);
    }
    EXPECT_EQ(Execute(*m, "G66P9010"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultModalCall);
    EXPECT_EQ(m->Level, 0);
    EXPECT_EQ(Execute(*m, "G67"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST(ConformanceCall, RepeatedPassesCountAsOneCall) {
    auto fanuc = CreateMachine(DialectFanuc);
    ASSERT_EQ(Execute(*fanuc, "M98P1234L3"), BlockHandled);
    for (int pass = 1; pass <= 2; ++pass) {
        EXPECT_EQ(Execute(*fanuc, "M99"), BlockHandled);
        EXPECT_EQ(fanuc->CallDepth, 1) << pass;
    }
    EXPECT_EQ(Execute(*fanuc, "M99"), BlockHandled);
    EXPECT_EQ(fanuc->CallDepth, 0);

    auto tosnac = CreateMachine(DialectTosnac);
    ASSERT_EQ(Execute(*tosnac, "G65O1L2"), BlockHandled);
    EXPECT_EQ(Execute(*tosnac, "M99"), BlockHandled);
    EXPECT_EQ(tosnac->Level, 1);
    EXPECT_EQ(Execute(*tosnac, "M99"), BlockHandled);
    EXPECT_EQ(tosnac->Level, 0);
    EXPECT_EQ(tosnac->CallDepth, 0);
}

TEST(ConformanceCall, AFifthNestedMacroCallIsRefused) {
    auto m = CreateMachine(DialectFanuc);
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(Execute(*m, "G65P1A1."), BlockHandled) << i;
        EXPECT_EQ(m->Level, i);
    }
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "G65P1A1."), BlockError);
    EXPECT_TRUE(log.Contains("macro nest over")) << log.Joined();
    // A subprogram call opens no level and is still possible.
    EXPECT_EQ(Execute(*m, "M98P2"), BlockHandled);
}

TEST(ConformanceCall, RefusedArgumentWords) {
    auto m = CreateMachine(DialectFanuc);
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "G65P9010a1.B2."), BlockHandled);
    EXPECT_TRUE(log.Contains("can notadless nestset :a")) << log.Joined();
    EXPECT_DOUBLE_EQ(m->LocalLevels[1][2], 2);
}

}  // namespace
}  // namespace cuttrace
