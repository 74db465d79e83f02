// Macro variables: reference numbers, storage by level, substitution into address words.
#include <cmath>

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

// TOSNAC: #100 itself cannot be reached, #101..#200 are stored.
constexpr int kFirstCommon = MacroVariables::kFirstCommon;
constexpr int kLastCommon = 200;
constexpr int kFirstIgnored =
    MacroVariables::kLocals;  // #36..#99 and #201 and above: read as 0, writes ignored
constexpr double kLargestNumber = 1'000'000'000;  // far beyond every table

int DigitsValue(const std::string& text, std::size_t p) {
    long long value = 0;
    for (; p < text.size() && IsDigit(text[p]); ++p) {
        value = value * 10 + (text[p] - '0');
        if (value > 1'000'000'000) value = 1'000'000'000;  // far in the ignored range
    }
    return static_cast<int>(value);
}

// The index of the ']' that closes the '[' at text[open], or npos.
std::size_t ClosingBracket(const std::string& text, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '[') ++depth;
        if (text[i] == ']' && --depth == 0) return i;
    }
    return std::string::npos;
}

}  // namespace

bool NcMachine::WholeVariableNumber(double value, int& n) {
    // Values pass through six-decimal text elsewhere: a number within that of a whole one
    // is whole.
    // Not a number (#[4MOD0]) is not whole either; an infinite one is the largest number.
    const double whole = std::round(value);
    const bool nearlyWhole = std::isinf(value) || std::fabs(value - whole) <= 5e-7;
    if (!nearlyWhole || whole < 0.0) {
        std::string text;
        AppendShortest(text, std::round(value * 1e6) / 1e6);
        DiagnosticLog::LogText(
            whole < 0.0 ? messages::kNegativeVariable : messages::kFractionalVariable, text);
        return false;
    }
    n = static_cast<int>(std::min(whole, kLargestNumber));
    return true;
}

int NcMachine::VariableNumber(std::string& text, std::size_t pos) {
    std::size_t p = pos + 1;
    char c = p < text.size() ? text[p] : '\0';
    const bool numbered = prefix_ == '#' && numberedVariables_;
    if (c == prefix_ && prefix_ == '#') {
        // ##1: the inner reference is evaluated and written over itself, then read again.
        if (!ExecuteStatement(text, p)) return kInvalidVariable;
        c = p < text.size() ? text[p] : '\0';
        if (!IsDigit(c) && !(numbered && c == '-')) {
            DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
            return kInvalidVariable;
        }
    }
    if (numbered && c == '[') {
        // #[expression]: the variable whose number the expression gives.
        std::size_t close = ClosingBracket(text, p);
        if (close == std::string::npos) {
            DiagnosticLog::LogChar(messages::kNotFindOperandChar, '[');
            return kInvalidVariable;
        }
        NestingGuard frame(*this, std::string_view(text).substr(pos));
        if (!frame) return kInvalidVariable;
        std::string& inner = frame.scratch->conditionText;
        inner.assign(text, p, close - p + 1);
        if (!EvaluateInPlace(inner, 0)) return kInvalidVariable;
        int n = 0;
        return WholeVariableNumber(ParseDouble(inner), n) ? n : kInvalidVariable;
    }
    if (IsDigit(c) || (numbered && c == '-')) {
        if (!numbered) return DigitsValue(text, p);
        // #1.5 and #-1 name no variable; #3.000000 (an inner reference's value) is #3.
        std::size_t q = c == '-' ? p + 1 : p;
        const std::size_t digits = q;
        while (q < text.size() && IsDigit(text[q]))
            ++q;
        bool whole = c != '-';
        if (q < text.size() && text[q] == '.') {
            for (++q; q < text.size() && IsDigit(text[q]); ++q)
                whole = whole && text[q] == '0';
        }
        if (q == digits || !IsDigit(text[digits])) {
            DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
            return kInvalidVariable;
        }
        if (whole) return DigitsValue(text, p);
        int n = 0;  // #-0 is #0; others are logged as negative or fractional
        return WholeVariableNumber(ParseDouble(std::string_view(text).substr(p, q - p)), n)
                   ? n
                   : kInvalidVariable;
    }
    if (IsAlpha(c) && c != prefix_) return c - 34;  // #A is #31
    // VV.. has no defined number (nor #[..] in TOSNAC).
    DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
    return kInvalidVariable;
}

bool NcMachine::ReadVariable(int n, double& value) {
    lastReadVacant_ = false;
    if (n < kFirstIgnored) {
        value = variables_.Local(macroLevel_, n);
        lastReadVacant_ = variables_.LocalVacant(macroLevel_, n);
        return true;
    }
    return ReadNumbered(n, value);
}

bool NcMachine::GetVariable(std::string& text, std::size_t pos, double& value) {
    lastReadVacant_ = false;
    if (pos >= text.size() || text[pos] != prefix_) return false;
    int n = VariableNumber(text, pos);
    if (n == kInvalidVariable) return false;
    if (n < kFirstIgnored) {
        value = variables_.Local(macroLevel_, n);
        lastReadVacant_ = controlLanguage_ && variables_.LocalVacant(macroLevel_, n);
    } else if (numberedVariables_) {
        return ReadNumbered(n, value);
    } else if (n == kFirstCommon) {
        DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
        return false;
    } else if (n > kFirstCommon && n <= kLastCommon) {
        value = variables_.Common(n);
    } else {
        value = 0.0;
    }
    return true;
}

bool NcMachine::SetVariable(std::string& text, std::size_t pos, double value, bool vacant) {
    if (pos >= text.size() || text[pos] != prefix_) return false;
    int n = VariableNumber(text, pos);
    if (n == kInvalidVariable) {
        writeRefused_ = true;  // logged: #1.5, #-1, a failed #[..]
        return false;
    }
    if (n == 0 && controlLanguage_) {
        // #0 is vacant for ever.
        DiagnosticLog::LogInt(messages::kReadOnlyVariable, 0);
        writeRefused_ = true;
        return false;
    }
    if (n < kFirstIgnored) {
        if (vacant && controlLanguage_) {
            variables_.ClearLocal(macroLevel_, n);
        } else {
            variables_.SetLocal(macroLevel_, n, value);
        }
    } else if (numberedVariables_) {
        return WriteNumbered(n, value, vacant && controlLanguage_);
    } else if (n == kFirstCommon) {
        return false;
    } else if (n > kFirstCommon && n <= kLastCommon) {
        variables_.SetCommon(n, value);
    }
    return true;
}

bool NcMachine::SubstituteVariable(std::string& text, std::size_t pos) {
    double value = 0.0;
    if (!GetVariable(text, pos, value)) return false;
    if (lastReadVacant_) {
        omitWord_ = true;
        return true;
    }
    WriteValue(text, pos, value, 3);
    if (text.find('.', pos > 0 ? pos - 1 : 0) == std::string::npos) text += ".0";
    return true;
}

}  // namespace cuttrace
