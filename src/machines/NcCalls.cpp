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

constexpr int kClearedLocals = 33;  // a macro call clears #0..#32 of its level

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

int NcMachine::Call(WordList& words) {
    static constexpr CallRoles kMeldasRoles{'L', 'L', false, 'P', 0, 'H', true};
    return CallWithRoles(words, kMeldasRoles);
}

int NcMachine::CallWithRoles(WordList& words, const CallRoles& roles) {
    int kind = CallNone;
    int macroName = -1, subprogramName = -1, subprogramRepeat = -1, macroRepeat = -1, start = -1;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.empty()) break;
        if (kind == CallNone) kind = CallKeywordIndex(w);
        auto index = static_cast<int>(i);
        char c = w[0];
        if (c == roles.macroName) macroName = index;
        if (c == roles.subprogramName) subprogramName = index;
        if (c == roles.subprogramRepeat) subprogramRepeat = index;
        if (roles.macroRepeat != 0 && c == roles.macroRepeat) macroRepeat = index;
        if (roles.subprogramStart != 0 && c == roles.subprogramStart) start = index;
    }
    // The name word as the program name ("P9010" becomes "O9010" where renamed).
    auto takeName = [&](int at) {
        ProgramName = words[static_cast<std::size_t>(at)];
        if (roles.renameToO) ProgramName[0] = 'O';
    };
    // The integer value of a word's digits; false (logged) when it has none.
    auto wordNumber = [&](int at, int32_t& number) {
        if (at < 0) return true;
        int n = VariableNumber(words[static_cast<std::size_t>(at)], 0);
        if (n == kInvalidVariable) return false;
        number = n;
        return true;
    };
    auto open = [&](uint8_t newLevel) {
        ++CallDepth;
        CallKinds[static_cast<std::size_t>(CallDepth)] = newLevel;
        CallPasses[static_cast<std::size_t>(CallDepth)] = ResultNumber > 0 ? ResultNumber : 1;
        ResultCode = ResultCall;
        return BlockHandled;
    };

    switch (kind) {
        case CallNone:
            return BlockOrdinary;
        case CallModal:
            ResultCode = ResultModalCall;
            return BlockHandled;
        case CallMacro:
        case CallModalEach: {
            if (Level + 1 >= kLevels) {
                DiagnosticLog::Log(messages::kMacroNestOver);
                return BlockError;
            }
            if (CallDepth >= kMaxCallDepth) {
                DiagnosticLog::Log(messages::kCallNestOver);
                return BlockError;
            }
            ICount = JCount = KCount = 0;
            auto& locals = LocalLevels[static_cast<std::size_t>(Level + 1)];
            if (roles.clearsMacroLevel) {
                for (int i = 0; i < kClearedLocals; ++i)
                    locals[static_cast<std::size_t>(i)] = 0.0;
            }
            ProgramName.clear();
            StartSequence = 0;
            ResultNumber = 0;
            argumentFailed_ = false;
            for (std::size_t i = 0; i < words.size(); ++i) {
                std::string& w = words[i];
                if (w.empty()) break;
                char c = w[0];
                if (c == 'G' || c == 'L' || c == 'N' || c == 'O' || c == 'P') continue;
                if (c == '(' || c == '%') continue;  // comments are no arguments
                AssignArgument(w);
                // An argument whose expression fails ends the run like any failed statement.
                if (argumentFailed_) return BlockError;
            }
            int32_t repeat = 0;
            if (!wordNumber(macroRepeat, repeat)) return BlockError;
            ++Level;
            if (macroName < 0) {
                DiagnosticLog::Log(messages::kNotFindProgramName);
                return BlockError;
            }
            takeName(macroName);
            ResultNumber = repeat;
            return open(1);
        }
        case CallSubprogramG:
        case CallSubprogram: {
            ProgramName.clear();
            StartSequence = -1;
            ResultNumber = 0;
            if (subprogramName < 0 && start < 0) {
                DiagnosticLog::Log(messages::kNotFindProgramName);
                return BlockError;
            }
            if (CallDepth >= kMaxCallDepth) {
                DiagnosticLog::Log(messages::kCallNestOver);
                return BlockError;
            }
            int32_t repeat = 0;
            int32_t sequence = -1;
            if (!wordNumber(subprogramRepeat, repeat) || !wordNumber(start, sequence)) {
                return BlockError;
            }
            if (subprogramName >= 0) takeName(subprogramName);
            StartSequence = sequence;
            ResultNumber = repeat;
            return open(0);
        }
        case CallReturnG23:
        case CallReturnG68:
        case CallReturn:
            return ReturnFromCall();
        case CallModalCancel:
            ResultCode = ResultNone;
            return BlockHandled;
        default:  // M30, M02
            ResultCode = ResultProgramEnd;
            return BlockHandled;
    }
}

int NcMachine::ReturnFromCall() {
    if (CallDepth > 0) {
        auto depth = static_cast<std::size_t>(CallDepth);
        // A call run several times returns after every pass; only the last one closes it.
        if (--CallPasses[depth] <= 0) {
            if (CallKinds[depth] == 1 && Level > 0) --Level;
            CallKinds[depth] = 0;
            CallPasses[depth] = 0;
            --CallDepth;
        }
    }
    ResultCode = ResultReturn;
    return BlockHandled;
}

bool NcMachine::AssignArgument(std::string& word) {
    if (word.empty()) return false;
    double value = ArgumentValue(word);
    if (!std::isfinite(value)) {
        DiagnosticLog::LogText(messages::kNotFinite, word);
        return false;
    }
    if (Level + 1 >= kLevels) return false;
    auto& locals = LocalLevels[static_cast<std::size_t>(Level + 1)];
    char c = word[0];
    auto store = [&](int32_t& count, int first, std::string_view tooMany) {
        int n = first + 3 * count;
        if (n >= kLocals) {
            DiagnosticLog::Log(tooMany);
            return false;
        }
        locals[static_cast<std::size_t>(n)] = value;
        ++count;
        return true;
    };
    switch (c) {
        case 'I':
            return store(ICount, 4, messages::kTooManyI);
        case 'J':
            return store(JCount, 5, messages::kTooManyJ);
        case 'K':
            return store(KCount, 6, messages::kTooManyK);
        default:
            break;
    }
    int n = ArgumentVariable(c);
    if (n == 0) {
        DiagnosticLog::LogChar(messages::kBadArgument, c);
        return false;
    }
    locals[static_cast<std::size_t>(n)] = value;
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
