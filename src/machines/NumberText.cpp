#include "machines/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace cuttrace {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void AppendNonFinite(std::string& out, double value) {
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
    } else {
        out += value < 0 ? "-inf" : "inf";
    }
}

}  // namespace

double ParseDouble(std::string_view text, std::size_t* used) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars rejects a second sign and a leading '+', which strtod also rejects
    // after the sign has been taken.
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (used) *used = 0;
        return 0.0;
    }
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ptr == first) {
        if (used) *used = 0;
        return 0.0;
    }
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched; strtod gives +-HUGE_VAL or 0.
        // Decide by the exponent's sign: a tiny number underflows to zero.
        std::string_view digits(first, static_cast<std::size_t>(ptr - first));
        auto e = digits.find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    if (used) *used = static_cast<std::size_t>(ptr - text.data());
    return negative ? -value : value;
}

int32_t ParseInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{1} << 32) value = int64_t{1} << 32;  // keep clamping cheap
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

void AppendFixed(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        AppendNonFinite(out, value);
        return;
    }
    // 309 integer digits at most, plus sign, point and decimals.
    std::array<char, 400> buffer{};
    auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals);
    if (ec != std::errc{}) {
        AppendNonFinite(out, value);
        return;
    }
    out.append(buffer.data(), ptr);
}

std::string FormatFixed(double value, int decimals) {
    std::string out;
    AppendFixed(out, value, decimals);
    return out;
}

void AppendShortest(std::string& out, double value) {
    if (!std::isfinite(value)) {
        AppendNonFinite(out, value);
        return;
    }
    std::array<char, 64> buffer{};
    auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), ptr);
}

}  // namespace cuttrace
