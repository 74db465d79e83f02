// Pixel mapping of the 2D drawing surface, kept free of Qt so that it can be tested
// and reused without a widget.
//
// A world point (x, y) is first turned into display axes (u, v) by one of eight axis
// orientations, then scaled, the vertical axis flipped and translated:
//   screen: X = u * Scale * screenFactor + Origin.x + Offset.x, Y = -v * Scale * screenFactor + ...
//   page:   X = u * Scale * pageFactor + pageOrigin.x,      Y = -v * Scale * pageFactor + ...
// Sums are computed in floating point and truncated toward zero.
#pragma once

#include <cstdint>

#include "drawing/Geometry.h"

namespace cuttrace::map2d {

struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A pixel before it is brought into the painter's range; the clipping works on these so
// that far-away end points keep their direction.
using WidePixel = GridPoint;

// Pixels handed to the painter stay within +-kPixelLimit, so extreme zoom never wraps.
constexpr int kPixelLimit = 1 << 30;
// Pixels used for clipping stay within +-kWideLimit (the segment crossing is exact there).
constexpr std::int64_t kWideLimit = kGridLimit;

constexpr double kZoomMax = 10000.0;       // ZoomIn never goes above this scale
constexpr double kZoomMin = 0.0001;        // ZoomOut never goes below this scale
constexpr double kRectZoomMax = 100000.0;  // the rectangle zoom never goes above this scale
constexpr int kRectFactorMax = 10;         // the rectangle zoom enlarges at most this much

// Truncates toward zero and clamps; NaN becomes 0.
int ToPixel(double v);
std::int64_t ToWidePixel(double v);

// Where the world axes point on the screen: the first axis named runs right, the second up
// (or down, or left) as the name says.
enum class AxisOrientation {
    XRightYUp = 1,
    YRightXUp,
    XRightYDown,
    YRightXDown,
    XLeftYUp,
    YLeftXUp,
    XLeftYDown,
    YLeftXDown,
};

// World (x, y) to display axes (u, v), in place.
void ToDisplayAxes(AxisOrientation mode, double& x, double& y);
// Display axes (u, v) back to world (x, y).
void FromDisplayAxes(AxisOrientation mode, double u, double v, double& x, double& y);

struct View {
    double Scale = 1.0;         // pixels per world unit
    double screenFactor = 1.0;  // extra factor on the screen
    double pageFactor = 1.0;    // extra factor on the page
    AxisOrientation orientation = AxisOrientation::XRightYUp;
    Pixel Origin;      // pixel of the world origin before panning
    Pixel Offset;      // pan
    Pixel pageOrigin;  // page pixel of the world origin
    bool onPage = false;

    // The extra factor of the current target: pageFactor on the page, else screenFactor.
    double Factor() const { return onPage ? pageFactor : screenFactor; }
};

// Floating pixel position of display axes (u, v) under the current mapping.
void DisplayToPixel(const View& view, double u, double v, double& X, double& Y);
// World point to pixel under the current mapping (screen or page).
Pixel WorldToPixel(const View& view, double x, double y);
WidePixel WorldToWidePixel(const View& view, double x, double y);
// World point to pixel under the screen mapping, even while printing.
Pixel WorldToScreen(const View& view, double x, double y);
// The world point under a screen pixel (no truncation).
void PixelToWorld(const View& view, int X, int Y, double& x, double& y);

// Zoom about the pixel `centre` by view.Scale * factor (up) or / factor (down), keeping
// the world point under the centre in place; the scale is limited before the origin is
// recomputed, and the pan is reset.
void ZoomAboutCentre(View& view, Pixel centre, double factor, bool up);

// Rectangle zoom to the band start..end on a surface of width x height pixels. Returns
// false (and changes nothing) when the band has no width or no height.
bool RectangleZoom(View& view, Pixel start, Pixel end, int width, int height);

// Moves the clicked pixel to the centre of a width x height surface. Returns false (and
// changes nothing) when the click is on the origin pixel itself.
bool Recentre(View& view, Pixel click, int width, int height);

// Page pixel of the world origin when printing on an areaWidth x areaHeight page from a
// width x height surface: the page centre, or where the screen centre lands on the page.
Pixel PageOrigin(const View& view, bool pageCentre, int width, int height, int areaWidth,
                 int areaHeight);

// Clips the segment p-q to the window 0..areaWidth-2 by 0..areaHeight-2. Returns false
// when nothing of it is to be drawn; otherwise the end points to draw.
bool ClipSegment(WidePixel p, WidePixel q, int areaWidth, int areaHeight, Pixel& from, Pixel& to);

}  // namespace cuttrace::map2d
