#include "machines/CallCodes.h"

#include <algorithm>

namespace cuttrace {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Digits at text[i..] as a number (at most nine digits); false when there are none.
bool Digits(std::string_view text, std::size_t& i, int64_t& value) {
    const std::size_t from = i;
    value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - from < 9)
        value = value * 10 + (text[i++] - '0');
    return i > from && (i >= text.size() || !IsDigit(text[i]));
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

// The codes the language itself uses for calls, returns and the program end.
bool IsReserved(char letter, int64_t code) {
    if (letter == 'G') return code == 65 || code == 66 || code == 67;
    return code == 2 || code == 30 || code == 97 || code == 98 || code == 99;
}

// Parses one entry; an empty reason when it is well formed.
std::string_view ParseEntry(std::string_view entry, CallCode& code) {
    std::size_t i = 0;
    code.letter = Upper(entry[i++]);
    if (code.letter != 'G' && code.letter != 'M' && code.letter != 'T')
        return "a call code is G, M or T";
    int64_t number = -1;
    if (code.letter != 'T' && !Digits(entry, i, number)) return "no code number";
    if (code.letter == 'T' && i < entry.size() && IsDigit(entry[i]))
        return "T takes no number (every T word calls)";
    if (code.letter != 'T' && IsReserved(code.letter, number)) return "a call code of its own";
    code.code = static_cast<int32_t>(number);
    while (i < entry.size() && IsBlank(entry[i]))
        ++i;
    if (i >= entry.size() || entry[i] != '=') return "expected =";
    ++i;
    while (i < entry.size() && IsBlank(entry[i]))
        ++i;
    if (i < entry.size() && (Upper(entry[i]) == 'O' || Upper(entry[i]) == 'P')) ++i;
    if (!Digits(entry, i, code.program) || code.program == 0) return "no program number";
    code.macro = code.letter == 'G';
    std::string_view kind = Trimmed(entry.substr(i));
    if (SameWord(kind, "macro")) {
        code.macro = true;
    } else if (SameWord(kind, "subprogram")) {
        code.macro = false;
    } else if (!kind.empty()) {
        return "expected macro or subprogram after the program";
    }
    return {};
}

}  // namespace

bool ParseCallCodes(std::string_view text, std::vector<CallCode>& codes, std::string& error) {
    codes.clear();
    int line = 0;
    while (!text.empty()) {
        ++line;
        const std::size_t lineEnd = text.find('\n');
        std::string_view entries = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        // A comment runs to the end of its line.
        entries = entries.substr(0, std::min(entries.find('#'), entries.find("//")));
        while (!entries.empty()) {
            const std::size_t end = entries.find(';');
            const std::string_view entry = Trimmed(entries.substr(0, end));
            entries.remove_prefix(end == std::string_view::npos ? entries.size() : end + 1);
            if (entry.empty()) continue;
            CallCode code;
            std::string_view reason = ParseEntry(entry, code);
            for (const CallCode& known : codes) {
                if (reason.empty() && known.letter == code.letter && known.code == code.code)
                    reason = "given twice";
            }
            if (!reason.empty()) {
                error = "line " + std::to_string(line) + ": " + std::string(reason) + ": " +
                        std::string(entry.substr(0, 40));
                return false;
            }
            codes.push_back(code);
        }
    }
    return true;
}

std::string FormatCallCodes(const std::vector<CallCode>& codes) {
    std::string text;
    for (const CallCode& code : codes) {
        if (!text.empty()) text += "; ";
        text += code.letter;
        if (code.letter != 'T') text += std::to_string(code.code);
        text += '=' + std::to_string(code.program);
        text += code.macro ? " macro" : " subprogram";
    }
    return text;
}

}  // namespace cuttrace
