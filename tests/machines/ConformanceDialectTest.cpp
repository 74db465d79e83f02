// What the TOSNAC dialect changes (V variables, bracketed statements, the comma-and-dot
// condition that jumps by itself, its reader and tokens, its messages) and the few things
// that tell MELDAS and FANUC apart, each set beside the base behaviour.
#include <string>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using machinetest::Execute;
using machinetest::LogRecorder;
using machinetest::Split;
using V = std::vector<std::string>;

TEST(ConformanceTosnac, VariablesAreWrittenWithV) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*m, "[V1=5]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][1], 5);
    EXPECT_EQ(Execute(*m, "[V101=V1*2]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->CommonVariables[1], 10);
    EXPECT_EQ(Execute(*m, "[VA=2]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][31], 2);
    EXPECT_EQ(Execute(*m, "[V2=1/3]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][2], 0.333333);
    // Several assignments: the last expression ends before the closing bracket.
    EXPECT_EQ(Execute(*m, "[V1=1V2=V1+1]"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][1], 1);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][2], 2);

    EXPECT_EQ(m->Precedence("V1"), 4);
    EXPECT_EQ(m->Precedence("="), 4);
    EXPECT_EQ(m->Precedence("#1"), 10);
}

TEST(ConformanceTosnac, BareStatementsAndVariablesOutsideBracketsFail) {
    auto m = CreateMachine(DialectTosnac);
    m->LocalLevels[0][1] = 5;
    for (const char* line : {"#1=5", "XV1", "X-V1", "X=1", "X#1", "X-#1", "GOTO5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        EXPECT_TRUE(log.Contains(std::string("type miss error ") + line)) << log.Joined();
    }
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][1], 5);
}

TEST(ConformanceTosnac, AddressWordsTakeVariablesInBrackets) {
    auto m = CreateMachine(DialectTosnac);
    m->LocalLevels[0][1] = 5;
    V words;
    EXPECT_EQ(Execute(*m, "G01X[V1]Y2.", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X5.000000", "Y2."}));
    EXPECT_EQ(Execute(*m, "X-[V1]", &words), BlockOrdinary);
    EXPECT_EQ(words, V{"X-5.000000"});
    m->LocalLevels[0][1] = -2;
    EXPECT_EQ(Execute(*m, "X-[V1]", &words), BlockOrdinary);
    EXPECT_EQ(words, V{"X2.000000"});
    EXPECT_EQ(Execute(*m, "X-5.", &words), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "O1000"), BlockHandled);
    EXPECT_EQ(Execute(*m, "G81X0Y0Z-5R2L3"), BlockHandled);
    EXPECT_EQ(Execute(*m, "(C)%"), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "3X"), BlockError);
}

TEST(ConformanceTosnac, TheReaderEndsAWordAtABracket) {
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_EQ(Split(*tosnac, "X[V1]Y2"), (V{"X[V1]", "Y2"}));
    EXPECT_EQ(Split(*tosnac, "X1[V1]"), (V{"X1", "[V1]"}));
    EXPECT_EQ(Split(*tosnac, "[V1=5]X1"), (V{"[V1=5]", "X1"}));
    // Glue characters: 'V' instead of '#'.
    EXPECT_EQ(Split(*tosnac, "[V1=1]#2"), (V{"[V1=1]", "#2"}));
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(Split(*meldas, "X1[#1]"), V{"X1[#1]"});
    EXPECT_EQ(Split(*meldas, "#1=1 #2=2"), V{"#1=1#2=2"});
}

TEST(ConformanceTosnac, TokensOfTheTosnacReader) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(m->ReadToken("1,5"), 1u);  // ',' is a token of its own
    EXPECT_EQ(m->ReadToken(",5"), 1u);
    EXPECT_EQ(m->ReadToken("1.5,"), 3u);
    EXPECT_EQ(m->ReadToken("V12GT"), 3u);
    EXPECT_EQ(m->ReadToken("GTV1"), 2u);
    EXPECT_EQ(m->ReadToken("V1GT10"), 2u);
    EXPECT_EQ(m->ReadToken("VA+1"), 2u);
    auto meldas = CreateMachine(DialectMeldas);
    EXPECT_EQ(meldas->ReadToken("V1"), 1u);  // a letter, then a number
}

TEST(ConformanceTosnac, ConditionsJumpByThemselves) {
    auto m = CreateMachine(DialectTosnac);
    m->LocalLevels[0][1] = 11;
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 100);
    m->LocalLevels[0][1] = 10;
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.10,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);

    // Decimal points in the operands.
    m->LocalLevels[0][1] = 2;
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    m->LocalLevels[0][1] = 1.5;
    EXPECT_EQ(Execute(*m, "[IF,V1.GT.1.5,GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
    m->LocalLevels[0][1] = 1;
    EXPECT_EQ(Execute(*m, "[IF,1.5.GT.V1,GO 30]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 30);

    for (const char* line : {"[IF V1 GT 10]", "[IF,V1.GT.10]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockError) << line;
        // "notfind , " stands alone.
        EXPECT_EQ(log.lines, (V{"notfind , ", std::string("if error ") + line}));
    }
    // A true condition needs the closing bracket to find its target.
    m->LocalLevels[0][1] = 11;
    LogRecorder log;
    std::string text = "[IF,V1.GT.10,GO 100";
    EXPECT_FALSE(m->ExecuteStatement(text, 0));
    EXPECT_TRUE(log.Contains("notfind , ")) << log.Joined();
}

TEST(ConformanceTosnac, GoTargets) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*m, "[GO 100]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 100);
    m->LocalLevels[0][5] = 20;
    EXPECT_EQ(Execute(*m, "[GO V5]"), BlockHandled);
    EXPECT_EQ(m->ResultNumber, 20);
}

TEST(ConformanceTosnac, LoopsInBrackets) {
    auto m = CreateMachine(DialectTosnac);
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopDepth, 1);
    EXPECT_EQ(m->LoopNumbers[1], 1);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "[END2]"), BlockError);
        EXPECT_TRUE(log.Contains("da not same whilecount 2!=1:1")) << log.Joined();
        EXPECT_TRUE(log.Contains("end error [END2]")) << log.Joined();
    }
    EXPECT_EQ(Execute(*m, "[END1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopEnd);
    EXPECT_EQ(m->LoopDepth, 0);

    m->LocalLevels[0][1] = 3;
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,DO1]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultSkipToEnd);
    EXPECT_EQ(m->ProgramName, "END1");

    m->LocalLevels[0][2] = 3;
    EXPECT_EQ(Execute(*m, "[DOV2]"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultLoopBegin);
    EXPECT_EQ(m->LoopNumbers[1], 3);
    EXPECT_EQ(Execute(*m, "[ENDV2]"), BlockHandled);
    EXPECT_EQ(m->LoopDepth, 0);

    LogRecorder log;
    EXPECT_EQ(Execute(*m, "[WHILE,V1.LT.3,X1]"), BlockError);
    EXPECT_TRUE(log.Contains("while in format error [WHILE,V1.LT.3,X1]")) << log.Joined();
}

TEST(ConformanceTosnac, FunctionsAndMessages) {
    auto tosnac = CreateMachine(DialectTosnac);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*tosnac, "[V1=ACOS[0]]"), BlockError);
        EXPECT_TRUE(log.Contains("not find operator ACOS")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error [V1=ACOS[0]]")) << log.Joined();
    }
    for (const char* line : {"[V2=ASIN[2]]", "[V2=ASIN[-2]]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*tosnac, line), BlockError);
        EXPECT_TRUE(log.Contains(line[9] == '-' ? "asin into value larger 1 :-2.000000"
                                                : "asin into value larger 1 :2.000000"))
            << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*tosnac, "[V1=5/0]"), BlockError);
        EXPECT_TRUE(log.Contains("divijon by 0 error 5.000000 / 0.000000")) << log.Joined();
    }
    EXPECT_EQ(Execute(*tosnac, "[V1=ASIN[1]]"), BlockHandled);
    EXPECT_DOUBLE_EQ(tosnac->LocalLevels[0][1], 90);
    EXPECT_EQ(Execute(*tosnac, "[V1=1,5]"), BlockHandled);  // ',' is skipped
    for (int dialect : {DialectMeldas, DialectFanuc}) {
        auto m = CreateMachine(dialect);
        EXPECT_EQ(Execute(*m, "#1=ACOS[0]"), BlockHandled);
        EXPECT_DOUBLE_EQ(m->LocalLevels[0][1], 90);
    }
}

TEST(ConformanceTosnac, CallArgumentsAndInvalidReferences) {
    auto m = CreateMachine(DialectTosnac);
    ASSERT_EQ(Execute(*m, "G65O100A2.5"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[1][1], 2.5);
    EXPECT_EQ(m->ProgramName, "O100");
    {
        // A variable stands in an argument only in brackets: AV1 is a type miss, which
        // ends the run like a type miss anywhere else instead of passing 0 on.
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "G65O101AV1B2."), BlockError);
        EXPECT_TRUE(log.Contains("type miss error V1")) << log.Joined();
    }

    auto n = CreateMachine(DialectTosnac);
    for (const char* line : {"[V1=VV1]", "[VV1=1]", "[V=1]", "[V2=1V=2]"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*n, line), BlockError) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
}

TEST(ConformanceDialect, OnlyFanucAnnouncesItself) {
    {
        LogRecorder log;
        auto fanuc = CreateMachine(DialectFanuc);
        EXPECT_TRUE(log.Contains("Construct (FANUC)")) << log.Joined();
    }
    LogRecorder log;
    auto meldas = CreateMachine(DialectMeldas);
    auto tosnac = CreateMachine(DialectTosnac);
    EXPECT_FALSE(log.Contains("Construct")) << log.Joined();
}

}  // namespace
}  // namespace cuttrace
