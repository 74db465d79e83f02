// The keyword functions of expressions (ABS, SIN, MOD, ...), applied to the value stack.
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"

namespace cuttrace {

namespace {

// Degrees to radians, computed as (1/180)·π like the controllers do.
constexpr double kRadiansPerDegree = (1.0 / 180.0) * std::numbers::pi;

int32_t ToInt32(double v) {
    if (std::isnan(v)) return 0;
    v = std::trunc(v);
    if (v > 2147483647.0) return INT32_MAX;
    if (v < -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// BCD to binary: each hexadecimal digit of the value is one decimal digit. A value that is
// no number (5MOD0) stays one, so the expression fails instead of converting it.
double BcdToBinary(double x) {
    if (std::isnan(x)) return x;
    double magnitude = std::trunc(std::fabs(x));
    if (magnitude > 1e15) magnitude = 1e15;
    auto bits = static_cast<uint64_t>(magnitude);
    double result = 0.0;
    double place = 1.0;
    for (; bits != 0; bits >>= 4, place *= 10.0)
        result += static_cast<double>(bits & 0xF) * place;
    return x < 0 ? -result : result;
}

// Binary to BCD: each decimal digit of the value becomes one hexadecimal digit.
double BinaryToBcd(double x) {
    if (std::isnan(x)) return x;
    double magnitude = std::trunc(std::fabs(x));
    if (magnitude > 999999999999.0) magnitude = 999999999999.0;
    auto n = static_cast<uint64_t>(magnitude);
    double result = 0.0;
    double place = 1.0;
    for (; n != 0; n /= 10, place *= 16.0)
        result += static_cast<double>(n % 10) * place;
    return x < 0 ? -result : result;
}

// Values a function of one value refuses, with their message.
enum class Domain : uint8_t { Any, AsinRange, AcosRange, Positive };

// What a keyword does to the value stack: a function of the top value, or of the two
// top values (y below x), which it replaces by the result. Statement and comparison
// keywords (IF, GOTO, GT, ...) do nothing here.
struct KeywordFunction {
    double (*one)(double x) = nullptr;
    double (*two)(double y, double x) = nullptr;
    Domain domain = Domain::Any;
};

constexpr std::array<KeywordFunction, kKeywordCount> kKeywordFunctions = [] {
    std::array<KeywordFunction, kKeywordCount> t{};
    auto one = [&](Keyword k, double (*f)(double), Domain d = Domain::Any) {
        t[Index(k)].one = f;
        t[Index(k)].domain = d;
    };
    auto two = [&](Keyword k, double (*f)(double, double)) { t[Index(k)].two = f; };
    one(Keyword::Abs, [](double x) { return std::fabs(x); });
    one(Keyword::Atan, [](double x) { return std::atan(x) / kRadiansPerDegree; });
    one(Keyword::Cos, [](double x) { return std::cos(x * kRadiansPerDegree); });
    one(Keyword::Sin, [](double x) { return std::sin(x * kRadiansPerDegree); });
    one(Keyword::Tan, [](double x) { return std::tan(x * kRadiansPerDegree); });
    one(
        Keyword::Asin, [](double x) { return std::asin(x) / kRadiansPerDegree; },
        Domain::AsinRange);
    one(
        Keyword::Acos, [](double x) { return std::acos(x) / kRadiansPerDegree; },
        Domain::AcosRange);
    one(Keyword::Sqrt, [](double x) { return std::sqrt(x); });
    one(Keyword::Exp, [](double x) { return std::exp(x); });
    one(
        Keyword::Ln, [](double x) { return std::log(x); }, Domain::Positive);
    one(Keyword::Fix, [](double x) { return std::floor(x); });
    one(Keyword::Fup, [](double x) { return std::ceil(x); });
    // Half away from zero: -2.5 gives -3, -2.3 gives -2.
    one(Keyword::Round, [](double x) { return std::round(x); });
    one(Keyword::Bin, BcdToBinary);
    one(Keyword::Bcd, BinaryToBcd);
    two(Keyword::And, [](double y, double x) { return y != 0.0 && x != 0.0 ? 1.0 : 0.0; });
    two(Keyword::Or, [](double y, double x) { return y != 0.0 || x != 0.0 ? 1.0 : 0.0; });
    two(Keyword::Xor,
        [](double y, double x) { return static_cast<double>(ToInt32(y) ^ ToInt32(x)); });
    two(Keyword::Mod, [](double y, double x) { return std::fmod(y, x); });
    // ATAN[a]/[b]: the angle of the point (b, a), 0 up to 360 degrees.
    two(Keyword::Atan2, [](double y, double x) {
        double degrees = std::atan2(y, x) / kRadiansPerDegree;
        return degrees < 0.0 ? degrees + 360.0 : degrees;
    });
    two(Keyword::Pow, [](double y, double x) { return std::pow(y, x); });
    // Values without a decimal point are whole units here already (X10 is 10 mm).
    one(Keyword::Adp, [](double x) { return x; });
    return t;
}();

}  // namespace

bool NcMachine::ApplyKeyword(Keyword keyword, std::vector<double>& values, std::string_view token) {
    if (values.size() < 2) {
        DiagnosticLog::LogText(messages::kNotFindOperand, token);
        return false;
    }
    const KeywordFunction& f = kKeywordFunctions[Index(keyword)];
    double& x = values.back();
    if (controlLanguage_ && (keyword == Keyword::And || keyword == Keyword::Or)) {
        // Bitwise on the whole parts, as on the controls (1/0 conditions combine alike).
        const int32_t a = ToInt32(values[values.size() - 2]);
        const int32_t b = ToInt32(x);
        values.pop_back();
        values.back() = static_cast<double>(keyword == Keyword::And ? (a & b) : (a | b));
        return true;
    }
    if (controlLanguage_ && (keyword == Keyword::Fix || keyword == Keyword::Fup)) {
        // The controls drop or round up the fraction of the magnitude: FIX[-2.5] is -2,
        // FUP[-2.1] is -3 (TOSNAC keeps floor and ceiling).
        const double whole = std::trunc(x);
        x = keyword == Keyword::Fix || whole == x ? whole : whole + (x < 0.0 ? -1.0 : 1.0);
        return true;
    }
    if (keyword == Keyword::Round && inAddress_) {
        // In an address word ROUND rounds to the least input increment (0.001 mm, 0.0001 in).
        const double increment = runState_->ModalG(6) == 20.0 ? 1e4 : 1e3;
        x = std::round(x * increment) / increment;
        return true;
    }
    if (f.two) {
        double result = f.two(values[values.size() - 2], x);
        values.pop_back();
        values.back() = result;
        return true;
    }
    if (!f.one) return true;
    std::string_view refused;
    switch (f.domain) {
        case Domain::Any:
            break;
        case Domain::AsinRange:
        case Domain::AcosRange:
            if (x > 1.0 || x < -1.0)
                refused = f.domain == Domain::AsinRange ? asinMessage_ : messages::kAcosRange;
            break;
        case Domain::Positive:
            if (!(x > 0.0)) refused = messages::kLnNotPositive;
            break;
    }
    if (!refused.empty()) {
        DiagnosticLog::LogNumber(refused, x);
        return false;
    }
    x = f.one(x);
    return true;
}

}  // namespace cuttrace
