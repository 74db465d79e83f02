// Macro variables: reference numbers, storage by level, substitution into address words.
#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"

namespace cuttrace {

namespace {

// TOSNAC: #100 itself cannot be reached, #101..#200 are stored.
constexpr int kFirstCommon = MacroVariables::kFirstCommon;
constexpr int kLastCommon = 200;
constexpr int kFirstIgnored =
    MacroVariables::kLocals;  // #36..#99 and #201 and above: read as 0, writes ignored

int DigitsValue(const std::string& text, std::size_t p) {
    long long value = 0;
    for (; p < text.size() && IsDigit(text[p]); ++p) {
        value = value * 10 + (text[p] - '0');
        if (value > 1'000'000'000) value = 1'000'000'000;  // far in the ignored range
    }
    return static_cast<int>(value);
}

}  // namespace

int NcMachine::VariableNumber(std::string& text, std::size_t pos) {
    std::size_t p = pos + 1;
    char c = p < text.size() ? text[p] : '\0';
    if (IsDigit(c)) return DigitsValue(text, p);
    if (c == prefix_ && prefix_ == '#') {
        // ##1: the inner reference is evaluated and written over itself, then read again.
        if (!ExecuteStatement(text, p)) return kInvalidVariable;
        if (p < text.size() && IsDigit(text[p])) return DigitsValue(text, p);
        DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
        return kInvalidVariable;
    }
    if (IsAlpha(c) && c != prefix_) return c - 34;  // #A is #31
    // #[..] and VV.. have no defined number.
    DiagnosticLog::LogText(messages::kInvalidReference, std::string_view(text).substr(pos));
    return kInvalidVariable;
}

bool NcMachine::GetVariable(std::string& text, std::size_t pos, double& value) {
    if (pos >= text.size() || text[pos] != prefix_) return false;
    int n = VariableNumber(text, pos);
    if (n == kInvalidVariable) return false;
    if (n < kFirstIgnored) {
        value = variables_.Local(macroLevel_, n);
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

bool NcMachine::SetVariable(std::string& text, std::size_t pos, double value) {
    if (pos >= text.size() || text[pos] != prefix_) return false;
    int n = VariableNumber(text, pos);
    if (n == kInvalidVariable) return false;
    if (n < kFirstIgnored) {
        variables_.SetLocal(macroLevel_, n, value);
    } else if (numberedVariables_) {
        return WriteNumbered(n, value);
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
    WriteValue(text, pos, value, 3);
    if (text.find('.', pos > 0 ? pos - 1 : 0) == std::string::npos) text += ".0";
    return true;
}

}  // namespace cuttrace
