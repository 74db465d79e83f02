// Variables, assignments and the expression evaluator, checked against hand-worked values:
// where each variable number lives, the text round trip of every stored value, operator
// precedence, the keyword functions and the messages of failed evaluations.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using machinetest::Execute;
using machinetest::Local;
using machinetest::LogRecorder;

// Runs "#1=<expression>" and returns #1 (NaN when the statement fails).
double Value(NcMachine& m, const std::string& expression) {
    m.LocalLevels[0][1] = 0;
    if (Execute(m, "#1=" + expression) != BlockHandled) return std::nan("");
    return Local(m, 1);
}

TEST(ConformanceVariables, WhereEachNumberLives) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*m, "#0=3"), BlockHandled);
    EXPECT_EQ(Execute(*m, "#35=4"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][0], 3);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][35], 4);
    EXPECT_EQ(Execute(*m, "#101=5"), BlockHandled);
    EXPECT_EQ(Execute(*m, "#200=6"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[1], 5);
    EXPECT_DOUBLE_EQ(m->CommonVariables[100], 6);
    // Writes to #36..#99, #100 and #201 and above succeed and change nothing.
    auto before = m->LocalLevels;
    auto commonBefore = m->CommonVariables;
    for (const char* line : {"#36=1", "#50=3", "#99=1", "#100=1", "#201=1", "#299=1"})
        EXPECT_EQ(Execute(*m, line), BlockHandled) << line;
    EXPECT_EQ(m->LocalLevels, before);
    EXPECT_EQ(m->CommonVariables, commonBefore);
    // Reads of ignored numbers give 0; a read of #100 fails.
    EXPECT_DOUBLE_EQ(Value(*m, "#50"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "#250+2"), 2);
    EXPECT_TRUE(std::isnan(Value(*m, "#100")));
}

TEST(ConformanceVariables, LetterAndIndirectReferences) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "#A=2"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][31], 2);
    EXPECT_EQ(Execute(*m, "#E=3"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][35], 3);
    auto before = m->LocalLevels;
    EXPECT_EQ(Execute(*m, "#F=1"), BlockHandled);  // #36: ignored
    EXPECT_EQ(Execute(*m, "#a=1"), BlockHandled);  // #63: ignored
    EXPECT_EQ(m->LocalLevels, before);

    m->LocalLevels[0][2] = 3;
    EXPECT_EQ(Execute(*m, "##2=7"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][3], 7);
    EXPECT_DOUBLE_EQ(Value(*m, "##2+1"), 8);
    m->LocalLevels[0][2] = 101;
    EXPECT_EQ(Execute(*m, "##2=4"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[1], 4);

    std::string word = "#105";
    EXPECT_EQ(m->VariableNumber(word, 0), 105);
    word = "P9010";
    EXPECT_EQ(m->VariableNumber(word, 0), 9010);
    word = "H20";
    EXPECT_EQ(m->VariableNumber(word, 0), 20);
    word = "#12X";
    EXPECT_EQ(m->VariableNumber(word, 0), 12);
    word = "#A";
    EXPECT_EQ(m->VariableNumber(word, 0), 31);
}

TEST(ConformanceVariables, AMalformedTargetFailsTheAssignment) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 4;
    auto before = m->LocalLevels;
    for (const char* line : {"#[1]=5", "#=5", "##[1]=5", "#1=#[2]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    EXPECT_EQ(m->LocalLevels, before);
    // A well-formed number that cannot be written is still ignored.
    m->LocalLevels[0][2] = 100;
    EXPECT_EQ(Execute(*m, "##2=1"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[0], 0);
}

TEST(ConformanceVariables, EveryStoredValueHasPassedThroughSixDecimals) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_DOUBLE_EQ(Value(*m, "1/3"), 0.333333);
    EXPECT_DOUBLE_EQ(Value(*m, "2/3"), 0.666667);
    // Within one expression nothing is rounded: 1/3*3 is exactly 1.
    EXPECT_DOUBLE_EQ(Value(*m, "1/3*3"), 1.0);
    EXPECT_EQ(Execute(*m, "#2=1/3"), BlockHandled);
    EXPECT_EQ(Execute(*m, "#3=#2*3"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 0.999999);
}

TEST(ConformanceAssignment, SeveralAssignmentsInOneStatement) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*m, "#1=5#2=#1+1"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 5);
    EXPECT_DOUBLE_EQ(Local(*m, 2), 6);
    EXPECT_EQ(Execute(*m, "#1=1#2=2#3=#1+#2"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 3);
    EXPECT_EQ(Execute(*m, "#4=2 #5=#4*3"), BlockHandled);  // glued into one statement
    EXPECT_DOUBLE_EQ(Local(*m, 5), 6);
}

TEST(ConformanceAssignment, AFailedExpressionStopsTheStatement) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 9;
    m->LocalLevels[0][2] = 8;
    m->LocalLevels[0][3] = 7;
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=5/0#2=3"), BlockError);
        EXPECT_TRUE(log.Contains("divijon by 0 error 5.000000 / 0.000000")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error #1=5/0#2=3")) << log.Joined();
    }
    EXPECT_DOUBLE_EQ(Local(*m, 1), 9);
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_EQ(Execute(*m, "#1=1#2=5/0#3=3"), BlockError);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 1);  // written before the failure: kept
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 7);
}

TEST(ConformanceExpression, PrecedenceAndAssociativity) {
    auto m = CreateMachine(DialectFanuc);
    m->LocalLevels[0][2] = 1;
    m->LocalLevels[0][3] = 2;
    EXPECT_EQ(Execute(*m, "#4=#2+#3*2"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 4), 5);
    EXPECT_DOUBLE_EQ(Value(*m, "10-2-3"), 5);
    EXPECT_DOUBLE_EQ(Value(*m, "8/2/2"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "2+3*4"), 14);
    EXPECT_DOUBLE_EQ(Value(*m, "[2+3]*4"), 20);
    EXPECT_DOUBLE_EQ(Value(*m, "2*[3+[4-1]*2]"), 18);
    EXPECT_DOUBLE_EQ(Value(*m, "SIN[30]*2"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "SIN30"), 0.5);  // a function takes the operand after it
    EXPECT_DOUBLE_EQ(Value(*m, "-5+2"), -3);
    EXPECT_DOUBLE_EQ(Value(*m, "2*-3"), -6);
    EXPECT_DOUBLE_EQ(Value(*m, "ABS[-3]"), 3);
    // Keyword operators bind tighter than '*' and '-'.
    EXPECT_DOUBLE_EQ(Value(*m, "7MOD3"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "1+[7MOD3]"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "10-7MOD4"), 7);
    EXPECT_DOUBLE_EQ(Value(*m, "2*7MOD3"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "-7MOD3"), -1);
}

TEST(ConformanceExpression, PrecedenceClassesAndPostfixOrder) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(m->Precedence(""), -1);
    EXPECT_EQ(m->Precedence("#1"), 4);
    EXPECT_EQ(m->Precedence("="), 4);
    EXPECT_EQ(m->Precedence("*"), 2);
    EXPECT_EQ(m->Precedence("/"), 2);
    EXPECT_EQ(m->Precedence("+"), 1);
    EXPECT_EQ(m->Precedence("-"), 1);
    EXPECT_EQ(m->Precedence("["), 5);
    EXPECT_EQ(m->Precedence("]"), 0);
    EXPECT_EQ(m->Precedence("12"), 4);
    EXPECT_EQ(m->Precedence("SIN"), 3);
    EXPECT_EQ(m->Precedence("MOD"), 3);
    EXPECT_EQ(m->Precedence("FOO"), 10);

    auto texts = [&](std::string_view expression) {
        PostfixList list;
        int n = m->ToPostfix(expression, list);
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i)
            out.push_back(list[static_cast<std::size_t>(i)].text);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(texts("1-2-3"), (V{"1", "2", "-", "3", "-"}));
    EXPECT_EQ(texts("SIN[30]*2"), (V{"30", "SIN", "2", "*"}));
    EXPECT_EQ(texts("1+2*3"), (V{"1", "2", "3", "*", "+"}));
    EXPECT_EQ(texts("[1+2]*#3"), (V{"1", "2", "+", "#3", "*"}));

    std::string text = "X[1+2]";
    EXPECT_TRUE(m->EvaluateInPlace(text, 1));
    EXPECT_EQ(text, "X3.000000");
}

TEST(ConformanceExpression, TrigonometryInDegrees) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_DOUBLE_EQ(Value(*m, "SIN[30]"), 0.5);
    EXPECT_DOUBLE_EQ(Value(*m, "COS[60]"), 0.5);
    EXPECT_DOUBLE_EQ(Value(*m, "COS[90]"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "TAN[45]"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "ATAN[1]"), 45);
    EXPECT_DOUBLE_EQ(Value(*m, "ATAN[-1]"), -45);
    EXPECT_DOUBLE_EQ(Value(*m, "ASIN[0.5]"), 30);
    EXPECT_DOUBLE_EQ(Value(*m, "ASIN[-1]"), -90);
    EXPECT_DOUBLE_EQ(Value(*m, "ACOS[0]"), 90);
    EXPECT_DOUBLE_EQ(Value(*m, "ACOS[-1]"), 180);
    struct Case {
        const char* expression;
        const char* message;
    };
    for (Case c : {Case{"ASIN[2]", "asin into value larger than 1 :2.000000"},
                   Case{"ASIN[-1.5]", "asin into value larger than 1 :-1.500000"},
                   Case{"ACOS[2]", "acos into value larger than 1 :2.000000"},
                   Case{"ACOS[-1.5]", "acos into value larger than 1 :-1.500000"}}) {
        LogRecorder log;
        EXPECT_TRUE(std::isnan(Value(*m, c.expression))) << c.expression;
        EXPECT_TRUE(log.Contains(c.message)) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error #1=") + c.expression)) << log.Joined();
    }
}

TEST(ConformanceExpression, RoundingFunctions) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_DOUBLE_EQ(Value(*m, "FIX[2.7]"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "FIX[-2.5]"), -3);
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[2.1]"), 3);
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[-2.5]"), -2);
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[3]"), 3);
    // Half away from zero, also for negative values.
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[2.5]"), 3);
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[2.4]"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[-2.5]"), -3);
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[-2.3]"), -2);
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[-2.6]"), -3);
}

TEST(ConformanceExpression, OtherFunctionsAndLogic) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_DOUBLE_EQ(Value(*m, "SQRT[16]"), 4);
    EXPECT_DOUBLE_EQ(Value(*m, "SQRT[2]"), 1.414214);
    EXPECT_DOUBLE_EQ(Value(*m, "EXP[0]"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "EXP[1]"), 2.718282);
    EXPECT_DOUBLE_EQ(Value(*m, "LN[1]"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "LN[5]"), 1.609438);
    EXPECT_DOUBLE_EQ(Value(*m, "BCD[12]"), 18);      // 0x12
    EXPECT_DOUBLE_EQ(Value(*m, "BCD[1234]"), 4660);  // 0x1234
    EXPECT_DOUBLE_EQ(Value(*m, "BIN[18]"), 12);
    EXPECT_DOUBLE_EQ(Value(*m, "BIN[153]"), 99);  // 0x99
    EXPECT_DOUBLE_EQ(Value(*m, "1AND1"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "2AND3"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "1AND0"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "0OR0"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "0OR3"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "5XOR3"), 6);
    EXPECT_DOUBLE_EQ(Value(*m, "5.9XOR3"), 6);
    for (const char* c : {"LN[0]", "LN[-2]"}) {
        LogRecorder log;
        EXPECT_TRUE(std::isnan(Value(*m, c))) << c;
        EXPECT_TRUE(log.Contains(std::string("ln into value not positive :") +
                                 (c[3] == '0' ? "0.000000" : "-2.000000")))
            << log.Joined();
    }
}

TEST(ConformanceExpression, FailuresAndTheirMessages) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 4;
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=5/[1-1]"), BlockError);
        EXPECT_TRUE(log.Contains("divijon by 0 error 5.000000 / 0.000000")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error #1=5/[1-1]")) << log.Joined();
        EXPECT_DOUBLE_EQ(Local(*m, 1), 4);  // the failed assignment changed nothing
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=[1+2"), BlockError);
        EXPECT_TRUE(log.Contains("not finnd operand [")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error #1=[1+2")) << log.Joined();
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=2*FOO"), BlockError);
        EXPECT_TRUE(log.Contains("not find operator FOO")) << log.Joined();
    }
    for (const char* line : {"#1=SQRT[-1]", "#1=EXP[1000]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_TRUE(log.Contains("value out of range :")) << log.Joined();
        EXPECT_DOUBLE_EQ(Local(*m, 1), 4);
    }
    EXPECT_DOUBLE_EQ(Value(*m, "1/0.5"), 2);
}

TEST(ConformanceVariables, EachMacroLevelHasItsOwnLocals) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "#1=11#101=1"), BlockHandled);
    EXPECT_EQ(Execute(*m, "G65P9010A22."), BlockHandled);
    EXPECT_EQ(m->Level, 1);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 22);
    EXPECT_EQ(Execute(*m, "#1=#1+#101#101=2"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 23);
    EXPECT_EQ(Execute(*m, "M99"), BlockHandled);
    EXPECT_EQ(m->Level, 0);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 11);
    EXPECT_DOUBLE_EQ(m->CommonVariables[1], 2);
    EXPECT_DOUBLE_EQ(m->LocalLevels[1][1], 23);  // a level is not cleared on return
}

}  // namespace
}  // namespace cuttrace
