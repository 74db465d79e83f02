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
    // A box is looked at when the pixel of its centre lies near enough the click for one of
    // its points: the view is linear, so a point of the box lies at most the rotated and
    // scaled half sizes (through the absolute values of the rotation) from the centre's
    // pixel, plus a pixel for the truncation.
    Point3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (Point3& axis : axes)
        view.ScaleAndRotate(axis);
    const auto near = [&](const PathBox& box) {
        const Point3 half{(box.high.x - box.low.x) / 2, (box.high.y - box.low.y) / 2,
                          (box.high.z - box.low.z) / 2};
        const Point3 centre{box.low.x + half.x, box.low.y + half.y, box.low.z + half.z};
        if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(centre.z))
            return true;
        const Pixel c = ToPixel(view, centre);
        const double reachX = std::fabs(axes[0].x) * half.x + std::fabs(axes[1].x) * half.y +
                              std::fabs(axes[2].x) * half.z;
        const double reachY = std::fabs(axes[0].y) * half.x + std::fabs(axes[1].y) * half.y +
                              std::fabs(axes[2].y) * half.z;
        return std::fabs(c.x - x) <= reachX + radius + 2 &&
               std::fabs(c.y - y) <= reachY + radius + 2;
    };
    path.ForEachSegment(
        [&](const PathSegment& s) {
            const Pixel a = ToPixel(view, s.from);
            const Pixel b = ToPixel(view, s.to);
            // Most segments lie far away: their pixel box tells at once.
            if (std::min(a.x, b.x) > x + radius || std::max(a.x, b.x) < x - radius ||
                std::min(a.y, b.y) > y + radius || std::max(a.y, b.y) < y - radius) {
                return;
            }
            double along = 0.0;
            const double d2 = SegmentDistance2(a, b, x, y, along);
            if (!(d2 <= best2)) return;
            best2 = d2;
            best.found = true;
            best.motion = s.motion;
            best.from = s.from;
            best.to = s.to;
            best.point = along < 0.5 ? s.from : s.to;
            best.pixels = std::sqrt(d2);
        },
        near);
    return best;
}

}  // namespace cuttrace
