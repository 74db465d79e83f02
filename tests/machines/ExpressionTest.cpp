// Assignments and expressions: precedence, functions, the text round trip, failures.
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"
#include "support/MachinePeer.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using test::MachinePeer;

class Expression : public ::testing::Test {
  protected:
    // Assigns `expression` to #1 and returns what #1 holds afterwards.
    double Eval(std::string_view expression) {
        std::string line = "#1=" + std::string(expression);
        EXPECT_EQ(Execute(*m, line), BlockResult::Handled) << line << "\n" << log.Joined();
        return Local(*m, 1);
    }
    std::unique_ptr<NcMachine> m = CreateMachine(Dialect::Fanuc);
    LogRecorder log;
};

TEST_F(Expression, ValuesPassThroughSixDecimalText) {
    EXPECT_EQ(Eval("1/3"), 0.333333);
    EXPECT_EQ(Eval("2/3"), 0.666667);
    EXPECT_EQ(Eval("SIN[30]"), 0.5);
    EXPECT_EQ(Eval("ATAN[1]"), 45.0);
    EXPECT_EQ(Eval("ACOS[0]"), 90.0);
    EXPECT_EQ(Eval(".5*2"), 1.0);
}

TEST_F(Expression, PrecedenceAndAssociativity) {
    Execute(*m, "#2=2");
    EXPECT_EQ(Eval("1+#2*2"), 5.0);
    EXPECT_EQ(Eval("1-2-3"), -4.0);
    EXPECT_EQ(Eval("10/4/5"), 0.5);
    EXPECT_EQ(Eval("[2+3]*4"), 20.0);
    EXPECT_EQ(Eval("2*SIN[30]*4"), 4.0);
    EXPECT_EQ(Eval("7MOD3"), 1.0);
    EXPECT_EQ(Eval("1+[7MOD3]"), 2.0);
    EXPECT_EQ(Eval("[[1+2]*[3+4]]/7"), 3.0);
    EXPECT_EQ(Eval("SQRT[ABS[-16]]"), 4.0);
}

TEST_F(Expression, PostfixOrder) {
    PostfixList out;
    auto order = [&](std::string_view text) {
        std::string joined;
        int n = MachinePeer::ToPostfix(*m, text, out);
        for (int i = 0; i < n; ++i)
            joined += out[static_cast<std::size_t>(i)].text + " ";
        return joined;
    };
    EXPECT_EQ(order("1-2-3"), "1 2 - 3 - ");
    EXPECT_EQ(order("SIN[30]*2"), "30 SIN 2 * ");
    EXPECT_EQ(order("#1+#2*2"), "#1 #2 2 * + ");
}

TEST_F(Expression, MinusInFrontOfAnOperandNegatesIt) {
    Execute(*m, "#2=4");
    EXPECT_EQ(Eval("-5"), -5.0);
    EXPECT_EQ(Eval("2*-3"), -6.0);
    EXPECT_EQ(Eval("[-#2]*2"), -8.0);
    EXPECT_EQ(Eval("-#2*2"), -8.0);
    EXPECT_EQ(Eval("-SIN[30]"), -0.5);
    EXPECT_EQ(Eval("3--2"), 5.0);
    EXPECT_EQ(Eval("7MOD-4"), 3.0);
}

TEST_F(Expression, BlanksInsideStatementsAreSeparators) {
    Execute(*m, "#2 = 4");
    EXPECT_EQ(Local(*m, 2), 4.0);
    EXPECT_EQ(Execute(*m, "#3 = #2 * 2 + 1 (COMMENT)"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 3), 9.0);
}

TEST_F(Expression, RoundingFunctions) {
    EXPECT_EQ(Eval("ROUND[2.5]"), 3.0);
    EXPECT_EQ(Eval("ROUND[2.4]"), 2.0);
    // Half away from zero: a negative value no longer always goes down.
    EXPECT_EQ(Eval("ROUND[-2.5]"), -3.0);
    EXPECT_EQ(Eval("ROUND[-2.3]"), -2.0);
    // FIX and FUP work on the magnitude, as the controls do.
    EXPECT_EQ(Eval("FIX[-2.5]"), -2.0);
    EXPECT_EQ(Eval("FIX[2.5]"), 2.0);
    EXPECT_EQ(Eval("FUP[2.1]"), 3.0);
    EXPECT_EQ(Eval("FUP[-2.1]"), -3.0);
    EXPECT_EQ(Eval("FUP[-2]"), -2.0);
}

TEST_F(Expression, LogarithmAndCodeConversions) {
    EXPECT_EQ(Eval("LN[5]"), 1.609438);
    EXPECT_EQ(Eval("EXP[LN[3]]"), 3.0);
    EXPECT_EQ(Eval("BIN[4660]"), 1234.0);  // BCD 0x1234 -> 1234
    EXPECT_EQ(Eval("BCD[1234]"), 4660.0);  // 1234 -> BCD 0x1234
    EXPECT_EQ(Eval("BIN[BCD[987]]"), 987.0);
}

TEST_F(Expression, BitwiseOperators) {
    EXPECT_EQ(Eval("5XOR3"), 6.0);
    EXPECT_EQ(Eval("1AND0"), 0.0);
    EXPECT_EQ(Eval("6AND3"), 2.0);
    EXPECT_EQ(Eval("4OR3"), 7.0);
    EXPECT_EQ(Eval("2*3AND1"), 0.0);  // AND is a multiplying operator: [2*3]AND1
    EXPECT_EQ(Eval("1+2OR4"), 7.0);   // OR an adding one: [1+2]OR4
}

TEST_F(Expression, SeveralAssignmentsInOneStatement) {
    EXPECT_EQ(Execute(*m, "#1=5#2=#1+1#3=#2*2"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    EXPECT_EQ(Local(*m, 2), 6.0);
    EXPECT_EQ(Local(*m, 3), 12.0);
}

TEST_F(Expression, FailuresAreLoggedAndLeaveTheTargetAlone) {
    Execute(*m, "#1=7");
    EXPECT_EQ(Execute(*m, "#1=5/0"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("divijon by 0 error 5.000000 / 0.000000")) << log.Joined();
    EXPECT_TRUE(log.Contains("let error #1=5/0"));
    EXPECT_EQ(Local(*m, 1), 7.0);

    EXPECT_EQ(Execute(*m, "#1=ASIN[2]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("asin into value larger than 1 :2.000000"));
    EXPECT_EQ(Execute(*m, "#1=ACOS[-1.5]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("acos into value larger than 1 :-1.500000"));
    EXPECT_EQ(Execute(*m, "#1=LN[0]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("ln into value not positive :0.000000"));
    EXPECT_EQ(Execute(*m, "#1=SQRT[-1]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("value out of range :SQRT[-1]"));
    EXPECT_EQ(Execute(*m, "#1=FOO[1]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not find operator FOO"));
    EXPECT_EQ(Execute(*m, "#1="), BlockResult::Error);
    EXPECT_EQ(Local(*m, 1), 7.0);
}

TEST_F(Expression, UnbalancedBracketsFail) {
    EXPECT_EQ(Execute(*m, "#1=[1+2"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not finnd operand ["));
    EXPECT_EQ(Execute(*m, "#1=1+2]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("not finnd operand ]"));
    EXPECT_EQ(Execute(*m, "G01X[#1+2"), BlockResult::Error);
    EXPECT_EQ(Execute(*m, "#1=]]]]"), BlockResult::Error);
}

TEST_F(Expression, HostileNestingAndLengthAreRefused) {
    // Indirect references nest evaluations; a deep chain fails instead of overflowing.
    std::string chain = "#1=" + std::string(500, '#') + "1";
    EXPECT_EQ(Execute(*m, chain), BlockResult::Error);
    EXPECT_TRUE(log.Contains("macro statement nest over :"));
    // Deep brackets need no recursion at all.
    std::string deep = "#1=" + std::string(3000, '[') + "2" + std::string(3000, ']');
    EXPECT_EQ(Execute(*m, deep), BlockResult::Error);
    EXPECT_TRUE(log.Contains("macro statement too long :"));
    std::string nested = "#1=" + std::string(1000, '[') + "2" + std::string(1000, ']');
    EXPECT_EQ(Execute(*m, nested), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 2.0);
}

TEST_F(Expression, NumberTextIgnoresTheProcessLocale) {
    // Generate a comma-decimal locale into a private folder and switch the process to it.
    auto folder =
        std::filesystem::temp_directory_path() / ("cuttrace-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    int generated = std::system(command.c_str());
    setenv("LOCPATH", folder.c_str(), 1);
    bool comma =
        std::setlocale(LC_ALL, "de_DE.UTF-8") && std::localeconv()->decimal_point[0] == ',';
    std::vector<std::string> words;
    double value = 0.0;
    BlockResult result = BlockResult::Error;
    if (comma) {
        value = Eval("1.5*3");
        result = Execute(*m, "G01X#1Y[#1/2]", &words);
    }
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
    if (!comma) GTEST_SKIP() << "no comma-decimal locale (localedef " << generated << ")";
    EXPECT_EQ(value, 4.5);
    EXPECT_EQ(result, BlockResult::Ordinary);
    EXPECT_EQ(words, (std::vector<std::string>{"G01", "X4.500", "Y2.250000"}));
}

// Runs "#1=<expression>" and returns #1 (NaN when the statement fails).
double Value(NcMachine& m, const std::string& expression) {
    m.Variables().SetLocal(0, 1, 0);
    if (Execute(m, "#1=" + expression) != BlockResult::Handled) return std::nan("");
    return Local(m, 1);
}

TEST(Assignment, AFailedExpressionStopsTheStatement) {
    auto m = CreateMachine(Dialect::Meldas);
    m->Variables().SetLocal(0, 1, 9);
    m->Variables().SetLocal(0, 2, 8);
    m->Variables().SetLocal(0, 3, 7);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "#1=5/0#2=3"), BlockResult::Error);
        EXPECT_TRUE(log.Contains("let error #1=5/0#2=3")) << log.Joined();
    }
    EXPECT_DOUBLE_EQ(Local(*m, 1), 9);
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_EQ(Execute(*m, "#1=1#2=5/[1-1]#3=3"), BlockResult::Error);
    EXPECT_DOUBLE_EQ(Local(*m, 1), 1);  // written before the failure: kept
    EXPECT_DOUBLE_EQ(Local(*m, 2), 8);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 7);
    // Glued across a blank, two assignments are one statement.
    EXPECT_EQ(Execute(*m, "#4=2 #5=#4*3"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(Local(*m, 5), 6);
}

TEST(ExpressionKeywords, KeywordsBindTighterThanArithmetic) {
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_DOUBLE_EQ(Value(*m, "SIN30"), 0.5);  // a function takes the operand after it
    EXPECT_DOUBLE_EQ(Value(*m, "10-7MOD4"), 7);
    EXPECT_DOUBLE_EQ(Value(*m, "2*7MOD3"), 2);
    EXPECT_DOUBLE_EQ(Value(*m, "-7MOD3"), -1);  // the remainder has the sign of y

    PostfixList list;
    int n = MachinePeer::ToPostfix(*m, "[1+2]*#3", list);
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i)
        texts.push_back(list[static_cast<std::size_t>(i)].text);
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "2", "+", "#3", "*"}));

    std::string text = "X[1+2]";
    EXPECT_TRUE(MachinePeer::EvaluateInPlace(*m, text, 1));
    EXPECT_EQ(text, "X3.000000");
}

TEST(ExpressionKeywords, FunctionsAtTheEdgesOfTheirRanges) {
    auto m = CreateMachine(Dialect::Meldas);
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
    EXPECT_DOUBLE_EQ(Value(*m, "FUP[-2.5]"), -3);
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
