// The 3D surface's view transform: model points (Point3) to pixels.
//
// A point is scaled by Scale (pixels per model unit), rotated about X, Y and Z by the
// Rotation angles (degrees, one step after the other), its y flipped, and moved by Origin plus
// Offset. Pixel values truncate toward zero. The zooms keep the point under the centre (or the
// dragged band's corner) in place. No Qt here: the widget, the off-screen renderer and the
// tests share it.
#pragma once

#include <cstdint>

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
    // Zoom limits: the centre zooms stop at kMaxZoomScale and kMinZoomScale, the band
    // zoom at kMaxBandScale; SetScale stores any value.
    static constexpr double kMaxZoomScale = 3000.0;
    static constexpr double kMinZoomScale = 0.0001;
    static constexpr double kMaxBandScale = 100000.0;

    Projection3D();

    double Scale() const { return scale_; }
    void SetScale(double s) {
        scale_ = s;
        ++version_;
    }
    double ZoomFactor() const { return zoomFactor_; }
    void SetZoomFactor(double f) { zoomFactor_ = f; }
    const Point3& Rotation() const { return rotation_; }
    void SetRotation(const Point3& degrees);
    PixelPoint Origin() const { return origin_; }
    void SetOrigin(PixelPoint p) {
        origin_ = p;
        UpdatePixelShift();
    }
    PixelPoint Offset() const { return offset_; }
    void SetOffset(PixelPoint p) {
        offset_ = p;
        UpdatePixelShift();
    }
    // Changes with every change of the transform, so projected points can be kept.
    uint64_t Version() const { return version_; }

    // Scales and rotates p in place (everything but the pixel step). Each rotation uses the
    // values of the step before it.
    void ScaleAndRotate(Point3& p) const {
        double x = scale_ * p.x, y = scale_ * p.y, z = scale_ * p.z;
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
    // The pixel at which p is drawn: ScaleAndRotate, then the pixel step. The line drawing
    // of Renderer3D projects through a faster form of the same steps that gives the same
    // pixels to the last bit (ProjectedLines.cpp).
    PixelPoint ToPixel(const Point3& p) const {
        Point3 q = p;
        ScaleAndRotate(q);
        return PixelOfRotated(q);
    }
    // (pixel x, pixel y, rotated and scaled z).
    Point3 ToPixelAndDepth(const Point3& p) const;

    // Scale 1, model origin at the centre of a width x height surface, no pan. The rotation
    // and the zoom step stay.
    void ResetView(int width, int height);
    // Zoom in or out by ZoomFactor about the centre of a width x height surface.
    void ZoomIn(int width, int height) { ZoomAboutCentre(width, height, true); }
    void ZoomOut(int width, int height) { ZoomAboutCentre(width, height, false); }
    // Zoom so that the band start..end fills the surface as far as a whole factor allows,
    // with the band's top-left corner at pixel (0, 0). Returns false (and changes nothing)
    // for a band without width or height.
    bool BandZoom(PixelPoint start, PixelPoint end, int width, int height);

  private:
    friend class ProjectionPairs;  // the faster form of ToPixel

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

    PixelPoint PixelOfRotated(const Point3& rotated) const {
        return PixelPoint{pixelX_.Pixel(rotated.x), pixelY_.Pixel(-rotated.y)};
    }
    // After a change of Origin or Offset.
    void UpdatePixelShift();
    void ZoomAboutCentre(int width, int height, bool in);

    double scale_ = 1.0;
    double zoomFactor_ = 1.5;
    Point3 rotation_;
    PixelPoint origin_;
    PixelPoint offset_;
    PixelAxis pixelX_;  // shifted by Origin plus Offset
    PixelAxis pixelY_;
    // sin and cos of the three angles, kept with rotation_.
    double sinA_ = 0.0, cosA_ = 1.0;
    double sinB_ = 0.0, cosB_ = 1.0;
    double sinC_ = 0.0, cosC_ = 1.0;
    // The same as pairs for the faster ToPixel: (cos, sin) and (-sin, cos) about X; (cos, -sin)
    // and (-sin, -cos) about Z, which also flip y.
    alignas(16) double turnX1_[2] = {1.0, 0.0};
    alignas(16) double turnX2_[2] = {-0.0, 1.0};
    alignas(16) double turnZ1_[2] = {1.0, -0.0};
    alignas(16) double turnZ2_[2] = {-0.0, -1.0};
    // The rotation's factors of a model point's x, y and z in the rotated (x, y), before the
    // flip, and their magnitudes: how far a box's half extents reach from its centre.
    alignas(16) double turn_[3][2] = {{1.0, 0.0}, {0.0, 1.0}, {0.0, 0.0}};
    alignas(16) double reach_[3][2] = {{1.0, 0.0}, {0.0, 1.0}, {0.0, 0.0}};
    // No turn at all (every sine 0 and cosine 1): the faster ToPixel then takes x and -y
    // scaled, which is what the turns give while the values are finite.
    bool unturned_ = true;
    // Its pixel step: the values that take the plain way, and the shifts' low 32 bits.
    alignas(16) double pixelLow_[2] = {-kPixelLimit, -kPixelLimit};
    alignas(16) double pixelHigh_[2] = {kPixelLimit, kPixelLimit};
    alignas(8) uint32_t pixelShift_[2] = {0, 0};
    uint64_t version_ = 0;
};

}  // namespace cuttrace
