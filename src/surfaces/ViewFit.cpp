#include "surfaces/ViewFit.h"

#include <algorithm>
#include <cmath>

namespace cuttrace {

namespace {

// The rotated box at scale 1: its extent across the screen (x right, y up).
struct Rotated {
    double minX = INFINITY;
    double maxX = -INFINITY;
    double minY = INFINITY;
    double maxY = -INFINITY;
};

Rotated RotateBox(const Projection3D& view, const Point3& min, const Point3& max) {
    Projection3D unit = view;
    unit.SetScale(1.0);
    Rotated r;
    for (int corner = 0; corner < 8; ++corner) {
        Point3 p{corner & 1 ? max.x : min.x, corner & 2 ? max.y : min.y,
                 corner & 4 ? max.z : min.z};
        unit.ScaleAndRotate(p);
        r.minX = std::min(r.minX, p.x);
        r.maxX = std::max(r.maxX, p.x);
        r.minY = std::min(r.minY, p.y);
        r.maxY = std::max(r.maxY, p.y);
    }
    return r;
}

int32_t ClampPixel(double v) {
    return static_cast<int32_t>(std::clamp(std::round(v), -static_cast<double>(kPixelLimit),
                                           static_cast<double>(kPixelLimit)));
}

}  // namespace

PixelBox ProjectBox(const Projection3D& view, const Point3& min, const Point3& max) {
    const Rotated r = RotateBox(view, min, max);
    const double s = view.Scale();
    const double x0 = view.Origin().x + view.Offset().x;
    const double y0 = view.Origin().y + view.Offset().y;
    return {x0 + s * r.minX, y0 - s * r.maxY, x0 + s * r.maxX, y0 - s * r.minY};
}

bool FitBox(Projection3D& view, const Point3& min, const Point3& max, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    for (double v : {min.x, min.y, min.z, max.x, max.y, max.z})
        if (!std::isfinite(v)) return false;
    const Rotated r = RotateBox(view, min, max);
    const double spanX = r.maxX - r.minX;
    const double spanY = r.maxY - r.minY;
    const double room = 1.0 - 2.0 * kFitMargin;
    double scale = INFINITY;
    if (spanX > 0) scale = std::min(scale, width * room / spanX);
    if (spanY > 0) scale = std::min(scale, height * room / spanY);
    if (std::isfinite(scale))
        view.SetScale(std::clamp(scale, Projection3D::kMinZoomScale, Projection3D::kMaxBandScale));
    const double s = view.Scale();
    const double centreX = (r.minX + r.maxX) / 2 * s;
    const double centreY = (r.minY + r.maxY) / 2 * s;
    view.SetOffset({});
    view.SetOrigin({ClampPixel(width / 2.0 - centreX), ClampPixel(height / 2.0 + centreY)});
    return true;
}

void ZoomAbout(Projection3D& view, double factor, int x, int y) {
    const double old = view.Scale();
    const double scale =
        std::clamp(old * factor, Projection3D::kMinZoomScale, Projection3D::kMaxZoomScale);
    if (!(old > 0) || scale == old) return;
    const double k = scale / old;
    // The pixel (x, y) shows the same model point before and after: origin' = p - k (p - origin).
    const PixelPoint offset = view.Offset();
    const double ox = view.Origin().x + offset.x;
    const double oy = view.Origin().y + offset.y;
    view.SetScale(scale);
    view.SetOrigin(
        {ClampPixel(x - k * (x - ox) - offset.x), ClampPixel(y - k * (y - oy) - offset.y)});
}

void PanBy(Projection3D& view, int dx, int dy) {
    const PixelPoint origin = view.Origin();
    view.SetOrigin({ClampPixel(static_cast<double>(origin.x) + dx),
                    ClampPixel(static_cast<double>(origin.y) + dy)});
}

}  // namespace cuttrace
