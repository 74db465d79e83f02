#include "surfaces/Mapping2D.h"

#include <cmath>
#include <cstdlib>

namespace cuttrace::map2d {

namespace {

template <typename Int>
Int Clamped(double v, Int limit) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t > static_cast<double>(limit)) return limit;
    if (t < -static_cast<double>(limit)) return -limit;
    return static_cast<Int>(t);
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

void ToDisplayAxes(AxisOrientation mode, double& x, double& y) {
    const double px = x;
    const double py = y;
    switch (static_cast<int>(mode)) {
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

void FromDisplayAxes(AxisOrientation mode, double u, double v, double& x, double& y) {
    switch (static_cast<int>(mode)) {
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
    const double s = view.Scale * view.Factor();
    if (view.onPage) {
        X = u * s + view.pageOrigin.x;
        Y = -v * s + view.pageOrigin.y;
    } else {
        X = u * s + view.Origin.x + view.Offset.x;
        Y = -v * s + view.Origin.y + view.Offset.y;
    }
}

Pixel WorldToPixel(const View& view, double x, double y) {
    ToDisplayAxes(view.orientation, x, y);
    double X = 0.0;
    double Y = 0.0;
    DisplayToPixel(view, x, y, X, Y);
    return {ToPixel(X), ToPixel(Y)};
}

WidePixel WorldToWidePixel(const View& view, double x, double y) {
    ToDisplayAxes(view.orientation, x, y);
    double X = 0.0;
    double Y = 0.0;
    DisplayToPixel(view, x, y, X, Y);
    return {ToWidePixel(X), ToWidePixel(Y)};
}

Pixel WorldToScreen(const View& view, double x, double y) {
    View screen = view;
    screen.onPage = false;
    return WorldToPixel(screen, x, y);
}

void PixelToWorld(const View& view, int X, int Y, double& x, double& y) {
    const double u =
        (static_cast<double>(X) - view.Origin.x - view.Offset.x) / view.Scale / view.screenFactor;
    const double v =
        -(static_cast<double>(Y) - view.Origin.y - view.Offset.y) / view.Scale / view.screenFactor;
    FromDisplayAxes(view.orientation, u, v, x, y);
}

void ZoomAboutCentre(View& view, Pixel centre, double factor, bool up) {
    const double before = view.Scale * view.screenFactor;
    const double u = (static_cast<double>(centre.x) - view.Origin.x - view.Offset.x) / before;
    const double v = -(static_cast<double>(centre.y) - view.Origin.y - view.Offset.y) / before;
    if (up) {
        view.Scale *= factor;
        if (view.Scale > kZoomMax) view.Scale = kZoomMax;
    } else {
        view.Scale /= factor;
        if (view.Scale < kZoomMin) view.Scale = kZoomMin;
    }
    const double after = view.Scale * view.screenFactor;
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
    const double u = (static_cast<double>(left) - view.Origin.x - view.Offset.x) / view.Scale /
                     view.screenFactor;
    const double v =
        (static_cast<double>(top) - view.Origin.y - view.Offset.y) / view.Scale / view.screenFactor;
    view.Scale *= factor;
    if (view.Scale > kRectZoomMax) view.Scale = kRectZoomMax;
    const double after = view.Scale * view.screenFactor;
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
    const double x = view.pageFactor * (view.Origin.x + view.Offset.x - width / 2) + areaWidth / 2;
    const double y =
        view.pageFactor * (view.Origin.y + view.Offset.y - height / 2) + areaHeight / 2;
    return {ToPixel(x), ToPixel(y)};
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
            if (!SegmentIntersection(&cross, p, q, edge[0], edge[1]) || cross == kept) continue;
            from = Narrow(pInside ? p : cross);
            to = Narrow(pInside ? cross : q);
            return true;
        }
        return false;
    }
    // Both ends outside: the first crossing (never the right edge, which is last) starts
    // the visible piece, the next different crossing on a later edge ends it.
    for (int k = 0; k < kRightEdge; ++k) {
        if (!SegmentIntersection(&cross, p, q, edges[k][0], edges[k][1])) continue;
        const WidePixel start = cross;
        for (int j = k + 1; j <= kRightEdge; ++j) {
            if (!SegmentIntersection(&cross, start, q, edges[j][0], edges[j][1]) || cross == start)
                continue;
            from = Narrow(start);
            to = Narrow(cross);
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace cuttrace::map2d
