// A small picture of the cutter, drawn as the view sees it, that a view stamps at the tool
// position while a motion is animated.
//
// The cutter is a cylinder of the cutter size setting's radius and 20 units long, standing
// on the tool position. Seen from the side it is drawn as 80 lines from its bottom circle to
// its top circle, shaded from dark to light, with the tip at the picture's top centre (the
// hot spot); seen along its axis it is a light grey disc with the hot spot at its centre.
// Rows grow with the turned model's y, so the picture is not flipped as the view flips y.
#pragma once

#include <QImage>

#include <cstdint>

#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Projection3D.h"

namespace cuttrace::ui {

class ToolPicture {
  public:
    static constexpr double kLength = 20.0;
    static constexpr int kLines = 80;
    static constexpr uint32_t kFirstShade = 0x0F0F0F;  // raised before each line
    static constexpr uint32_t kShadeStep = 0x020202;
    static constexpr uint32_t kDiscColor = 0xC0C0C0;
    // The picture never grows beyond this many pixels a side; at larger scales it shows the
    // part around the hot spot.
    static constexpr int kMaxSide = 1024;

    explicit ToolPicture(double radius);

    // Draws the picture for a view with this rotation (degrees) and scale.
    void Build(const Point3& rotation, double scale);
    // Draws the picture on the canvas with its hot spot at p.
    void Stamp(Canvas3D& canvas, PixelPoint p) const;

    const QImage& Picture() const { return picture_.Image(); }
    // The pixel of the picture that is placed on the tool position.
    PixelPoint HotSpot() const { return PixelPoint{hotX_, hotY_}; }

  private:
    void DrawEndOn(double scale);

    Canvas3D picture_;
    int hotX_ = 0;
    int hotY_ = 0;
    double radius_;
};

}  // namespace cuttrace::ui
