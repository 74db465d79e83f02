// The picture of a quick drilling cycle and of the tool mark, drawn by the drawer during a
// run and again from the stored recipe by a redraw, through the same code, so that both
// give the same calls.
#pragma once

#include <cstdint>

#include "core/Point3.h"
#include "drawing/PathViews.h"

namespace cuttrace {

struct DrillRecipe {
    Point3 start;          // where the tool was before the cycle
    Point3 hole;           // the hole at the initial level (where the cycle ends)
    double retract = 0.0;  // the R level
    double bottom = 0.0;   // the bottom of the hole
    double cutter = 0.0;   // the cutter diameter the marks are drawn with

    bool Down() const { return bottom <= retract; }
    // Written so that a level that is not a number counts as reached.
    bool BottomReached(double z) const { return Down() ? !(z > bottom) : !(z < bottom); }
};

// A quick cycle leaves one mark per unit of depth; past this many the marks stop and the
// cycle goes to the bottom, so an absurd depth cannot stall the drawing.
inline constexpr int64_t kMaxQuickCycleMarks = 10000;

// The tool mark: a circle of the cutter diameter's radius about p in its XY plane.
void DrawToolMark(PathViews& views, const Point3& p, double cutter);
// The whole quick cycle in the current color: approach, marks, retract. Views drawing
// backwards into `into` get each mark only where it could still show something.
void DrawQuickDrill(PathViews& views, const DrillRecipe& drill,
                    uint32_t into = PathViews::kAllViews);

}  // namespace cuttrace
