// The 3D surface's view transform: model points (AXIS) to pixels.
//
// A point is scaled by Scall (pixels per model unit), rotated about X, Y and Z by the
// Afine angles (degrees, one step after the other), its y flipped, and moved by Origin plus
// Offset. Pixel values truncate toward zero. The zooms keep the point under the centre (or the
// dragged band's corner) in place. No Qt here: the widget, the off-screen renderer and the
// tests share it.
#pragma once

#include <cstdint>

#include "core/Axis.h"

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

// trunc(v) + shift, limited to +-kPixelLimit; a NaN value counts as 0. The shift is a sum of
// two 32-bit pixel values.
inline constexpr double kPixelFar = 4.0e9;  // beyond any sum that could come back inside

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
    const AXIS& Afine() const { return afine_; }
    void SetAfine(const AXIS& degrees);
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
    void afcal(AXIS& p) const {
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
        p = AXIS{x, y, z};
    }
    // The pixel at which p is drawn.
    PixelPoint Gposi(const AXIS& p) const {
        AXIS q = p;
        afcal(q);
        return ToPixel(q);
    }
    // (pixel x, pixel y, rotated and scaled z).
    AXIS Gaxis(const AXIS& p) const;

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
            if (v >= low && v <= high) return static_cast<int32_t>(static_cast<int64_t>(v) + shift);
            return PixelFromShifted(v, shift);
        }
    };

    PixelPoint ToPixel(const AXIS& rotated) const {
        return PixelPoint{pixelX_.Pixel(rotated.x), pixelY_.Pixel(-rotated.y)};
    }
    // After a change of Origin or Offset.
    void Moved() {
        pixelX_.SetShift(static_cast<int64_t>(origin_.x) + offset_.x);
        pixelY_.SetShift(static_cast<int64_t>(origin_.y) + offset_.y);
        ++version_;
    }
    void ZoomAboutCentre(int width, int height, bool in);

    double scall_ = 1.0;
    double scallLenge_ = 1.5;
    AXIS afine_;
    PixelPoint origin_;
    PixelPoint offset_;
    PixelAxis pixelX_;  // shifted by Origin plus Offset
    PixelAxis pixelY_;
    // sin and cos of the three angles, kept with afine_.
    double sinA_ = 0.0, cosA_ = 1.0;
    double sinB_ = 0.0, cosB_ = 1.0;
    double sinC_ = 0.0, cosC_ = 1.0;
    uint64_t version_ = 0;
};

}  // namespace cuttrace
