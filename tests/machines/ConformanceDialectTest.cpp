// What the TOSNAC dialect changes, in the cases the other tests leave out: letter V
// variables, '#' outside brackets, its reader and tokens, exact condition messages,
// indirect loop numbers, malformed V references; and the FANUC greeting.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;
using test::Split;
using V = std::vector<std::string>;

TEST(ConformanceTosnac, VariablesAreWrittenWithV) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*m, "[VA=2]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][31], 2);
    EXPECT_EQ(Execute(*m, "[V2=1/3]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][2], 0.333333);
    EXPECT_EQ(Execute(*m, "[V1=1V2=V1+1]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][2], 2);

    EXPECT_EQ(m->Precedence("V1"), 4);
    EXPECT_EQ(m->Precedence("#1"), 10);  // '#' is nothing special here
}

TEST(ConformanceTosnac, HashReferencesAndBareWordsAreTypeMisses) {
    auto m = CreateMachine(DialectTosnac);
    m->LocalLevels[0][1] = 5;
    for (const char* line : {"X#1", "X-#1", "GOTO5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_EQ(log.lines, V{std::string("type miss error ") + line});
    }
    // What the base dispatch does the same way.
    EXPECT_EQ(Execute(*m, "O1000"), BlockHandled);
    EXPECT_EQ(Execute(*m, "G81X0Y0Z-5R2L3"), BlockHandled);
    EXPECT_EQ(Execute(*m, "(C)%"), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "3X"), BlockError);
}

TEST(ConformanceTosnac, TheReaderEndsAWordAfterABracketGroup) {
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_EQ(Split(*tosnac, "[V1=5]X1"), (V{"[V1=5]", "X1"}));
    // Glue characters: 'V' instead of '#'.
    EXPECT_EQ(Split(*tosnac, "[V1=1]#2"), (V{"[V1=1]", "#2"}));
    // The base reader reads on after a group that does not follow a lone letter.
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(Split(*meldas, "X1[#1]"), V{"X1[#1]"});
}

TEST(ConformanceTosnac, TokensOfTheTosnacReader) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(m->ReadToken("1,5"), 1u);  // ',' is a token of its own
    EXPECT_EQ(m->ReadToken(",5"), 1u);
    EXPECT_EQ(m->ReadToken("V12GT"), 3u);
    EXPECT_EQ(m->ReadToken("GTV1"), 2u);  // 'V' is looked at before letters
    EXPECT_EQ(m->ReadToken("VA+1"), 2u);
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(meldas->ReadToken("V1"), 1u);  // a letter, then a number
}

TEST(ConformanceTosnac, ConditionMessagesAreExact) {
    auto m = CreateMachine(DialectTosnac);
    for (const char* line : {"[IF V1 GT 10]", "[IF,V1.GT.10]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        // "notfind , " stands alone.
        EXPECT_EQ(log.lines, (V{"notfind , ", std::string("if error ") + line}));
    }
    // A true condition needs the closing bracket to find its target; a false one does not.
    std::string text = "[IF,V1.GT.10,GO 100";
    EXPECT_TRUE(m->ExecuteStatement(text, 0));
    m->LocalLevels[0][1] = 11;
    LogRecorder log;
    EXPECT_FALSE(m->ExecuteStatement(text, 0));
    EXPECT_EQ(log.lines, (V{"notfind , ", "if error [IF,V1.GT.10,GO 100"}));
    // A decimal point of the first operand is told apart from the separating dot.
    m->LocalLevels[0][1] = 1;
    EXPECT_EQ(Execute(*m, "[IF,1.5.GT.V1,GO 30]"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 30);
}

TEST(ConformanceTosnac, IndirectLoopNumbers) {
    auto m = CreateMachine(DialectTosnac);
    m->LocalLevels[0][2] = 3;
    EXPECT_EQ(Execute(*m, "[DOV2]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopNumbers[1], 3);
    EXPECT_EQ(Execute(*m, "[ENDV2]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);
}

TEST(ConformanceTosnac, MalformedReferencesFailTheStatement) {
    auto m = CreateMachine(DialectTosnac);
    for (const char* line : {"[VV1=1]", "[V=1]", "[V2=1V=2]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "[V1=5/0]"), BlockError);
    EXPECT_EQ(log.lines, (V{"divijon by 0 error 5.000000 / 0.000000", "let error [V1=5/0]"}));
}

TEST(ConformanceDialect, OnlyFanucAnnouncesItself) {
    {
        LogRecorder log;
        auto fanuc = CreateMachine(DialectFanuc);
        EXPECT_EQ(log.lines, V{"Construct (FANUC)"});
    }
    LogRecorder log;
    auto meldas = CreateMachine(DialectMeldas);
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_TRUE(log.lines.empty()) << log.Joined();
}

}  // namespace
}  // namespace cuttrace
