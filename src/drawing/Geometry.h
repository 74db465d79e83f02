// Plane geometry shared by the drawer, the extent measurement of pictures and the clipping
// of the 2D and 3D surfaces: angle units, the same-point tolerance, coordinates by axis
// index, the angle of an offset in a plane, and the exact crossing of two segments on a
// pixel grid.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/Point3.h"

namespace cuttrace {

inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Two coordinates are the same when they differ by less than this.
inline constexpr double kSamePointTolerance = 1e-8;

inline bool SameCoordinate(double a, double b) {
    const double d = a - b;
    return d > -kSamePointTolerance && d < kSamePointTolerance;
}
// The same point on every axis (never for a coordinate that is not a number).
inline bool SamePoint(const Point3& a, const Point3& b) {
    return SameCoordinate(a.x, b.x) && SameCoordinate(a.y, b.y) && SameCoordinate(a.z, b.z);
}

inline double Distance(const Point3& a, const Point3& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Coordinate 0 is x, 1 is y, 2 is z.
inline double& Coordinate(Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}
inline double Coordinate(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// The angle of an offset (a along a plane's first axis, b along its second), in degrees
// from the first axis towards the second, in [-90, 270).
double OffsetAngle(double a, double b);

// A point of a pixel grid, wide enough for points far outside any picture.
struct GridPoint {
    int64_t x = 0;
    int64_t y = 0;

    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

// Grid coordinates that SegmentIntersection takes: within +-kGridLimit.
inline constexpr int64_t kGridLimit = int64_t{1} << 40;

// Intersection of the segments ab and cd, ends included; parallel (and collinear) segments do
// not meet. On success *out is the meeting point on ab, truncated toward zero. Exact for
// coordinates within +-kGridLimit.
bool SegmentIntersection(GridPoint* out, GridPoint a, GridPoint b, GridPoint c, GridPoint d);

}  // namespace cuttrace
