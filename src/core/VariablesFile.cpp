#include "core/VariablesFile.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace cuttrace {

namespace {

constexpr int kLargestNumber = 99999999;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The line as a message shows it: its start, control bytes left out.
std::string Excerpt(std::string_view line) {
    std::string shown;
    for (char c : line.substr(0, 40)) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) shown += c;
    }
    return shown;
}

// Parses one line that is not a comment; an empty reason when it is well formed.
bool IsText(std::string_view line) {
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) return false;
    }
    return true;
}

std::string_view ParseLine(std::string_view line, VariableSetting& setting) {
    std::size_t i = 1;  // behind the '#'
    int number = 0;
    const std::size_t digitsFrom = i;
    while (i < line.size() && IsDigit(line[i])) {
        if (number > kLargestNumber) return "variable number too large";
        number = number * 10 + (line[i] - '0');
        ++i;
    }
    if (i == digitsFrom) return "no variable number after #";
    if (number == 0) return "#0 cannot be set";
    const std::size_t beforeBlanks = i;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] == '=') {
        ++i;
        while (i < line.size() && IsBlank(line[i]))
            ++i;
    } else if (i == beforeBlanks) {
        return "expected = or a blank after the variable number";
    }
    if (i < line.size() && line[i] == '+') ++i;
    double value = 0.0;
    const char* from = line.data() + i;
    const char* end = line.data() + line.size();
    auto [stop, failure] = std::from_chars(from, end, value);
    if (failure != std::errc() || stop == from) return "no value";
    if (!std::isfinite(value)) return "value out of range";
    i = static_cast<std::size_t>(stop - line.data());
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] != ';' && line[i] != '(')
        return "unexpected text after the value";
    setting.number = number;
    setting.value = value;
    return {};
}

}  // namespace

bool ParseVariables(std::string_view text, std::vector<VariableSetting>& settings,
                    std::string& error) {
    settings.clear();
    int64_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && IsBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '#' && (line.size() == 1 || IsBlank(line[1]))) continue;
        VariableSetting setting;
        setting.line = lineNumber;
        std::string_view reason = !IsText(line)    ? std::string_view("not text")
                                  : line[0] == '#' ? ParseLine(line, setting)
                                                   : std::string_view("expected #n=value");
        if (!reason.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + std::string(reason) + ": " +
                    Excerpt(line);
            return false;
        }
        settings.push_back(setting);
    }
    return true;
}

bool ReadTextFile(const std::string& path, int64_t maxSize, std::string& text, std::string& error) {
    text.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = "no such file: " + path;
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a file: " + path;
        return false;
    }
    if (info.st_size > maxSize) {
        error = "too large (" + std::to_string(info.st_size) + " bytes, at most " +
                std::to_string(maxSize) + "): " + path;
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read: " + path;
        return false;
    }
    text.resize(static_cast<std::size_t>(info.st_size));
    const std::size_t got = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    text.resize(got);
    if (failed) error = "cannot read: " + path;
    return !failed;
}

bool ReadVariablesFile(const std::string& path, std::vector<VariableSetting>& settings,
                       std::string& error) {
    settings.clear();
    std::string text;
    if (!ReadTextFile(path, kMaxVariablesFileSize, text, error)) return false;
    if (!ParseVariables(text, settings, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::string FormatVariables(const std::vector<VariableSetting>& settings) {
    std::string text;
    char buffer[64];
    for (const VariableSetting& setting : settings) {
        auto [end, failure] = std::to_chars(buffer, buffer + sizeof buffer, setting.value);
        if (failure != std::errc()) continue;
        text += '#';
        text += std::to_string(setting.number);
        text += '=';
        text.append(buffer, end);
        text += '\n';
    }
    return text;
}

}  // namespace cuttrace
