#include "machines/NcMachine.h"

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/FanucMachine.h"
#include "machines/MachineMessages.h"
#include "machines/MeldasMachine.h"
#include "machines/NumberText.h"
#include "machines/TosnacMachine.h"

namespace cuttrace {

namespace {

constexpr std::array<std::string_view, KeywordCount> kKeywordTable = {
    "ABS",   "ATAN", "BIN",   "BCD", "COS", "DO",  "END",   "FIX", "FUP", "GT",   "GE",  "GOTO",
    "IF",    "SIN",  "SQRT",  "TAN", "LT",  "LE",  "WHILE", "AND", "EXP", "ASIN", "MOD", "ROUND",
    "SETVN", "XOR",  "LN",    "OR",  "EQ",  "NE",  "ACOS",  "",    "",    "",     "",    "",
    "G65",   "G66",  "G66.1", "G22", "M98", "G23", "G68",   "M99", "G67", "M30",  "M02", ""};

}  // namespace

NcMachine::NcMachine()
    : asinMessage_(messages::kAsinRange), loopMismatch_(messages::kLoopMismatch) {
    SetKeywords(false);
}
NcMachine::~NcMachine() = default;

void NcMachine::SetKeywords(bool tosnac) {
    Keywords = kKeywordTable;
    if (tosnac) {
        Keywords[KeywordGoto] = "GO";
        Keywords[KeywordAcos] = "";
        Keywords[static_cast<std::size_t>(KeywordFirstCall) + CallSubprogramG - 1] = "G72";
    }
}

NcMachine::Frame::Frame(NcMachine& machine, std::string_view what) : machine_(machine) {
    if (machine_.nesting_ >= kMaxNesting) {
        DiagnosticLog::LogText(messages::kNestOver, what);
        return;
    }
    auto depth = static_cast<std::size_t>(machine_.nesting_++);
    if (depth == machine_.scratch_.size()) machine_.scratch_.push_back(std::make_unique<Scratch>());
    scratch = machine_.scratch_[depth].get();
}

NcMachine::Frame::~Frame() {
    if (scratch) --machine_.nesting_;
}

bool NcMachine::IsAddressWord(std::string_view w) {
    auto at = [&](std::size_t i) { return i < w.size() ? w[i] : '\0'; };
    if (!IsAlpha(at(0))) return false;
    std::size_t i = at(1) == '-' ? 2 : 1;
    return IsDigit(at(i)) || (at(i) == '.' && IsDigit(at(i + 1)));
}

void NcMachine::WriteValue(std::string& text, std::size_t pos, double value, int decimals) {
    if (value == 0.0) value = 0.0;  // no "-0.000"
    if (pos > 0 && pos <= text.size() && text[pos - 1] == '-' && value < 0.0) {
        --pos;  // "X-#5" with a negative #5: the two signs cancel
        value = -value;
    }
    text.resize(pos);
    AppendFixed(text, value, decimals);
}

int NcMachine::KeywordIndex(std::string_view token) {
    for (int i = 0; i <= KeywordLastExpression; ++i) {
        std::string_view entry = Keywords[static_cast<std::size_t>(i)];
        if (entry.empty()) return -1;
        if (entry == token) return i;
    }
    return -1;
}

int NcMachine::CallKeywordIndex(std::string_view word) {
    // Every call keyword is a G or M word of at most five characters.
    if (word.size() < 3 || word.size() > 5 || (word[0] != 'G' && word[0] != 'M')) return CallNone;
    for (int i = 0; i < CallEndM02; ++i) {
        if (Keywords[static_cast<std::size_t>(KeywordFirstCall + i)] == word) return i + 1;
    }
    return CallNone;
}

bool NcMachine::WordCountAllowed(const WordList& words) {
    if (words.size() <= kMaxWords) return true;
    std::string start;
    for (const std::string& w : words) {
        if (start.size() >= 64) break;
        start += w;
    }
    DiagnosticLog::LogText(messages::kTooManyWords, std::string_view(start).substr(0, 64));
    return false;
}

int NcMachine::ExecuteBlock(WordList& words) {
    ResultNumber = 0;
    ResultCode = ResultNone;
    ProgramName.clear();
    if (!WordCountAllowed(words)) return BlockError;
    int result = BlockOrdinary;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string& w = words[i];
        if (w.empty() || w[0] == '\n') return result;
        char c = w[0];
        if (c == '%' || c == '(') continue;
        if (IsDigit(c)) return BlockError;
        if (!IsAlpha(c)) {
            if (!ExecuteStatement(w, 0)) return BlockError;
            result = BlockHandled;
            continue;
        }
        char c1 = w.size() > 1 ? w[1] : '\0';
        if (IsAddressWord(w) && c1 != '-') {
            if (CallKeywordIndex(w) != CallNone) return Call(words);
            if (c == 'L' || c == 'O') result = BlockHandled;
        } else if (c1 == '#') {
            if (!SubstituteVariable(w, 1)) return BlockError;
        } else if (c1 == '[') {
            if (!ExecuteStatement(w, 1)) return BlockError;
        } else if (c1 == '-') {
            char c2 = w.size() > 2 ? w[2] : '\0';
            if (IsAddressWord(w)) continue;
            if (c2 == '#') {
                if (!SubstituteVariable(w, 2)) return BlockError;
            } else if (c2 == '[') {
                if (!ExecuteStatement(w, 2)) return BlockError;
            } else {
                if (!ExecuteStatement(w, 0)) return BlockError;
                result = BlockHandled;
            }
        } else {
            if (!ExecuteStatement(w, 0)) return BlockError;
            result = BlockHandled;
        }
    }
    return result;
}

std::unique_ptr<NcMachine> CreateMachine(int dialect) {
    switch (dialect) {
        case DialectMeldas:
            return std::make_unique<MeldasMachine>();
        case DialectTosnac:
            return std::make_unique<TosnacMachine>();
        default:
            return std::make_unique<FanucMachine>();
    }
}

}  // namespace cuttrace
