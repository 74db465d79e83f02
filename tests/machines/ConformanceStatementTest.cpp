// IF, GOTO, WHILE, DO and END of MELDAS and FANUC: the request each leaves for the core,
// the loop bookkeeping, the comparison rules and the messages of malformed statements.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using machinetest::Execute;
using machinetest::LogRecorder;

TEST(ConformanceStatement, IfJumpsOnlyWhenTheComparisonHolds) {
    auto m = CreateMachine(DialectMeldas);
    m->LocalLevels[0][1] = 11;
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 100);
    m->LocalLevels[0][1] = 10;
    EXPECT_EQ(Execute(*m, "IF[#1GT10]GOTO100"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);

    m->LocalLevels[0][5] = 20;
    EXPECT_EQ(Execute(*m, "IF[#1EQ10]GOTO#5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 20);
    // Without GOTO a true condition does nothing more: the THEN part is not executed.
    m->LocalLevels[0][1] = 1;
    m->LocalLevels[0][2] = 0;
    EXPECT_EQ(Execute(*m, "IF[#1EQ1]THEN#2=5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][2], 0);
}

TEST(ConformanceStatement, ComparisonsAreExact) {
    auto m = CreateMachine(DialectFanuc);
    struct Case {
        const char* condition;
        bool jumps;
    };
    m->LocalLevels[0][1] = 0;
    m->LocalLevels[0][2] = 2;
    m->LocalLevels[0][3] = 2;
    for (Case c : {Case{"-5LT#1", true}, Case{"#1GT-1", true}, Case{"#1LT-1", false},
                   Case{"1.5GT1.4", true}, Case{"#2GE#3", true}, Case{"#2GT#3", false},
                   Case{"#2LE#3", true}, Case{"#2LT#3", false}, Case{"#2EQ#3", true},
                   Case{"#2NE#3", false}, Case{"#2NE#1", true}, Case{"2.000001GT#2", true}}) {
        std::string line = std::string("IF[") + c.condition + "]GOTO7";
        EXPECT_EQ(Execute(*m, line), BlockHandled) << line;
        EXPECT_EQ(m->ResultCode, c.jumps ? ResultGoto : ResultNone) << line;
    }
}

TEST(ConformanceStatement, MalformedConditions) {
    auto m = CreateMachine(DialectMeldas);
    struct Case {
        const char* statement;
        const char* message;
    };
    for (Case c :
         {Case{"IF[#1+1GT10]GOTO5", "operator missing +"}, Case{"IF[#1]GOTO5", "not find operand "},
          Case{"IF[#1GT]GOTO5", "not find operand "}, Case{"IF[1GT2GT3]GOTO5", "not find operand "},
          Case{"IF[1SIN2]GOTO5", "operater format err "},
          Case{"IF[[#1]GT0]GOTO5", "operator missing ["}}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.statement), BlockError) << c.statement;
        EXPECT_TRUE(log.Contains(c.message)) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("(if) error ") + c.statement)) << log.Joined();
    }
    // Without brackets the condition cannot be found.
    for (Case c : {Case{"IF#1GT10]GOTO5", "notfind [ IF#1GT10]GOTO5"},
                   Case{"IF[#1GT10 GOTO5", "notfind ] IF[#1GT10 GOTO5"}}) {
        LogRecorder log;
        std::string text = c.statement;
        EXPECT_FALSE(m->ExecuteStatement(text, 0)) << c.statement;
        EXPECT_TRUE(log.Contains(c.message)) << log.Joined();
    }
}

// These messages stand alone: no condition text or keyword follows them.
TEST(ConformanceStatement, ConditionMessagesAreExact) {
    auto m = CreateMachine(DialectMeldas);
    using V = std::vector<std::string>;
    struct Case {
        const char* statement;
        const char* message;
    };
    for (Case c :
         {Case{"IF[#1]GOTO5", "not find operand "}, Case{"IF[1GT2GT3]GOTO5", "not find operand "},
          Case{"IF[1AND2]GOTO5", "operater format err "}}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.statement), BlockError) << c.statement;
        EXPECT_EQ(log.lines, (V{c.message, std::string("(if) error ") + c.statement}));
    }
}

TEST(ConformanceStatement, GotoTargets) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "GOTO5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 5);
    m->LocalLevels[0][5] = 20;
    EXPECT_EQ(Execute(*m, "GOTO#5"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 20);
    m->LocalLevels[0][5] = 20.7;  // the digits of the value text: 20
    EXPECT_EQ(Execute(*m, "GOTO#5"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 20);
    EXPECT_EQ(Execute(*m, "GOTO"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 0);
}

TEST(ConformanceStatement, WhileOpensOrSkipsALoop) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO1"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopDepth, 1);
    EXPECT_EQ(m->LoopNumbers[1], 1);
    EXPECT_EQ(Execute(*m, "END1"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);

    m->LocalLevels[0][1] = 3;
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO10"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultSkipToEnd);
    EXPECT_EQ(m->ProgramName, "END10");
    EXPECT_EQ(m->LoopDepth, 0);

    m->LocalLevels[0][2] = 3;
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO#2"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "END3");
    EXPECT_EQ(Execute(*m, "WHILE[#1LE3]DO#2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopNumbers[1], 3);
    EXPECT_EQ(Execute(*m, "END#2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);
}

TEST(ConformanceStatement, DoEndNestingAndLoopNumbers) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "DO2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(Execute(*m, "DO2"), BlockHandled);  // numbers need not be distinct
    EXPECT_EQ(Execute(*m, "DO1"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 3);
    EXPECT_EQ(m->LoopNumbers[1], 2);
    EXPECT_EQ(m->LoopNumbers[3], 1);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "END2"), BlockError);
        EXPECT_TRUE(log.Contains("da not same whilecount 2 != 1 :3")) << log.Joined();
        EXPECT_TRUE(log.Contains("end error END2")) << log.Joined();
        EXPECT_EQ(m->LoopDepth, 3);
    }
    EXPECT_EQ(Execute(*m, "END1"), BlockHandled);
    EXPECT_EQ(Execute(*m, "END2"), BlockHandled);
    EXPECT_EQ(Execute(*m, "END2"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 0);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "END1"), BlockError);
        EXPECT_TRUE(log.Contains("da not same whilecount 1 != 0 :0")) << log.Joined();
        EXPECT_EQ(m->LoopDepth, 0);
    }
}

TEST(ConformanceStatement, TwentySevenLoopsAtMost) {
    auto m = CreateMachine(DialectMeldas);
    for (int i = 0; i < 27; ++i)
        ASSERT_EQ(Execute(*m, "DO1"), BlockHandled) << i;
    struct Case {
        const char* statement;
        const char* message;
    };
    for (Case c : {Case{"DO1", "do error DO1"}, Case{"WHILE[0LT1]DO1", "(do) error WHILE[0LT1]DO1"},
                   Case{"WHILE[1LT0]DO1", "goend error WHILE[1LT0]DO1"}}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.statement), BlockError) << c.statement;
        EXPECT_TRUE(log.Contains("while nest over ")) << log.Joined();
        EXPECT_TRUE(log.Contains(c.message)) << log.Joined();
        EXPECT_EQ(m->LoopDepth, 27);
    }
}

TEST(ConformanceStatement, MalformedWhile) {
    auto m = CreateMachine(DialectMeldas);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "WHILE[#1LT3]"), BlockError);
        EXPECT_TRUE(log.Contains("(while) in format error can't find (DO)WHILE[#1LT3]"))
            << log.Joined();
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "WHILE[#1]DO1"), BlockError);
        EXPECT_TRUE(log.Contains("not find operand ")) << log.Joined();
        EXPECT_TRUE(log.Contains("while error WHILE[#1]DO1")) << log.Joined();
        EXPECT_EQ(m->LoopDepth, 0);
    }
}

}  // namespace
}  // namespace cuttrace
