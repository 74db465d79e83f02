// The material a tool removes along one piece of path.
//
// A cell's new height is the lowest point of the tool's cutting surface over the cell's
// centre at any moment of the motion, found from the geometry of the path and the tool
// rather than from sampled positions: for straight moves and for arcs in any plane the
// minimum along the path is found in closed form where one exists (flat end mills, ball and
// drill points on straight moves, arcs without normal travel) and by a bracketed search
// otherwise. Only cells in the rows [rowBegin, rowEnd) are touched, so that workers can cut
// disjoint bands of the same field.
#pragma once

#include <cstdint>

#include "core/Point3.h"
#include "cutting/CutMotion.h"
#include "cutting/CutTool.h"
#include "cutting/HeightField.h"

namespace cuttrace::cutting {

// What a piece of path did, as bits.
enum SweepFlags : uint8_t {
    kRemoved = 1,      // lowered some cell by more than kCutTolerance
    kBelowBottom = 2,  // the tool went below the stock's bottom over some cell
};

// Height changes below this do not count as removing material (rounding in the geometry).
inline constexpr double kCutTolerance = 1e-6;

// The flags and the number of cells the tool reached (each counted once per piece).
struct SweepResult {
    uint8_t flags = 0;
    uint64_t cells = 0;

    SweepResult& operator|=(const SweepResult& other) {
        flags = static_cast<uint8_t>(flags | other.flags);
        cells += other.cells;
        return *this;
    }
};

struct RowBand {
    int begin = 0;
    int end = 0;
};

// A straight move from a to b.
SweepResult SweepLine(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                      const Point3& a, const Point3& b);

// An arc or helix from `start` to `end` around the centre in the given plane. An arc that
// has no radius or a value that is not finite is cut as a straight move.
SweepResult SweepArc(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                     const Point3& start, const Point3& end, ArcPlane plane, bool clockwise,
                     double centreFirst, double centreSecond);

}  // namespace cuttrace::cutting
