// A point or vector in program units.
#pragma once

namespace cuttrace {

struct AXIS {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend bool operator==(const AXIS&, const AXIS&) = default;
};

}  // namespace cuttrace
