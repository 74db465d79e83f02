// Macro and subprogram calls per dialect, arguments, returns, repeat counts, program end.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;

TEST(Calls, MeldasMacroCallWithLetterArguments) {
    auto m = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*m, "G65L9010A1.B2.I3.J4.K5.I6."), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultCall);
    EXPECT_EQ(m->ProgramName, "L9010");
    EXPECT_EQ(m->ResultNumber, 0);
    EXPECT_EQ(m->StartSequence, 0);
    EXPECT_EQ(m->Level, 1);
    EXPECT_EQ(m->CallDepth, 1);
    const auto& level = m->LocalLevels[1];
    EXPECT_EQ(level[1], 1.0);
    EXPECT_EQ(level[2], 2.0);
    EXPECT_EQ(level[4], 3.0);
    EXPECT_EQ(level[5], 4.0);
    EXPECT_EQ(level[6], 5.0);
    EXPECT_EQ(level[7], 6.0);
}

TEST(Calls, FanucMacroCallRenamesP) {
    auto m = CreateMachine(DialectFanuc);
    Execute(*m, "#5=7");
    ASSERT_EQ(Execute(*m, "G65 P9010 A5. D#5 X-2.5 Z3 M6."), BlockHandled);
    EXPECT_EQ(m->ProgramName, "O9010");
    const auto& level = m->LocalLevels[1];
    EXPECT_EQ(level[1], 5.0);
    EXPECT_EQ(level[7], 7.0);
    EXPECT_EQ(level[24], -2.5);
    EXPECT_EQ(level[26], 3.0);  // arguments take their number as written
    EXPECT_EQ(level[13], 6.0);
    EXPECT_EQ(level[10], 0.0);  // G and P are never arguments
    EXPECT_EQ(level[16], 0.0);
    EXPECT_EQ(m->LocalLevels[0][5], 7.0);
}

TEST(Calls, ArgumentExpressionsAndSigns) {
    auto m = CreateMachine(DialectFanuc);
    Execute(*m, "#1=-2.5#2=3");
    ASSERT_EQ(Execute(*m, "G65P1A-#1B[#2*2]C-[#2]D#2"), BlockHandled);
    const auto& level = m->LocalLevels[1];
    EXPECT_EQ(level[1], 2.5);  // the two minus signs cancel
    EXPECT_EQ(level[2], 6.0);
    EXPECT_EQ(level[3], -3.0);
    EXPECT_EQ(level[7], 3.0);
}

TEST(Calls, MacroCallClearsTheNewLevelExceptInTosnac) {
    auto fanuc = CreateMachine(DialectFanuc);
    fanuc->LocalLevels[1][3] = 9.0;
    fanuc->LocalLevels[1][33] = 9.0;
    Execute(*fanuc, "G65P1A1.");
    EXPECT_EQ(fanuc->LocalLevels[1][3], 0.0);
    EXPECT_EQ(fanuc->LocalLevels[1][33], 9.0);  // only #0..#32

    auto tosnac = CreateMachine(DialectTosnac);
    tosnac->LocalLevels[1][3] = 9.0;
    ASSERT_EQ(Execute(*tosnac, "G65 O9010 L2 A1."), BlockHandled);
    EXPECT_EQ(tosnac->LocalLevels[1][3], 9.0);
    EXPECT_EQ(tosnac->LocalLevels[1][1], 1.0);
    EXPECT_EQ(tosnac->ProgramName, "O9010");
    EXPECT_EQ(tosnac->ResultNumber, 2);
}

TEST(Calls, SubprogramCallsPerDialect) {
    auto fanuc = CreateMachine(DialectFanuc);
    ASSERT_EQ(Execute(*fanuc, "M98P1234L3"), BlockHandled);
    EXPECT_EQ(fanuc->ResultCode, ResultCall);
    EXPECT_EQ(fanuc->ProgramName, "O1234");
    EXPECT_EQ(fanuc->ResultNumber, 3);
    EXPECT_EQ(fanuc->Level, 0);
    EXPECT_EQ(fanuc->CallDepth, 1);
    ASSERT_EQ(Execute(*fanuc, "G22 P55"), BlockHandled);
    EXPECT_EQ(fanuc->ProgramName, "O55");

    auto meldas = CreateMachine(DialectMeldas);
    ASSERT_EQ(Execute(*meldas, "M98L100P3"), BlockHandled);
    EXPECT_EQ(meldas->ProgramName, "L100");
    EXPECT_EQ(meldas->ResultNumber, 3);
    EXPECT_EQ(meldas->StartSequence, -1);
    ASSERT_EQ(Execute(*meldas, "M98 H20"), BlockHandled);
    EXPECT_EQ(meldas->ProgramName, "");
    EXPECT_EQ(meldas->StartSequence, 20);

    auto tosnac = CreateMachine(DialectTosnac);
    ASSERT_EQ(Execute(*tosnac, "M98 O1234 L3"), BlockHandled);
    EXPECT_EQ(tosnac->ProgramName, "O1234");
    EXPECT_EQ(tosnac->ResultNumber, 3);
    ASSERT_EQ(Execute(*tosnac, "G72 O77"), BlockHandled);
    EXPECT_EQ(tosnac->ProgramName, "O77");
    EXPECT_EQ(tosnac->CallDepth, 2);
}

TEST(Calls, MissingProgramName) {
    LogRecorder log;
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*meldas, "M98"), BlockError);
    EXPECT_TRUE(log.Contains("not find proguram name"));
    auto fanuc = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*fanuc, "M98 L2"), BlockError);
    EXPECT_EQ(Execute(*fanuc, "G65 A1."), BlockError);
    EXPECT_EQ(fanuc->CallDepth, 0);
}

TEST(Calls, ReturnsLowerTheLevelOnlyForMacroCalls) {
    auto m = CreateMachine(DialectFanuc);
    Execute(*m, "G65P9010");
    Execute(*m, "M98P100");
    EXPECT_EQ(m->Level, 1);
    EXPECT_EQ(m->CallDepth, 2);
    ASSERT_EQ(Execute(*m, "M99"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultReturn);
    EXPECT_EQ(m->Level, 1);
    EXPECT_EQ(Execute(*m, "G23"), BlockHandled);
    EXPECT_EQ(m->Level, 0);
    EXPECT_EQ(m->CallDepth, 0);
    // A return at depth 0 (the main program) changes nothing but still returns.
    EXPECT_EQ(Execute(*m, "G68"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultReturn);
    EXPECT_EQ(m->CallDepth, 0);
}

TEST(Calls, ARepeatedCallIsClosedByItsLastPass) {
    auto m = CreateMachine(DialectFanuc);
    Execute(*m, "G65P9010");
    Execute(*m, "M98P100L3");
    for (int pass = 1; pass <= 2; ++pass) {
        ASSERT_EQ(Execute(*m, "M99"), BlockHandled);
        EXPECT_EQ(m->ResultCode, ResultReturn);
        EXPECT_EQ(m->CallDepth, 2) << "pass " << pass;
        EXPECT_EQ(m->Level, 1);
    }
    Execute(*m, "M99");
    EXPECT_EQ(m->CallDepth, 1);
    EXPECT_EQ(m->Level, 1);  // the macro that made the repeated call is still running
    Execute(*m, "M99");
    EXPECT_EQ(m->CallDepth, 0);
    EXPECT_EQ(m->Level, 0);

    auto tosnac = CreateMachine(DialectTosnac);
    Execute(*tosnac, "G65 O9 L2");
    Execute(*tosnac, "M99");
    EXPECT_EQ(tosnac->Level, 1);
    Execute(*tosnac, "M99");
    EXPECT_EQ(tosnac->Level, 0);
}

TEST(Calls, EndModalCallAndCancel) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*m, "M30"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultProgramEnd);
    EXPECT_EQ(Execute(*m, "G00 M02"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultProgramEnd);
    EXPECT_EQ(Execute(*m, "G66P9010"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultModalCall);
    EXPECT_EQ(Execute(*m, "G67"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
    EXPECT_EQ(Execute(*m, "M3"), BlockOrdinary);
}

TEST(Calls, RefusedArgumentsAreLoggedAndSkipped) {
    LogRecorder log;
    auto m = CreateMachine(DialectFanuc);
    ASSERT_EQ(Execute(*m, "G65P1a1.B2.(NOTE)"), BlockHandled);
    EXPECT_TRUE(log.Contains("can notadless nestset :a"));
    EXPECT_FALSE(log.Contains("nestset :("));
    EXPECT_EQ(m->LocalLevels[1][2], 2.0);

    std::string many = "G65P1";
    for (int i = 1; i <= 12; ++i)
        many += "I" + std::to_string(i) + ".";
    many += "K1.K2.K3.K4.K5.K6.K7.K8.K9.K10.K11.";
    ASSERT_EQ(Execute(*m, many), BlockHandled);
    EXPECT_TRUE(log.Contains("too many I adress"));
    EXPECT_TRUE(log.Contains("too many K adress"));
    EXPECT_EQ(m->LocalLevels[2][34], 11.0);  // the 11th I
    EXPECT_EQ(m->LocalLevels[2][33], 10.0);  // the 10th K
}

TEST(Calls, AFailingArgumentExpressionFailsTheCall) {
    LogRecorder log;
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "G65P1A[1/0]"), BlockError);
    EXPECT_TRUE(log.Contains("divijon by 0 error"));
    EXPECT_EQ(m->CallDepth, 0);
}

TEST(Calls, ASixthMacroLevelIsRefused) {
    LogRecorder log;
    auto m = CreateMachine(DialectFanuc);
    for (int i = 1; i < NcMachine::kLevels; ++i)
        ASSERT_EQ(Execute(*m, "G65P1"), BlockHandled);
    EXPECT_EQ(m->Level, 4);
    EXPECT_EQ(Execute(*m, "G65P1A1."), BlockError);
    EXPECT_TRUE(log.Contains("macro nest over"));
    EXPECT_EQ(m->Level, 4);
    // Subprogram calls open no level, but their depth is bounded too.
    for (int i = 4; i < NcMachine::kMaxCallDepth; ++i)
        ASSERT_EQ(Execute(*m, "M98P1"), BlockHandled);
    EXPECT_EQ(Execute(*m, "M98P1"), BlockError);
    EXPECT_TRUE(log.Contains("call nest over"));
}

}  // namespace
}  // namespace cuttrace
