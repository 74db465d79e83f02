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

bool Renderer3D::PixelBoxMayShow(const PixelBox& box) const {
    constexpr int64_t kMargin = 2;
    return box.right >= -kMargin && box.left <= width_ + kMargin && box.bottom >= -kMargin &&
           box.top <= height_ + kMargin;
}

bool Renderer3D::BoxMayShow(const Point3& low, const Point3& high) const {
    PixelBox box;
    return !BoxPixels(low, high, box) || PixelBoxMayShow(box);
}

bool Renderer3D::BoxNeedsDrawing(const Point3& low, const Point3& high) const {
    PixelBox box;
    if (!BoxPixels(low, high, box)) return true;
    if (!PixelBoxMayShow(box)) return false;
    if (target_ == nullptr || !target_->Backwards()) return true;
    return !target_->Reached(box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
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
