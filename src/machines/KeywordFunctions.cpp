// The keyword functions of expressions (ABS, SIN, MOD, ...), applied to the value stack.
#include <cmath>
#include <cstdint>
#include <numbers>

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"

namespace cuttrace {

namespace {

// Degrees to radians, computed as (1/180)·π like the controllers do.
const double kRadiansPerDegree = (1.0 / 180.0) * std::numbers::pi;

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

}  // namespace

bool NcMachine::ApplyKeyword(int keyword, std::vector<double>& values, std::string_view token) {
    if (values.size() < 2) {
        DiagnosticLog::LogText(messages::kNotFindOperand, token);
        return false;
    }
    double& x = values.back();
    // Functions of two values: y (below x) and x are replaced by the result.
    auto combine = [&](double result) {
        values.pop_back();
        values.back() = result;
    };
    const double y = values[values.size() - 2];
    switch (keyword) {
        case KeywordAbs:
            x = std::fabs(x);
            break;
        case KeywordAtan:
            x = std::atan(x) / kRadiansPerDegree;
            break;
        case KeywordCos:
            x = std::cos(x * kRadiansPerDegree);
            break;
        case KeywordSin:
            x = std::sin(x * kRadiansPerDegree);
            break;
        case KeywordTan:
            x = std::tan(x * kRadiansPerDegree);
            break;
        case KeywordAsin:
            if (x > 1.0 || x < -1.0) {
                DiagnosticLog::LogReal(asinMessage_, x);
                return false;
            }
            x = std::asin(x) / kRadiansPerDegree;
            break;
        case KeywordAcos:
            if (x > 1.0 || x < -1.0) {
                DiagnosticLog::LogReal(messages::kAcosRange, x);
                return false;
            }
            x = std::acos(x) / kRadiansPerDegree;
            break;
        case KeywordSqrt:
            x = std::sqrt(x);
            break;
        case KeywordExp:
            x = std::exp(x);
            break;
        case KeywordLn:
            if (!(x > 0.0)) {
                DiagnosticLog::LogReal(messages::kLnNotPositive, x);
                return false;
            }
            x = std::log(x);
            break;
        case KeywordFix:
            x = std::floor(x);
            break;
        case KeywordFup:
            x = std::ceil(x);
            break;
        case KeywordRound:
            x = std::round(x);  // half away from zero: -2.5 gives -3, -2.3 gives -2
            break;
        case KeywordBin:
            x = BcdToBinary(x);
            break;
        case KeywordBcd:
            x = BinaryToBcd(x);
            break;
        case KeywordAnd:
            combine(y != 0.0 && x != 0.0 ? 1.0 : 0.0);
            break;
        case KeywordOr:
            combine(y != 0.0 || x != 0.0 ? 1.0 : 0.0);
            break;
        case KeywordXor:
            combine(static_cast<double>(ToInt32(y) ^ ToInt32(x)));
            break;
        case KeywordMod:
            combine(std::fmod(y, x));
            break;
        default:  // DO, END, GT, GE, GOTO, IF, LT, LE, WHILE, SETVN, EQ, NE: no effect
            break;
    }
    return true;
}

}  // namespace cuttrace
