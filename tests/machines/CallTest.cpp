// Macro and subprogram calls per dialect, arguments, returns, repeat counts, program end.
#include <gtest/gtest.h>

#include <string>
#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;

TEST(Calls, MeldasMacroCallWithLetterArguments) {
    auto m = CreateMachine(Dialect::Meldas);
    ASSERT_EQ(Execute(*m, "G65L9010A1.B2.I3.J4.K5.I6."), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Call);
    EXPECT_EQ(m->Request().name, "L9010");
    EXPECT_EQ(m->Request().number, 0);
    EXPECT_EQ(m->Request().startSequence, 0);
    EXPECT_EQ(m->MacroLevel(), 1);
    EXPECT_EQ(m->CallDepth(), 1);
    auto level = [&](int n) { return m->Variables().Local(1, n); };
    EXPECT_EQ(level(1), 1.0);
    EXPECT_EQ(level(2), 2.0);
    EXPECT_EQ(level(4), 3.0);
    EXPECT_EQ(level(5), 4.0);
    EXPECT_EQ(level(6), 5.0);
    EXPECT_EQ(level(7), 6.0);
}

TEST(Calls, FanucMacroCallRenamesP) {
    auto m = CreateMachine(Dialect::Fanuc);
    Execute(*m, "#5=7");
    ASSERT_EQ(Execute(*m, "G65 P9010 A5. D#5 X-2.5 Z3 M6."), BlockResult::Handled);
    EXPECT_EQ(m->Request().name, "O9010");
    auto level = [&](int n) { return m->Variables().Local(1, n); };
    EXPECT_EQ(level(1), 5.0);
    EXPECT_EQ(level(7), 7.0);
    EXPECT_EQ(level(24), -2.5);
    EXPECT_EQ(level(26), 3.0);  // arguments take their number as written
    EXPECT_EQ(level(13), 6.0);
    EXPECT_EQ(level(10), 0.0);  // G and P are never arguments
    EXPECT_EQ(level(16), 0.0);
    EXPECT_EQ(m->Variables().Local(0, 5), 7.0);
}

TEST(Calls, ArgumentExpressionsAndSigns) {
    auto m = CreateMachine(Dialect::Fanuc);
    Execute(*m, "#1=-2.5#2=3");
    ASSERT_EQ(Execute(*m, "G65P1A-#1B[#2*2]C-[#2]D#2"), BlockResult::Handled);
    auto level = [&](int n) { return m->Variables().Local(1, n); };
    EXPECT_EQ(level(1), 2.5);  // the two minus signs cancel
    EXPECT_EQ(level(2), 6.0);
    EXPECT_EQ(level(3), -3.0);
    EXPECT_EQ(level(7), 3.0);
}

TEST(Calls, MacroCallClearsTheNewLevelExceptInTosnac) {
    auto fanuc = CreateMachine(Dialect::Fanuc);
    fanuc->Variables().SetLocal(1, 3, 9.0);
    fanuc->Variables().SetLocal(1, 34, 9.0);
    Execute(*fanuc, "G65P1A1.");
    EXPECT_EQ(fanuc->Variables().Local(1, 3), 0.0);
    EXPECT_EQ(fanuc->Variables().Local(1, 34), 9.0);  // only #0..#33

    auto tosnac = CreateMachine(Dialect::Tosnac);
    tosnac->Variables().SetLocal(1, 3, 9.0);
    ASSERT_EQ(Execute(*tosnac, "G65 O9010 L2 A1."), BlockResult::Handled);
    EXPECT_EQ(tosnac->Variables().Local(1, 3), 9.0);
    EXPECT_EQ(tosnac->Variables().Local(1, 1), 1.0);
    EXPECT_EQ(tosnac->Request().name, "O9010");
    EXPECT_EQ(tosnac->Request().number, 2);
}

TEST(Calls, SubprogramCallsPerDialect) {
    auto fanuc = CreateMachine(Dialect::Fanuc);
    ASSERT_EQ(Execute(*fanuc, "M98P1234L3"), BlockResult::Handled);
    EXPECT_EQ(fanuc->Request().kind, MachineRequest::Call);
    EXPECT_EQ(fanuc->Request().name, "O1234");
    EXPECT_EQ(fanuc->Request().number, 3);
    EXPECT_EQ(fanuc->MacroLevel(), 0);
    EXPECT_EQ(fanuc->CallDepth(), 1);
    ASSERT_EQ(Execute(*fanuc, "G22 P55"), BlockResult::Handled);
    EXPECT_EQ(fanuc->Request().name, "O55");

    auto meldas = CreateMachine(Dialect::Meldas);
    ASSERT_EQ(Execute(*meldas, "M98L100P3"), BlockResult::Handled);
    EXPECT_EQ(meldas->Request().name, "L100");
    EXPECT_EQ(meldas->Request().number, 3);
    EXPECT_EQ(meldas->Request().startSequence, -1);
    ASSERT_EQ(Execute(*meldas, "M98 H20"), BlockResult::Handled);
    EXPECT_EQ(meldas->Request().name, "");
    EXPECT_EQ(meldas->Request().startSequence, 20);

    auto tosnac = CreateMachine(Dialect::Tosnac);
    ASSERT_EQ(Execute(*tosnac, "M98 O1234 L3"), BlockResult::Handled);
    EXPECT_EQ(tosnac->Request().name, "O1234");
    EXPECT_EQ(tosnac->Request().number, 3);
    ASSERT_EQ(Execute(*tosnac, "G72 O77"), BlockResult::Handled);
    EXPECT_EQ(tosnac->Request().name, "O77");
    EXPECT_EQ(tosnac->CallDepth(), 2);
}

TEST(Calls, MissingProgramName) {
    LogRecorder log;
    auto meldas = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(Execute(*meldas, "M98"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not find proguram name"));
    auto fanuc = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*fanuc, "M98 L2"), BlockResult::Error);
    EXPECT_EQ(Execute(*fanuc, "G65 A1."), BlockResult::Error);
    EXPECT_EQ(fanuc->CallDepth(), 0);
}

TEST(Calls, ReturnsLowerTheLevelOnlyForMacroCalls) {
    auto m = CreateMachine(Dialect::Fanuc);
    Execute(*m, "G65P9010");
    Execute(*m, "M98P100");
    EXPECT_EQ(m->MacroLevel(), 1);
    EXPECT_EQ(m->CallDepth(), 2);
    ASSERT_EQ(Execute(*m, "M99"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Return);
    EXPECT_EQ(m->MacroLevel(), 1);
    EXPECT_EQ(Execute(*m, "G23"), BlockResult::Handled);
    EXPECT_EQ(m->MacroLevel(), 0);
    EXPECT_EQ(m->CallDepth(), 0);
    // A return at depth 0 (the main program) changes nothing but still returns.
    EXPECT_EQ(Execute(*m, "M99"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Return);
    EXPECT_EQ(m->CallDepth(), 0);
    // G68 returns only on TOSNAC; here it is coordinate rotation.
    EXPECT_EQ(Execute(*m, "G68"), BlockResult::Ordinary);
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Execute(*tosnac, "G68"), BlockResult::Handled);
    EXPECT_EQ(tosnac->Request().kind, MachineRequest::Return);
}

TEST(Calls, ARepeatedCallIsClosedByItsLastPass) {
    auto m = CreateMachine(Dialect::Fanuc);
    Execute(*m, "G65P9010");
    Execute(*m, "M98P100L3");
    for (int pass = 1; pass <= 2; ++pass) {
        ASSERT_EQ(Execute(*m, "M99"), BlockResult::Handled);
        EXPECT_EQ(m->Request().kind, MachineRequest::Return);
        EXPECT_EQ(m->CallDepth(), 2) << "pass " << pass;
        EXPECT_EQ(m->MacroLevel(), 1);
    }
    Execute(*m, "M99");
    EXPECT_EQ(m->CallDepth(), 1);
    EXPECT_EQ(m->MacroLevel(), 1);  // the macro that made the repeated call is still running
    Execute(*m, "M99");
    EXPECT_EQ(m->CallDepth(), 0);
    EXPECT_EQ(m->MacroLevel(), 0);

    auto tosnac = CreateMachine(Dialect::Tosnac);
    Execute(*tosnac, "G65 O9 L2");
    Execute(*tosnac, "M99");
    EXPECT_EQ(tosnac->MacroLevel(), 1);
    Execute(*tosnac, "M99");
    EXPECT_EQ(tosnac->MacroLevel(), 0);
}

TEST(Calls, EndModalCallAndCancel) {
    auto m = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(Execute(*m, "M30"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::ProgramEnd);
    EXPECT_EQ(Execute(*m, "G00 M02"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::ProgramEnd);
    EXPECT_EQ(Execute(*m, "M3"), BlockResult::Ordinary);
}

TEST(Calls, ModalCallKeepsTheArgumentsOfItsBlockUntilCancelled) {
    for (Dialect dialect : {Dialect::Meldas, Dialect::Fanuc}) {
        auto m = CreateMachine(dialect);
        const bool fanuc = dialect == Dialect::Fanuc;
        Execute(*m, "#1=5.");
        ASSERT_EQ(Execute(*m, fanuc ? "G66P9010A#1R[#1*2]" : "G66L9010A#1R[#1*2]"),
                  BlockResult::Handled);
        EXPECT_EQ(m->Request().kind, MachineRequest::None) << "G66 itself calls nothing";
        EXPECT_EQ(m->CallDepth(), 0);
        Execute(*m, "#1=7.");  // later changes do not reach the arguments
        ASSERT_TRUE(m->ModalCallDue());
        ASSERT_EQ(m->CallModalMacro(), BlockResult::Handled);
        EXPECT_EQ(m->Request().kind, MachineRequest::Call);
        EXPECT_EQ(m->Request().name, fanuc ? "O9010" : "L9010");
        EXPECT_EQ(m->Variables().Local(1, 1), 5.0);
        EXPECT_EQ(m->Variables().Local(1, 18), 10.0);
        EXPECT_FALSE(m->ModalCallDue()) << "moves inside the called macro call nothing";
        Execute(*m, "#1=1.");
        Execute(*m, "M99");
        EXPECT_EQ(m->MacroLevel(), 0);
        ASSERT_TRUE(m->ModalCallDue());
        ASSERT_EQ(m->CallModalMacro(), BlockResult::Handled);
        EXPECT_EQ(m->Variables().Local(1, 1), 5.0) << "a fresh level with the same arguments";
        Execute(*m, "M99");
        EXPECT_EQ(Execute(*m, "G67"), BlockResult::Handled);
        EXPECT_FALSE(m->ModalCallDue());
    }
    LogRecorder log;
    auto fanuc = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*fanuc, "G66A1."), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not find proguram name"));
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Execute(*tosnac, "G66O9010"), BlockResult::Handled);
    EXPECT_EQ(tosnac->Request().kind, MachineRequest::ModalCall) << "TOSNAC has no modal call";
}

TEST(Calls, ArgumentSetsFollowTheLetterOrderIJK) {
    auto m = CreateMachine(Dialect::Fanuc);
    ASSERT_EQ(Execute(*m, "G65P1A1.I4.J5.I7.K9.J11."), BlockResult::Handled);
    auto level = [&](int n) { return m->Variables().Local(1, n); };
    for (int n : {1, 4, 5, 7, 9, 11})
        EXPECT_DOUBLE_EQ(level(n), n) << "#" << n;
    EXPECT_DOUBLE_EQ(level(6), 0);
    Execute(*m, "M99");
    // K then J: J opens the next set; a type I letter and a later set may name the same
    // variable, the later word wins (D is #7, so is the second I).
    ASSERT_EQ(Execute(*m, "G65P1K6.J8.D1.I2.I3.I7."), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(level(6), 6);
    EXPECT_DOUBLE_EQ(level(8), 8);
    EXPECT_DOUBLE_EQ(level(7), 1) << "D after J of the second set";
    EXPECT_DOUBLE_EQ(level(10), 2);
    EXPECT_DOUBLE_EQ(level(13), 3);
    EXPECT_DOUBLE_EQ(level(16), 7);
    // TOSNAC counts each letter on its own.
    auto tosnac = CreateMachine(Dialect::Tosnac);
    ASSERT_EQ(Execute(*tosnac, "G65O1K6.J5."), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(tosnac->Variables().Local(1, 5), 5);
}

TEST(Calls, RefusedArgumentsAreLoggedAndSkipped) {
    LogRecorder log;
    auto m = CreateMachine(Dialect::Fanuc);
    ASSERT_EQ(Execute(*m, "G65P1a1.B2.(NOTE)"), BlockResult::Handled);
    EXPECT_TRUE(log.Contains("can notadless nestset :a"));
    EXPECT_FALSE(log.Contains("nestset :("));
    EXPECT_EQ(m->Variables().Local(1, 2), 2.0);

    std::string many = "G65P1";
    for (int i = 1; i <= 11; ++i)
        many += "K" + std::to_string(i) + ".";
    ASSERT_EQ(Execute(*m, many), BlockResult::Handled);
    EXPECT_TRUE(log.Contains("too many K adress"));
    EXPECT_EQ(m->Variables().Local(2, 33), 10.0);  // the 10th K; there is no 11th set
    EXPECT_EQ(m->Variables().Local(2, 34), 0.0);
}

TEST(Calls, AFailingArgumentExpressionFailsTheCall) {
    LogRecorder log;
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*m, "G65P1A[1/0]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("divijon by 0 error"));
    EXPECT_EQ(m->CallDepth(), 0);
}

TEST(Calls, ASixthMacroLevelIsRefused) {
    LogRecorder log;
    auto m = CreateMachine(Dialect::Fanuc);
    for (int i = 1; i < NcMachine::kMacroLevels; ++i)
        ASSERT_EQ(Execute(*m, "G65P1"), BlockResult::Handled);
    EXPECT_EQ(m->MacroLevel(), 4);
    EXPECT_EQ(Execute(*m, "G65P1A1."), BlockResult::Error);
    EXPECT_TRUE(log.Contains("macro nest over"));
    EXPECT_EQ(m->MacroLevel(), 4);
    // Subprogram calls open no level, but their depth is bounded too.
    for (int i = 4; i < NcMachine::kMaxCallDepth; ++i)
        ASSERT_EQ(Execute(*m, "M98P1"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "M98P1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("call nest over"));
}

TEST(Calls, EveryArgumentLetterFillsItsVariable) {
    auto m = CreateMachine(Dialect::Fanuc);
    ASSERT_EQ(Execute(*m,
                      "N10 G65 P1 A1. B2. C3. D7. E8. F9. H11. M13. Q17. R18. S19. T20. "
                      "U21. V22. W23. X24. Y25. Z26. L3 O4"),
              BlockResult::Handled);
    EXPECT_EQ(m->MacroLevel(), 1);
    auto level = [&](int n) { return m->Variables().Local(1, n); };
    for (int n : {1, 2, 3, 7, 8, 9, 11, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26})
        EXPECT_DOUBLE_EQ(level(n), n) << "#" << n;
    // G, L, N, O and P are never arguments.
    for (int n : {10, 12, 14, 15, 16})
        EXPECT_DOUBLE_EQ(level(n), 0) << "#" << n;
    EXPECT_EQ(m->Request().number, 0);  // FANUC has no repeat count for a macro call
}

TEST(Calls, IJKCountsStartAgainWithEveryCall) {
    auto m = CreateMachine(Dialect::Meldas);
    ASSERT_EQ(Execute(*m, "G65L9010I1.J2.K3.I4."), BlockResult::Handled);
    ASSERT_EQ(Execute(*m, "G65L9011I9.J8.K7."), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Local(2, 4), 9);
    EXPECT_DOUBLE_EQ(m->Variables().Local(2, 5), 8);
    EXPECT_DOUBLE_EQ(m->Variables().Local(2, 6), 7);
    EXPECT_DOUBLE_EQ(m->Variables().Local(2, 7), 0);

    // J fills #5, #8, ... #32: ten of them, the eleventh and twelfth are refused.
    std::string line = "G65L1";
    for (int i = 1; i <= 12; ++i)
        line += "J" + std::to_string(100 + i) + ".";
    LogRecorder log;
    ASSERT_EQ(Execute(*m, line), BlockResult::Handled);
    for (int k = 0; k < 10; ++k)
        EXPECT_DOUBLE_EQ(m->Variables().Local(3, 5 + 3 * k), 101 + k) << k;
    EXPECT_EQ(log.lines, std::vector<std::string>(2, "too many J adress"));
}

TEST(Calls, MacroCallsClearHashZeroToThirtyThreeExceptInTosnac) {
    for (Dialect dialect : {Dialect::Meldas, Dialect::Fanuc, Dialect::Tosnac}) {
        auto m = CreateMachine(dialect);
        for (int n = 0; n < NcMachine::kLocals; ++n)
            m->Variables().SetLocal(1, n, 9);
        const char* line = dialect == Dialect::Meldas  ? "G65L1B2."
                           : dialect == Dialect::Fanuc ? "G65P1B2."
                                                       : "G65O1B2.";
        ASSERT_EQ(Execute(*m, line), BlockResult::Handled) << static_cast<int>(dialect);
        auto level = [&](int n) { return m->Variables().Local(1, n); };
        EXPECT_DOUBLE_EQ(level(2), 2);
        const double cleared = dialect == Dialect::Tosnac ? 9 : 0;
        EXPECT_DOUBLE_EQ(level(0), cleared) << static_cast<int>(dialect);
        EXPECT_DOUBLE_EQ(level(33), cleared) << static_cast<int>(dialect);
        EXPECT_DOUBLE_EQ(level(34), 9) << static_cast<int>(dialect);
        EXPECT_DOUBLE_EQ(level(35), 9) << static_cast<int>(dialect);
    }
}

TEST(Calls, NamesRepeatsAndStartsPerDialect) {
    struct Case {
        Dialect dialect;
        const char* line;
        const char* name;
        int repeat;
        int level;
    };
    for (Case c : {Case{Dialect::Fanuc, "G66.1P9010", "O9010", 0, 1},
                   Case{Dialect::Fanuc, "G65P1P2", "O2", 0, 1},  // the last word wins
                   Case{Dialect::Fanuc, "G22P100L2", "O100", 2, 0},
                   Case{Dialect::Meldas, "G65L9010P3", "L9010", 0, 1},  // no repeat for G65
                   Case{Dialect::Meldas, "G66.1L9010", "L9010", 0, 1},
                   Case{Dialect::Meldas, "G22L100", "L100", 0, 0},
                   Case{Dialect::Tosnac, "G72O100L2", "O100", 2, 0},
                   Case{Dialect::Tosnac, "G66.1O9010L4", "O9010", 4, 1}}) {
        auto m = CreateMachine(c.dialect);
        ASSERT_EQ(Execute(*m, c.line), BlockResult::Handled) << c.line;
        EXPECT_EQ(m->Request().kind, MachineRequest::Call) << c.line;
        EXPECT_EQ(m->Request().name, c.name) << c.line;
        EXPECT_EQ(m->Request().number, c.repeat) << c.line;
        EXPECT_EQ(m->MacroLevel(), c.level) << c.line;
        EXPECT_EQ(m->CallDepth(), 1) << c.line;
    }
    // A MELDAS subprogram named by L can also be entered at the sequence of its H word.
    auto m = CreateMachine(Dialect::Meldas);
    ASSERT_EQ(Execute(*m, "M98L100P3H5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().name, "L100");
    EXPECT_EQ(m->Request().number, 3);
    EXPECT_EQ(m->Request().startSequence, 5);
}

TEST(Calls, ACallWithoutItsNameWordFails) {
    struct Case {
        Dialect dialect;
        const char* line;
    };
    for (Case c : {Case{Dialect::Meldas, "M98P3"}, Case{Dialect::Meldas, "G65A1."},
                   Case{Dialect::Fanuc, "G65L9010"}, Case{Dialect::Tosnac, "M98P100"},
                   Case{Dialect::Tosnac, "G65P100"}}) {
        auto m = CreateMachine(c.dialect);
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.line), BlockResult::Error) << c.line;
        EXPECT_TRUE(log.Contains("not find proguram name")) << c.line << log.Joined();
    }
    // The other dialects' subprogram keyword is an ordinary G word.
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Execute(*tosnac, "G22O100"), BlockResult::Handled);  // for its O word
    EXPECT_EQ(tosnac->Request().kind, MachineRequest::None);
    auto meldas = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(Execute(*meldas, "G72X1"), BlockResult::Ordinary);
}

}  // namespace
}  // namespace cuttrace
