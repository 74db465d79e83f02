#include "drawing/Geometry.h"

#include <cmath>

namespace cuttrace {

namespace {

// Products of grid coordinates need more than 64 bits.
__extension__ typedef __int128 Wide;

}  // namespace

double OffsetAngle(double a, double b) {
    if (a == 0.0) return b >= 0.0 ? 90.0 : -90.0;
    const double angle = std::atan(b / a) * kDegreesPerRadian;
    return a < 0.0 ? angle + 180.0 : angle;
}

bool SegmentIntersection(GridPoint* out, GridPoint a, GridPoint b, GridPoint c, GridPoint d) {
    const Wide abx = static_cast<Wide>(b.x) - a.x;
    const Wide aby = static_cast<Wide>(b.y) - a.y;
    const Wide cdx = static_cast<Wide>(d.x) - c.x;
    const Wide cdy = static_cast<Wide>(d.y) - c.y;
    const Wide acx = static_cast<Wide>(a.x) - c.x;
    const Wide acy = static_cast<Wide>(a.y) - c.y;
    const Wide det = abx * cdy - aby * cdx;
    if (det == 0) return false;            // parallel
    const Wide t = acy * cdx - acx * cdy;  // along ab, in units of det
    const Wide u = acy * abx - acx * aby;  // along cd, in units of det
    if (det > 0) {
        if (t < 0 || t > det || u < 0 || u > det) return false;
    } else {
        if (t > 0 || t < det || u > 0 || u < det) return false;
    }
    // a + (b - a) * t / det, truncated toward zero, in exact integers; the point lies between
    // a and b, so it fits.
    out->x = static_cast<int64_t>((static_cast<Wide>(a.x) * det + abx * t) / det);
    out->y = static_cast<int64_t>((static_cast<Wide>(a.y) * det + aby * t) / det);
    return true;
}

}  // namespace cuttrace
