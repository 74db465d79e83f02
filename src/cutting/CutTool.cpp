#include "cutting/CutTool.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "core/VariablesFile.h"

namespace cuttrace::cutting {

bool CutTool::Check(std::string* error) const {
    if (!std::isfinite(diameter) || !(diameter > 0.0)) {
        *error = "tool diameter must be greater than 0";
        return false;
    }
    if (shape == ToolShape::BullNose &&
        (!std::isfinite(cornerRadius) || !(cornerRadius > 0.0) || cornerRadius > Radius())) {
        *error = "corner radius must be greater than 0 and at most half the diameter";
        return false;
    }
    return true;
}

namespace {

bool ReadNumber(std::string_view text, double* value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && std::isfinite(*value);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The line without its comments, split at blanks.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    bool inParens = false;
    for (char c : line) {
        if (inParens) {
            if (c == ')') inParens = false;
            continue;
        }
        if (c == ';' || c == '#') break;
        if (c == '(') {
            inParens = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            if (!current.empty()) fields.push_back(Upper(current)), current.clear();
            continue;
        } else {
            current += c;
            continue;
        }
        if (!current.empty()) fields.push_back(Upper(current)), current.clear();
    }
    if (!current.empty()) fields.push_back(Upper(current));
    return fields;
}

// One T line; an empty result on success, else what is wrong with it.
std::string ParseToolLine(const std::vector<std::string>& fields, int32_t* number, CutTool* tool) {
    double n = 0.0;
    if (!ReadNumber(std::string_view(fields[0]).substr(1), &n) || n != std::floor(n) || n < 0 ||
        n > 99999999)
        return "bad tool number '" + fields[0] + "'";
    *number = static_cast<int32_t>(n);
    bool haveShape = false, haveDiameter = false, haveCorner = false;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        if (f == "FLAT" || f == "BALL" || f == "BULL" || f == "DRILL") {
            if (haveShape) return "more than one tool shape";
            haveShape = true;
            tool->shape = f == "FLAT"   ? ToolShape::Flat
                          : f == "BALL" ? ToolShape::Ball
                          : f == "BULL" ? ToolShape::BullNose
                                        : ToolShape::Drill;
            continue;
        }
        const auto eq = f.find('=');
        if (eq == std::string::npos) return "unknown word '" + f + "'";
        const std::string key = f.substr(0, eq);
        double value = 0.0;
        if (!ReadNumber(std::string_view(f).substr(eq + 1), &value))
            return "bad number in '" + f + "'";
        if (key == "D") {
            tool->diameter = value, haveDiameter = true;
        } else if (key == "CR") {
            tool->cornerRadius = value, haveCorner = true;
        } else {
            return "unknown word '" + f + "'";
        }
    }
    if (!haveDiameter) return "no diameter (D=)";
    if (tool->shape == ToolShape::BullNose && !haveCorner) return "no corner radius (CR=)";
    if (tool->shape != ToolShape::BullNose && haveCorner)
        return "a corner radius (CR=) belongs to a BULL tool";
    std::string error;
    if (!tool->Check(&error)) return error;
    return {};
}

}  // namespace

bool ToolTable::Parse(std::string_view text, const std::string& fileName, std::string* error) {
    std::map<int32_t, CutTool> tools;
    int64_t lineNumber = 0;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++lineNumber;
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty()) continue;
        const char letter = fields[0][0];
        if (letter == 'H' || letter == 'D') continue;  // length and radius offsets
        std::string problem;
        int32_t number = 0;
        CutTool tool;
        if (letter == 'T')
            problem = ParseToolLine(fields, &number, &tool);
        else
            problem = "not a tool line";
        if (!problem.empty()) {
            *error = fileName + ":" + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        tools[number] = tool;
    }
    tools_ = std::move(tools);
    return true;
}

bool ToolTable::Load(const std::string& path, std::string* error) {
    std::string text;
    std::string why;
    if (!ReadTextFile(path, kMaxVariablesFileSize, text, why)) {
        *error = "tool table: " + why;
        return false;
    }
    return Parse(text, path, error);
}

const CutTool& ToolTable::Find(int32_t number, const CutTool& fallback) const {
    const auto it = tools_.find(number);
    return it == tools_.end() ? fallback : it->second;
}

}  // namespace cuttrace::cutting
