// External output: POPEN, PCLOS, BPRNT[..] and DPRNT[..] (FANUC and MELDAS).
//
// The records go to the run's print output. Text characters are copied (a '*' is a blank;
// blanks of the program are not output), and #n[ab] is the value of #n with a integer and
// b fraction digits (BPRNT: #n[b]): DPRNT writes it as text (no leading zeros, a '-' before a
// negative value, integer digits beyond a dropped), BPRNT as four bytes, the value times 10^b, high
// byte first. A vacant variable is output as 0.
#include <cmath>
#include <cstdint>
#include <string>

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"

namespace cuttrace {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

void AppendDecimal(std::string& out, double value, int integerDigits, int fractionDigits) {
    const double scale = std::pow(10.0, fractionDigits);
    double scaled = std::round(std::fabs(value) * scale);
    const double limit = std::pow(10.0, integerDigits + fractionDigits);
    scaled = std::fmod(scaled, limit);  // integer digits beyond a are dropped
    if (value < 0.0 && scaled != 0.0) out += '-';
    const auto units = static_cast<uint64_t>(scaled);
    const auto divisor = static_cast<uint64_t>(scale);
    out += std::to_string(units / divisor);
    if (fractionDigits > 0) {
        std::string fraction = std::to_string(units % divisor);
        out += '.';
        out.append(static_cast<std::size_t>(fractionDigits) - fraction.size(), '0');
        out += fraction;
    }
}

void AppendBinary(std::string& out, double value, int fractionDigits) {
    double scaled = std::round(value * std::pow(10.0, fractionDigits));
    if (scaled > 2147483647.0) scaled = 2147483647.0;
    if (scaled < -2147483648.0) scaled = -2147483648.0;
    const auto bits = static_cast<uint32_t>(static_cast<int32_t>(scaled));
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

}  // namespace

bool NcMachine::IsExternalOutput(std::string_view statement) {
    return StartsWith(statement, "DPRNT") || StartsWith(statement, "BPRNT") ||
           StartsWith(statement, "POPEN") || StartsWith(statement, "PCLOS");
}

bool NcMachine::ExternalOutput(std::string& text, std::size_t pos) {
    std::string_view st = std::string_view(text).substr(pos);
    if (StartsWith(st, "POPEN") || StartsWith(st, "PCLOS")) {
        // Opening and closing the port: the print output is always open.
        if (st.find_first_not_of(' ', 5) == std::string_view::npos) return true;
        DiagnosticLog::LogText(messages::kPrintFormat, st);
        return false;
    }
    const bool binary = StartsWith(st, "BPRNT");
    std::size_t p = st.find_first_not_of(' ', 5);
    if (p == std::string_view::npos || st[p] != '[') {
        DiagnosticLog::LogText(messages::kPrintFormat, st);
        return false;
    }
    // The closing bracket of the record: the brackets of the formats nest inside it.
    int depth = 0;
    std::size_t close = p;
    for (; close < st.size(); ++close) {
        if (st[close] == '[') ++depth;
        if (st[close] == ']' && --depth == 0) break;
    }
    if (close == st.size() || st.find_first_not_of(' ', close + 1) != std::string_view::npos) {
        DiagnosticLog::LogText(messages::kPrintBrackets, st);
        return false;
    }
    std::string& record = printRecord_;
    record.clear();
    for (std::size_t i = p + 1; i < close; ++i) {
        const char c = st[i];
        if (c == ' ') continue;
        if (c == '*') {
            record += ' ';
            continue;
        }
        if (c != prefix_) {
            if (c == '[' || c == ']') {
                DiagnosticLog::LogText(messages::kPrintFormat, st);
                return false;
            }
            record += c;
            continue;
        }
        // #n[ab]
        std::size_t end = i + 1;
        while (end < close && IsDigit(st[end]))
            ++end;
        if (end == i + 1) {
            DiagnosticLog::LogText(messages::kPrintFormat, st);
            return false;
        }
        int integerDigits = 8;
        int fractionDigits = 3;
        std::size_t next = end;
        if (end < close && st[end] == '[') {
            // DPRNT #n[ab]: a integer and b fraction digits; BPRNT #n[b].
            const std::size_t digits = binary ? 1 : 2;
            bool ok = end + digits + 1 < close && st[end + digits + 1] == ']';
            for (std::size_t d = 1; ok && d <= digits; ++d)
                ok = IsDigit(st[end + d]);
            if (!ok) {
                DiagnosticLog::LogText(messages::kPrintFormat, st);
                return false;
            }
            if (!binary) integerDigits = st[end + 1] - '0';
            fractionDigits = st[end + digits] - '0';
            next = end + digits + 2;
        }
        printReference_.assign(st.substr(i, end - i));
        double value = 0.0;
        if (!GetVariable(printReference_, 0, value)) return false;
        if (binary) {
            AppendBinary(record, value, fractionDigits);
        } else {
            AppendDecimal(record, value, integerDigits, fractionDigits);
        }
        i = next - 1;
    }
    record += '\n';
    runEffects_->Print(record);
    return true;
}

}  // namespace cuttrace
