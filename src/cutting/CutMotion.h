// One tool motion as the cut simulation sees it: where it starts and ends, how it gets
// there, which tool does it and which program line asked for it.
#pragma once

#include <cstdint>

#include "core/Point3.h"

namespace cuttrace::cutting {

enum class MoveKind : uint8_t {
    Rapid,  // straight line at rapid traverse
    Feed,   // straight line at feed
    Arc,    // circular or helical arc at feed
    Cycle,  // a drilling cycle at one hole
};

// The plane of an arc: the first and second axes of its circle and the axis it travels
// along as a helix. XY: X, Y (along Z); ZX: Z, X (along Y); YZ: Y, Z (along X).
enum class ArcPlane : uint8_t { XY, ZX, YZ };

struct CutMotion {
    MoveKind kind = MoveKind::Rapid;
    ArcPlane plane = ArcPlane::XY;
    bool clockwise = false;  // arcs, seen from the plus side of the plane's normal
    // The position before the motion. For a cycle its Z is the initial level the tool
    // returns to.
    Point3 start;
    // The end point. For a cycle: the hole's X and Y and its bottom Z.
    Point3 end;
    double centreFirst = 0.0;  // arcs: the centre on the plane's first and second axes
    double centreSecond = 0.0;
    double rLevel = 0.0;  // cycles: the level from which the feed starts
    int32_t tool = 0;     // T number
    int32_t file = -1;    // index into the caller's file names; -1 when unknown
    int64_t offset = -1;  // byte offset just past the line in that file; -1 when unknown
};

}  // namespace cuttrace::cutting
