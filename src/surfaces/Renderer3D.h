// The drawing operations of the 3D surface on model points: each projects through its view
// transform and draws on the current target canvas.
//
// The on-screen surface (Surface3D) and the off-screen path renderer both draw through one
// of these, so a picture saved from the command line is made by the same code as the view.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

class Renderer3D {
    friend class SurfaceFan;

  public:
    Projection3D& View() { return view_; }
    const Projection3D& View() const { return view_; }

    // The canvas that every operation draws on (may be null: then nothing is drawn).
    Canvas3D* Target() const { return target_; }
    void SetTarget(Canvas3D* canvas) { target_ = canvas; }
    // The surface's size: Line clips to it, ResetView and the zooms centre on it.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
        windowX_ = width > 1 ? static_cast<uint32_t>(width - 1) : 0u;
        windowY_ = height > 1 ? static_cast<uint32_t>(height - 1) : 0u;
    }

    // Pen move and line to p's pixel, not clipped.
    void MoveTo(const Point3& p);
    void LineTo(const Point3& p);
    // LineTo for a point already projected (ToPixel).
    void LineToPixel(PixelPoint q) {
        if (target_ != nullptr) target_->LineTo(q);
    }
    // The segment a-b clipped to the visible window; the pen ends at the drawn end.
    void Line(const Point3& a, const Point3& b);
    // LineTo through each of the points in turn.
    void LinesTo(const Point3* points, std::size_t count);
    // Line from `from` to the first point, then from each point to the next.
    void LinesFrom(const Point3& from, const Point3* points, std::size_t count);

    // Whether anything inside the box low..high could reach a pixel of the surface (with a
    // margin of two pixels); a box with a value that is not finite always could.
    bool BoxMayShow(const Point3& low, const Point3& high) const;
    // BoxMayShow, and while the target draws backwards, not every pixel the box could reach
    // (with a margin of one pixel) has been reached yet.
    bool BoxNeedsDrawing(const Point3& low, const Point3& high) const;
    // A filled circle of r pixels about p's pixel.
    void DrawDot(const Point3& p, int r);
    // Points 0..last projected, as a filled polygon or an open polyline; not clipped.
    void Polygon(const Point3* points, int last);
    void Polyline(const Point3* points, int last);
    // The whole target in one color (0x00BBGGRR); pen and brush colors stay.
    void Clear(uint32_t color) {
        if (target_ != nullptr) target_->Fill(color);
    }
    void SetPenColor(uint32_t color) {
        if (target_ != nullptr) target_->SetPenColor(color);
    }
    void SetBrushColor(uint32_t color) {
        if (target_ != nullptr) target_->SetBrushColor(color);
    }
    // How many of the window's pixels the rectangle around the box's projection covers: 0
    // for a box with a value that is not finite.
    double CoveredPixels(const Point3& low, const Point3& high) const;

  private:
    struct PixelBox {
        int64_t left, top, right, bottom;
    };
    // Pixels that hold the pixel of every point inside the box: those of its corners (the
    // projection is affine and its truncation keeps the order), found from its centre and
    // half extents, so at times a pixel wider. False for a box with a value that is not
    // finite.
    bool BoxPixels(const Point3& low, const Point3& high, PixelBox& box) const;
    bool PixelBoxMayShow(const PixelBox& box) const;
    // 0 <= x <= width - 2 and 0 <= y <= height - 2 (negative values wrap to large ones).
    bool InWindow(PixelPoint p) const {
        return static_cast<uint32_t>(p.x) < windowX_ && static_cast<uint32_t>(p.y) < windowY_;
    }
    // Both points lie beyond the same edge of the window (so no segment between them shows).
    bool BeyondOneEdge(PixelPoint p, PixelPoint q) const {
        const int64_t right = static_cast<int64_t>(width_) - 2;
        const int64_t bottom = static_cast<int64_t>(height_) - 2;
        return (p.x < 0 && q.x < 0) || (p.y < 0 && q.y < 0) || (p.x > right && q.x > right) ||
               (p.y > bottom && q.y > bottom);
    }
    // Line for ends of which at least one lies outside the window.
    void LineClipped(PixelPoint p, PixelPoint q);
    // The pixel of a model point, reusing the last end projected by Line when the point and
    // the transform are the same (a path's segments share their ends).
    PixelPoint Project(const Point3& p) const;
    // The same point bit for bit (and so the same pixel, whatever the values).
    static bool SameBits(const Point3& a, const Point3& b) {
        return ((std::bit_cast<uint64_t>(a.x) ^ std::bit_cast<uint64_t>(b.x)) |
                (std::bit_cast<uint64_t>(a.y) ^ std::bit_cast<uint64_t>(b.y)) |
                (std::bit_cast<uint64_t>(a.z) ^ std::bit_cast<uint64_t>(b.z))) == 0;
    }

    Projection3D view_;
    Point3 lastPoint_{std::nan(""), 0.0, 0.0};  // never equal to any point
    PixelPoint lastPixel_;
    uint64_t lastVersion_ = 0;
    Canvas3D* target_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    uint32_t windowX_ = 0;  // width - 1 and height - 1, at least 0
    uint32_t windowY_ = 0;
};

}  // namespace cuttrace
