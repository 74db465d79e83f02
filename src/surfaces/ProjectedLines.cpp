// The line drawing of the 3D surface on model points, with the projection to pixels run on
// pairs of values at once. Each value goes through the very operations that
// Projection3D::ToPixel gives it (a - b as a + (-b), the flip of y folded into the last
// rotation's factors), so the pixels are the same to the last bit; a test compares the two.
#include <algorithm>
#include <bit>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/UninitialisedArray.h"
#include "surfaces/ProjectedLines.h"
#include "surfaces/Renderer3D.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {

class ProjectionPairs {
  public:
    [[gnu::always_inline]] static PixelPoint ToPixel(const Projection3D& v, const Point3& p) {
        return v.unturned_ ? UnturnedToPixel(v, p) : TurnedToPixel(v, p);
    }
    static bool Unturned(const Projection3D& v) { return v.unturned_; }
    // A view without turns: the turns by cosines of 1 and sines of 0 leave the scaled x and
    // y as they are (y flipped) and add zeros, which truncation does not tell apart; they
    // make a value that is not finite spread to the others, so such a point takes the
    // turned way.
    [[gnu::always_inline]] static PixelPoint UnturnedToPixel(const Projection3D& v,
                                                             const Point3& p) {
        const Pair xy = Pair{p.x, -p.y} * v.scale_;
        const double z = v.scale_ * p.z;
        if (FitsFastPath(v, xy) && z - z == 0.0) [[likely]]
            return Shifted(v, xy);
        return TurnedToPixel(v, p);
    }
    [[gnu::always_inline]] static PixelPoint TurnedToPixel(const Projection3D& v, const Point3& p) {
        const double x = v.scale_ * p.x;
        const Pair yz = Pair{p.y, p.z} * v.scale_;
        const Pair yzX = yz[0] * Load(v.turnX1_) + yz[1] * Load(v.turnX2_);  // about X: y, z
        const double xY = x * v.cosB_ + yzX[1] * v.sinB_;                    // about Y: x
        const Pair xy = xY * Load(v.turnZ1_) + yzX[0] * Load(v.turnZ2_);     // about Z: x, -y
        if (FitsFastPath(v, xy)) [[likely]]
            return Shifted(v, xy);
        return PixelPoint{v.pixelX_.Pixel(xy[0]), v.pixelY_.Pixel(xy[1])};
    }

    // Pixels that hold the pixel of every point of the box low..high: those
    // of its centre's rotated values widened by the half extents' reach, and by far more
    // than the rounding of either way of finding them. Truncation keeps the order, so the
    // pixels of the box's points lie within. False for a value that is not finite, and when
    // the values grow too large for that (every value found is then not finite).
    static bool BoxBounds(const Projection3D& v, const Point3& low, const Point3& high,
                          PixelPoint& least, PixelPoint& most) {
        const double hx = 0.5 * high.x - 0.5 * low.x;
        const double hy = 0.5 * high.y - 0.5 * low.y;
        const double hz = 0.5 * high.z - 0.5 * low.z;
        const double cx = 0.5 * low.x + 0.5 * high.x;
        const double cy = 0.5 * low.y + 0.5 * high.y;
        const double cz = 0.5 * low.z + 0.5 * high.z;
        // The centre's rotated (x, y) through the product of the turns, which rounds a little
        // differently from turning step by step: the slack below covers both.
        const double s = v.scale_;
        const Pair centre =
            (Load(v.turn_[0]) * cx + Load(v.turn_[1]) * cy + Load(v.turn_[2]) * cz) * s;
        const double scale = std::fabs(s);
        const Pair reach =
            (Load(v.reach_[0]) * hx + Load(v.reach_[1]) * hy + Load(v.reach_[2]) * hz) * scale;
        // Every value either way meets is at most the sum of the magnitudes, scaled; a few
        // dozen roundings of that size are far below this.
        const double size = scale * (std::fabs(cx) + hx + std::fabs(cy) + hy + std::fabs(cz) + hz);
        const Pair wide = reach + size * 1e-12;
        const Pair first = centre - wide;  // left, down
        const Pair last = centre + wide;   // right, up
        if (!std::isfinite(last[0] - first[0]) || !std::isfinite(last[1] - first[1])) return false;
        least = PixelPoint{v.pixelX_.Pixel(first[0]), v.pixelY_.Pixel(-last[1])};
        most = PixelPoint{v.pixelX_.Pixel(last[0]), v.pixelY_.Pixel(-first[1])};
        return true;
    }

  private:
    // Two doubles, and two 32-bit integers, handled at once.
    typedef double Pair __attribute__((vector_size(16)));
    typedef int32_t Truncated __attribute__((vector_size(8)));
    typedef uint32_t Pixels __attribute__((vector_size(8)));

    // Whole numbers in the 32-bit range, whose sums with the shifts stay within the pixel
    // limit (FitsFastPath): the 32-bit sums are exact.
    [[gnu::always_inline]] static PixelPoint Shifted(const Projection3D& v, Pair xy) {
        const Pixels shift =
            *static_cast<const Pixels*>(__builtin_assume_aligned(v.pixelShift_, 8));
        const Pixels sum = std::bit_cast<Pixels>(__builtin_convertvector(xy, Truncated)) + shift;
        return std::bit_cast<PixelPoint>(sum);
    }

    static Pair Load(const double (&pair)[2]) {
        return *static_cast<const Pair*>(__builtin_assume_aligned(pair, 16));
    }
    // Both values take the plain way of the pixel step (NaN does not).
    static bool FitsFastPath(const Projection3D& v, Pair xy) {
        const Pair low = Load(v.pixelLow_);
        const Pair high = Load(v.pixelHigh_);
#if defined(__SSE2__)
        return _mm_movemask_pd(_mm_and_pd(_mm_cmpge_pd(xy, low), _mm_cmple_pd(xy, high))) == 3;
#else
        const auto plain = (xy >= low) & (xy <= high);
        return plain[0] != 0 && plain[1] != 0;
#endif
    }
};

PixelPoint FastPixel(const Projection3D& view, const Point3& p) {
    return ProjectionPairs::ToPixel(view, p);
}

bool BoxPixelBounds(const Projection3D& view, const Point3& low, const Point3& high,
                    PixelPoint& least, PixelPoint& most) {
    return ProjectionPairs::BoxBounds(view, low, high, least, most);
}

bool Renderer3D::BoxPixels(const Point3& low, const Point3& high, PixelBox& box) const {
    // (A value that is not finite makes the bounds' values not finite either.)
    PixelPoint least;
    PixelPoint most;
    if (ProjectionPairs::BoxBounds(view_, low, high, least, most)) [[likely]] {
        box = {least.x, least.y, most.x, most.y};
        return true;
    }
    for (double v : {low.x, low.y, low.z, high.x, high.y, high.z}) {
        if (!std::isfinite(v)) return false;
    }
    // Values near the largest doubles: each corner's pixel.
    const PixelPoint first = ProjectionPairs::ToPixel(view_, low);
    box = {first.x, first.y, first.x, first.y};
    for (int corner = 1; corner < 8; ++corner) {
        const Point3 p{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                       corner & 4 ? high.z : low.z};
        const PixelPoint q = ProjectionPairs::ToPixel(view_, p);
        box.left = std::min<int64_t>(box.left, q.x);
        box.right = std::max<int64_t>(box.right, q.x);
        box.top = std::min<int64_t>(box.top, q.y);
        box.bottom = std::max<int64_t>(box.bottom, q.y);
    }
    return true;
}

double Renderer3D::CoveredPixels(const Point3& low, const Point3& high) const {
    PixelBox box;
    if (!BoxPixels(low, high, box)) return 0.0;
    const int64_t across = std::min<int64_t>(box.right, windowX_) - std::max<int64_t>(box.left, 0);
    const int64_t down = std::min<int64_t>(box.bottom, windowY_) - std::max<int64_t>(box.top, 0);
    if (across < 0 || down < 0) return 0.0;
    return static_cast<double>(across + 1) * static_cast<double>(down + 1);
}

void Renderer3D::MoveTo(const Point3& p) {
    if (target_ != nullptr) target_->MoveTo(ProjectionPairs::ToPixel(view_, p));
}

void Renderer3D::LineTo(const Point3& p) {
    LineToPixel(ProjectionPairs::ToPixel(view_, p));
}

PixelPoint Renderer3D::Project(const Point3& p) const {
    if (SameBits(p, lastPoint_) && view_.Version() == lastVersion_) return lastPixel_;
    return ProjectionPairs::ToPixel(view_, p);
}

void Renderer3D::Line(const Point3& a, const Point3& b) {
    if (target_ == nullptr) return;
    const PixelPoint p = Project(a);
    const PixelPoint q = ProjectionPairs::ToPixel(view_, b);
    lastPoint_ = b;
    lastPixel_ = q;
    lastVersion_ = view_.Version();
    if (InWindow(p) && InWindow(q)) [[likely]] {
        target_->Segment(p, q);
    } else {
        LineClipped(p, q);
    }
}

namespace {

// Points projected a batch at a time, before any is drawn: the projections do not wait for
// each other nor for the drawing.
constexpr std::size_t kProjectBatch = 256;

using PixelBatch = UninitialisedArray<PixelPoint, kProjectBatch>;

void ProjectBatch(const Projection3D& view, const Point3* points, std::size_t count,
                  PixelPoint* pixels) {
    if (ProjectionPairs::Unturned(view)) {
        for (std::size_t k = 0; k < count; ++k)
            pixels[k] = ProjectionPairs::UnturnedToPixel(view, points[k]);
        return;
    }
    for (std::size_t k = 0; k < count; ++k)
        pixels[k] = ProjectionPairs::TurnedToPixel(view, points[k]);
}

}  // namespace

void Renderer3D::LinesTo(const Point3* points, std::size_t count) {
    if (target_ == nullptr) return;
    PixelBatch batch;
    PixelPoint* const pixels = batch.at;
    for (std::size_t done = 0; done < count; done += kProjectBatch) {
        const std::size_t n = std::min(kProjectBatch, count - done);
        ProjectBatch(view_, points + done, n, pixels);
        for (std::size_t k = 0; k < n; ++k)
            target_->LineTo(pixels[k]);
    }
}

void Renderer3D::LinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    if (target_ == nullptr || count == 0) return;
    // Line for each segment; the segments share their ends, so each point is projected once.
    PixelPoint p = Project(from);
    PixelBatch batch;
    PixelPoint* const pixels = batch.at;
    // The last segment was drawn inside the window: the pen stands on p, which has the pen
    // color, and a segment that stays on p changes nothing.
    bool onPen = false;
    for (std::size_t done = 0; done < count; done += kProjectBatch) {
        const std::size_t n = std::min(kProjectBatch, count - done);
        ProjectBatch(view_, points + done, n, pixels);
        for (std::size_t k = 0; k < n; ++k) {
            const PixelPoint q = pixels[k];
            if (InWindow(p) && InWindow(q)) [[likely]] {
                if (!onPen || q.x != p.x || q.y != p.y) target_->Segment(p, q);
                onPen = true;
                // The points after q that stay in the window go on from the pen.
                const std::size_t more =
                    target_->SegmentsFromPen(pixels + k + 1, n - k - 1, windowX_, windowY_);
                k += more;
                p = pixels[k];
                continue;
            }
            // Both ends beyond one edge of the window: nothing to clip or draw.
            if (!BeyondOneEdge(p, q)) LineClipped(p, q);
            onPen = false;
            p = q;
        }
    }
    lastPoint_ = points[count - 1];
    lastPixel_ = p;
    lastVersion_ = view_.Version();
}

void SurfaceFan::SetSurfaces(Surface3D* const* surfaces, int count) {
    count_ = count < 0 ? 0 : (count > kMaxSurfaces ? kMaxSurfaces : count);
    anyUnbuffered_ = false;
    for (int i = 0; i < count_; ++i) {
        surfaces_[i] = surfaces[i];
        renderers_[i] = &surfaces[i]->renderer_;
        anyUnbuffered_ = anyUnbuffered_ || !surfaces[i]->buffered_;
    }
}

void SurfaceFan::ShowUnbuffered() {
    for (int i = 0; i < count_; ++i)
        surfaces_[i]->Drawn();
}

void SurfaceFan::LineTo(const Point3& p) {
    PixelPoint to[kMaxSurfaces];
    for (int i = 0; i < count_; ++i)
        to[i] = ProjectionPairs::ToPixel(renderers_[i]->view_, p);
    for (int i = 0; i < count_; ++i)
        renderers_[i]->LineToPixel(to[i]);
    if (anyUnbuffered_) ShowUnbuffered();
}

void SurfaceFan::LinesTo(const Point3* points, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
        PixelPoint to[kMaxSurfaces];
        for (int i = 0; i < count_; ++i)
            to[i] = ProjectionPairs::ToPixel(renderers_[i]->view_, points[k]);
        for (int i = 0; i < count_; ++i)
            renderers_[i]->LineToPixel(to[i]);
    }
    if (anyUnbuffered_) ShowUnbuffered();
}

bool SurfaceFan::BoxMayShow(const Point3& low, const Point3& high) const {
    for (int i = 0; i < count_; ++i) {
        if (renderers_[i]->BoxMayShow(low, high)) return true;
    }
    return false;
}

void SurfaceFan::LinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    for (int i = 0; i < count_; ++i)
        renderers_[i]->LinesFrom(from, points, count);
    if (anyUnbuffered_) ShowUnbuffered();
}

void SurfaceFan::Line(const Point3& a, const Point3& b) {
    for (int i = 0; i < count_; ++i)
        renderers_[i]->Line(a, b);
    if (anyUnbuffered_) ShowUnbuffered();
}

}  // namespace cuttrace
