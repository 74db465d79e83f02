// Macro and subprogram calls, returns and program end, with their letter arguments.
#include <cmath>
#include <string_view>

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

BlockResult NcMachine::OpenCall(bool opensLevel, bool modal) {
    ++callDepth_;
    auto depth = static_cast<std::size_t>(callDepth_);
    callOpenedLevel_[depth] = opensLevel;
    callIsModal_[depth] = modal;
    if (modal) ++openModalCalls_;
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
        const double number = ArgumentValue(value);
        if (argumentFailed_) return BlockResult::Error;
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
    return OpenCall(true, true);
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
            if (callIsModal_[depth]) --openModalCalls_;
            callIsModal_[depth] = false;
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
    double value = ArgumentValue(word);
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
