// Fills the "%lf" and "%d" places of a message pattern, locale-independently.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace cuttrace {

// Replaces each "%lf" by the next value with six decimals and each "%d" by the next value
// truncated to an integer; missing values count as 0.
std::string FormatMessage(std::string_view pattern, std::initializer_list<double> values);

}  // namespace cuttrace
