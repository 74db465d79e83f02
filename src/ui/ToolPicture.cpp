#include "ui/ToolPicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cuttrace::ui {

namespace {

// The integer part of a picture size, kept between 1 and the largest side.
int Side(double v) {
    if (!(v >= 1.0)) return 1;
    if (v >= ToolPicture::kMaxSide) return ToolPicture::kMaxSide;
    return static_cast<int>(v);
}

}  // namespace

ToolPicture::ToolPicture(double radius) : picture_(1, 1), radius_(radius) {}

void ToolPicture::Build(const Point3& rotation, double scale) {
    const int side = Side(std::max(2.0 * radius_, kLength) * scale + 5.0);
    picture_ = Canvas3D(side, side);
    hotX_ = side / 2;
    hotY_ = 0;

    // The view's own transform: scale, then the three rotations.
    Projection3D view;
    view.SetScale(scale);
    view.SetRotation(rotation);
    uint32_t shade = kFirstShade;
    for (int i = 0; i < kLines; ++i) {
        const double angle = i * std::numbers::pi / 40.0;
        Point3 bottom{radius_ * std::cos(angle), radius_ * std::sin(angle), 0.0};
        Point3 top{bottom.x, bottom.y, kLength};
        view.ScaleAndRotate(bottom);
        view.ScaleAndRotate(top);
        const PixelPoint b{PixelFromDouble(std::floor(bottom.x)),
                           PixelFromDouble(std::floor(bottom.y))};
        const PixelPoint t{PixelFromDouble(std::floor(top.x)), PixelFromDouble(std::floor(top.y))};
        if (b == t) {  // seen along its axis
            DrawEndOn(scale);
            break;
        }
        shade += kShadeStep;
        picture_.SetPenColor(shade);
        picture_.MoveTo(PixelPoint{hotX_ + b.x, b.y});
        picture_.LineTo(PixelPoint{hotX_ + t.x, t.y});
    }
}

void ToolPicture::DrawEndOn(double scale) {
    constexpr double kLargestDisc = 1 << 29;
    const double diameter = 2.0 * radius_ * scale;
    const int side = Side(diameter + 2.0);
    picture_.Resize(side, side);
    hotX_ = side / 2;
    hotY_ = side / 2;
    const int d = diameter >= kLargestDisc ? static_cast<int>(kLargestDisc)
                                           : (diameter > 0.0 ? static_cast<int>(diameter) : 0);
    // The disc's box starts at (0, 0); a disc too large for the picture is centred on the
    // hot spot instead, so the picture shows its middle.
    const bool cut = !(diameter + 2.0 <= kMaxSide);
    const int corner = cut ? hotX_ - d / 2 : 0;
    picture_.SetPenColor(kDiscColor);
    picture_.SetBrushColor(kDiscColor);
    picture_.Ellipse(corner, corner, corner + d, corner + d);
}

void ToolPicture::Stamp(Canvas3D& canvas, PixelPoint p) const {
    canvas.DrawImage(PixelPoint{p.x - hotX_, p.y - hotY_}, picture_.Image());
}

}  // namespace cuttrace::ui
