// What ExecuteBlock makes of a block: ordinary, handled or failed, and the words it rewrites.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;
using V = std::vector<std::string>;

TEST(Block, OrdinaryBlocksPassUnchanged) {
    auto m = CreateMachine(Dialect::Meldas);
    V words;
    EXPECT_EQ(Execute(*m, "", &words), BlockResult::Ordinary);
    EXPECT_EQ(Execute(*m, "N10G01X10.Y20.\r\n", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"N10", "G01", "X10.", "Y20."}));
    EXPECT_EQ(Execute(*m, "(COMMENT)G01X1", &words), BlockResult::Ordinary);
    EXPECT_EQ(Execute(*m, "%"), BlockResult::Ordinary);
    EXPECT_EQ(Execute(*m, "G01X-.5Y.25"), BlockResult::Ordinary);
    EXPECT_EQ(Execute(*m, "G02X1.Y2.I0.5J0."), BlockResult::Ordinary);
}

TEST(Block, ProgramNumbersAndLWordsAreNeverGCode) {
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*m, "O1000"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "G81X0Y0Z-5R2L3"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
}

TEST(Block, AWordStartingWithADigitFails) {
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*m, "G01 3X"), BlockResult::Error);
}

TEST(Block, VariablesInAddressWordsAreSubstituted) {
    auto m = CreateMachine(Dialect::Fanuc);
    V words;
    ASSERT_EQ(Execute(*m, "#1=1#2=-2"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "G01 X#1 Y#2", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X1.000", "Y-2.000"}));
    EXPECT_EQ(Execute(*m, "G01 X[#1/4] Y[#2*2]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X0.250000", "Y-4.000000"}));
}

TEST(Block, AStatementMakesTheBlockHandled) {
    auto m = CreateMachine(Dialect::Fanuc);
    V words;
    EXPECT_EQ(Execute(*m, "#1=5 X#1", &words), BlockResult::Handled);
    EXPECT_EQ(words, (V{"#1=5", "X5.000"}));
    EXPECT_EQ(test::Local(*m, 1), 5.0);
}

TEST(Block, CallBlocksAreLeftToCall) {
    auto m = CreateMachine(Dialect::Fanuc);
    V words;
    EXPECT_EQ(Execute(*m, "X#1 G65 P9010 A1. B#2", &words), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Call);
    EXPECT_EQ(m->Request().name, "O9010");
    // Words before the call keyword are substituted (a vacant one is left out); the call
    // takes the rest as arguments.
    EXPECT_EQ(words[0], "G65");
}

TEST(Block, ReferencesInAddressWords) {
    auto m = CreateMachine(Dialect::Meldas);
    m->Variables().SetCommon(101, 4);
    V words;
    EXPECT_EQ(Execute(*m, "X#101 Y#500", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"X4.000"}));                     // #500 is vacant
    EXPECT_EQ(Execute(*m, "X#50"), BlockResult::Error);  // no variable #50
    m->Variables().SetLocal(0, 1, -2);
    EXPECT_EQ(Execute(*m, "X[#1]Y2", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"X-2.000000", "Y2"}));
}

TEST(Block, StatementsMakeTheBlockMacroHandled) {
    auto m = CreateMachine(Dialect::Meldas);
    V words;
    EXPECT_EQ(Execute(*m, "G01 X1 #1=2"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Local(0, 1), 2);
    // A bare reference is an expression statement: it is replaced by its value.
    EXPECT_EQ(Execute(*m, "#1", &words), BlockResult::Handled);
    EXPECT_EQ(words, V{"2.000000"});
    // An assignment to something that is not a variable does nothing and succeeds.
    EXPECT_EQ(Execute(*m, "X=5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
}

TEST(Block, FailuresOfWords) {
    auto m = CreateMachine(Dialect::Meldas);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "3X"), BlockResult::Error);
        EXPECT_TRUE(log.lines.empty()) << log.Joined();  // without a message
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "X-Y"), BlockResult::Error);
        EXPECT_TRUE(log.Contains("not finnd operand X")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error X-Y")) << log.Joined();
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "G01 ABC"), BlockResult::Error);
        EXPECT_TRUE(log.Contains("not find operator ABC")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error ABC")) << log.Joined();
    }
}

TEST(Block, ResultFieldsStartEmptyInEveryBlock) {
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*m, "GOTO5 X1"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(m->Request().number, 5);
    EXPECT_EQ(Execute(*m, "WHILE[1LT0]DO1"), BlockResult::Handled);
    EXPECT_EQ(m->Request().name, "END1");
    EXPECT_EQ(Execute(*m, "G01X1"), BlockResult::Ordinary);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
    EXPECT_EQ(m->Request().number, 0);
    EXPECT_EQ(m->Request().name, "");
}

TEST(Block, WordsAfterACallKeywordAreLeftToCall) {
    auto m = CreateMachine(Dialect::Fanuc);
    V words;
    // The words after the call keyword are not substituted: #100 would fail.
    EXPECT_EQ(Execute(*m, "M99 X#100", &words), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Return);
    EXPECT_EQ(words, (V{"M99", "X#100"}));
}

}  // namespace
}  // namespace cuttrace
