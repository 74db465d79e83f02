#include "surfaces/SegmentClip.h"

#include "drawing/Geometry.h"

namespace cuttrace {

namespace {

__extension__ typedef __int128 Wide;

constexpr int kEdgeCount = 4;

GridPoint Grid(PixelPoint p) {
    return GridPoint{p.x, p.y};
}

bool Inside(PixelPoint p, int width, int height) {
    return InClipRange(p.x, width) && InClipRange(p.y, height);
}

// Which sides of the window a point lies beyond: bit 0 left, 1 right, 2 above, 3 below.
unsigned Outcode(PixelPoint p, int width, int height) {
    unsigned code = 0;
    if (p.x < 0) code |= 1u;
    if (static_cast<int64_t>(p.x) > static_cast<int64_t>(width) - 2) code |= 2u;
    if (p.y < 0) code |= 4u;
    if (static_cast<int64_t>(p.y) > static_cast<int64_t>(height) - 2) code |= 8u;
    return code;
}

// Edges of the visible window in the order they are tried: left, top, bottom, right.
void WindowEdges(int width, int height, PixelPoint from[kEdgeCount], PixelPoint to[kEdgeCount]) {
    const int32_t right = width - 2;
    const int32_t bottom = height - 2;
    from[0] = {0, 0};
    to[0] = {0, bottom};
    from[1] = {0, 0};
    to[1] = {right, 0};
    from[2] = {0, bottom};
    to[2] = {right, bottom};
    from[3] = {right, 0};
    to[3] = {right, bottom};
}

// The points where the segment p-q meets the window's edges, tried in edge order; a point
// met by two edges (a corner) is kept once. Returns how many there are.
int Crossings(PixelPoint p, PixelPoint q, const PixelPoint from[], const PixelPoint to[],
              PixelPoint found[kEdgeCount]) {
    int count = 0;
    for (int k = 0; k < kEdgeCount; ++k) {
        GridPoint crossing;
        if (!SegmentIntersection(&crossing, Grid(p), Grid(q), Grid(from[k]), Grid(to[k]))) continue;
        // A crossing lies between p and q, so it is a 32-bit point.
        const PixelPoint at{static_cast<int32_t>(crossing.x), static_cast<int32_t>(crossing.y)};
        bool known = false;
        for (int i = 0; i < count; ++i)
            known = known || found[i] == at;
        if (!known) found[count++] = at;
    }
    return count;
}

Wide SquaredDistance(PixelPoint a, PixelPoint b) {
    const Wide dx = static_cast<Wide>(a.x) - b.x;
    const Wide dy = static_cast<Wide>(a.y) - b.y;
    return dx * dx + dy * dy;
}

// Index of the crossing farthest from `from`.
int Farthest(PixelPoint from, const PixelPoint found[], int count) {
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (SquaredDistance(from, found[i]) > SquaredDistance(from, found[best])) best = i;
    }
    return best;
}

}  // namespace

bool ClipSegment(PixelPoint* p, PixelPoint* q, int width, int height) {
    const bool pIn = Inside(*p, width, height);
    const bool qIn = Inside(*q, width, height);
    if (pIn && qIn) return true;
    // Both ends beyond the same edge: no crossing to look for.
    if (Outcode(*p, width, height) & Outcode(*q, width, height)) return false;
    PixelPoint from[kEdgeCount], to[kEdgeCount];
    WindowEdges(width, height, from, to);
    PixelPoint found[kEdgeCount];
    const int count = Crossings(*p, *q, from, to, found);
    if (count == 0) return false;
    // The outside end moves to the crossing farthest from the inside end (an inside end
    // that lies on an edge is itself a crossing).
    if (pIn) {
        *q = found[Farthest(*p, found, count)];
        return true;
    }
    if (qIn) {
        *p = found[Farthest(*q, found, count)];
        return true;
    }
    // Both ends outside: drawn from where the segment enters to where it leaves, in the
    // segment's own direction. A segment that only touches the window is not drawn.
    if (count < 2) return false;
    const PixelPoint enter = found[Farthest(*q, found, count)];
    const PixelPoint leave = found[Farthest(*p, found, count)];
    *p = enter;
    *q = leave;
    return true;
}

}  // namespace cuttrace
