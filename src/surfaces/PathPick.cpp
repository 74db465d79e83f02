#include "surfaces/PathPick.h"

#include <algorithm>
#include <cmath>

namespace cuttrace {

namespace {

struct Pixel {
    double x;
    double y;
};

Pixel ToPixel(const Projection3D& view, const Point3& p) {
    const PixelPoint q = view.ToPixel(p);
    return {static_cast<double>(q.x), static_cast<double>(q.y)};
}

// Squared distance of (x, y) from the segment a-b, and where along it the nearest point lies.
double SegmentDistance2(Pixel a, Pixel b, double x, double y, double& along) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    along = length2 > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    const double px = a.x + along * dx - x;
    const double py = a.y + along * dy - y;
    return px * px + py * py;
}

}  // namespace

PathPick PickPath(const VertexList& path, const Projection3D& view, double x, double y,
                  double radius) {
    PathPick best;
    double best2 = radius * radius;
    // The view is linear: a box's points project within its centre's rotated point plus the
    // rotated half sizes (through the absolute values of the rotation), and pixels truncate
    // the rotated values, so the pixels of a box's points lie in [trunc(low), trunc(high)]
    // plus the pixel shift (the pixel of the origin).
    Point3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (Point3& axis : axes)
        view.ScaleAndRotate(axis);
    const PixelPoint shift = view.ToPixel({0, 0, 0});
    const auto bound = [&](const PathBox& box) {
        const Point3 half{(box.high.x - box.low.x) / 2, (box.high.y - box.low.y) / 2,
                          (box.high.z - box.low.z) / 2};
        Point3 centre{box.low.x + half.x, box.low.y + half.y, box.low.z + half.z};
        if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(centre.z))
            return 0.0;
        view.ScaleAndRotate(centre);
        const double reachX = std::fabs(axes[0].x) * half.x + std::fabs(axes[1].x) * half.y +
                              std::fabs(axes[2].x) * half.z;
        const double reachY = std::fabs(axes[0].y) * half.x + std::fabs(axes[1].y) * half.y +
                              std::fabs(axes[2].y) * half.z;
        const double left = std::trunc(centre.x - reachX) + shift.x;
        const double right = std::trunc(centre.x + reachX) + shift.x;
        const double top = std::trunc(-centre.y - reachY) + shift.y;
        const double bottom = std::trunc(-centre.y + reachY) + shift.y;
        const double dx = std::max({0.0, left - x, x - right});
        const double dy = std::max({0.0, top - y, y - bottom});
        const double d = std::sqrt(dx * dx + dy * dy);
        return d <= radius ? d : INFINITY;
    };
    double within = radius;  // the distance still wanted
    path.ForEachSegmentNearest(bound, [&](const PathSegment& s) {
        const Pixel a = ToPixel(view, s.from);
        const Pixel b = ToPixel(view, s.to);
        // Most segments lie farther: their pixel box tells at once.
        if (std::min(a.x, b.x) > x + within || std::max(a.x, b.x) < x - within ||
            std::min(a.y, b.y) > y + within || std::max(a.y, b.y) < y - within) {
            return within;
        }
        double along = 0.0;
        const double d2 = SegmentDistance2(a, b, x, y, along);
        // Of equally near segments the later one wins (it is drawn on top).
        const bool nearer = d2 < best2 || (d2 == best2 && (!best.found || s.motion >= best.motion));
        if (nearer) {
            best2 = d2;
            best.found = true;
            best.motion = s.motion;
            best.from = s.from;
            best.to = s.to;
            best.point = along < 0.5 ? s.from : s.to;
            best.pixels = std::sqrt(d2);
            within = best.pixels;
        }
        return within;
    });
    return best;
}

}  // namespace cuttrace
