// A tool path kept as vector lines, for SVG, PDF and printed pictures: the drawer draws into
// it as into a view, and every line is projected as that view projects it (the same scale,
// rotation, origin and pan) but without rounding to whole pixels, then clipped to the
// picture. Each run of one colour is one painter path.
#pragma once

#include <QPainterPath>
#include <cstdint>
#include <vector>

#include "drawing/PathViews.h"
#include "surfaces/Projection3D.h"

class QPainter;

namespace cuttrace {

class VectorPicture : public PathViews {
  public:
    // Lines projected by view onto a width x height picture.
    VectorPicture(const Projection3D& view, int width, int height);

    // The projection from now on (a picture fitted to its path after it was set up).
    void SetView(const Projection3D& view) { view_ = view; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    struct Run {
        uint32_t color = 0;  // 0x00BBGGRR
        QPainterPath path;
    };
    const std::vector<Run>& Runs() const { return runs_; }
    // The picture's point of a model point (pixel units, y downwards).
    QPointF Project(const Point3& p) const;
    // Draws the runs with pens one picture unit wide, the picture's top left at the
    // painter's origin.
    void Paint(QPainter& painter) const;

    void SetColor(uint32_t color) override { color_ = color; }
    void DrawMoveTo(const Point3& p) override;
    void DrawLineTo(const Point3& p) override;
    void LineToShowingTool(const Point3& p) override { DrawLineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override;
    void Present() override {}

  private:
    // The segment a-b, clipped to the picture; the pen ends at b.
    void Segment(QPointF a, QPointF b);

    Projection3D view_;
    int width_;
    int height_;
    std::vector<Run> runs_;
    uint32_t color_ = 0;
    QPointF pen_;
    bool penValid_ = false;
    // The last run's path ends at the pen in the pen's colour: a line from the pen goes on
    // from there instead of starting a new subpath.
    bool pathAtPen_ = false;
};

}  // namespace cuttrace
