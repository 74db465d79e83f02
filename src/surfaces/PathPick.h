// Picking a motion of the stored path with the mouse: the segment nearest a pixel of a view,
// within a few pixels. Only chunks whose box comes that near the pixel are looked at, so a
// pick stays quick on paths of tens of millions of points.
#pragma once

#include <cstddef>

#include "core/Point3.h"
#include "drawing/VertexList.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

struct PathPick {
    bool found = false;
    std::size_t motion = 0;  // index among the stored motions
    Point3 from;             // the picked segment
    Point3 to;
    Point3 point;         // the segment's end nearer the pixel
    double pixels = 0.0;  // distance of the segment from the pixel
};

// The segment of `path` nearest the pixel (x, y) of a view with this projection, if one
// passes within `radius` pixels; the last of equally near segments wins (it is drawn on top).
PathPick PickPath(const VertexList& path, const Projection3D& view, double x, double y,
                  double radius);

}  // namespace cuttrace
