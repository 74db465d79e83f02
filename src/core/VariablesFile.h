// Variables files: macro variable values loaded before a run, and the common variables a
// viewer keeps from run to run.
//
// One variable a line, "#n=value" or "#n value"; blank lines and lines that begin with ';',
// or with '#' and a blank, are comments; a ';' or '(' after the value begins a comment too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cuttrace {

struct VariableSetting {
    int number = 0;
    double value = 0.0;
    int64_t line = 0;  // where it stands in its file (1: the first line)
};

// A variables file larger than this is refused unread.
inline constexpr int64_t kMaxVariablesFileSize = 16 * 1024 * 1024;

// Reads a whole text file of at most maxSize bytes; false with `error` (missing, not a
// file, too large, unreadable).
bool ReadTextFile(const std::string& path, int64_t maxSize, std::string& text, std::string& error);

// The settings of text; false with `error` naming the first malformed line.
bool ParseVariables(std::string_view text, std::vector<VariableSetting>& settings,
                    std::string& error);
// Reads and parses a file; false with `error` (missing, unreadable, too large, not text,
// or a malformed line).
bool ReadVariablesFile(const std::string& path, std::vector<VariableSetting>& settings,
                       std::string& error);
// The settings as a variables file's text: "#n=value" lines, values written so that they
// read back exactly.
std::string FormatVariables(const std::vector<VariableSetting>& settings);

}  // namespace cuttrace
