#include "machines/NcMachine.h"

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/FanucMachine.h"
#include "machines/MachineMessages.h"
#include "machines/MeldasMachine.h"
#include "machines/NumberText.h"
#include "machines/TosnacMachine.h"

namespace cuttrace {

Dialect DialectFromSetting(int value) {
    switch (value) {
        case static_cast<int>(Dialect::Meldas):
            return Dialect::Meldas;
        case static_cast<int>(Dialect::Tosnac):
            return Dialect::Tosnac;
        default:
            return Dialect::Fanuc;
    }
}

namespace {

// The run of a machine that works alone: every reading is 0, every effect is dropped.
class DetachedRun final : public MachineState, public MachineEffects {
  public:
    double EndPoint(int) const override { return 0.0; }
    double MachinePosition(int) const override { return 0.0; }
    double CurrentPosition(int) const override { return 0.0; }
    double SkipPosition(int) const override { return 0.0; }
    double ToolLengthOffset(int) const override { return 0.0; }
    double WorkOffset(int, int) const override { return 0.0; }
    double ToolOffset(int) const override { return 0.0; }
    double ModalG(int) const override { return 0.0; }
    double BlockAddress(char) const override { return 0.0; }
    double MachiningSeconds() const override { return 0.0; }
    void Alarm(std::string_view) override {}
    void MessageStop(std::string_view) override {}
    void Print(std::string_view) override {}
};

DetachedRun& Detached() {
    static DetachedRun run;
    return run;
}

}  // namespace

NcMachine::NcMachine()
    : asinMessage_(messages::kAsinRange), loopMismatch_(messages::kLoopMismatch) {
    UseKeywordTable(Dialect::Meldas);
    AttachRun(nullptr, nullptr);
}

void NcMachine::AttachRun(const MachineState* state, MachineEffects* effects) {
    runState_ = state ? state : &Detached();
    runEffects_ = effects ? effects : &Detached();
}
NcMachine::~NcMachine() = default;

void NcMachine::UseKeywordTable(Dialect dialect) {
    keywordTable_ = kKeywordTexts;
    callKeywordTable_ = kCallKeywordTexts;
    // G68 is a return on TOSNAC; elsewhere it is coordinate rotation (G-code for the core).
    if (dialect != Dialect::Tosnac) callKeywordTable_[Index(CallKind::ReturnG68)] = "";
    if (dialect == Dialect::Tosnac) {
        keywordTable_[Index(Keyword::Goto)] = "GO";
        keywordTable_[Index(Keyword::Acos)] = "";
        callKeywordTable_[Index(CallKind::SubprogramG)] = "G72";
    }
    if (dialect != Dialect::Fanuc) callKeywordTable_[Index(CallKind::LocalCall)] = "";
    statementKeywordLetters_.clear();
    for (Keyword k : {Keyword::If, Keyword::Goto, Keyword::While, Keyword::Do, Keyword::End})
        statementKeywordLetters_ += keywordTable_[Index(k)][0];
}

NcMachine::NestingGuard::NestingGuard(NcMachine& machine, std::string_view what)
    : machine_(machine) {
    if (machine_.nesting_ >= kMaxNesting) {
        DiagnosticLog::LogText(messages::kNestOver, what);
        return;
    }
    auto depth = static_cast<std::size_t>(machine_.nesting_++);
    if (depth == machine_.scratch_.size()) machine_.scratch_.push_back(std::make_unique<Scratch>());
    scratch = machine_.scratch_[depth].get();
}

NcMachine::NestingGuard::~NestingGuard() {
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

std::optional<Keyword> NcMachine::KeywordIndex(std::string_view token) const {
    if (token.empty()) return std::nullopt;
    for (std::size_t i = 0; i < kKeywordCount; ++i) {
        std::string_view entry = keywordTable_[i];
        if (entry.empty()) return std::nullopt;  // TOSNAC's table ends before ACOS
        if (entry[0] == token[0] && entry == token) return static_cast<Keyword>(i);
    }
    return std::nullopt;
}

std::optional<CallKind> NcMachine::CallKeywordIndex(std::string_view word) const {
    // Every call keyword is a G or M word of at most five characters.
    if (word.size() < 3 || word.size() > 5 || (word[0] != 'G' && word[0] != 'M')) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kCallKindCount; ++i) {
        if (callKeywordTable_[i] == word) return static_cast<CallKind>(i);
    }
    return std::nullopt;
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

void NcMachine::TypeMiss(const std::string& word) {
    DiagnosticLog::LogText(messages::kTypeMiss, word);
}

BlockResult NcMachine::ExecuteBlock(WordList& words) {
    deferredCode_ = -1;
    const BlockResult result = ExecuteWords(words);
    // Inside a program that a call code called, the codes are ordinary codes.
    if (callCodes_.empty() || openCodeCalls_ > 0 || result == BlockResult::Error ||
        request_.kind != MachineRequest::None) {
        return result;
    }
    return CodeCall(words, result);
}

BlockResult NcMachine::ExecuteWords(WordList& words) {
    request_.kind = MachineRequest::None;
    request_.number = 0;
    request_.name.clear();
    if (blockSkipped_) return BlockResult::Handled;  // nothing to do, nothing to expand
    if (!WordCountAllowed(words)) return BlockResult::Error;
    currentBlock_ = &words;
    alarmRaised_ = false;
    BlockResult result = BlockResult::Ordinary;
    bool lWord = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string& w = words[i];
        if (w.empty() || w[0] == '\n') break;
        char c = w[0];
        if (c == '%' || c == '(') continue;
        if (IsDigit(c)) return BlockResult::Error;
        if (!IsAlpha(c)) {
            if (!ExecuteStatement(w, 0)) return BlockResult::Error;
            result = BlockResult::Handled;
            continue;
        }
        if (IsAddressWord(w) && w[1] != '-') {
            // A letter and a number: the call keywords hand the block to Call; O and L
            // words (program numbers, repeat counts) are never G-code.
            if (CallKeywordIndex(w)) return Call(words);
            if (c == 'O') result = BlockResult::Handled;
            lWord = lWord || c == 'L';
            continue;
        }
        omitWord_ = false;
        result = ExecuteAddressWord(w, result);
        if (result == BlockResult::Error) return result;
        if (omitWord_) words.Erase(i--);  // X#24 with #24 vacant: as if X were not there
    }
    // G10 L2 P1 X.. sets data: its L word is not a repeat count.
    if (lWord && !SetsData(words)) result = BlockResult::Handled;
    return result;
}

bool NcMachine::SetsData(const WordList& words) const {
    if (!dataSettingG10_) return false;
    for (const std::string& w : words) {
        if (w.empty()) break;
        if (w[0] == 'G' && w.find('.') == std::string::npos && ParseDouble(w.substr(1)) == 10.0)
            return true;
    }
    return false;
}

BlockResult NcMachine::ExecuteAddressWord(std::string& w, BlockResult sofar) {
    // A letter followed by an optional minus and then a reference (X#1, X-#1), a bracket
    // group (X[#1/2]) or a value; anything else is a statement (GOTO5, IF[..]..).
    std::size_t at = w.size() > 1 && w[1] == '-' ? 2 : 1;
    char next = at < w.size() ? w[at] : '\0';
    if (at == 2 && IsAddressWord(w)) return sofar;
    // TOSNAC takes a variable in an address word only in brackets (X[V1]).
    if (!addressReferences_ && (next == prefix_ || (at == 1 && next == '='))) {
        TypeMiss(w);
        return BlockResult::Error;
    }
    if (next == prefix_) return SubstituteVariable(w, at) ? sofar : BlockResult::Error;
    if (next == '[') {
        resultVacant_ = false;
        inAddress_ = controlLanguage_;
        const bool done = ExecuteStatement(w, at);
        inAddress_ = false;
        if (!done) return BlockResult::Error;
        omitWord_ = controlLanguage_ && resultVacant_;
        return sofar;
    }
    return ExecuteStatement(w, 0) ? BlockResult::Handled : BlockResult::Error;
}

std::unique_ptr<NcMachine> CreateMachine(Dialect dialect) {
    switch (dialect) {
        case Dialect::Meldas:
            return std::make_unique<MeldasMachine>();
        case Dialect::Tosnac:
            return std::make_unique<TosnacMachine>();
        case Dialect::Fanuc:
            break;
    }
    return std::make_unique<FanucMachine>();
}

}  // namespace cuttrace
