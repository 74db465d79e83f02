// The 2D drawing surface's world point.
//
// Besides the coordinates a point carries a text and a number that the surface never
// draws. Copying a point snaps tiny coordinates to zero, so that rounding noise such as
// 1e-12 never reaches the pixel mapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "drawing/Geometry.h"

namespace cuttrace {

struct WorldPoint2D {
    // Coordinates of a smaller magnitude than this are copied as 0.
    static constexpr double kSnap = kSamePointTolerance;
    static constexpr std::int32_t kDefaultNumber = 1000;

    std::string text;
    std::int32_t number = kDefaultNumber;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    WorldPoint2D() = default;
    WorldPoint2D(double px, double py, double pz = 0.0) : x(px), y(py), z(pz) {}

    WorldPoint2D(const WorldPoint2D& other)
        : text(other.text),
          number(other.number),
          x(Snap(other.x)),
          y(Snap(other.y)),
          z(Snap(other.z)) {}

    WorldPoint2D& operator=(const WorldPoint2D& other) {
        if (this != &other) text = other.text;
        number = other.number;
        x = Snap(other.x);
        y = Snap(other.y);
        z = Snap(other.z);
        return *this;
    }

    static double Snap(double v) { return std::fabs(v) < kSnap ? 0.0 : v; }
};

}  // namespace cuttrace
