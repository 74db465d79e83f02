// Splitting lines into words, the glue rule, tokens and keyword lookup.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"
#include "support/MachinePeer.h"

namespace cuttrace {
namespace {

using test::MachinePeer;
using test::Split;
using V = std::vector<std::string>;
using test::Execute;
using test::LogRecorder;

class Scanner : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> fanuc = CreateMachine(Dialect::Fanuc);
    std::unique_ptr<NcMachine> tosnac = CreateMachine(Dialect::Tosnac);
};

TEST_F(Scanner, EmptyLinesGiveNoWords) {
    WordList words;
    words.Add() = "stale";
    for (const char* line : {"", "\n", "\r\n", "   \r\n"}) {
        fanuc->SplitBlock(line, words);
        EXPECT_TRUE(words.empty()) << line;
    }
    fanuc->SplitBlock("N10G01X10.Y20.\r\n", words);
    EXPECT_EQ(words.size(), 4u);
}

TEST_F(Scanner, AddressWordsSplitAtEachLetter) {
    EXPECT_EQ(Split(*fanuc, "N10G01X10.Y20.\n"), (V{"N10", "G01", "X10.", "Y20."}));
    EXPECT_EQ(Split(*fanuc, "G01X12.345Y-3.210F1200.\r\n"),
              (V{"G01", "X12.345", "Y-3.210", "F1200."}));
    EXPECT_EQ(Split(*fanuc, "G01 X10.5 Y-2.25"), (V{"G01", "X10.5", "Y-2.25"}));
    // Values written without a leading zero are address words too.
    EXPECT_EQ(Split(*fanuc, "G01X.5Y-.25#1=2"), (V{"G01", "X.5", "Y-.25", "#1=2"}));
    // A tab separates words like a blank.
    EXPECT_EQ(Split(*fanuc, "G01\tX1.\tY2."), (V{"G01", "X1.", "Y2."}));
}

TEST_F(Scanner, BlanksBetweenAnAddressLetterAndItsValueAreDropped) {
    EXPECT_EQ(Split(*fanuc, "G0Z  0.1000 \n"), (V{"G0", "Z0.1000"}));
    EXPECT_EQ(Split(*fanuc, "G1 X 0.027 Y - 0.09"), (V{"G1", "X0.027", "Y-0.09"}));
    EXPECT_EQ(Split(*fanuc, "X [#1+2]"), (V{"X[#1+2]"}));
}

TEST_F(Scanner, StatementPiecesGlueIntoOneWord) {
    EXPECT_EQ(Split(*fanuc, "#1=#2+3"), (V{"#1=#2+3"}));
    EXPECT_EQ(Split(*fanuc, "#1=5 X#1"), (V{"#1=5", "X#1"}));
    EXPECT_EQ(Split(*fanuc, "#3=#1*#2/4-1"), (V{"#3=#1*#2/4-1"}));
    EXPECT_EQ(Split(*fanuc, "N10#1=5"), (V{"N10", "#1=5"}));
    // MOD, AND, OR and XOR continue a statement like an operator sign.
    EXPECT_EQ(Split(*fanuc, "#1=7MOD3 #2=#1AND#3"), (V{"#1=7MOD3#2=#1AND#3"}));
    EXPECT_EQ(Split(*fanuc, "#1=7 ORIGIN"), (V{"#1=7", "ORIGIN"}));
    // "= 2" stays one word: blanks are kept until a number starts.
    EXPECT_EQ(Split(*fanuc, "#1 = 2"), (V{"#1= 2"}));
    EXPECT_EQ(Split(*fanuc, "#101 = 0 (CENTER)"), (V{"#101= 0", "(CENTER)"}));
}

TEST_F(Scanner, StatementWordsReadOnAfterTheirBracketGroup) {
    EXPECT_EQ(Split(*fanuc, "IF[#1GT10]GOTO100"), (V{"IF[#1GT10]GOTO100"}));
    EXPECT_EQ(Split(*fanuc, "WHILE[#1LT3]DO1"), (V{"WHILE[#1LT3]DO1"}));
    EXPECT_EQ(Split(*fanuc, "IF [#2 EQ #0] GOTO49"), (V{"IF [#2 EQ #0] GOTO49"}));
    EXPECT_EQ(Split(*fanuc, "#1=[#2+3]*2"), (V{"#1=[#2+3]*2"}));
}

TEST_F(Scanner, AnAddressBracketGroupEndsItsWord) {
    EXPECT_EQ(Split(*fanuc, "G01 X[#1] Y[#2]"), (V{"G01", "X[#1]", "Y[#2]"}));
    EXPECT_EQ(Split(*fanuc, "X[#1]Y2"), (V{"X[#1]", "Y2"}));
    EXPECT_EQ(Split(*fanuc, "X-[#1]Y[[#2+1]*2]Z3."), (V{"X-[#1]", "Y[[#2+1]*2]", "Z3."}));
}

TEST_F(Scanner, CommentsAreWordsOfTheirOwn) {
    EXPECT_EQ(Split(*fanuc, "(COMMENT)G01X1"), (V{"(COMMENT)", "G01", "X1"}));
    EXPECT_EQ(Split(*fanuc, "G00X1.(RAPID) Y2."), (V{"G00", "X1.", "(RAPID)", "Y2."}));
    // An unclosed comment ends at the line end, whatever ends the line.
    EXPECT_EQ(Split(*fanuc, "G00 (open comment\r\n"), (V{"G00", "(open comment"}));
    EXPECT_EQ(Split(*fanuc, "G00 (open comment"), (V{"G00", "(open comment"}));
    // Bytes above 127 (Shift-JIS text) belong to the comment.
    EXPECT_EQ(Split(*fanuc, "(\x8d\x48\x8b\xef)X1."), (V{"(\x8d\x48\x8b\xef)", "X1."}));
}

TEST_F(Scanner, LongLinesAreReadWhole) {
    std::string line;
    V expected;
    for (int i = 0; i < 40; ++i) {
        std::string w = "X" + std::to_string(i * 1000) + ".123456";
        line += w + " ";
        expected.push_back(w);
    }
    EXPECT_EQ(Split(*fanuc, line), expected);
    std::string comment = "(" + std::string(300, 'c') + ")";
    EXPECT_EQ(Split(*fanuc, "G00" + comment + "X1."), (V{"G00", comment, "X1."}));
}

TEST_F(Scanner, TheWalkEndsAtAControlCharacter) {
    EXPECT_EQ(Split(*fanuc, std::string("G01X1.\0Y2.", 10)), (V{"G01", "X1."}));
    EXPECT_EQ(Split(*fanuc, "G01X1.\x01Y2."), (V{"G01", "X1."}));
}

TEST_F(Scanner, TosnacWordsAndBrackets) {
    EXPECT_EQ(Split(*tosnac, "G01X[V1]Y2."), (V{"G01", "X[V1]", "Y2."}));
    EXPECT_EQ(Split(*tosnac, "[V1=5][V2=V1*2]"), (V{"[V1=5]", "[V2=V1*2]"}));
    EXPECT_EQ(Split(*tosnac, "[IF,V1.GT.10,GO 100]"), (V{"[IF,V1.GT.10,GO 100]"}));
    // A number ends the word before a bracket.
    EXPECT_EQ(Split(*tosnac, "X10[V1]"), (V{"X10", "[V1]"}));
}

TEST_F(Scanner, TokensOfExpressionsAndConditions) {
    auto tokens = [](NcMachine& m, std::string_view text) {
        V out;
        while (!text.empty()) {
            std::size_t n = MachinePeer::ReadToken(m, text);
            if (n == 0) break;
            out.emplace_back(text.substr(0, n));
            text.remove_prefix(n);
        }
        return out;
    };
    EXPECT_EQ(tokens(*fanuc, "#1GT#2"), (V{"#1", "GT", "#2"}));
    EXPECT_EQ(tokens(*fanuc, "SIN[30]*2"), (V{"SIN", "[", "30", "]", "*", "2"}));
    EXPECT_EQ(tokens(*fanuc, "##1+#A"), (V{"##1", "+", "#A"}));
    EXPECT_EQ(tokens(*fanuc, "7MOD3"), (V{"7", "MOD", "3"}));
    EXPECT_EQ(tokens(*fanuc, "#1 GT 10"), (V{"#1", " ", "GT", " ", "10"}));
    EXPECT_EQ(tokens(*tosnac, "V1GT1.5"), (V{"V1", "GT", "1.5"}));
    EXPECT_EQ(tokens(*tosnac, "IF,V1"), (V{"IF", ",", "V1"}));
}

TEST_F(Scanner, KeywordLookupIsExactPerDialect) {
    EXPECT_EQ(MachinePeer::KeywordIndex(*fanuc, "ABS"), Keyword::Abs);
    EXPECT_EQ(MachinePeer::KeywordIndex(*fanuc, "ACOS"), Keyword::Acos);
    EXPECT_EQ(MachinePeer::KeywordIndex(*fanuc, "GOTO"), Keyword::Goto);
    EXPECT_EQ(MachinePeer::KeywordIndex(*fanuc, "abs"), std::nullopt);
    EXPECT_EQ(MachinePeer::KeywordIndex(*fanuc, "G65"),
              std::nullopt);  // call keywords are not expression keywords
    EXPECT_EQ(MachinePeer::KeywordIndex(*tosnac, "GO"), Keyword::Goto);
    EXPECT_EQ(MachinePeer::KeywordIndex(*tosnac, "GOTO"), std::nullopt);
    EXPECT_EQ(MachinePeer::KeywordIndex(*tosnac, "ACOS"), std::nullopt);

    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "G65"), CallKind::Macro);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "G66.1"), CallKind::ModalEach);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "G22"), CallKind::SubprogramG);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "M02"), CallKind::ProgramEndM02);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "G065"), std::nullopt);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "G65.0"), std::nullopt);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, "M2"), std::nullopt);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*tosnac, "G72"), CallKind::SubprogramG);
    EXPECT_EQ(MachinePeer::CallKeywordIndex(*tosnac, "G22"), std::nullopt);
    for (std::string_view word : {"M99P1", "G66.10", "m99"})
        EXPECT_EQ(MachinePeer::CallKeywordIndex(*fanuc, word), std::nullopt) << word;
    // Not a call keyword: an ordinary block.
    EXPECT_EQ(test::Execute(*fanuc, "G065P9010"), BlockResult::Ordinary);
    EXPECT_EQ(test::Execute(*fanuc, "G65.0P9010"), BlockResult::Ordinary);
}

TEST(ScannerReaders, GlueAfterTheFirstWord) {
    auto m = CreateMachine(Dialect::Meldas);
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

TEST(ScannerReaders, ReadersLeaveThePositionOnTheirLastCharacter) {
    auto m = CreateMachine(Dialect::Meldas);
    std::string word;
    std::size_t pos = 0;
    EXPECT_EQ(MachinePeer::ReadComment(*m, "(AB)X1", pos, word), 4u);
    EXPECT_EQ(word, "(AB)");
    EXPECT_EQ(pos, 3u);

    std::string out;
    pos = 1;
    EXPECT_EQ(MachinePeer::ReadBracket(*m, "X[1+[2]]Y", pos, out), 6u);
    EXPECT_EQ(out, "[1+[2]]");
    EXPECT_EQ(pos, 7u);

    pos = 3;
    EXPECT_EQ(MachinePeer::ReadWord(*m, "G01X10.5Y-2", pos, word), 5u);
    EXPECT_EQ(word, "X10.5");
    EXPECT_EQ(pos, 7u);
}

TEST(ScannerReaders, SingleTokensOfTheBaseReader) {
    auto m = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "[30]*2"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "30]*2"), 2u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "-5"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "=5"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "5-"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "10GT"), 2u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "1.5,2X"), 3u);  // ',' separates ATAN[a,b]
    EXPECT_EQ(MachinePeer::ReadToken(*m, "A#1"), 1u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, "#12#3"), 3u);
    EXPECT_EQ(MachinePeer::ReadToken(*m, ""), 0u);
}

}  // namespace
}  // namespace cuttrace
