// Macro and subprogram calls, returns and program end, with their letter arguments.
#include <cmath>
#include <string_view>
#include <utility>

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

constexpr int kLastArgument = 33;                  // K of the tenth I J K set
constexpr int kClearedLocals = kLastArgument + 1;  // a macro call clears #0..#33 of its level

// The local variable an argument letter fills (0 = not an argument letter; I, J and K
// are counted separately).
int ArgumentVariable(char letter) {
    constexpr std::string_view kLetters = "ABCDEFGHLMNOPQRSTUVWXYZ";
    constexpr int kVariables[] = {1,  2,  3,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                  16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    std::size_t at = kLetters.find(letter);
    return at == std::string_view::npos ? 0 : kVariables[at];
}

}  // namespace

BlockResult NcMachine::Call(WordList& words) {
    const CallRoles& roles = callRoles_;
    std::optional<CallKind> kind;
    int macroName = -1, subprogramName = -1, subprogramRepeat = -1, macroRepeat = -1, start = -1;
    int returnSequence = -1;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.empty()) break;
        if (!kind) kind = CallKeywordIndex(w);
        auto index = static_cast<int>(i);
        char c = w[0];
        if (c == roles.macroName) macroName = index;
        if (c == roles.subprogramName) subprogramName = index;
        if (c == roles.subprogramRepeat) subprogramRepeat = index;
        if (roles.macroRepeat != 0 && c == roles.macroRepeat) macroRepeat = index;
        if (roles.subprogramStart != 0 && c == roles.subprogramStart) start = index;
        if (returnSequence_ != 0 && c == returnSequence_) returnSequence = index;
    }
    if (!kind) return BlockResult::Ordinary;
    switch (*kind) {
        case CallKind::Modal:
            return SetModalCall(words, macroName, macroRepeat);
        case CallKind::Macro:
        case CallKind::ModalEach:
            return MacroCall(words, macroName, macroRepeat);
        case CallKind::SubprogramG:
        case CallKind::Subprogram:
            return SubprogramCall(words, subprogramName, subprogramRepeat, start);
        case CallKind::LocalCall:  // M97 P20 L2: N20 of this program, twice
            return SubprogramCall(words, -1, subprogramRepeat, subprogramName);
        case CallKind::Return: {
            int32_t sequence = 0;
            if (!WordNumber(words, returnSequence, sequence)) return BlockResult::Error;
            return ReturnFromCall(sequence);
        }
        case CallKind::ReturnG23:
        case CallKind::ReturnG68:
            return ReturnFromCall();
        case CallKind::ModalCancel:
            modal_.active = false;
            request_.kind = MachineRequest::None;
            return BlockResult::Handled;
        case CallKind::ProgramEnd:
        case CallKind::ProgramEndM02:
        case CallKind::Count:
            break;
    }
    request_.kind = MachineRequest::ProgramEnd;
    return BlockResult::Handled;
}

std::string NcMachine::ProgramNameOf(const std::string& word) const {
    // The name word as the program name ("P9010" becomes "O9010" where renamed).
    std::string name = word;
    if (callRoles_.renameToO && !name.empty()) name[0] = 'O';
    return name;
}

void NcMachine::TakeProgramName(const std::string& word) {
    request_.name = ProgramNameOf(word);
}

bool NcMachine::WordNumber(WordList& words, int at, int32_t& number) {
    // The integer value of a word's digits; false (logged) when it has none.
    if (at < 0) return true;
    int n = VariableNumber(words[static_cast<std::size_t>(at)], 0);
    if (n == kInvalidVariable) return false;
    number = n;
    return true;
}

BlockResult NcMachine::OpenCall(bool opensLevel, CallOrigin origin) {
    ++callDepth_;
    auto depth = static_cast<std::size_t>(callDepth_);
    callOpenedLevel_[depth] = opensLevel;
    callOrigin_[depth] = origin;
    if (origin == CallOrigin::Modal) ++openModalCalls_;
    if (origin == CallOrigin::Code) ++openCodeCalls_;
    callPassesLeft_[depth] = request_.number > 0 ? request_.number : 1;
    request_.kind = MachineRequest::Call;
    return BlockResult::Handled;
}

bool NcMachine::MacroCallAllowed() {
    if (macroLevel_ + 1 >= kMacroLevels) {
        DiagnosticLog::Log(messages::kMacroNestOver);
        return false;
    }
    if (callDepth_ >= kMaxCallDepth) {
        DiagnosticLog::Log(messages::kCallNestOver);
        return false;
    }
    return true;
}

void NcMachine::BeginArguments() {
    iArguments_ = jArguments_ = kArguments_ = 0;
    argumentSet_ = 0;
    lastSetLetter_ = -1;
    if (callRoles_.clearsMacroLevel) variables_.ClearLocals(macroLevel_ + 1, kClearedLocals);
    request_.name.clear();
    request_.startSequence = 0;
    request_.number = 0;
    argumentFailed_ = false;
}

BlockResult NcMachine::MacroCall(WordList& words, int nameWord, int repeatWord) {
    if (!MacroCallAllowed()) return BlockResult::Error;
    BeginArguments();
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string& w = words[i];
        if (w.empty()) break;
        char c = w[0];
        if (c == 'G' || c == 'L' || c == 'N' || c == 'O' || c == 'P') continue;
        if (c == '(' || c == '%') continue;  // comments are no arguments
        AssignArgument(w);
        // An argument whose expression fails ends the run like any failed statement.
        if (argumentFailed_) return BlockResult::Error;
    }
    int32_t repeat = 0;
    if (!WordNumber(words, repeatWord, repeat)) return BlockResult::Error;
    ++macroLevel_;
    if (nameWord < 0) {
        DiagnosticLog::Log(messages::kNotFindProgramName);
        return BlockResult::Error;
    }
    TakeProgramName(words[static_cast<std::size_t>(nameWord)]);
    request_.number = repeat;
    return OpenCall(true);
}

BlockResult NcMachine::SetModalCall(WordList& words, int nameWord, int repeatWord) {
    if (!modalCalls_) {
        request_.kind = MachineRequest::ModalCall;  // the core cannot act on it
        return BlockResult::Handled;
    }
    if (nameWord < 0) {
        DiagnosticLog::Log(messages::kNotFindProgramName);
        return BlockResult::Error;
    }
    int32_t repeat = 0;
    if (!WordNumber(words, repeatWord, repeat)) return BlockResult::Error;
    // The arguments are evaluated once, here; every call assigns the values they had.
    modal_.arguments.clear();
    argumentFailed_ = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.empty()) break;
        char c = w[0];
        if (c == 'G' || c == 'L' || c == 'N' || c == 'O' || c == 'P') continue;
        if (c == '(' || c == '%') continue;
        if (ArgumentVariable(c) == 0 && c != 'I' && c != 'J' && c != 'K') {
            DiagnosticLog::LogChar(messages::kBadArgument, c);
            return BlockResult::Error;
        }
        std::string value = w;
        resultVacant_ = false;
        const double number = ArgumentValue(value);
        if (argumentFailed_) return BlockResult::Error;
        if (controlLanguage_ && resultVacant_) continue;  // a vacant value gives no argument
        if (!std::isfinite(number)) {
            DiagnosticLog::LogText(messages::kNotFinite, w);
            return BlockResult::Error;
        }
        modal_.arguments.push_back(std::move(value));
    }
    modal_.name = ProgramNameOf(words[static_cast<std::size_t>(nameWord)]);
    modal_.repeat = repeat;
    modal_.active = true;
    request_.kind = MachineRequest::None;
    return BlockResult::Handled;
}

BlockResult NcMachine::CallModalMacro() {
    request_.kind = MachineRequest::None;
    if (!MacroCallAllowed()) return BlockResult::Error;
    BeginArguments();
    for (const std::string& argument : modal_.arguments) {
        modal_.scratch = argument;
        if (!AssignArgument(modal_.scratch)) return BlockResult::Error;
    }
    ++macroLevel_;
    request_.name = modal_.name;
    request_.number = modal_.repeat;
    return OpenCall(true, CallOrigin::Modal);
}

int NcMachine::FindCallCode(const WordList& words, int& code) const {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.empty()) break;
        const char letter = w[0];
        if ((letter != 'G' && letter != 'M' && letter != 'T') || !IsAddressWord(w)) continue;
        const double value = ParseDouble(std::string_view(w).substr(1));
        for (std::size_t k = 0; k < callCodes_.size(); ++k) {
            const CallCode& entry = callCodes_[k];
            if (entry.letter == letter && (letter == 'T' || value == entry.code)) {
                code = static_cast<int>(k);
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

BlockResult NcMachine::CodeCall(WordList& words, BlockResult sofar) {
    int code = -1;
    const int at = FindCallCode(words, code);
    if (at < 0) return sofar;
    const CallCode& entry = callCodes_[static_cast<std::size_t>(code)];
    if (entry.macro) return CallCodeProgram(entry, &words, at);  // the block is its arguments
    // A subprogram code is taken out of the block: the other words run first (a move, a
    // spindle code), then the program is called; a block of the code alone calls at once.
    deferredValue_ = ParseDouble(std::string_view(words[static_cast<std::size_t>(at)]).substr(1));
    for (auto i = static_cast<std::size_t>(at); i + 1 < words.size(); ++i)
        std::swap(words[i], words[i + 1]);
    words.RemoveLast();
    bool others = false;
    for (const std::string& w : words) {
        if (w.empty() || w[0] == '\n') break;
        if (w[0] != 'N' && w[0] != 'O' && w[0] != '(' && w[0] != '%') others = true;
    }
    if (others && sofar == BlockResult::Ordinary) {
        deferredCode_ = code;
        return BlockResult::Ordinary;
    }
    return CallCodeProgram(entry, nullptr, -1);
}

BlockResult NcMachine::CallCodeProgram(const CallCode& entry, WordList* arguments, int skipWord) {
    const std::string name = "O" + std::to_string(entry.program);
    if (entry.macro) {
        if (!MacroCallAllowed()) return BlockResult::Error;
        BeginArguments();
        for (std::size_t i = 0; arguments && i < arguments->size(); ++i) {
            std::string& w = (*arguments)[i];
            if (w.empty() || w[0] == '\n') break;
            const char c = w[0];
            if (static_cast<int>(i) == skipWord || c == 'G' || c == 'L' || c == 'N' || c == 'O' ||
                c == '(' || c == '%') {
                continue;
            }
            AssignArgument(w);
            if (argumentFailed_) return BlockResult::Error;
        }
        ++macroLevel_;
        request_.name = name;
        return OpenCall(true, CallOrigin::Code);
    }
    if (callDepth_ >= kMaxCallDepth) {
        DiagnosticLog::Log(messages::kCallNestOver);
        return BlockResult::Error;
    }
    if (entry.letter == 'T') variables_.SetCommon(kTCodeVariable, deferredValue_);
    request_.name = name;
    request_.startSequence = -1;
    request_.number = 0;
    return OpenCall(false, CallOrigin::Code);
}

BlockResult NcMachine::CallAfterBlock(bool moved) {
    request_.kind = MachineRequest::None;
    if (deferredCode_ >= 0) {
        const auto code = static_cast<std::size_t>(std::exchange(deferredCode_, -1));
        return CallCodeProgram(callCodes_[code], nullptr, -1);
    }
    if (moved && ModalCallDue()) return CallModalMacro();
    return BlockResult::Ordinary;
}

bool NcMachine::PresetVariable(int n, double value) {
    if (n >= 1 && n <= kLastArgument) {
        variables_.SetLocal(0, n, value);
        return true;
    }
    if (n >= MacroVariables::kFirstCommon &&
        n < MacroVariables::kFirstCommon + MacroVariables::kCommonCount) {
        variables_.SetCommon(n, value);
        return true;
    }
    // The alarm (#3000) and the message stop (#3006) are effects, not values.
    if (!numberedVariables_ || n == 3000 || n == 3006) {
        DiagnosticLog::LogInt(messages::kUndefinedVariable, n);
        return false;
    }
    return WriteNumbered(n, value, false);
}

BlockResult NcMachine::SubprogramCall(WordList& words, int nameWord, int repeatWord,
                                      int startWord) {
    request_.name.clear();
    request_.startSequence = -1;
    request_.number = 0;
    if (nameWord < 0 && startWord < 0) {
        DiagnosticLog::Log(messages::kNotFindProgramName);
        return BlockResult::Error;
    }
    if (callDepth_ >= kMaxCallDepth) {
        DiagnosticLog::Log(messages::kCallNestOver);
        return BlockResult::Error;
    }
    int32_t repeat = 0;
    int32_t sequence = -1;
    if (!WordNumber(words, repeatWord, repeat) || !WordNumber(words, startWord, sequence)) {
        return BlockResult::Error;
    }
    if (nameWord >= 0) TakeProgramName(words[static_cast<std::size_t>(nameWord)]);
    request_.startSequence = sequence;
    request_.number = repeat;
    return OpenCall(false);
}

BlockResult NcMachine::ReturnFromCall(int32_t sequence) {
    request_.number = 0;
    if (callDepth_ > 0) {
        auto depth = static_cast<std::size_t>(callDepth_);
        // A call run several times returns after every pass; only the last one closes it
        // (and only that one goes on at a sequence of the caller).
        if (--callPassesLeft_[depth] <= 0) {
            if (callOpenedLevel_[depth] && macroLevel_ > 0) --macroLevel_;
            if (callOrigin_[depth] == CallOrigin::Modal) --openModalCalls_;
            if (callOrigin_[depth] == CallOrigin::Code) --openCodeCalls_;
            callOrigin_[depth] = CallOrigin::Word;
            request_.number = sequence;
            callOpenedLevel_[depth] = false;
            callPassesLeft_[depth] = 0;
            --callDepth_;
        }
    }
    request_.kind = MachineRequest::Return;
    return BlockResult::Handled;
}

bool NcMachine::AssignArgument(std::string& word) {
    if (word.empty()) return false;
    resultVacant_ = false;
    double value = ArgumentValue(word);
    if (controlLanguage_ && resultVacant_) return true;  // A#1 with #1 vacant: A not given
    if (!std::isfinite(value)) {
        DiagnosticLog::LogText(messages::kNotFinite, word);
        return false;
    }
    if (macroLevel_ + 1 >= kMacroLevels) return false;
    const int level = macroLevel_ + 1;
    char c = word[0];
    // The I J K sets fill #4..#6, #7..#9 and so on: a set ends when a letter does not
    // follow the one before it in the order I J K ("I1 J2 I3": #4 #5 #7; "K1 J2": #6 #8).
    // TOSNAC counts each letter on its own: the n-th I fills #4 plus 3·(n-1).
    auto store = [&](int& count, int first, std::string_view tooMany) {
        int set = count;
        if (argumentSetsInOrder_) {
            const int letter = first - 4;
            if (lastSetLetter_ >= letter) ++argumentSet_;
            lastSetLetter_ = letter;
            set = argumentSet_;
        }
        int n = first + 3 * set;
        if (n > kLastArgument) {
            DiagnosticLog::Log(tooMany);
            return false;
        }
        variables_.SetLocal(level, n, value);
        ++count;
        return true;
    };
    switch (c) {
        case 'I':
            return store(iArguments_, 4, messages::kTooManyI);
        case 'J':
            return store(jArguments_, 5, messages::kTooManyJ);
        case 'K':
            return store(kArguments_, 6, messages::kTooManyK);
        default:
            break;
    }
    int n = ArgumentVariable(c);
    if (n == 0) {
        DiagnosticLog::LogChar(messages::kBadArgument, c);
        return false;
    }
    variables_.SetLocal(level, n, value);
    return true;
}

double NcMachine::ArgumentValue(std::string& word) {
    // A bracket group right after the letter (A[#1+1], A-[#1]) is evaluated; otherwise a
    // reference anywhere in the word (A#1, A-#1).
    std::size_t bracket = word.size() > 1 && word[1] == '['                     ? 1
                          : word.size() > 2 && word[1] == '-' && word[2] == '[' ? 2
                                                                                : std::string::npos;
    std::size_t reference = bracket != std::string::npos ? bracket : word.find(prefix_, 1);
    if (reference != std::string::npos && !ExecuteStatement(word, reference)) {
        argumentFailed_ = true;
        return 0.0;
    }
    return ParseDouble(std::string_view(word).substr(1));
}

}  // namespace cuttrace
