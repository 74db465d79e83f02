// IF, GOTO, WHILE, DO and END of MELDAS and FANUC against hand-worked cases: every
// comparison operator, conditions that are malformed in less obvious ways, the exact
// condition messages, loop numbers and the loop limit of WHILE.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;
using V = std::vector<std::string>;

TEST(ConformanceStatement, EveryComparisonIsExact) {
    auto m = CreateMachine(DialectFanuc);
    struct Case {
        const char* condition;
        bool jumps;
    };
    m->LocalLevels[0][1] = 0;
    m->LocalLevels[0][2] = 2;
    m->LocalLevels[0][3] = 2;
    for (Case c :
         {Case{"#1GT-1", true}, Case{"#1LT-1", false}, Case{"1.5GT1.4", true}, Case{"#2GE#3", true},
          Case{"#2GT#3", false}, Case{"#2LE#3", true}, Case{"#2LT#3", false}, Case{"#2EQ#3", true},
          Case{"#2NE#3", false}, Case{"#2NE#1", true}, Case{"2.000001GT#2", true}}) {
        std::string line = std::string("IF[") + c.condition + "]GOTO7";
        EXPECT_EQ(Execute(*m, line), BlockHandled) << line;
        EXPECT_EQ(m->ResultCode, c.jumps ? ResultGoto : ResultNone) << line;
    }
}

TEST(ConformanceStatement, ConditionsHoldTwoPlainOperands) {
    auto m = CreateMachine(DialectMeldas);
    struct Case {
        const char* statement;
        V messages;
    };
    // These messages stand alone: no condition text or keyword follows them.
    for (const Case& c : {Case{"IF[#1GT]GOTO5", {"not find operand "}},
                          Case{"IF[1GT2GT3]GOTO5", {"not find operand "}},
                          Case{"IF[1SIN2]GOTO5", {"operater format err "}},
                          Case{"IF[1AND2]GOTO5", {"operater format err "}},
                          // The first ']' ends the condition: it holds no bracket group.
                          Case{"IF[[#1]GT0]GOTO5", {"operator missing ["}}}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, c.statement), BlockError) << c.statement;
        V expected = c.messages;
        expected.push_back(std::string("(if) error ") + c.statement);
        EXPECT_EQ(log.lines, expected);
    }
}

TEST(ConformanceStatement, TargetsAndLoopNumbersAreTheDigitsOfTheValueText) {
    auto m = CreateMachine(DialectFanuc);
    m->LocalLevels[0][5] = 20.7;  // "GOTO20.700000": the target is 20
    EXPECT_EQ(Execute(*m, "GOTO#5"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 20);

    m->LocalLevels[0][1] = 3;
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO10"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultSkipToEnd);
    EXPECT_EQ(m->ProgramName, "END10");
    m->LocalLevels[0][2] = 3.9;
    EXPECT_EQ(Execute(*m, "WHILE[#1LT3]DO#2"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "END3");
    EXPECT_EQ(Execute(*m, "WHILE[#1LE3]DO#2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopNumbers[1], 3);
    EXPECT_EQ(Execute(*m, "END#2"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);
}

TEST(ConformanceStatement, EndMustNameTheInnermostLoop) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "DO2"), BlockHandled);
    EXPECT_EQ(Execute(*m, "DO2"), BlockHandled);  // numbers need not be distinct
    EXPECT_EQ(Execute(*m, "DO1"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 3);
    EXPECT_EQ(m->LoopNumbers[1], 2);
    EXPECT_EQ(m->LoopNumbers[3], 1);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "END2"), BlockError);
        EXPECT_EQ(log.lines, (V{"da not same whilecount 2 != 1 :3", "end error END2"}));
        EXPECT_EQ(m->LoopDepth, 3);
    }
    EXPECT_EQ(Execute(*m, "END1"), BlockHandled);
    EXPECT_EQ(Execute(*m, "END2"), BlockHandled);
    EXPECT_EQ(Execute(*m, "END2"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 0);
}

TEST(ConformanceStatement, WhileAtTheLoopLimit) {
    auto m = CreateMachine(DialectMeldas);
    for (int i = 0; i < 27; ++i)
        ASSERT_EQ(Execute(*m, "DO1"), BlockHandled) << i;
    // A true WHILE cannot open a loop, and a false one cannot skip one either.
    for (const char* statement : {"WHILE[0LT1]DO1", "WHILE[1LT0]DO1"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, statement), BlockError) << statement;
        std::string message = statement[6] == '0' ? "(do) error " : "goend error ";
        EXPECT_EQ(log.lines, (V{"while nest over ", message + statement}));
        EXPECT_EQ(m->LoopDepth, 27);
    }
}

}  // namespace
}  // namespace cuttrace
