// Hostile lines: the bound on the number of words in a block (the other bounds are covered
// with the features they limit), and values that are no number inside an expression.
#include <gtest/gtest.h>

#include <string>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::LogRecorder;

std::string Words(const std::string& first, const std::string& each, std::size_t count) {
    std::string line = first;
    for (std::size_t i = 1; i < count; ++i)
        line += each;
    return line + "\n";
}

TEST(Bounds, ABlockOfTheMostWordsAllowedRuns) {
    for (Dialect dialect : {Dialect::Meldas, Dialect::Fanuc, Dialect::Tosnac}) {
        LogRecorder log;
        auto m = CreateMachine(dialect);
        std::vector<std::string> words;
        EXPECT_EQ(Execute(*m, Words("G01", " X1.", NcMachine::kMaxWords), &words),
                  BlockResult::Ordinary)
            << static_cast<int>(dialect);
        EXPECT_EQ(words.size(), NcMachine::kMaxWords);
        EXPECT_FALSE(log.Contains("too many words"));
    }
}

TEST(Bounds, OneWordMoreRefusesTheBlockWithAMessage) {
    for (Dialect dialect : {Dialect::Meldas, Dialect::Fanuc, Dialect::Tosnac}) {
        LogRecorder log;
        auto m = CreateMachine(dialect);
        EXPECT_EQ(Execute(*m, Words("G01", " X1.", NcMachine::kMaxWords + 1)), BlockResult::Error)
            << static_cast<int>(dialect);
        EXPECT_TRUE(log.Contains("too many words in block :G01X1.X1.")) << log.Joined();
    }
}

TEST(Bounds, AFullLineOfWordsKeepsTheWordListSmall) {
    // The longest line piece the program file delivers, every two characters a word.
    auto m = CreateMachine(Dialect::Fanuc);
    WordList words;
    std::string line;
    while (line.size() < 64 * 1024)
        line += "X1";
    m->SplitBlock(line, words);
    EXPECT_EQ(words.size(), NcMachine::kMaxWords + 1);
    EXPECT_EQ(m->ExecuteBlock(words), BlockResult::Error);
}

TEST(Bounds, GluedStatementPiecesCountAsOneWord) {
    // #1=1+1+1... is read in many pieces that join into one statement word.
    LogRecorder log;
    auto m = CreateMachine(Dialect::Meldas);
    std::string sum = "#1=1";
    for (std::size_t i = 0; i < NcMachine::kMaxWords * 2; ++i)
        sum += "+1";
    EXPECT_EQ(Execute(*m, sum), BlockResult::Handled) << log.Joined();
    EXPECT_EQ(test::Local(*m, 1), static_cast<double>(NcMachine::kMaxWords * 2 + 1));
}

TEST(Bounds, BinAndBcdOfAValueThatIsNoNumberFailTheExpression) {
    // 5MOD0 is no number; converting it to an integer digit by digit is not defined.
    for (const char* line : {"#1=BIN[5MOD0]", "#1=BCD[-1MOD0]", "G01X[BIN[5MOD0]]"}) {
        LogRecorder log;
        auto m = CreateMachine(Dialect::Fanuc);
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
        EXPECT_TRUE(log.Contains("value out of range :")) << line << "\n" << log.Joined();
    }
    LogRecorder log;
    auto tosnac = CreateMachine(Dialect::Tosnac);
    EXPECT_EQ(Execute(*tosnac, "[V1=BCD[2MOD0]]"), BlockResult::Error);
}

}  // namespace
}  // namespace cuttrace
