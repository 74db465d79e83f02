// The 3D surface's view transform: model points (Point3) to pixels.
//
// A point is scaled by Scall (pixels per model unit), rotated about X, Y and Z by the
// Afine angles (degrees, one step after the other), its y flipped, and moved by Origin plus
// Offset. Pixel values truncate toward zero. The zooms keep the point under the centre (or the
// dragged band's corner) in place. No Qt here: the widget, the off-screen renderer and the
// tests share it.
#pragma once

#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/Point3.h"

namespace cuttrace {

// A pixel of a drawing surface: origin top left, y growing downwards.
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Projected pixel coordinates never leave +-kPixelLimit, so the clipping products fit in
// 64 bits and a far-away point cannot wrap around onto the screen.
inline constexpr int32_t kPixelLimit = 1 << 30;

// Rotated values are held to +-kPixelFar before the pixel step: beyond any sum that could
// come back inside the limit.
inline constexpr double kPixelFar = 4.0e9;

// trunc(v) + shift, limited to +-kPixelLimit; a NaN value counts as 0. The shift is a sum of
// two 32-bit pixel values.
inline int32_t PixelFromShifted(double v, int64_t shift) {
    constexpr double kFar = kPixelFar;
    double t = v == v ? v : 0.0;
    t = t > kFar ? kFar : (t < -kFar ? -kFar : t);
    int64_t sum = static_cast<int64_t>(t) + shift;
    sum = sum > kPixelLimit ? kPixelLimit : (sum < -kPixelLimit ? -kPixelLimit : sum);
    return static_cast<int32_t>(sum);
}

// trunc(v) + origin + offset, limited to +-kPixelLimit; a NaN value counts as 0.
inline int32_t PixelFromDouble(double v, int32_t origin = 0, int32_t offset = 0) {
    return PixelFromShifted(v, static_cast<int64_t>(origin) + offset);
}

class Projection3D {
  public:
    // Zoom limits: the centre zooms stop at kMaxZoomScall and kMinZoomScall, the band
    // zoom at kMaxBandScall; SetScall stores any value.
    static constexpr double kMaxZoomScall = 3000.0;
    static constexpr double kMinZoomScall = 0.0001;
    static constexpr double kMaxBandScall = 100000.0;

    Projection3D();

    double Scall() const { return scall_; }
    void SetScall(double s) {
        scall_ = s;
        ++version_;
    }
    double ScallLenge() const { return scallLenge_; }
    void SetScallLenge(double f) { scallLenge_ = f; }
    const Point3& Afine() const { return afine_; }
    void SetAfine(const Point3& degrees);
    PixelPoint Origin() const { return origin_; }
    void SetOrigin(PixelPoint p) {
        origin_ = p;
        Moved();
    }
    PixelPoint Offset() const { return offset_; }
    void SetOffset(PixelPoint p) {
        offset_ = p;
        Moved();
    }
    // Changes with every change of the transform, so projected points can be kept.
    uint64_t Version() const { return version_; }

    // Scales and rotates p in place (everything but the pixel step). Each rotation uses the
    // values of the step before it.
    void afcal(Point3& p) const {
        double x = scall_ * p.x, y = scall_ * p.y, z = scall_ * p.z;
        double t = y * cosA_ - z * sinA_;  // about X
        z = y * sinA_ + z * cosA_;
        y = t;
        t = x * cosB_ + z * sinB_;  // about Y
        z = -x * sinB_ + z * cosB_;
        x = t;
        t = x * cosC_ - y * sinC_;  // about Z
        y = x * sinC_ + y * cosC_;
        x = t;
        p = Point3{x, y, z};
    }
    // The pixel at which p is drawn: afcal, then the pixel step. The steps run on pairs of
    // values at once, each value going through the very operations afcal gives it (a - b
    // as a + (-b), the flip of y folded into the last rotation's factors), so the pixels
    // are the same to the last bit.
    PixelPoint Gposi(const Point3& p) const {
        const double x = scall_ * p.x;
        const Pair yz = Pair{p.y, p.z} * scall_;
        const Pair yzX = yz[0] * turnX1_ + yz[1] * turnX2_;  // about X: y, z
        const double xY = x * cosB_ + yzX[1] * sinB_;        // about Y: x
        const Pair xy = xY * turnZ1_ + yzX[0] * turnZ2_;     // about Z: x, -y
        if (PlainPixels(xy)) [[likely]] {
            // Whole numbers in the 32-bit range, whose sums with the shifts stay within the
            // pixel limit: the 32-bit sums are exact.
            const Pixels sum =
                std::bit_cast<Pixels>(__builtin_convertvector(xy, Truncated)) + pixelShift_;
            return std::bit_cast<PixelPoint>(sum);
        }
        return PixelPoint{pixelX_.Pixel(xy[0]), pixelY_.Pixel(xy[1])};
    }
    // (pixel x, pixel y, rotated and scaled z).
    Point3 Gaxis(const Point3& p) const;

    // Scall 1, model origin at the centre of a width x height surface, no pan. The rotation
    // and the zoom step stay.
    void Init(int width, int height);
    // Zoom in or out by ScallLenge about the centre of a width x height surface.
    void Zoomup(int width, int height) { ZoomAboutCentre(width, height, true); }
    void Zoomdown(int width, int height) { ZoomAboutCentre(width, height, false); }
    // Zoom so that the band start..end fills the surface as far as a whole factor allows,
    // with the band's top-left corner at pixel (0, 0). Returns false (and changes nothing)
    // for a band without width or height.
    bool BandZoom(PixelPoint start, PixelPoint end, int width, int height);

  private:
    // Two doubles, and two 32-bit integers, handled at once.
    typedef double Pair __attribute__((vector_size(16)));
    typedef int32_t Truncated __attribute__((vector_size(8)));
    typedef uint32_t Pixels __attribute__((vector_size(8)));

    // Both values take the plain way of the pixel step (NaN does not).
    bool PlainPixels(Pair xy) const {
#if defined(__SSE2__)
        return _mm_movemask_pd(
                   _mm_and_pd(_mm_cmpge_pd(xy, pixelLow_), _mm_cmple_pd(xy, pixelHigh_))) == 3;
#else
        const auto plain = (xy >= pixelLow_) & (xy <= pixelHigh_);
        return plain[0] != 0 && plain[1] != 0;
#endif
    }

    // One pixel coordinate: PixelFromShifted with a shift kept, and the values for which it
    // needs no limiting (NaN is not among them), so that those take the short way.
    struct PixelAxis {
        int64_t shift = 0;
        double low = -kPixelLimit;
        double high = kPixelLimit;

        void SetShift(int64_t s) {
            shift = s;
            const double l = static_cast<double>(-kPixelLimit - s);
            const double h = static_cast<double>(kPixelLimit - s);
            low = l > -kPixelFar ? l : -kPixelFar;
            high = h < kPixelFar ? h : kPixelFar;
        }
        int32_t Pixel(double v) const {
            // low and high are whole numbers, so trunc(v) + shift stays within the limit.
            if (v >= low && v <= high) [[likely]] {
                return static_cast<int32_t>(static_cast<int64_t>(v) + shift);
            }
            return PixelFromShifted(v, shift);
        }
    };

    PixelPoint ToPixel(const Point3& rotated) const {
        return PixelPoint{pixelX_.Pixel(rotated.x), pixelY_.Pixel(-rotated.y)};
    }
    // After a change of Origin or Offset.
    void Moved();
    void ZoomAboutCentre(int width, int height, bool in);

    double scall_ = 1.0;
    double scallLenge_ = 1.5;
    Point3 afine_;
    PixelPoint origin_;
    PixelPoint offset_;
    PixelAxis pixelX_;  // shifted by Origin plus Offset
    PixelAxis pixelY_;
    // sin and cos of the three angles, kept with afine_.
    double sinA_ = 0.0, cosA_ = 1.0;
    double sinB_ = 0.0, cosB_ = 1.0;
    double sinC_ = 0.0, cosC_ = 1.0;
    // The same as pairs for Gposi: (cos, sin) and (-sin, cos) about X; (cos, -sin) and
    // (-sin, -cos) about Z, which also flip y.
    Pair turnX1_ = {1.0, 0.0}, turnX2_ = {-0.0, 1.0};
    Pair turnZ1_ = {1.0, -0.0}, turnZ2_ = {-0.0, -1.0};
    // Gposi's pixel step: the values that take the plain way, and the shifts' low 32 bits.
    Pair pixelLow_ = {-kPixelLimit, -kPixelLimit};
    Pair pixelHigh_ = {kPixelLimit, kPixelLimit};
    Pixels pixelShift_ = {0, 0};
    uint64_t version_ = 0;
};

}  // namespace cuttrace
