// Lines made of random pieces of the macro language never crash a machine or leave an
// empty word in the list, whatever the dialect (run under the sanitizers too).
#include <random>

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace cuttrace {
namespace {

TEST(Robustness, RandomMacroTextIsHandledOrRefused) {
    const std::vector<std::string> pieces = {
        "#",    "V",   "[",     "]",   "=",     "+",           "-",   "*",  "/",    "1",
        "0",    ".",   ",",     " ",   "#1",    "V2",          "##3", "VV", "#[",   "IF",
        "GOTO", "GO",  "WHILE", "DO",  "END",   "SIN",         "MOD", "LN", "ASIN", "G65",
        "M98",  "M99", "P1",    "O1",  "L2",    "H3",          "A",   "X",  "(",    ")",
        "GT",   "EQ",  ",",     "G01", "1e400", "99999999999", "%",   "\r", "\t"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (Dialect dialect : {Dialect::Meldas, Dialect::Fanuc, Dialect::Tosnac}) {
        auto m = CreateMachine(dialect);
        WordList words;
        for (int line = 0; line < 20000; ++line) {
            std::string text;
            for (int n = length(random); n > 0; --n)
                text += pieces[pick(random)];
            m->SplitBlock(text, words);
            for (const auto& w : words)
                ASSERT_FALSE(w.empty()) << text;
            m->ExecuteBlock(words);
            ASSERT_GE(m->MacroLevel(), 0);
            ASSERT_LT(m->MacroLevel(), NcMachine::kMacroLevels);
            ASSERT_GE(m->LoopDepth(), 0);
            ASSERT_LE(m->LoopDepth(), NcMachine::kMaxLoopDepth);
            ASSERT_LE(m->CallDepth(), NcMachine::kMaxCallDepth);
        }
    }
}

}  // namespace
}  // namespace cuttrace
