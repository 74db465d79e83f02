#include "surfaces/Projection3D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing/Geometry.h"

namespace cuttrace {

Projection3D::Projection3D() {
    SetRotation(Point3{});
}

void Projection3D::SetRotation(const Point3& degrees) {
    rotation_ = degrees;
    ++version_;
    const double a = degrees.x * kRadiansPerDegree;
    const double b = degrees.y * kRadiansPerDegree;
    const double c = degrees.z * kRadiansPerDegree;
    sinA_ = std::sin(a);
    cosA_ = std::cos(a);
    sinB_ = std::sin(b);
    cosB_ = std::cos(b);
    sinC_ = std::sin(c);
    cosC_ = std::cos(c);
    turnX1_[0] = cosA_, turnX1_[1] = sinA_;
    turnX2_[0] = -sinA_, turnX2_[1] = cosA_;
    turnZ1_[0] = cosC_, turnZ1_[1] = -sinC_;
    turnZ2_[0] = -sinC_, turnZ2_[1] = -cosC_;
    // x = x cB cC + y (sA sB cC - cA sC) + z (cA sB cC + sA sC), and y likewise.
    turn_[0][0] = cosB_ * cosC_;
    turn_[1][0] = sinA_ * sinB_ * cosC_ - cosA_ * sinC_;
    turn_[2][0] = cosA_ * sinB_ * cosC_ + sinA_ * sinC_;
    turn_[0][1] = cosB_ * sinC_;
    turn_[1][1] = sinA_ * sinB_ * sinC_ + cosA_ * cosC_;
    turn_[2][1] = cosA_ * sinB_ * sinC_ - sinA_ * cosC_;
    for (int axis = 0; axis < 3; ++axis) {
        reach_[axis][0] = std::fabs(turn_[axis][0]);
        reach_[axis][1] = std::fabs(turn_[axis][1]);
    }
    unturned_ = sinA_ == 0.0 && sinB_ == 0.0 && sinC_ == 0.0 && cosA_ == 1.0 && cosB_ == 1.0 &&
                cosC_ == 1.0;
}

void Projection3D::UpdatePixelShift() {
    pixelX_.SetShift(static_cast<int64_t>(origin_.x) + offset_.x);
    pixelY_.SetShift(static_cast<int64_t>(origin_.y) + offset_.y);
    // The plain way also needs values that truncate to 32 bits.
    constexpr double kInt32 = 2147483647.0;
    pixelLow_[0] = std::max(pixelX_.low, -kInt32);
    pixelLow_[1] = std::max(pixelY_.low, -kInt32);
    pixelHigh_[0] = std::min(pixelX_.high, kInt32);
    pixelHigh_[1] = std::min(pixelY_.high, kInt32);
    pixelShift_[0] = static_cast<uint32_t>(pixelX_.shift);
    pixelShift_[1] = static_cast<uint32_t>(pixelY_.shift);
    ++version_;
}

Point3 Projection3D::ToPixelAndDepth(const Point3& p) const {
    Point3 q = p;
    ScaleAndRotate(q);
    const PixelPoint pixel = PixelOfRotated(q);
    return Point3{static_cast<double>(pixel.x), static_cast<double>(pixel.y), q.z};
}

void Projection3D::ResetView(int width, int height) {
    scale_ = 1.0;
    origin_ = PixelPoint{width / 2, height / 2};
    offset_ = PixelPoint{};
    UpdatePixelShift();
}

void Projection3D::ZoomAboutCentre(int width, int height, bool in) {
    const int cx = width / 2;
    const int cy = height / 2;
    // The unscaled position under the centre, truncated to whole units.
    const double wx = std::trunc((static_cast<double>(cx) - origin_.x - offset_.x) / scale_);
    const double wy = std::trunc((static_cast<double>(cy) - origin_.y - offset_.y) / scale_);
    scale_ = in ? scale_ * zoomFactor_ : scale_ / zoomFactor_;
    offset_ = PixelPoint{};
    origin_ = PixelPoint{PixelFromDouble(cx - wx * scale_), PixelFromDouble(cy - wy * scale_)};
    // The limit applies after the origin has been placed with the unlimited scale.
    if (in && scale_ > kMaxZoomScale) scale_ = kMaxZoomScale;
    if (!in && !(scale_ >= kMinZoomScale)) scale_ = kMinZoomScale;
    UpdatePixelShift();
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
    const double ux = (static_cast<double>(left) - origin_.x - offset_.x) / scale_;
    const double uy = (static_cast<double>(top) - origin_.y - offset_.y) / scale_;
    scale_ = static_cast<double>(factor) * scale_;
    if (scale_ > kMaxBandScale) scale_ = kMaxBandScale;
    origin_ = PixelPoint{-PixelFromDouble(ux * scale_), -PixelFromDouble(uy * scale_)};
    offset_ = PixelPoint{};
    UpdatePixelShift();
    return true;
}

}  // namespace cuttrace
