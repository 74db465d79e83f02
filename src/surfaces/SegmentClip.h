// Clipping of projected segments to a drawing surface's visible window.
//
// The window is 0 <= x <= width - 2, 0 <= y <= height - 2, its edges tried in the order left,
// top, bottom, right. A segment keeps its direction: the part drawn runs from where it enters
// the window to where it leaves it, whichever edges those are, so a segment and its reverse
// light the same part of the window. Products are formed in wide integers, so the result is
// exact for every 32-bit pixel point, however far off-screen.
#pragma once

#include <cstdint>

#include "surfaces/Projection3D.h"

namespace cuttrace {

// True when 0 <= v <= extent - 2 (extent is the surface's width or height).
inline bool InClipRange(int64_t v, int extent) {
    return v >= 0 && v <= static_cast<int64_t>(extent) - 2;
}

// Clips the segment p-q to the visible window of a width x height surface. Returns false when
// nothing of it is drawn; otherwise *p and *q are the ends to draw.
bool ClipSegment(PixelPoint* p, PixelPoint* q, int width, int height);

}  // namespace cuttrace
