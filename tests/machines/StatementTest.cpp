// IF/GOTO, GOTO, WHILE/DO/END and DO/END: request codes, loop bookkeeping, messages.
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
using test::MachinePeer;
using V = std::vector<std::string>;

class Statements : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> m = CreateMachine(Dialect::Meldas);
    LogRecorder log;
};

TEST_F(Statements, IfJumpsOnlyWhenTheComparisonHolds) {
    Execute(*m, "#1=11");
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(m->Request().number, 100);
    Execute(*m, "#1=10");
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
    EXPECT_EQ(Execute(*m, "IF[#1GE10]GOTO7"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 7);
    EXPECT_EQ(Execute(*m, "IF [#1 EQ 10] GOTO 49"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 49);
    EXPECT_EQ(Execute(*m, "IF[-5LT#1]GOTO5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(Execute(*m, "IF[#1NE-#1]GOTO6"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 6);
    EXPECT_EQ(Execute(*m, "IF[#1LE9.5]GOTO5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
}

TEST_F(Statements, ThenExecutesItsStatementWhenTheConditionHolds) {
    Execute(*m, "#1=1");
    EXPECT_EQ(Execute(*m, "IF[#1EQ1]THEN#2=5#3=6"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 2), 5.0);
    EXPECT_EQ(Local(*m, 3), 6.0);
    EXPECT_EQ(Execute(*m, "IF [#1 EQ 2] THEN #2 = 7"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 2), 5.0);
    EXPECT_EQ(m->Request().kind, MachineRequest::None);
}

TEST_F(Statements, MalformedConditionsFailWithTheirMessage) {
    struct Case {
        const char* line;
        const char* message;
    };
    for (Case c :
         {Case{"IF[#1GT]GOTO5", "not find operand GT"},
          Case{"IF[#1 #2]GOTO5", "operator missing [#1 #2]"},
          Case{"IF#1GT1GOTO5", "notfind [ IF#1"}, Case{"IF[#1GT1GOTO5", "notfind ] IF[#1GT1GOTO5"},
          Case{"IF[#1EQ1]THEN", "(then) without statement IF[#1EQ1]THEN"},
          Case{"IF[#1EQ#0]THEN ", "(then) without statement"},
          Case{"IF[1]X5", "(if) error IF[1]X5"}}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.line), BlockResult::Error) << c.line;
        EXPECT_TRUE(log.Contains(c.message)) << c.line << "\n" << log.Joined();
    }
}

TEST_F(Statements, GotoTargets) {
    std::vector<std::string> words;
    Execute(*m, "#5=20");
    EXPECT_EQ(Execute(*m, "GOTO#5", &words), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::Goto);
    EXPECT_EQ(m->Request().number, 20);
    EXPECT_EQ(words[0], "GOTO20.000000");
    EXPECT_EQ(Execute(*m, "GOTO"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 0);
    EXPECT_EQ(Execute(*m, "GOTO 1014"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 1014);
    Execute(*m, "#1=1");
    EXPECT_EQ(Execute(*m, "IF[#1EQ1]GOTO#5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 20);
}

TEST_F(Statements, WhileBeginsSkipsAndEndsLoops) {
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO1"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopBegin);
    EXPECT_EQ(m->LoopDepth(), 1);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 1), 1);
    EXPECT_EQ(Execute(*m, "END1"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopEnd);
    EXPECT_EQ(m->LoopDepth(), 0);
    Execute(*m, "#1=3");
    EXPECT_EQ(Execute(*m, "WHILE [#1 LT 3] DO 2"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::SkipToEnd);
    EXPECT_EQ(m->Request().name, "END2");
    EXPECT_EQ(m->LoopDepth(), 0);
    Execute(*m, "#2=4");
    EXPECT_EQ(Execute(*m, "DO#2"), BlockResult::Handled);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 1), 4);
    EXPECT_EQ(Execute(*m, "END 4"), BlockResult::Handled);
    EXPECT_EQ(m->LoopDepth(), 0);
}

// Runs lines as the execution core would for loops and jumps (sequence numbers are
// "N<n>" at the start of a line); returns how many lines were executed.
int RunProgram(NcMachine& m, const std::vector<std::string>& lines, int limit = 1000) {
    std::vector<std::size_t> loopStarts;
    std::size_t i = 0;
    int executed = 0;
    while (i < lines.size() && executed < limit) {
        ++executed;
        BlockResult r = test::Execute(m, lines[i]);
        if (r == BlockResult::Error) return -1;
        std::size_t next = i + 1;
        if (r == BlockResult::Handled) {
            switch (m.Request().kind) {
                case MachineRequest::LoopBegin:
                    loopStarts.push_back(i);
                    break;
                case MachineRequest::LoopEnd:
                    next = loopStarts.back();
                    loopStarts.pop_back();
                    break;
                case MachineRequest::SkipToEnd:
                    for (next = i + 1; next < lines.size(); ++next) {
                        if (lines[next].find(m.Request().name) != std::string::npos) break;
                    }
                    ++next;
                    break;
                case MachineRequest::Goto:
                    for (next = 0; next < lines.size(); ++next) {
                        if (lines[next].rfind("N" + std::to_string(m.Request().number), 0) == 0)
                            break;
                    }
                    break;
                default:
                    break;
            }
        }
        i = next;
    }
    return executed;
}

TEST_F(Statements, AWhileLoopRunsItsBodyUntilTheConditionFails) {
    int lines = RunProgram(*m, {"#1=0", "WHILE[#1LT3]DO1", "#2=#2+10", "#1=#1+1", "END1", "#3=1"});
    EXPECT_EQ(Local(*m, 2), 30.0);
    EXPECT_EQ(Local(*m, 3), 1.0);
    EXPECT_EQ(m->LoopDepth(), 0);
    EXPECT_EQ(lines, 1 + 3 * 4 + 1 + 1);
}

TEST_F(Statements, NestedLoopsAndAGotoLoop) {
    RunProgram(*m, {"WHILE[#1LT3]DO1", "#1=#1+1", "#2=0", "WHILE[#2LT2]DO2", "#2=#2+1", "#3=#3+1",
                    "END2", "END1"});
    EXPECT_EQ(Local(*m, 3), 6.0);
    RunProgram(*m, {"#4=0", "N10#4=#4+2", "IF[#4LT10]GOTO10", "#5=#4"});
    EXPECT_EQ(Local(*m, 5), 10.0);
}

TEST_F(Statements, LoopErrors) {
    Execute(*m, "DO1");
    EXPECT_EQ(Execute(*m, "END2"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("da not same whilecount 2 != 1 :1"));
    EXPECT_TRUE(log.Contains("end error END2"));
    Execute(*m, "END1");
    EXPECT_EQ(Execute(*m, "END1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("da not same whilecount 1 != 0 :0"));
    EXPECT_EQ(m->LoopDepth(), 0);

    for (int i = 0; i < NcMachine::kMaxLoopDepth; ++i)
        ASSERT_EQ(Execute(*m, "DO1"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "DO1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("while nest over "));
    EXPECT_TRUE(log.Contains("do error DO1"));
    EXPECT_EQ(m->LoopDepth(), NcMachine::kMaxLoopDepth);

    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("(while) in format error can't find (DO)WHILE[#1LT3]"));
    EXPECT_EQ(Execute(*m, "WHILE[#1GT]DO1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("while error WHILE[#1GT]DO1"));
}

TEST(ConditionsAndLoops, EveryComparisonIsExact) {
    auto m = CreateMachine(Dialect::Fanuc);
    struct Case {
        const char* condition;
        bool jumps;
    };
    m->Variables().SetLocal(0, 1, 0);
    m->Variables().SetLocal(0, 2, 2);
    m->Variables().SetLocal(0, 3, 2);
    for (Case c :
         {Case{"#1GT-1", true}, Case{"#1LT-1", false}, Case{"1.5GT1.4", true}, Case{"#2GE#3", true},
          Case{"#2GT#3", false}, Case{"#2LE#3", true}, Case{"#2LT#3", false}, Case{"#2EQ#3", true},
          Case{"#2NE#3", false}, Case{"#2NE#1", true}, Case{"2.000001GT#2", true}}) {
        std::string line = std::string("IF[") + c.condition + "]GOTO7";
        EXPECT_EQ(Execute(*m, line), BlockResult::Handled) << line;
        EXPECT_EQ(m->Request().kind, c.jumps ? MachineRequest::Goto : MachineRequest::None) << line;
    }
}

TEST(ConditionsAndLoops, TargetsAndLoopNumbersAreTheDigitsOfTheValueText) {
    auto m = CreateMachine(Dialect::Fanuc);
    m->Variables().SetLocal(0, 5, 20.7);  // "GOTO20.700000": the target is 20
    EXPECT_EQ(Execute(*m, "GOTO#5"), BlockResult::Handled);
    EXPECT_EQ(m->Request().number, 20);

    m->Variables().SetLocal(0, 1, 3);
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO10"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::SkipToEnd);
    EXPECT_EQ(m->Request().name, "END10");
    m->Variables().SetLocal(0, 2, 3.9);
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO#2"), BlockResult::Handled);
    EXPECT_EQ(m->Request().name, "END3");
    EXPECT_EQ(Execute(*m, "WHILE[#1LE3]DO#2"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopBegin);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 1), 3);
    EXPECT_EQ(Execute(*m, "END#2"), BlockResult::Handled);
    EXPECT_EQ(m->Request().kind, MachineRequest::LoopEnd);
    EXPECT_EQ(m->LoopDepth(), 0);
}

TEST(ConditionsAndLoops, EndMustNameTheInnermostLoop) {
    auto m = CreateMachine(Dialect::Fanuc);
    EXPECT_EQ(Execute(*m, "DO2"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "DO2"), BlockResult::Handled);  // numbers need not be distinct
    EXPECT_EQ(Execute(*m, "DO1"), BlockResult::Handled);
    EXPECT_EQ(m->LoopDepth(), 3);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 1), 2);
    EXPECT_EQ(MachinePeer::LoopLabel(*m, 3), 1);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "END2"), BlockResult::Error);
        EXPECT_EQ(log.lines, (V{"da not same whilecount 2 != 1 :3", "end error END2"}));
        EXPECT_EQ(m->LoopDepth(), 3);
    }
    EXPECT_EQ(Execute(*m, "END1"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "END2"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "END2"), BlockResult::Handled);
    EXPECT_EQ(m->LoopDepth(), 0);
}

TEST(ConditionsAndLoops, WhileAtTheLoopLimit) {
    auto m = CreateMachine(Dialect::Meldas);
    for (int i = 0; i < 27; ++i)
        ASSERT_EQ(Execute(*m, "DO1"), BlockResult::Handled) << i;
    // A true WHILE cannot open a loop, and a false one cannot skip one either.
    for (const char* statement : {"WHILE[0LT1]DO1", "WHILE[1LT0]DO1"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, statement), BlockResult::Error) << statement;
        std::string message = statement[6] == '0' ? "(do) error " : "goend error ";
        EXPECT_EQ(log.lines, (V{"while nest over ", message + statement}));
        EXPECT_EQ(m->LoopDepth(), 27);
    }
}

}  // namespace
}  // namespace cuttrace
