#include "core/SettingValues.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "machines/NumberText.h"

namespace cuttrace {

namespace {

SettingValue ColourValue(const char* name, uint32_t Settings::*field) {
    SettingValue v{name, SettingKind::Colour};
    v.colour = field;
    return v;
}
SettingValue IntegerValue(const char* name, int32_t Settings::*field) {
    SettingValue v{name, SettingKind::Integer};
    v.integer = field;
    return v;
}
SettingValue FlagValue(const char* name, bool Settings::*field) {
    SettingValue v{name, SettingKind::Flag};
    v.flag = field;
    return v;
}
SettingValue RealValue(const char* name, SettingKind kind, double Settings::*field) {
    SettingValue v{name, kind};
    v.real = field;
    return v;
}
SettingValue TextValue(const char* name, std::string Settings::*field) {
    SettingValue v{name, SettingKind::Text};
    v.text = field;
    return v;
}

const std::array<SettingValue, 31> kValues = {
    ColourValue("Org", &Settings::originColor),
    IntegerValue("Gage", &Settings::gauge),
    ColourValue("Feed", &Settings::feedColor),
    ColourValue("Rapid", &Settings::rapidColor),
    ColourValue("Spot", &Settings::cycleColor),
    ColourValue("Back", &Settings::backgroundColor),
    IntegerValue("NCCODE", &Settings::dialect),
    FlagValue("Buer", &Settings::noMotionBuffer),
    FlagValue("G0", &Settings::drawRapids),
    FlagValue("M1", &Settings::stopAtM1),
    IntegerValue("TIMER", &Settings::timerIntervalMs),
    RealValue("DRYRUN", SettingKind::WholeNumber, &Settings::dryRunSpeed),
    RealValue("CutterDia", SettingKind::Real, &Settings::cutterDiameter),
    FlagValue("CuterView", &Settings::showCutter),
    TextValue("EditerPath", &Settings::editorCommand),
    TextValue("CutStock", &Settings::cutStock),
    IntegerValue("CutResolution", &Settings::cutResolution),
    TextValue("CutTools", &Settings::cutToolTable),
    IntegerValue("MaxSteps", &Settings::maxSteps),
    IntegerValue("PathMemory", &Settings::pathMemoryMb),
    RealValue("RapidRate", SettingKind::WholeNumber, &Settings::rapidRate),
    FlagValue("KeepDrawing", &Settings::keepDrawingOnOpen),
    FlagValue("StepEveryLine", &Settings::singleBlockEveryLine),
    FlagValue("AutoFit", &Settings::autoFit),
    IntegerValue("Language", &Settings::language),
    ColourValue("Contour", &Settings::contourColor),
    TextValue("ProgramFolders", &Settings::programFolders),
    TextValue("VariablesFile", &Settings::variablesFile),
    TextValue("CallCodes", &Settings::callCodes),
    FlagValue("BlockSkip", &Settings::blockSkip),
    TextValue("PrintFile", &Settings::printFile),
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The whole text as a decimal integer (optional sign), or, when hex is allowed, as
// "0x" followed by hexadecimal digits.
bool ParseWholeInteger(std::string_view text, bool allowHex, int64_t& out) {
    text = Trimmed(text);
    int base = 10;
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (allowHex && !negative && text.size() > 2 && text[0] == '0' &&
        (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars takes no sign of its own here: the sign was taken above.
    if (text.empty() || text.front() == '+' || text.front() == '-') return false;
    uint64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc{} || ptr != text.data() + text.size()) return false;
    if (magnitude > (uint64_t{1} << 62)) return false;
    out = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool InInt32Range(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

std::span<const SettingValue> SettingValues() {
    return kValues;
}

int64_t StoredInteger(const SettingValue& value, const Settings& settings) {
    switch (value.kind) {
        case SettingKind::Colour:
            return settings.*value.colour;
        case SettingKind::Integer:
            return settings.*value.integer;
        case SettingKind::Flag:
            return settings.*value.flag ? 1 : 0;
        case SettingKind::WholeNumber: {
            double v = std::trunc(settings.*value.real);
            if (std::isnan(v)) return 0;
            if (v >= std::numeric_limits<int32_t>::max())
                return std::numeric_limits<int32_t>::max();
            if (v <= std::numeric_limits<int32_t>::min())
                return std::numeric_limits<int32_t>::min();
            return static_cast<int64_t>(v);
        }
        case SettingKind::Real:
        case SettingKind::Text:
            break;
    }
    return 0;
}

std::string StoredText(const SettingValue& value, const Settings& settings) {
    switch (value.kind) {
        case SettingKind::Real: {
            std::string out;
            AppendShortest(out, settings.*value.real);
            return out;
        }
        case SettingKind::Text:
            return settings.*value.text;
        default:
            return std::to_string(StoredInteger(value, settings));
    }
}

bool ReadStoredText(const SettingValue& value, std::string_view text, Settings& settings) {
    int64_t n = 0;
    switch (value.kind) {
        case SettingKind::Colour:
            // Negative values are what a signed 32-bit reading of a colour gives.
            if (!ParseWholeInteger(text, true, n)) return false;
            if (n < std::numeric_limits<int32_t>::min() ||
                n > std::numeric_limits<uint32_t>::max()) {
                return false;
            }
            settings.*value.colour = static_cast<uint32_t>(n);
            return true;
        case SettingKind::Integer:
            if (!ParseWholeInteger(text, false, n) || !InInt32Range(n)) return false;
            settings.*value.integer = static_cast<int32_t>(n);
            return true;
        case SettingKind::Flag: {
            std::string_view t = Trimmed(text);
            if (t == "true" || t == "false") {
                settings.*value.flag = t == "true";
                return true;
            }
            if (!ParseWholeInteger(t, false, n) || !InInt32Range(n)) return false;
            settings.*value.flag = n != 0;
            return true;
        }
        case SettingKind::WholeNumber:
            if (!ParseWholeInteger(text, false, n) || !InInt32Range(n)) return false;
            settings.*value.real = static_cast<double>(n);
            return true;
        case SettingKind::Real: {
            std::string_view t = Trimmed(text);
            std::size_t used = 0;
            double v = ParseDouble(t, &used);
            if (t.empty() || used != t.size() || !std::isfinite(v)) return false;
            settings.*value.real = v;
            return true;
        }
        case SettingKind::Text:
            settings.*value.text = std::string(text);
            return true;
    }
    return false;
}

void ResetToDefault(const SettingValue& value, Settings& settings) {
    static const Settings defaults;
    switch (value.kind) {
        case SettingKind::Colour:
            settings.*value.colour = defaults.*value.colour;
            break;
        case SettingKind::Integer:
            settings.*value.integer = defaults.*value.integer;
            break;
        case SettingKind::Flag:
            settings.*value.flag = defaults.*value.flag;
            break;
        case SettingKind::WholeNumber:
        case SettingKind::Real:
            settings.*value.real = defaults.*value.real;
            break;
        case SettingKind::Text:
            settings.*value.text = defaults.*value.text;
            break;
    }
}

}  // namespace cuttrace
