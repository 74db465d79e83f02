// Variables, assignments and the expression evaluator, checked against hand-worked values:
// where each variable number lives, malformed targets, the text round trip between
// statements, keyword precedence, and the functions at the edges of their ranges.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;

// Runs "#1=<expression>" and returns #1 (NaN when the statement fails).
double Value(NcMachine& m, const std::string& expression) {
    m.LocalLevels[0][1] = 0;
    if (Execute(m, "#1=" + expression) != BlockHandled) return std::nan("");
    return Local(m, 1);
}

TEST(ConformanceVariables, WhereEachNumberLives) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*m, "#0=3"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][0], 3);
    // Writes to #36..#99, #100 and #201 and above succeed and change nothing, whatever
    // way the number is written.
    auto before = m->LocalLevels;
    auto commonBefore = m->CommonVariables;
    for (const char* line : {"#36=1", "#99=1", "#299=1", "#F=1", "#a=1"})
        EXPECT_EQ(Execute(*m, line), BlockHandled) << line;
    EXPECT_EQ(m->LocalLevels, before);
    EXPECT_EQ(m->CommonVariables, commonBefore);

    m->LocalLevels[0][2] = 3;
    m->LocalLevels[0][3] = 7;
    EXPECT_DOUBLE_EQ(Value(*m, "##2+1"), 8);
    m->LocalLevels[0][2] = 101;
    EXPECT_EQ(Execute(*m, "##2=4"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[1], 4);

    std::string word = "H20";
    EXPECT_EQ(m->VariableNumber(word, 0), 20);
    word = "#12X";
    EXPECT_EQ(m->VariableNumber(word, 0), 12);
}

TEST(ConformanceVariables, AMalformedTargetFailsTheAssignment) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 4;
    auto before = m->LocalLevels;
    for (const char* line : {"#[1]=5", "#=5", "##[1]=5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    // An indirect target whose inner value is negative names no variable either.
    m->LocalLevels[0][2] = -5;
    before[0][2] = -5;
    EXPECT_EQ(Execute(*m, "##2=1"), BlockError);
    EXPECT_EQ(m->LocalLevels, before);
    // A well-formed number that cannot be written is still ignored.
    m->LocalLevels[0][2] = 100;
    EXPECT_EQ(Execute(*m, "##2=1"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[0], 0);
}

TEST(ConformanceVariables, OnlyStoredValuesPassThroughText) {
    auto m = CreateMachine(DialectMeldas);
    // Within one expression nothing is rounded: 1/3*3 is exactly 1.
    EXPECT_DOUBLE_EQ(Value(*m, "1/3*3"), 1.0);
    // Between statements the six-decimal text is what remains.
    EXPECT_EQ(Execute(*m, "#2=1/3"), BlockHandled);
    EXPECT_EQ(Execute(*m, "#3=#2*3"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 0.999999);
}

TEST(ConformanceAssignment, AFailedExpressionStopsTheStatement) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 9;
    m->LocalLevels[0][2] = 8;
    m->LocalLevels[0][3] = 7;
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=5/0#2=3"), BlockError);
        EXPECT_TRUE(log.Contains("let error #1=5/0#2=3")) << log.Joined();
    }
    EXPECT_DOUBLE_EQ(Local(*m, 1), 9);
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_EQ(Execute(*m, "#1=1#2=5/[1-1]#3=3"), BlockError);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 1);  // written before the failure: kept
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 7);
    // Glued across a blank, two assignments are one statement.
    EXPECT_EQ(Execute(*m, "#4=2 #5=#4*3"), BlockHandled);
    EXPECT_DOUBLE_EQ(Local(*m, 5), 6);
}

TEST(ConformanceExpression, KeywordsBindTighterThanArithmetic) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_DOUBLE_EQ(Value(*m, "SIN30"), 0.5);  // a function takes the operand after it
    EXPECT_DOUBLE_EQ(Value(*m, "10-7MOD4"), 7);
    EXPECT_DOUBLE_EQ(Value(*m, "2*7MOD3"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "-7MOD3"), -1);  // the remainder has the sign of y

    EXPECT_EQ(m->Precedence(""), -1);
    EXPECT_EQ(m->Precedence("="), 4);
    EXPECT_EQ(m->Precedence("*"), 2);
    EXPECT_EQ(m->Precedence("+"), 1);
    EXPECT_EQ(m->Precedence("["), 5);
    EXPECT_EQ(m->Precedence("]"), 0);
    EXPECT_EQ(m->Precedence("12"), 4);
    EXPECT_EQ(m->Precedence("#1"), 4);
    EXPECT_EQ(m->Precedence("MOD"), 3);
    EXPECT_EQ(m->Precedence("FOO"), 10);

    PostfixList list;
    int n = m->ToPostfix("[1+2]*#3", list);
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i)
        texts.push_back(list[static_cast<std::size_t>(i)].text);
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "2", "+", "#3", "*"}));

    std::string text = "X[1+2]";
    EXPECT_TRUE(m->EvaluateInPlace(text, 1));
    EXPECT_EQ(text, "X3.000000");
}

TEST(ConformanceExpression, FunctionsAtTheEdgesOfTheirRanges) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_DOUBLE_EQ(Value(*m, "COS[60]"), 0.5);
    EXPECT_DOUBLE_EQ(Value(*m, "COS[90]"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "TAN[45]"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "ATAN[-1]"), -45);
    EXPECT_DOUBLE_EQ(Value(*m, "ASIN[0.5]"), 30);
    EXPECT_DOUBLE_EQ(Value(*m, "ASIN[-1]"), -90);
    EXPECT_DOUBLE_EQ(Value(*m, "ACOS[-1]"), 180);
    EXPECT_DOUBLE_EQ(Value(*m, "SQRT[2]"), 1.414214);
    EXPECT_DOUBLE_EQ(Value(*m, "EXP[1]"), 2.718282);
    EXPECT_DOUBLE_EQ(Value(*m, "LN[1]"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[-2.5]"), -2);
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[3]"), 3);
    EXPECT_DOUBLE_EQ(Value(*m, "ROUND[-2.6]"), -3);
    EXPECT_DOUBLE_EQ(Value(*m, "BCD[12]"), 18);   // 0x12
    EXPECT_DOUBLE_EQ(Value(*m, "BIN[153]"), 99);  // 0x99
    EXPECT_DOUBLE_EQ(Value(*m, "1AND1"), 1);
    EXPECT_DOUBLE_EQ(Value(*m, "0OR0"), 0);
    EXPECT_DOUBLE_EQ(Value(*m, "5.9XOR3"), 6);  // each side truncated first
    struct Case {
        const char* expression;
        const char* message;
    };
    for (Case c : {Case{"ASIN[-1.5]", "asin into value larger than 1 :-1.500000"},
                   Case{"ACOS[2]", "acos into value larger than 1 :2.000000"},
                   Case{"LN[-2]", "ln into value not positive :-2.000000"},
                   Case{"EXP[1000]", "value out of range :"}}) {
        LogRecorder log;
        EXPECT_TRUE(std::isnan(Value(*m, c.expression))) << c.expression;
        EXPECT_TRUE(log.Contains(c.message)) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error #1=") + c.expression)) << log.Joined();
    }
}

}  // namespace
}  // namespace cuttrace
