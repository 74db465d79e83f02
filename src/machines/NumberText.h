// Locale-independent conversions between numbers and text.
//
// The interpreter passes every computed value through text ("%lf", "%.3lf") and reads
// program words as numbers. The process locale (set by Qt from the environment) must
// never change how "1.5" is read or written, so nothing here uses strtod or printf.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cuttrace {

// Reads a double the way strtod does from the start of text: leading blanks, an optional
// sign, then the longest valid decimal number. `used` receives the number of characters
// consumed (0 when there is no number, in which case the result is 0.0).
double ParseDouble(std::string_view text, std::size_t* used = nullptr);

// Reads an integer the way atoi does: leading blanks, an optional sign, then the leading
// decimal digits. Values beyond the int32 range are clamped.
int32_t ParseInt(std::string_view text);

// Appends value in fixed notation with `decimals` digits after the point, like
// printf("%.*lf"). Non-finite values are written as printf writes them ("inf", "-nan").
void AppendFixed(std::string& out, double value, int decimals);
std::string FormatFixed(double value, int decimals);

// Appends the shortest text that reads back as exactly the same double.
void AppendShortest(std::string& out, double value);

}  // namespace cuttrace
