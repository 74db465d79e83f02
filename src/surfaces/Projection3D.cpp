#include "surfaces/Projection3D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cuttrace {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

}  // namespace

Projection3D::Projection3D() {
    SetAfine(Point3{});
}

void Projection3D::SetAfine(const Point3& degrees) {
    afine_ = degrees;
    ++version_;
    const double a = degrees.x * kDegreesToRadians;
    const double b = degrees.y * kDegreesToRadians;
    const double c = degrees.z * kDegreesToRadians;
    sinA_ = std::sin(a);
    cosA_ = std::cos(a);
    sinB_ = std::sin(b);
    cosB_ = std::cos(b);
    sinC_ = std::sin(c);
    cosC_ = std::cos(c);
    turnX1_ = Pair{cosA_, sinA_};
    turnX2_ = Pair{-sinA_, cosA_};
    turnZ1_ = Pair{cosC_, -sinC_};
    turnZ2_ = Pair{-sinC_, -cosC_};
}

void Projection3D::Moved() {
    pixelX_.SetShift(static_cast<int64_t>(origin_.x) + offset_.x);
    pixelY_.SetShift(static_cast<int64_t>(origin_.y) + offset_.y);
    // The plain way also needs values that truncate to 32 bits.
    constexpr double kInt32 = 2147483647.0;
    pixelLow_ = Pair{std::max(pixelX_.low, -kInt32), std::max(pixelY_.low, -kInt32)};
    pixelHigh_ = Pair{std::min(pixelX_.high, kInt32), std::min(pixelY_.high, kInt32)};
    pixelShift_ =
        Pixels{static_cast<uint32_t>(pixelX_.shift), static_cast<uint32_t>(pixelY_.shift)};
    ++version_;
}

Point3 Projection3D::Gaxis(const Point3& p) const {
    Point3 q = p;
    afcal(q);
    const PixelPoint pixel = ToPixel(q);
    return Point3{static_cast<double>(pixel.x), static_cast<double>(pixel.y), q.z};
}

void Projection3D::Init(int width, int height) {
    scall_ = 1.0;
    origin_ = PixelPoint{width / 2, height / 2};
    offset_ = PixelPoint{};
    Moved();
}

void Projection3D::ZoomAboutCentre(int width, int height, bool in) {
    const int cx = width / 2;
    const int cy = height / 2;
    // The unscaled position under the centre, truncated to whole units.
    const double wx = std::trunc((static_cast<double>(cx) - origin_.x - offset_.x) / scall_);
    const double wy = std::trunc((static_cast<double>(cy) - origin_.y - offset_.y) / scall_);
    scall_ = in ? scall_ * scallLenge_ : scall_ / scallLenge_;
    offset_ = PixelPoint{};
    origin_ = PixelPoint{PixelFromDouble(cx - wx * scall_), PixelFromDouble(cy - wy * scall_)};
    // The limit applies after the origin has been placed with the unlimited scale.
    if (in && scall_ > kMaxZoomScall) scall_ = kMaxZoomScall;
    if (!in && !(scall_ >= kMinZoomScall)) scall_ = kMinZoomScall;
    Moved();
}

bool Projection3D::BandZoom(PixelPoint start, PixelPoint end, int width, int height) {
    const int64_t dx = static_cast<int64_t>(end.x) - start.x;
    const int64_t dy = static_cast<int64_t>(end.y) - start.y;
    if (dx == 0 || dy == 0) return false;
    // A whole factor: the band's width (or height, when it is not wider, compared signed)
    // goes into the surface's that many times. A band larger than the surface would give 0.
    int64_t factor = dx > dy ? std::llabs(width / dx) : std::llabs(height / dy);
    if (factor == 0) factor = 1;
    const int32_t left = start.x < end.x ? start.x : end.x;
    const int32_t top = start.y < end.y ? start.y : end.y;
    const double ux = (static_cast<double>(left) - origin_.x - offset_.x) / scall_;
    const double uy = (static_cast<double>(top) - origin_.y - offset_.y) / scall_;
    scall_ = static_cast<double>(factor) * scall_;
    if (scall_ > kMaxBandScall) scall_ = kMaxBandScall;
    origin_ = PixelPoint{-PixelFromDouble(ux * scall_), -PixelFromDouble(uy * scall_)};
    offset_ = PixelPoint{};
    Moved();
    return true;
}

}  // namespace cuttrace
