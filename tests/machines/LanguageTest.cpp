// The macro language of the FANUC and MELDAS controls: vacant values, indirect references,
// conditions as expressions, THEN, and the two-value functions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using V = std::vector<std::string>;

// Runs "#9=<expression>" with #1 vacant, #2 = 0 and #3 = 4; NaN when it fails.
double Evaluate(NcMachine& m, const std::string& expression, bool* vacant = nullptr) {
    m.Variables().ClearLocal(0, 1);
    m.Variables().SetLocal(0, 2, 0);
    m.Variables().SetLocal(0, 3, 4);
    m.Variables().SetLocal(0, 9, -99);
    if (Execute(m, "#9=" + expression) != BlockResult::Handled) return std::nan("");
    if (vacant) *vacant = m.Variables().LocalVacant(0, 9);
    return Local(m, 9);
}

TEST(Vacancy, InEveryOperatorAndComparison) {
    struct Case {
        const char* expression;
        double value;
        bool vacant;
    };
    for (Dialect dialect : {Dialect::Fanuc, Dialect::Meldas}) {
        auto m = CreateMachine(dialect);
        for (Case c :
             {Case{"#1", 0, true}, Case{"[#1]", 0, true}, Case{"#0", 0, true},
              Case{"#[1]", 0, true},  // an indirect read copies vacancy too
              Case{"#1*5", 0, false}, Case{"#1+#1", 0, false}, Case{"-#1", 0, false},
              Case{"#1-2", -2, false}, Case{"#1/2", 0, false}, Case{"ABS[#1]", 0, false},
              Case{"#1OR6", 6, false}, Case{"#2", 0, false},
              // EQ and NE tell vacant from 0; the ordering comparisons count it as 0.
              Case{"#1EQ#0", 1, false}, Case{"#1EQ0", 0, false}, Case{"#2EQ#0", 0, false},
              Case{"#2EQ0", 1, false}, Case{"#1NE0", 1, false}, Case{"#1NE#0", 0, false},
              Case{"[#1*1]EQ0", 1, false}, Case{"#1GE0", 1, false}, Case{"#1LE0", 1, false},
              Case{"#1GT-1", 1, false}, Case{"#1LT#3", 1, false}}) {
            bool vacant = false;
            EXPECT_EQ(Evaluate(*m, c.expression, &vacant), c.value) << c.expression;
            EXPECT_EQ(vacant, c.vacant) << c.expression;
        }
    }
}

TEST(Vacancy, AddressesArgumentsAndLevels) {
    auto m = CreateMachine(Dialect::Fanuc);
    V words;
    // Nothing is written yet: the main level's locals are vacant.
    EXPECT_TRUE(m->Variables().LocalVacant(0, 24));
    EXPECT_EQ(Execute(*m, "G01X#24Y5.Z-#24F[#24]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "Y5."}));
    // A vacant argument is no argument: the macro's #1 stays vacant, #2 is 0.
    m->Variables().SetLocal(0, 2, 0);
    EXPECT_EQ(Execute(*m, "G65P9000A#1B#2"), BlockResult::Handled);
    EXPECT_TRUE(m->Variables().LocalVacant(1, 1));
    EXPECT_FALSE(m->Variables().LocalVacant(1, 2));
    EXPECT_TRUE(m->Variables().LocalVacant(1, 3));
    // #0 cannot be written; a vacant value can.
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "#0=1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("read-only variable #0"));
    EXPECT_EQ(Execute(*m, "#2=#0#500=#0"), BlockResult::Handled);
    EXPECT_TRUE(m->Variables().LocalVacant(1, 2));
    EXPECT_TRUE(m->Variables().CommonVacant(500));
}

TEST(Vacancy, TosnacHasNone) {
    auto m = CreateMachine(Dialect::Tosnac);
    V words;
    EXPECT_EQ(Execute(*m, "G01X[V24]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X0.000000"}));
}

TEST(Indirection, ReadsAndWritesToAnyDepth) {
    auto m = CreateMachine(Dialect::Meldas);
    V words;
    EXPECT_EQ(Execute(*m, "#1=2#101=7#7=1#[#1+100]=5"), BlockResult::Handled);
    EXPECT_EQ(m->Variables().Common(102), 5.0);
    EXPECT_EQ(Execute(*m, "#[#[#7]+100] = #[#7+100] - 1"), BlockResult::Handled);  // #102 = #101-1
    EXPECT_EQ(m->Variables().Common(102), 6.0);
    EXPECT_EQ(Execute(*m, "#3=1#4=#[#[#3]+100]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 4), 6.0);
    EXPECT_EQ(Execute(*m, "G01 X#[#3+1] Y-#[#7]", &words), BlockResult::Ordinary);  // #2 is vacant
    EXPECT_EQ(words, (V{"G01", "Y-2.000"}));
    EXPECT_EQ(Execute(*m, "G01 X#[#3]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X2.000"}));
    EXPECT_EQ(Execute(*m, "IF[#[#3]EQ2]GOTO#[#[#3]+1]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 1);
    EXPECT_EQ(Execute(*m, "GOTO[#1*5]"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 10);
    // Deep nesting ends with a message, not with the stack.
    std::string deep = "#1=";
    for (int i = 0; i < 300; ++i)
        deep += "#[";
    deep += "1" + std::string(300, ']');
    LogRecorder log;
    EXPECT_EQ(Execute(*m, deep), BlockResult::Handled);  // #[..] nests without recursion
    std::string target = "#" + std::string(200, '#') + "1=1";
    EXPECT_EQ(Execute(*m, target), BlockResult::Error);
    EXPECT_TRUE(log.Contains("macro statement nest over")) << log.Joined();
}

TEST(Conditions, PrecedenceAndCombinations) {
    struct Case {
        const char* condition;
        bool holds;
    };
    for (Dialect dialect : {Dialect::Fanuc, Dialect::Meldas}) {
        auto m = CreateMachine(dialect);
        Execute(*m, "#5=2#6=5#7=9#9=5");
        for (Case c : {Case{"#5LE[#7-#6]", true}, Case{"[#5*#6]GT10", false},
                       Case{"[#5*#6]GE10", true}, Case{"#5+1EQ3", true},
                       Case{"[#5GT0]AND[#6LT5]", false}, Case{"[#5GT0]OR[#6LT5]", true},
                       Case{"[#5GT0]XOR[#6GT0]", false}, Case{"#9AND4NE0", true},
                       Case{"#9AND2NE0", false}, Case{"#5", true}, Case{"#5-2", false},
                       Case{" #5 LE [ #7 - #6 ] ", true}, Case{"[[#5EQ2]AND[#6EQ5]]EQ1", true}}) {
            std::string line = std::string("IF[") + c.condition + "]THEN#8=1";
            m->Variables().SetLocal(0, 8, 0);
            EXPECT_EQ(Execute(*m, line), BlockResult::Handled) << line;
            EXPECT_EQ(Local(*m, 8), c.holds ? 1.0 : 0.0) << line;
            line = std::string("WHILE[") + c.condition + "]DO1";
            EXPECT_EQ(Execute(*m, line), BlockResult::Handled) << line;
            if (c.holds) Execute(*m, "END1");
            EXPECT_EQ(m->LoopDepth(), 0);
        }
    }
}

TEST(Functions, TwoValuesAndAddresses) {
    struct Case {
        const char* expression;
        double value;
    };
    auto m = CreateMachine(Dialect::Fanuc);
    for (Case c : {Case{"ATAN[1]/[1]", 45}, Case{"ATAN[1]/[-1]", 135}, Case{"ATAN[-1,-1]", 225},
                   Case{"ATAN[-1]/[1]", 315}, Case{"ATAN[0,-2]", 180}, Case{"ATAN[1]", 45},
                   Case{"ATAN[1]/2", 22.5}, Case{"POW[2,10]", 1024}, Case{"POW[#3,0.5]", 2},
                   Case{"ADP[#3]", 4}, Case{"FUP[2.1]+FIX[2.9]", 5}}) {
        EXPECT_NEAR(Evaluate(*m, c.expression), c.value, 1e-6) << c.expression;
    }
    for (const char* bad : {"POW[2]", "POW2", "SIN[1,2]", "1,2", "ATAN[1,2,3]"}) {
        LogRecorder log;
        EXPECT_TRUE(std::isnan(Evaluate(*m, bad))) << bad;
    }
    // ROUND rounds to the least input increment in an address, to a whole number elsewhere.
    V words;
    Execute(*m, "#1=1.23456");
    EXPECT_EQ(Execute(*m, "G01X[ROUND[#1]]Y[FIX[#1]+FUP[#1]]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X1.235000", "Y3.000000"}));
    EXPECT_EQ(Execute(*m, "#2=ROUND[#1]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 2), 1.0);
}

}  // namespace
}  // namespace cuttrace

namespace cuttrace {
namespace {

TEST(BlockSyntax, CommentsSemicolonsAndBlockSkip) {
    struct Case {
        const char* line;
        V words;
    };
    auto m = CreateMachine(Dialect::Meldas);
    for (const Case& c :
         {Case{"#1=ROUND[7/2] (ANG NO)", {"#1=ROUND[7/2] ", "(ANG NO)"}},
          Case{"#1 = 2 (TWO) + 3", {"#1= 2+ 3", "(TWO)"}},  // the comment stands aside
          Case{"G01 X1.;Y2.", {"G01", "X1."}}, Case{"X1.(A;B)Y2.", {"X1.", "(A;B)", "Y2."}},
          Case{"/G00 X9.", {"G00", "X9."}}, Case{"/2 N5 X9.", {"N5", "X9."}}}) {
        EXPECT_EQ(test::Split(*m, c.line), c.words) << c.line;
    }
    EXPECT_EQ(Execute(*m, "#1 = 2 (TWO) + 3"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 5.0);
    m->SetBlockSkip(true);
    V words;
    EXPECT_EQ(Execute(*m, " /2 G00 X9.", &words), BlockResult::Handled);
    EXPECT_TRUE(words.empty());
    EXPECT_EQ(Execute(*m, "G00 X9./", &words), BlockResult::Error);  // only at the start
}

}  // namespace
}  // namespace cuttrace

namespace cuttrace {
namespace {

// Keeps what a program prints and the alarm it raises.
class PrintRecorder final : public MachineEffects {
  public:
    void Alarm(std::string_view text) override { alarm = text; }
    void MessageStop(std::string_view) override {}
    void Print(std::string_view text) override { printed += text; }
    std::string printed;
    std::string alarm;
};

TEST(ExternalOutput, AlarmsSayTheirNumberAndComment) {
    auto m = CreateMachine(Dialect::Fanuc);
    PrintRecorder out;
    m->AttachRun(nullptr, &out);
    for (auto [statement, alarm] :
         {std::pair{"#3000=12(TOOL BROKEN)", "MACRO ALARM 3012 TOOL BROKEN"},
          std::pair{"#3000=[100000000000*100000000000*100000]", "MACRO ALARM 1e+27"}}) {
        Execute(*m, statement);
        EXPECT_EQ(out.alarm, alarm) << statement;
    }
}

TEST(ExternalOutput, FormatsAndBadRecords) {
    struct Case {
        const char* statement;
        const char* printed;
    };
    auto m = CreateMachine(Dialect::Fanuc);
    PrintRecorder out;
    m->AttachRun(nullptr, &out);
    Execute(*m, "#1=-0.0004#2=7.25#3=1234.5");
    for (Case c : {Case{"DPRNT[A#1[33]B#2[10]C#3[22]]", "A0.000B7C34.50\n"},
                   Case{"DPRNT[#2[42]*#5[11]]", "7.25 0.0\n"}, Case{"DPRNT[]", "\n"},
                   Case{"POPEN", ""}, Case{"PCLOS", ""}}) {
        out.printed.clear();
        EXPECT_EQ(Execute(*m, c.statement), BlockResult::Handled) << c.statement;
        EXPECT_EQ(out.printed, std::string(c.printed)) << c.statement;
    }
    out.printed.clear();
    EXPECT_EQ(Execute(*m, "BPRNT[X#2[2]]"), BlockResult::Handled);
    EXPECT_EQ(out.printed, std::string("X\0\0\x02\xD5\n", 6));  // 725, high byte first
    for (const char* bad :
         {"DPRNT[X#1[53]", "DPRNT[X#1[5]]", "DPRNT X#1", "DPRNT[X#]", "DPRNT[A]B", "POPEN5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, bad), BlockResult::Error) << bad;
        EXPECT_FALSE(log.lines.empty()) << bad;
    }
}

}  // namespace
}  // namespace cuttrace
