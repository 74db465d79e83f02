// A point or vector in program units.
#pragma once

namespace cuttrace {

struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend bool operator==(const Point3&, const Point3&) = default;
};

}  // namespace cuttrace
