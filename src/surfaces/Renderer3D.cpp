#include "surfaces/Renderer3D.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "surfaces/SegmentClip.h"

namespace cuttrace {

namespace {

std::vector<PixelPoint> ProjectAll(const Projection3D& view, const Point3* points, int last) {
    std::vector<PixelPoint> pixels;
    if (points == nullptr || last < 0) return pixels;
    pixels.reserve(static_cast<size_t>(last) + 1);
    for (int i = 0; i <= last; ++i)
        pixels.push_back(view.ToPixel(points[i]));
    return pixels;
}

}  // namespace

void Renderer3D::LineClipped(PixelPoint p, PixelPoint q) {
    if (!ClipSegment(&p, &q, width_, height_)) return;
    target_->Segment(p, q);
}

bool Renderer3D::BoxMayShow(const Point3& low, const Point3& high) const {
    for (double v : {low.x, low.y, low.z, high.x, high.y, high.z}) {
        if (!std::isfinite(v)) return true;
    }
    // The pixels of points inside the box lie within those of its corners: the projection is
    // affine and its truncation keeps the order.
    int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
    for (int corner = 0; corner < 8; ++corner) {
        const Point3 p{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                       corner & 4 ? high.z : low.z};
        const PixelPoint q = view_.ToPixel(p);
        left = std::min<int64_t>(left, q.x);
        right = std::max<int64_t>(right, q.x);
        top = std::min<int64_t>(top, q.y);
        bottom = std::max<int64_t>(bottom, q.y);
    }
    constexpr int64_t kMargin = 2;
    return right >= -kMargin && left <= width_ + kMargin && bottom >= -kMargin &&
           top <= height_ + kMargin;
}

void Renderer3D::DrawDot(const Point3& p, int r) {
    if (target_ == nullptr) return;
    const PixelPoint c = view_.ToPixel(p);
    const int64_t radius = r < 0 ? -static_cast<int64_t>(r) : r;
    auto edge = [](int64_t v) {
        return static_cast<int>(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
    };
    target_->Ellipse(edge(c.x - radius), edge(c.y - radius), edge(c.x + radius),
                     edge(c.y + radius));
}

void Renderer3D::Polygon(const Point3* points, int last) {
    if (target_ == nullptr) return;
    const std::vector<PixelPoint> pixels = ProjectAll(view_, points, last);
    target_->Polygon(pixels.data(), static_cast<int>(pixels.size()));
}

void Renderer3D::Polyline(const Point3* points, int last) {
    if (target_ == nullptr) return;
    const std::vector<PixelPoint> pixels = ProjectAll(view_, points, last);
    target_->Polyline(pixels.data(), static_cast<int>(pixels.size()));
}

}  // namespace cuttrace
