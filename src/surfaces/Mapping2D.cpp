#include "surfaces/Mapping2D.h"

#include <cmath>
#include <cstdlib>

namespace cuttrace::map2d {

namespace {

__extension__ using Wide = __int128;

template <typename Int>
Int Clamped(double v, Int limit) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t > static_cast<double>(limit)) return limit;
    if (t < -static_cast<double>(limit)) return -limit;
    return static_cast<Int>(t);
}

// Truncates toward zero, but takes a value within rounding noise of a whole number as that
// number: a crossing that lies exactly on a pixel must not slip to the next one because the
// division left ...99999 behind.
std::int64_t TruncNearInteger(long double v) {
    constexpr long double kNoise = 1e-6L;
    const long double nearest = std::round(v);
    const long double kept = std::fabs(v - nearest) < kNoise ? nearest : std::trunc(v);
    return ToWidePixel(static_cast<double>(kept));
}

Pixel Narrow(WidePixel p) {
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

}  // namespace

int ToPixel(double v) {
    return Clamped<int>(v, kPixelLimit);
}

std::int64_t ToWidePixel(double v) {
    return Clamped<std::int64_t>(v, kWideLimit);
}

void AxisChange(int mode, double& x, double& y) {
    const double px = x;
    const double py = y;
    switch (mode) {
        case 2:
            x = py, y = px;
            break;
        case 3:
            x = px, y = -py;
            break;
        case 4:
            x = py, y = -px;
            break;
        case 5:
            x = -px, y = py;
            break;
        case 6:
            x = -py, y = px;
            break;
        case 7:
            x = -px, y = -py;
            break;
        case 8:
            x = -py, y = -px;
            break;
        default:
            break;
    }
}

void AxisRestore(int mode, double u, double v, double& x, double& y) {
    switch (mode) {
        case 2:
            x = v, y = u;
            break;
        case 3:
            x = u, y = -v;
            break;
        case 4:
            x = -v, y = u;
            break;
        case 5:
            x = -u, y = v;
            break;
        case 6:
            x = v, y = -u;
            break;
        case 7:
            x = -u, y = -v;
            break;
        case 8:
            x = -v, y = -u;
            break;
        default:
            x = u, y = v;
            break;
    }
}

void DisplayToPixel(const View& view, double u, double v, double& X, double& Y) {
    const double s = view.Scall * view.Factor();
    if (view.Printing) {
        X = u * s + view.PrintOrigin.x;
        Y = -v * s + view.PrintOrigin.y;
    } else {
        X = u * s + view.Origin.x + view.Offset.x;
        Y = -v * s + view.Origin.y + view.Offset.y;
    }
}

Pixel WorldToPixel(const View& view, double x, double y) {
    AxisChange(view.AxisMode, x, y);
    double X = 0.0;
    double Y = 0.0;
    DisplayToPixel(view, x, y, X, Y);
    return {ToPixel(X), ToPixel(Y)};
}

WidePixel WorldToWidePixel(const View& view, double x, double y) {
    AxisChange(view.AxisMode, x, y);
    double X = 0.0;
    double Y = 0.0;
    DisplayToPixel(view, x, y, X, Y);
    return {ToWidePixel(X), ToWidePixel(Y)};
}

Pixel WorldToScreen(const View& view, double x, double y) {
    View screen = view;
    screen.Printing = false;
    return WorldToPixel(screen, x, y);
}

void PixelToWorld(const View& view, int X, int Y, double& x, double& y) {
    const double u =
        (static_cast<double>(X) - view.Origin.x - view.Offset.x) / view.Scall / view.DispScall;
    const double v =
        -(static_cast<double>(Y) - view.Origin.y - view.Offset.y) / view.Scall / view.DispScall;
    AxisRestore(view.AxisMode, u, v, x, y);
}

void ZoomAboutCentre(View& view, Pixel centre, double factor, bool up) {
    const double before = view.Scall * view.DispScall;
    const double u = (static_cast<double>(centre.x) - view.Origin.x - view.Offset.x) / before;
    const double v = -(static_cast<double>(centre.y) - view.Origin.y - view.Offset.y) / before;
    if (up) {
        view.Scall *= factor;
        if (view.Scall > kZoomMax) view.Scall = kZoomMax;
    } else {
        view.Scall /= factor;
        if (view.Scall < kZoomMin) view.Scall = kZoomMin;
    }
    const double after = view.Scall * view.DispScall;
    view.Offset = {};
    view.Origin = {ToPixel(centre.x - u * after), ToPixel(centre.y + v * after)};
}

bool RectangleZoom(View& view, Pixel start, Pixel end, int width, int height) {
    const int dx = end.x - start.x;
    const int dy = end.y - start.y;
    if (dx == 0 || dy == 0) return false;
    int factor = dx > dy ? std::abs(width / dx) : std::abs(height / dy);
    if (factor > kRectFactorMax) factor = kRectFactorMax;
    // A band larger than the surface (the mouse was captured outside) only moves the view.
    if (factor == 0) factor = 1;
    const int left = start.x < end.x ? start.x : end.x;
    const int top = start.y < end.y ? start.y : end.y;
    const double u =
        (static_cast<double>(left) - view.Origin.x - view.Offset.x) / view.Scall / view.DispScall;
    const double v =
        (static_cast<double>(top) - view.Origin.y - view.Offset.y) / view.Scall / view.DispScall;
    view.Scall *= factor;
    if (view.Scall > kRectZoomMax) view.Scall = kRectZoomMax;
    const double after = view.Scall * view.DispScall;
    view.Offset = {};
    view.Origin = {-ToPixel(u * after), -ToPixel(v * after)};
    return true;
}

bool Recentre(View& view, Pixel click, int width, int height) {
    const int a = click.x - view.Origin.x - view.Offset.x;
    const int b = click.y - view.Origin.y - view.Offset.y;
    if (a == 0 && b == 0) return false;
    view.Offset = {};
    view.Origin = {width / 2 - a, height / 2 - b};
    return true;
}

Pixel PageOrigin(const View& view, bool pageCentre, int width, int height, int areaWidth,
                 int areaHeight) {
    if (pageCentre) return {areaWidth / 2, areaHeight / 2};
    const double x = view.PrintScall * (view.Origin.x + view.Offset.x - width / 2) + areaWidth / 2;
    const double y =
        view.PrintScall * (view.Origin.y + view.Offset.y - height / 2) + areaHeight / 2;
    return {ToPixel(x), ToPixel(y)};
}

bool Intersect(WidePixel& out, WidePixel a, WidePixel b, WidePixel c, WidePixel d) {
    const Wide abx = Wide{b.x} - a.x;
    const Wide aby = Wide{b.y} - a.y;
    const Wide cdx = Wide{d.x} - c.x;
    const Wide cdy = Wide{d.y} - c.y;
    const Wide acx = Wide{a.x} - c.x;
    const Wide acy = Wide{a.y} - c.y;
    const Wide det = abx * cdy - aby * cdx;
    if (det == 0) return false;
    const Wide t = acy * cdx - acx * cdy;
    const Wide u = acy * abx - acx * aby;
    const auto within = [det](Wide value) {
        return det > 0 ? (value >= 0 && value <= det) : (value <= 0 && value >= det);
    };
    if (!within(t) || !within(u)) return false;
    const long double r = static_cast<long double>(t) / static_cast<long double>(det);
    out.x = TruncNearInteger(static_cast<long double>(abx) * r + a.x);
    out.y = TruncNearInteger(static_cast<long double>(aby) * r + a.y);
    return true;
}

bool ClipSegment(WidePixel p, WidePixel q, int areaWidth, int areaHeight, Pixel& from, Pixel& to) {
    const std::int64_t right = areaWidth - 2;
    const std::int64_t bottom = areaHeight - 2;
    const auto inside = [&](WidePixel v) {
        return v.x >= 0 && v.x <= right && v.y >= 0 && v.y <= bottom;
    };
    // Edges in the order they are tried: left, top, bottom, right.
    const WidePixel edges[4][2] = {{{0, 0}, {0, bottom}},
                                   {{0, 0}, {right, 0}},
                                   {{0, bottom}, {right, bottom}},
                                   {{right, 0}, {right, bottom}}};
    constexpr int kRightEdge = 3;
    const bool pInside = inside(p);
    const bool qInside = inside(q);
    WidePixel cross;
    if (pInside && qInside) {
        from = Narrow(p);
        to = Narrow(q);
        return true;
    }
    if (pInside || qInside) {
        // The inside end stays; the other end moves to the first edge crossing that is not
        // the inside end itself (an inside end on an edge would otherwise clip to nothing).
        const WidePixel kept = pInside ? p : q;
        for (const auto& edge : edges) {
            if (!Intersect(cross, p, q, edge[0], edge[1]) || cross == kept) continue;
            from = Narrow(pInside ? p : cross);
            to = Narrow(pInside ? cross : q);
            return true;
        }
        return false;
    }
    // Both ends outside: the first crossing (never the right edge, which is last) starts
    // the visible piece, the next different crossing on a later edge ends it.
    for (int k = 0; k < kRightEdge; ++k) {
        if (!Intersect(cross, p, q, edges[k][0], edges[k][1])) continue;
        const WidePixel start = cross;
        for (int j = k + 1; j <= kRightEdge; ++j) {
            if (!Intersect(cross, start, q, edges[j][0], edges[j][1]) || cross == start) continue;
            from = Narrow(start);
            to = Narrow(cross);
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace cuttrace::map2d
