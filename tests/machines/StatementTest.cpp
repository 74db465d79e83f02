// IF/GOTO, GOTO, WHILE/DO/END and DO/END: request codes, loop bookkeeping, messages.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;

class Statements : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> m = CreateMachine(DialectMeldas);
    LogRecorder log;
};

TEST_F(Statements, IfJumpsOnlyWhenTheComparisonHolds) {
    Execute(*m, "#1=11");
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 100);
    Execute(*m, "#1=10");
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
    EXPECT_EQ(Execute(*m, "IF[#1GE10]GOTO7"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 7);
    EXPECT_EQ(Execute(*m, "IF [#1 EQ 10] GOTO 49"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 49);
    EXPECT_EQ(Execute(*m, "IF[-5LT#1]GOTO5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(Execute(*m, "IF[#1NE-#1]GOTO6"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 6);
    EXPECT_EQ(Execute(*m, "IF[#1LE9.5]GOTO5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST_F(Statements, AnythingButGotoAfterTheConditionIsNotExecuted) {
    Execute(*m, "#1=1");
    EXPECT_EQ(Execute(*m, "IF[#1EQ1]THEN#2=5"), BlockHandled);
    EXPECT_EQ(Local(*m, 2), 0.0);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST_F(Statements, MalformedConditionsFailWithTheirMessage) {
    EXPECT_EQ(Execute(*m, "IF[#1+1GT10]GOTO5"), BlockError);
    EXPECT_TRUE(log.Contains("operator missing +"));
    EXPECT_TRUE(log.Contains("(if) error IF[#1+1GT10]GOTO5"));
    EXPECT_EQ(Execute(*m, "IF[#1]GOTO5"), BlockError);
    EXPECT_TRUE(log.Contains("not find operand "));
    log.lines.clear();
    EXPECT_EQ(Execute(*m, "IF[#1GT#2GT3]GOTO5"), BlockError);  // three values
    EXPECT_TRUE(log.Contains("not find operand "));
    EXPECT_EQ(Execute(*m, "IF[#1AND#2]GOTO5"), BlockError);
    EXPECT_TRUE(log.Contains("operater format err "));
    EXPECT_EQ(Execute(*m, "IF#1GT1GOTO5"), BlockError);
    EXPECT_TRUE(log.Contains("notfind [ IF#1"));
    EXPECT_EQ(Execute(*m, "IF[#1GT1GOTO5"), BlockError);
    EXPECT_TRUE(log.Contains("notfind ] IF[#1GT1GOTO5"));
}

TEST_F(Statements, GotoTargets) {
    std::vector<std::string> words;
    Execute(*m, "#5=20");
    EXPECT_EQ(Execute(*m, "GOTO#5", &words), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 20);
    EXPECT_EQ(words[0], "GOTO20.000000");
    EXPECT_EQ(Execute(*m, "GOTO"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 0);
    EXPECT_EQ(Execute(*m, "GOTO 1014"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 1014);
    Execute(*m, "#1=1");
    EXPECT_EQ(Execute(*m, "IF[#1EQ1]GOTO#5"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 20);
}

TEST_F(Statements, WhileBeginsSkipsAndEndsLoops) {
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO1"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopDepth, 1);
    EXPECT_EQ(m->LoopNumbers[1], 1);
    EXPECT_EQ(Execute(*m, "END1"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);
    Execute(*m, "#1=3");
    EXPECT_EQ(Execute(*m, "WHILE [#1 LT 3] DO 2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultSkipToEnd);
    EXPECT_EQ(m->ProgramName, "END2");
    EXPECT_EQ(m->LoopDepth, 0);
    Execute(*m, "#2=4");
    EXPECT_EQ(Execute(*m, "DO#2"), BlockHandled);
    EXPECT_EQ(m->LoopNumbers[1], 4);
    EXPECT_EQ(Execute(*m, "END 4"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 0);
}

// Runs lines as the execution core would for loops and jumps (sequence numbers are
// "N<n>" at the start of a line); returns how many lines were executed.
int RunProgram(NcMachine& m, const std::vector<std::string>& lines, int limit = 1000) {
    std::vector<std::size_t> loopStarts;
    std::size_t i = 0;
    int executed = 0;
    while (i < lines.size() && executed < limit) {
        ++executed;
        int r = test::Execute(m, lines[i]);
        if (r == BlockError) return -1;
        std::size_t next = i + 1;
        if (r == BlockHandled) {
            switch (m.ResultCode) {
                case ResultLoopBegin:
                    loopStarts.push_back(i);
                    break;
                case ResultLoopEnd:
                    next = loopStarts.back();
                    loopStarts.pop_back();
                    break;
                case ResultSkipToEnd:
                    for (next = i + 1; next < lines.size(); ++next) {
                        if (lines[next].find(m.ProgramName) != std::string::npos) break;
                    }
                    ++next;
                    break;
                case ResultGoto:
                    for (next = 0; next < lines.size(); ++next) {
                        if (lines[next].rfind("N" + std::to_string(m.ResultNumber), 0) == 0) break;
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
    EXPECT_EQ(m->LoopDepth, 0);
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
    EXPECT_EQ(Execute(*m, "END2"), BlockError);
    EXPECT_TRUE(log.Contains("da not same whilecount 2 != 1 :1"));
    EXPECT_TRUE(log.Contains("end error END2"));
    Execute(*m, "END1");
    EXPECT_EQ(Execute(*m, "END1"), BlockError);
    EXPECT_TRUE(log.Contains("da not same whilecount 1 != 0 :0"));
    EXPECT_EQ(m->LoopDepth, 0);

    for (int i = 0; i < NcMachine::kMaxLoopDepth; ++i)
        ASSERT_EQ(Execute(*m, "DO1"), BlockHandled);
    EXPECT_EQ(Execute(*m, "DO1"), BlockError);
    EXPECT_TRUE(log.Contains("while nest over "));
    EXPECT_TRUE(log.Contains("do error DO1"));
    EXPECT_EQ(m->LoopDepth, NcMachine::kMaxLoopDepth);

    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]"), BlockError);
    EXPECT_TRUE(log.Contains("(while) in format error can't find (DO)WHILE[#1LT3]"));
    EXPECT_EQ(Execute(*m, "WHILE[#1]DO1"), BlockError);
    EXPECT_TRUE(log.Contains("while error WHILE[#1]DO1"));
}

}  // namespace
}  // namespace cuttrace
