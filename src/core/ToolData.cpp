#include "core/ToolData.h"

#include <cmath>

#include "core/VariablesFile.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

constexpr int kKinds = 4;

// The whole of text as a finite number.
bool ReadNumber(std::string_view text, double& value) {
    std::size_t used = 0;
    value = ParseDouble(text, &used);
    return !text.empty() && used == text.size() && std::isfinite(value);
}

// The line without its comments, upper case, split at blanks and commas.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    bool inParens = false;
    auto flush = [&] {
        if (!current.empty()) fields.push_back(current);
        current.clear();
    };
    for (char c : line) {
        if (inParens) {
            inParens = c != ')';
            continue;
        }
        if (c == ';' || c == '#') break;
        if (c == '(') {
            inParens = true;
            flush();
        } else if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            flush();
        } else {
            current += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    flush();
    return fields;
}

}  // namespace

ToolData::ToolData() : values_(static_cast<std::size_t>(kKinds * kOffsets), 0.0), start_(values_) {}

double ToolData::Get(Kind kind, int number) const {
    if (number < 1 || number > kOffsets) return 0.0;
    return values_[Slot(kind, number)];
}

bool ToolData::Set(Kind kind, int number, double value) {
    if (number < 1 || number > kOffsets) return false;
    values_[Slot(kind, number)] = value;
    return true;
}

bool ToolData::VariableSlot(int variable, Kind& kind, int& number) {
    int first = 0, perKind = 0;
    if (variable >= 2001 && variable <= 2800) {
        first = 2001, perKind = 200;
    } else if (variable >= 10001 && variable < 14000 && (variable - 10001) % 1000 < kOffsets) {
        first = 10001, perKind = 1000;
    } else {
        return false;
    }
    kind = static_cast<Kind>((variable - first) / perKind);
    number = (variable - first) % perKind + 1;
    return true;
}

void ToolData::ClearAll() {
    values_.assign(values_.size(), 0.0);
    start_ = values_;
}

bool ToolData::Parse(std::string_view text, const std::string& fileName, std::string* error) {
    std::vector<double> parsed = values_;
    int64_t lineNumber = 0;
    auto fail = [&](const std::string& problem) {
        *error = fileName + ":" + std::to_string(lineNumber) + ": " + problem;
        return false;
    };
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++lineNumber;
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty() || fields[0][0] == 'T') continue;  // a tool of the cut simulation
        const char letter = fields[0][0];
        if (letter != 'H' && letter != 'D') return fail("not an offset line (H1 L=.. or D1 R=..)");
        double n = 0;
        if (!ReadNumber(std::string_view(fields[0]).substr(1), n) || n != std::floor(n) || n < 1 ||
            n > kOffsets)
            return fail("bad offset number '" + fields[0] + "' (1.." + std::to_string(kOffsets) +
                        ")");
        const int number = static_cast<int>(n);
        const std::string geometryKey = letter == 'H' ? "L" : "R";
        if (fields.size() < 2) return fail("no value (" + geometryKey + "=)");
        for (std::size_t i = 1; i < fields.size(); ++i) {
            const std::string& f = fields[i];
            const std::size_t eq = f.find('=');
            double value = 0;
            if (eq == std::string::npos || !ReadNumber(std::string_view(f).substr(eq + 1), value))
                return fail("bad value '" + f + "'");
            const std::string key = f.substr(0, eq);
            Kind kind;
            if (key == geometryKey)
                kind = letter == 'H' ? Kind::LengthGeometry : Kind::RadiusGeometry;
            else if (key == "W")
                kind = letter == 'H' ? Kind::LengthWear : Kind::RadiusWear;
            else
                return fail("unknown word '" + f + "'");
            parsed[Slot(kind, number)] = value;
        }
    }
    values_ = std::move(parsed);
    return true;
}

bool ToolData::Load(const std::string& path, std::string* error) {
    std::string text;
    std::string why;
    if (!ReadTextFile(path, kMaxVariablesFileSize, text, why)) {
        *error = "tool table: " + why;
        return false;
    }
    return Parse(text, path, error);
}

}  // namespace cuttrace
