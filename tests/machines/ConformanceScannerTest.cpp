// The block scanner and the per-block dispatch, checked case by case against hand-worked
// expectations: the glue rule on words that are not the first, the positions the readers
// leave, single tokens, the whole keyword tables, and what ExecuteBlock makes of each word.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;
using test::Split;
using V = std::vector<std::string>;

TEST(ConformanceScanner, GlueAfterTheFirstWord) {
    auto m = CreateMachine(DialectMeldas);
    // After an address word the glue is off: the statement is a word of its own.
    EXPECT_EQ(Split(*m, "G01 #1=5"), (V{"G01", "#1=5"}));
    // A second reference glues on ('#' is a glue character): several assignments in one word.
    EXPECT_EQ(Split(*m, "#1=#2 #3=4"), V{"#1=#2#3=4"});
    // A word that does not begin with a glue character stays separate, glue or not.
    EXPECT_EQ(Split(*m, "#1=1 IF[#1EQ1]GOTO5"), (V{"#1=1", "IF[#1EQ1]GOTO5"}));
    // A non-address word after an address word starts a word and turns the glue on.
    EXPECT_EQ(Split(*m, "G01 AB1-1"), (V{"G01", "AB1-1"}));
    EXPECT_EQ(Split(*m, "#1=1 X5 -1"), (V{"#1=1", "X5", "-1"}));
    EXPECT_EQ(Split(*m, "G01X"), (V{"G01", "X"}));
    EXPECT_EQ(Split(*m, "X1,5Y2"), (V{"X1,5", "Y2"}));  // ',' belongs to a number
}

TEST(ConformanceScanner, ReadersLeaveThePositionOnTheirLastCharacter) {
    auto m = CreateMachine(DialectMeldas);
    std::string word;
    std::size_t pos = 0;
    EXPECT_EQ(m->ReadComment("(AB)X1", pos, word), 4u);
    EXPECT_EQ(word, "(AB)");
    EXPECT_EQ(pos, 3u);

    std::string out;
    pos = 1;
    EXPECT_EQ(m->ReadBracket("X[1+[2]]Y", pos, out), 6u);
    EXPECT_EQ(out, "[1+[2]]");
    EXPECT_EQ(pos, 7u);

    pos = 3;
    EXPECT_EQ(m->ReadWord("G01X10.5Y-2", pos, word), 5u);
    EXPECT_EQ(word, "X10.5");
    EXPECT_EQ(pos, 7u);
}

TEST(ConformanceScanner, SingleTokensOfTheBaseReader) {
    auto m = CreateMachine(DialectMeldas);
    EXPECT_EQ(m->ReadToken("[30]*2"), 1u);
    EXPECT_EQ(m->ReadToken("30]*2"), 2u);
    EXPECT_EQ(m->ReadToken("-5"), 1u);
    EXPECT_EQ(m->ReadToken("=5"), 1u);
    EXPECT_EQ(m->ReadToken("5-"), 1u);
    EXPECT_EQ(m->ReadToken("10GT"), 2u);
    EXPECT_EQ(m->ReadToken("1.5,2X"), 5u);  // ',' is a number character here
    EXPECT_EQ(m->ReadToken("A#1"), 1u);
    EXPECT_EQ(m->ReadToken("#12#3"), 3u);
    EXPECT_EQ(m->ReadToken(""), 0u);
}

TEST(ConformanceScanner, WholeKeywordTables) {
    const char* names[] = {"ABS",   "ATAN", "BIN",   "BCD",  "COS", "DO",   "END",  "FIX",
                           "FUP",   "GT",   "GE",    "GOTO", "IF",  "SIN",  "SQRT", "TAN",
                           "LT",    "LE",   "WHILE", "AND",  "EXP", "ASIN", "MOD",  "ROUND",
                           "SETVN", "XOR",  "LN",    "OR",   "EQ",  "NE",   "ACOS"};
    auto meldas = CreateMachine(DialectMeldas);
    auto fanuc = CreateMachine(DialectFanuc);
    auto tosnac = CreateMachine(DialectTosnac);
    for (int i = 0; i <= 30; ++i) {
        EXPECT_EQ(meldas->KeywordIndex(names[i]), i) << names[i];
        EXPECT_EQ(fanuc->KeywordIndex(names[i]), i) << names[i];
        if (i != 11 && i != 30) {
            EXPECT_EQ(tosnac->KeywordIndex(names[i]), i) << names[i];
        }
    }
    EXPECT_EQ(meldas->KeywordIndex("GO"), -1);
    EXPECT_EQ(meldas->KeywordIndex("ABSX"), -1);  // whole text

    const char* calls[] = {"G65", "G66", "G66.1", "G22", "M98", "G23",
                           "G68", "M99", "G67",   "M30", "M02"};
    auto other = CreateMachine(7);  // any other setting value is FANUC
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(meldas->CallKeywordIndex(calls[i]), i + 1) << calls[i];
        EXPECT_EQ(other->CallKeywordIndex(calls[i]), i + 1) << calls[i];
        if (i != 3) {
            EXPECT_EQ(tosnac->CallKeywordIndex(calls[i]), i + 1) << calls[i];
        }
    }
    EXPECT_EQ(meldas->CallKeywordIndex("G72"), 0);
    for (std::string_view word : {"M99P1", "G66.10", "m99"})
        EXPECT_EQ(other->CallKeywordIndex(word), 0) << word;
    // Not a call keyword: an ordinary block.
    EXPECT_EQ(Execute(*other, "G065P9010"), BlockOrdinary);
    EXPECT_EQ(Execute(*other, "G65.0P9010"), BlockOrdinary);
}

// --- ExecuteBlock ------------------------------------------------------------------------

TEST(ConformanceBlock, ReferencesInAddressWords) {
    auto m = CreateMachine(DialectMeldas);
    m->CommonVariables[1] = 4;
    V words;
    EXPECT_EQ(Execute(*m, "X#101 Y#50", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"X4.000", "Y0.000"}));  // an ignored number reads 0
    m->LocalLevels[0][1] = -2;
    EXPECT_EQ(Execute(*m, "X[#1]Y2", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"X-2.000000", "Y2"}));
}

TEST(ConformanceBlock, StatementsMakeTheBlockMacroHandled) {
    auto m = CreateMachine(DialectMeldas);
    V words;
    EXPECT_EQ(Execute(*m, "G01 X1 #1=2"), BlockHandled);
    EXPECT_DOUBLE_EQ(m->LocalLevels[0][1], 2);
    // A bare reference is an expression statement: it is replaced by its value.
    EXPECT_EQ(Execute(*m, "#1", &words), BlockHandled);
    EXPECT_EQ(words, V{"2.000000"});
    // An assignment to something that is not a variable does nothing and succeeds.
    EXPECT_EQ(Execute(*m, "X=5"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST(ConformanceBlock, FailuresOfWords) {
    auto m = CreateMachine(DialectMeldas);
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "3X"), BlockError);
        EXPECT_TRUE(log.lines.empty()) << log.Joined();  // without a message
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "X-Y"), BlockError);
        EXPECT_TRUE(log.Contains("not finnd operand X")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error X-Y")) << log.Joined();
    }
    {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, "G01 ABC"), BlockError);
        EXPECT_TRUE(log.Contains("not find operator ABC")) << log.Joined();
        EXPECT_TRUE(log.Contains("let error ABC")) << log.Joined();
    }
}

TEST(ConformanceBlock, ResultFieldsStartEmptyInEveryBlock) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "GOTO5 X1"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultGoto);
    EXPECT_EQ(m->ResultNumber, 5);
    EXPECT_EQ(Execute(*m, "WHILE[1LT0]DO1"), BlockHandled);
    EXPECT_EQ(m->ProgramName, "END1");
    EXPECT_EQ(Execute(*m, "G01X1"), BlockOrdinary);
    EXPECT_EQ(m->ResultCode, ResultNone);
    EXPECT_EQ(m->ResultNumber, 0);
    EXPECT_EQ(m->ProgramName, "");
}

TEST(ConformanceBlock, WordsAfterACallKeywordAreLeftToCall) {
    auto m = CreateMachine(DialectFanuc);
    V words;
    // The words after the call keyword are not substituted: #100 would fail.
    EXPECT_EQ(Execute(*m, "M99 X#100", &words), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultReturn);
    EXPECT_EQ(words, (V{"M99", "X#100"}));
}

}  // namespace
}  // namespace cuttrace
