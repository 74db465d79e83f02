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
    // A chunk is looked at when the pixels of its box's corners, widened by the radius,
    // hold the pixel: the box's points project inside those corners' pixels.
    const auto near = [&](const PathBox& box) {
        double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
        for (int corner = 0; corner < 8; ++corner) {
            const Point3 p{corner & 1 ? box.high.x : box.low.x, corner & 2 ? box.high.y : box.low.y,
                           corner & 4 ? box.high.z : box.low.z};
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return true;
            const Pixel q = ToPixel(view, p);
            left = std::min(left, q.x);
            right = std::max(right, q.x);
            top = std::min(top, q.y);
            bottom = std::max(bottom, q.y);
        }
        return x >= left - radius - 1 && x <= right + radius + 1 && y >= top - radius - 1 &&
               y <= bottom + radius + 1;
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
