// Fitting a box of the model into a view, zooming about a pixel and panning: changes of a
// Projection3D that keep the scroll offset, worked out without Qt.
#pragma once

#include "core/Point3.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

// The part of each side of the view left free around a fitted box.
inline constexpr double kFitMargin = 0.05;

// The box's pixel bounds at the view's scale, rotation, origin and offset.
struct PixelBox {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};
PixelBox ProjectBox(const Projection3D& view, const Point3& min, const Point3& max);

// Scale and origin that show the box min..max whole in a width x height view, centred,
// with kFitMargin free on each side, in the view's rotation; the offset goes to 0. A box
// without width and height on the screen (a point, or a line seen end on) keeps the scale
// and is only centred. Returns false, changing nothing, for a box that is not finite or
// a view without size.
bool FitBox(Projection3D& view, const Point3& min, const Point3& max, int width, int height);

// Zooms by factor keeping the model point under pixel (x, y) where it is; the scale stays
// within the centre zooms' limits.
void ZoomAbout(Projection3D& view, double factor, int x, int y);

// Moves the drawing by (dx, dy) pixels.
void PanBy(Projection3D& view, int dx, int dy);

}  // namespace cuttrace
