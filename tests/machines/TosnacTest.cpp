// What the TOSNAC dialect does differently: V variables, bracketed statements, the
// comma-and-dot conditions, and its messages.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using V = std::vector<std::string>;

class Tosnac : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> m = CreateMachine(DialectTosnac);
    LogRecorder log;
};

TEST_F(Tosnac, BracketedAssignments) {
    EXPECT_EQ(Execute(*m, "[V1=5]"), BlockHandled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    EXPECT_EQ(Execute(*m, "[V2=V1*2+1][V101=[V1+1]/2]"), BlockHandled);
    EXPECT_EQ(Local(*m, 2), 11.0);
    EXPECT_EQ(m->CommonVariables[1], 3.0);
    EXPECT_EQ(Execute(*m, "[V3=1V4=2]"), BlockHandled);
    EXPECT_EQ(Local(*m, 3), 1.0);
    EXPECT_EQ(Local(*m, 4), 2.0);
    EXPECT_EQ(Execute(*m, "[V5 = SIN[30] * 4]"), BlockHandled);
    EXPECT_EQ(Local(*m, 5), 2.0);
}

TEST_F(Tosnac, BareStatementsAndVariablesOutsideBracketsAreTypeMisses) {
    EXPECT_EQ(Execute(*m, "#1=5"), BlockError);
    EXPECT_TRUE(log.Contains("type miss error #1=5"));
    EXPECT_EQ(Execute(*m, "G01XV1"), BlockError);
    EXPECT_TRUE(log.Contains("type miss error XV1"));
    EXPECT_EQ(Execute(*m, "G01X-V1"), BlockError);
    EXPECT_TRUE(log.Contains("type miss error X-V1"));
    EXPECT_EQ(Execute(*m, "X=1"), BlockError);
    EXPECT_EQ(Local(*m, 1), 0.0);
}

TEST_F(Tosnac, VariablesInAddressWordsStandInBrackets) {
    V words;
    Execute(*m, "[V1=5][V2=-1.5]");
    EXPECT_EQ(Execute(*m, "G01X[V1]Y2.", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X5.000000", "Y2."}));
    EXPECT_EQ(Execute(*m, "G01X-[V2]Y[V1*2]", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X1.500000", "Y10.000000"}));
}

TEST_F(Tosnac, ConditionsJumpByThemselves) {
    Execute(*m, "[V1=11]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 100);
    Execute(*m, "[V1=10]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
    // Decimal points of the operands are told apart from the separating dots.
    Execute(*m, "[V1=2]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(Execute(*m, "[IF,2.5.GT.V1,GO 7]"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 7);
    Execute(*m, "[V1=1]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST_F(Tosnac, GotoForms) {
    V words;
    EXPECT_EQ(Execute(*m, "[GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 100);
    EXPECT_EQ(Execute(*m, "[GO100]"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 100);
    Execute(*m, "[V5=20]");
    EXPECT_EQ(Execute(*m, "[GO V5]", &words), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 20);
    EXPECT_EQ(words[0], "[GO 20.000000]");
}

TEST_F(Tosnac, WhileLoops) {
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopDepth, 1);
    EXPECT_EQ(Execute(*m, "[END1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    Execute(*m, "[V1=3]");
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultSkipToEnd);
    EXPECT_EQ(m->ProgramName, "END1");
    Execute(*m, "[DO2]");
    EXPECT_EQ(Execute(*m, "[END3]"), BlockError);
    EXPECT_TRUE(log.Contains("da not same whilecount 3!=2:1"));
    EXPECT_TRUE(log.Contains("end error [END3]"));
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,5]"), BlockError);
    EXPECT_TRUE(log.Contains("while in format error [WHILE,V1.LT.3,5]"));
}

TEST_F(Tosnac, FailureMessages) {
    EXPECT_EQ(Execute(*m, "[IF V1 GT 10]"), BlockError);
    EXPECT_TRUE(log.Contains("notfind , "));
    EXPECT_TRUE(log.Contains("if error [IF V1 GT 10]"));
    EXPECT_EQ(Execute(*m, "[V1=ACOS[0]]"), BlockError);
    EXPECT_TRUE(log.Contains("not find operator ACOS"));
    EXPECT_TRUE(log.Contains("let error [V1=ACOS[0]]"));
    EXPECT_EQ(Execute(*m, "[V2=ASIN[2]]"), BlockError);
    EXPECT_TRUE(log.Contains("asin into value larger 1 :2.000000"));
    EXPECT_EQ(Execute(*m, "[V2=ASIN[-2]]"), BlockError);
    EXPECT_TRUE(log.Contains("asin into value larger 1 :-2.000000"));
    EXPECT_EQ(Execute(*m, "[V1=VV2]"), BlockError);
    EXPECT_TRUE(log.Contains("invalid variable reference :VV2"));
    EXPECT_EQ(Execute(*m, "[V1=5"), BlockError);
    EXPECT_EQ(Local(*m, 1), 0.0);
}

TEST_F(Tosnac, ArgumentsTakeOnlyBracketedExpressions) {
    Execute(*m, "[V1=4]");
    ASSERT_EQ(Execute(*m, "G65 O9010 A2.5 B[V1/2]"), BlockHandled);
    EXPECT_EQ(m->LocalLevels[1][1], 2.5);
    EXPECT_EQ(m->LocalLevels[1][2], 2.0);
    EXPECT_EQ(Execute(*m, "G65 O9010 AV1"), BlockError);
    EXPECT_TRUE(log.Contains("type miss error V1"));
}

TEST_F(Tosnac, CommaIsASeparatorNotADecimalMark) {
    EXPECT_EQ(Execute(*m, "[V1=1,5]"), BlockHandled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    auto fanuc = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*fanuc, "#1=1,5"), BlockHandled);
    EXPECT_EQ(Local(*fanuc, 1), 1.0);
}

}  // namespace
}  // namespace cuttrace
