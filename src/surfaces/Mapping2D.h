// Pixel mapping of the 2D drawing surface, kept free of Qt so that it can be tested
// and reused without a widget.
//
// A world point (x, y) is first turned into display axes (u, v) by one of eight axis
// orientations, then scaled, the vertical axis flipped and translated:
//   screen: X = u * Scall * DispScall + Origin.x + Offset.x, Y = -v * Scall * DispScall + ...
//   page:   X = u * Scall * PrintScall + PrintOrigin.x,      Y = -v * Scall * PrintScall + ...
// Sums are computed in floating point and truncated toward zero.
#pragma once

#include <cstdint>

namespace cuttrace::map2d {

struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A pixel before it is brought into the painter's range; the clipping works on these so
// that far-away end points keep their direction.
struct WidePixel {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const WidePixel&, const WidePixel&) = default;
};

// Pixels handed to the painter stay within +-kPixelLimit, so extreme zoom never wraps.
constexpr int kPixelLimit = 1 << 30;
// Pixels used for clipping stay within +-kWideLimit (doubles are exact up to there).
constexpr std::int64_t kWideLimit = std::int64_t{1} << 52;

constexpr double kZoomMax = 10000.0;       // Zoomup never goes above this scale
constexpr double kZoomMin = 0.0001;        // Zoomdown never goes below this scale
constexpr double kRectZoomMax = 100000.0;  // the rectangle zoom never goes above this scale
constexpr int kRectFactorMax = 10;         // the rectangle zoom enlarges at most this much

// Truncates toward zero and clamps; NaN becomes 0.
int ToPixel(double v);
std::int64_t ToWidePixel(double v);

// World (x, y) to display axes (u, v), in place. Modes outside 1..8 behave as mode 1.
void AxisChange(int mode, double& x, double& y);
// Display axes (u, v) back to world (x, y).
void AxisRestore(int mode, double u, double v, double& x, double& y);

struct View {
    double Scall = 1.0;       // pixels per world unit
    double DispScall = 1.0;   // extra factor on the screen
    double PrintScall = 1.0;  // extra factor on the page
    int AxisMode = 1;
    Pixel Origin;       // pixel of the world origin before panning
    Pixel Offset;       // pan
    Pixel PrintOrigin;  // page pixel of the world origin
    bool Printing = false;

    // The extra factor of the current target: PrintScall on the page, else DispScall.
    double Factor() const { return Printing ? PrintScall : DispScall; }
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

// Zoom about the pixel `centre` by view.Scall * factor (up) or / factor (down), keeping
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

// Intersection of the segments ab and cd; the result lies on ab. Parallel segments
// (including collinear ones) do not intersect. Exact for every 64-bit input.
bool Intersect(WidePixel& out, WidePixel a, WidePixel b, WidePixel c, WidePixel d);

// Clips the segment p-q to the window 0..areaWidth-2 by 0..areaHeight-2. Returns false
// when nothing of it is to be drawn; otherwise the end points to draw.
bool ClipSegment(WidePixel p, WidePixel q, int areaWidth, int areaHeight, Pixel& from, Pixel& to);

}  // namespace cuttrace::map2d
