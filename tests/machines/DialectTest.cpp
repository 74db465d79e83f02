// What the TOSNAC dialect does differently: V variables, bracketed statements, the
// comma-and-dot conditions, and its messages.
#include <gtest/gtest.h>

#include <string>
#include "machines/NcMachine.h"
#include "support/MachineHarness.h"
#include "support/MachinePeer.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using V = std::vector<std::string>;
using test::MachinePeer;
using test::Split;

class Tosnac : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> m = CreateMachine(Dialect::Tosnac);
    LogRecorder log;
};

TEST_F(Tosnac, BracketedAssignments) {
    EXPECT_EQ(Execute(*m, "[V1=5]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    EXPECT_EQ(Execute(*m, "[V2=V1*2+1][V101=[V1+1]/2]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 2), 11.0);
    EXPECT_EQ(m->Variables().Common(101), 3.0);
    EXPECT_EQ(Execute(*m, "[V3=1V4=2]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 3), 1.0);
    EXPECT_EQ(Local(*m, 4), 2.0);
    EXPECT_EQ(Execute(*m, "[V5 = SIN[30] * 4]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 5), 2.0);
    // FIX and FUP keep floor and ceiling here (the other dialects work on the magnitude).
    EXPECT_EQ(Execute(*m, "[V6=FIX[-2.5]][V7=FUP[-2.5]]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 6), -3.0);
    EXPECT_EQ(Local(*m, 7), -2.0);
}

TEST_F(Tosnac, BareStatementsAndVariablesOutsideBracketsAreTypeMisses) {
    EXPECT_EQ(Execute(*m, "#1=5"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("type miss error #1=5"));
    EXPECT_EQ(Execute(*m, "G01XV1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("type miss error XV1"));
    EXPECT_EQ(Execute(*m, "G01X-V1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("type miss error X-V1"));
    EXPECT_EQ(Execute(*m, "X=1"), BlockResult::Error);
    EXPECT_EQ(Local(*m, 1), 0.0);
}

TEST_F(Tosnac, VariablesInAddressWordsStandInBrackets) {
    V words;
    Execute(*m, "[V1=5][V2=-1.5]");
    EXPECT_EQ(Execute(*m, "G01X[V1]Y2.", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X5.000000", "Y2."}));
    EXPECT_EQ(Execute(*m, "G01X-[V2]Y[V1*2]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X1.500000", "Y10.000000"}));
}

TEST_F(Tosnac, ConditionsJumpByThemselves) {
    Execute(*m, "[V1=11]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(m->Request().number, 100);
    Execute(*m, "[V1=10]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
    // Decimal points of the operands are told apart from the separating dots.
    Execute(*m, "[V1=2]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(Execute(*m, "[IF,2.5.GT.V1,GO 7]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 7);
    Execute(*m, "[V1=1]");
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
}

TEST_F(Tosnac, GotoForms) {
    V words;
    EXPECT_EQ(Execute(*m, "[GO 100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 100);
    EXPECT_EQ(Execute(*m, "[GO100]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 100);
    Execute(*m, "[V5=20]");
    EXPECT_EQ(Execute(*m, "[GO V5]", &words), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(m->Request().number, 20);
    EXPECT_EQ(words[0], "[GO 20.000000]");
}

TEST_F(Tosnac, WhileLoops) {
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopBegin);
    EXPECT_EQ(m->LoopDepth(), 1);
    EXPECT_EQ(Execute(*m, "[END1]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopEnd);
    Execute(*m, "[V1=3]");
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::SkipToEnd);
    EXPECT_EQ(m->Request().name, "END1");
    Execute(*m, "[DO2]");
    EXPECT_EQ(Execute(*m, "[END3]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("da not same whilecount 3!=2:1"));
    EXPECT_TRUE(log.Contains("end error [END3]"));
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,5]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("while in format error [WHILE,V1.LT.3,5]"));
}

TEST_F(Tosnac, FailureMessages) {
    EXPECT_EQ(Execute(*m, "[IF V1 GT 10]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("notfind , "));
    EXPECT_TRUE(log.Contains("if error [IF V1 GT 10]"));
    EXPECT_EQ(Execute(*m, "[V1=ACOS[0]]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not find operator ACOS"));
    EXPECT_TRUE(log.Contains("let error [V1=ACOS[0]]"));
    EXPECT_EQ(Execute(*m, "[V2=ASIN[2]]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("asin into value larger 1 :2.000000"));
    EXPECT_EQ(Execute(*m, "[V2=ASIN[-2]]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("asin into value larger 1 :-2.000000"));
    EXPECT_EQ(Execute(*m, "[V1=VV2]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("invalid variable reference :VV2"));
    EXPECT_EQ(Execute(*m, "[V1=5"), BlockResult::Error);
    EXPECT_EQ(Local(*m, 1), 0.0);
}

TEST_F(Tosnac, ArgumentsTakeOnlyBracketedExpressions) {
    Execute(*m, "[V1=4]");
    ASSERT_EQ(Execute(*m, "G65 O9010 A2.5 B[V1/2]"), BlockResult::Handled);
    EXPECT_EQ(m->Variables().Local(1, 1), 2.5);
    EXPECT_EQ(m->Variables().Local(1, 2), 2.0);
    EXPECT_EQ(Execute(*m, "G65 O9010 AV1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("type miss error V1"));
}

TEST_F(Tosnac, CommaIsASeparatorNotADecimalMark) {
    EXPECT_EQ(Execute(*m, "[V1=1,5]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    // FANUC and MELDAS take ',' only between the values of ATAN and POW.
    auto fanuc = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*fanuc, "#1=1,5"), BlockResult::Error);
}

TEST(TosnacDialect, VariablesAreWrittenWithV) {
    auto m = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Execute(*m, "[VA=2]"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Local(0, 31), 2);
    EXPECT_EQ(Execute(*m, "[V2=1/3]"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Local(0, 2), 0.333333);
    EXPECT_EQ(Execute(*m, "[V1=1V2=V1+1]"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Local(0, 2), 2);

    EXPECT_EQ(MachinePeer::Precedence(*m, "V1"), MachinePeer::Precedence(*m, "5"));  // operands
    EXPECT_EQ(MachinePeer::Precedence(*m, "#1"), 10);  // '#' is nothing special here
}

TEST(TosnacDialect, HashReferencesAndBareWordsAreTypeMisses) {
    auto m = CreateMachine(Dialect::Tosnac);
    m->Variables().SetLocal(0, 1, 5);
    for (const char* line : {"X#1", "X-#1", "GOTO5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
        EXPECT_EQ(log.lines, V{std::string("type miss error ") + line});
    }
    // What the base dispatch does the same way.
    EXPECT_EQ(Execute(*m, "O1000"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "G81X0Y0Z-5R2L3"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "(C)%"), BlockResult::Ordinary);
    EXPECT_EQ(Execute(*m, "3X"), BlockResult::Error);
}

TEST(TosnacDialect, TheReaderEndsAWordAfterABracketGroup) {
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Split(*tosnac, "[V1=5]X1"), (V{"[V1=5]", "X1"}));
    // Glue characters: 'V' instead of '#'.
    EXPECT_EQ(Split(*tosnac, "[V1=1]#2"), (V{"[V1=1]", "#2"}));
    // The base reader reads on after a group that does not follow a lone letter.
    auto meldas = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(Split(*meldas, "X1[#1]"), V{"X1[#1]"});
}

TEST(TosnacDialect, TokensOfTheTosnacReader) {
    auto m = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "1,5"), 1u);  // ',' is a token of its own
    EXPECT_EQ(MachinePeer::ReadToken(*m, ",5"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "V12GT"), 3u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "GTV1"), 2u);  // 'V' is looked at before letters
    EXPECT_EQ(MachinePeer::ReadToken(*m, "VA+1"), 2u);
    auto meldas = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(MachinePeer::ReadToken(*meldas, "V1"), 1u);  // a letter, then a number
}

TEST(TosnacDialect, ConditionMessagesAreExact) {
    auto m = CreateMachine(Dialect::Tosnac);
    for (const char* line : {"[IF V1 GT 10]", "[IF,V1.GT.10]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
        // "notfind , " stands alone.
        EXPECT_EQ(log.lines, (V{"notfind , ", std::string("if error ") + line}));
    }
    // A true condition needs the closing bracket to find its target; a false one does not.
    std::string text = "[IF,V1.GT.10,GO 100";
    EXPECT_TRUE(MachinePeer::ExecuteStatement(*m, text, 0));
    m->Variables().SetLocal(0, 1, 11);
    LogRecorder log;
    EXPECT_FALSE(MachinePeer::ExecuteStatement(*m, text, 0));
    EXPECT_EQ(log.lines, (V{"notfind , ", "if error [IF,V1.GT.10,GO 100"}));
    // A decimal point of the first operand is told apart from the separating dot.
    m->Variables().SetLocal(0, 1, 1);
    EXPECT_EQ(Execute(*m, "[IF,1.5.GT.V1,GO 30]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 30);
}

TEST(TosnacDialect, IndirectLoopNumbers) {
    auto m = CreateMachine(Dialect::Tosnac);
    m->Variables().SetLocal(0, 2, 3);
    EXPECT_EQ(Execute(*m, "[DOV2]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopBegin);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 1), 3);
    EXPECT_EQ(Execute(*m, "[ENDV2]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopEnd);
    EXPECT_EQ(m->LoopDepth(), 0);
}

TEST(TosnacDialect, MalformedReferencesFailTheStatement) {
    auto m = CreateMachine(Dialect::Tosnac);
    for (const char* line : {"[VV1=1]", "[V=1]", "[V2=1V=2]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "[V1=5/0]"), BlockResult::Error);
    EXPECT_EQ(log.lines, (V{"divijon by 0 error 5.000000 / 0.000000", "let error [V1=5/0]"}));
}

TEST(Dialects, OnlyFanucAnnouncesItself) {
    {
        LogRecorder log;
        auto fanuc = CreateMachine(Dialect::Fanuc);
        EXPECT_EQ(log.lines, V{"Construct (FANUC)"});
    }
    LogRecorder log;
    auto meldas = CreateMachine(Dialect::Meldas);
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_TRUE(log.lines.empty()) << log.Joined();
}

}  // namespace
}  // namespace cuttrace
