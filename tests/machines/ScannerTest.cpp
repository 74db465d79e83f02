// Splitting lines into words, the glue rule, tokens and keyword lookup.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Split;
using V = std::vector<std::string>;

class Scanner : public ::testing::Test {
  protected:
    std::unique_ptr<NcMachine> fanuc = CreateMachine(DialectFanuc);
    std::unique_ptr<NcMachine> tosnac = CreateMachine(DialectTosnac);
};

TEST_F(Scanner, EmptyLinesGiveNoWords) {
    WordList words;
    words.Add() = "stale";
    EXPECT_EQ(fanuc->SplitBlock("", words), -1);
    EXPECT_TRUE(words.empty());
    EXPECT_EQ(fanuc->SplitBlock("\n", words), -1);
    EXPECT_EQ(fanuc->SplitBlock("\r\n", words), -1);
    EXPECT_EQ(fanuc->SplitBlock("   \r\n", words), -1);
    EXPECT_EQ(fanuc->SplitBlock("N10G01X10.Y20.\r\n", words), 3);
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
            std::size_t n = m.ReadToken(text);
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
    EXPECT_EQ(fanuc->KeywordIndex("ABS"), KeywordAbs);
    EXPECT_EQ(fanuc->KeywordIndex("ACOS"), KeywordAcos);
    EXPECT_EQ(fanuc->KeywordIndex("GOTO"), KeywordGoto);
    EXPECT_EQ(fanuc->KeywordIndex("abs"), -1);
    EXPECT_EQ(fanuc->KeywordIndex("G65"), -1);  // call keywords are not expression keywords
    EXPECT_EQ(tosnac->KeywordIndex("GO"), KeywordGoto);
    EXPECT_EQ(tosnac->KeywordIndex("GOTO"), -1);
    EXPECT_EQ(tosnac->KeywordIndex("ACOS"), -1);

    EXPECT_EQ(fanuc->CallKeywordIndex("G65"), CallMacro);
    EXPECT_EQ(fanuc->CallKeywordIndex("G66.1"), CallModalEach);
    EXPECT_EQ(fanuc->CallKeywordIndex("G22"), CallSubprogramG);
    EXPECT_EQ(fanuc->CallKeywordIndex("M02"), CallEndM02);
    EXPECT_EQ(fanuc->CallKeywordIndex("G065"), CallNone);
    EXPECT_EQ(fanuc->CallKeywordIndex("G65.0"), CallNone);
    EXPECT_EQ(fanuc->CallKeywordIndex("M2"), CallNone);
    EXPECT_EQ(tosnac->CallKeywordIndex("G72"), CallSubprogramG);
    EXPECT_EQ(tosnac->CallKeywordIndex("G22"), CallNone);
}

}  // namespace
}  // namespace cuttrace
