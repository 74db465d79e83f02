#include "machines/MessageFormat.h"

#include <cmath>

#include "machines/NumberText.h"

namespace cuttrace {

std::string FormatMessage(std::string_view pattern, std::initializer_list<double> values) {
    std::string out;
    auto next = values.begin();
    auto take = [&]() { return next != values.end() ? *next++ : 0.0; };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "%lf") == 0) {
            AppendFixed(out, take(), 6);
            i += 2;
        } else if (pattern.compare(i, 2, "%d") == 0) {
            double v = std::trunc(take());
            if (v > 2147483647.0) v = 2147483647.0;
            if (v < -2147483648.0) v = -2147483648.0;
            out += std::to_string(static_cast<long long>(std::isnan(v) ? 0.0 : v));
            i += 1;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace cuttrace
