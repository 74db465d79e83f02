#include "drawing/DrillMarks.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/UninitialisedArray.h"
#include "drawing/Geometry.h"

namespace cuttrace {

namespace {

// The mark's angular step never goes below this (3,600 segments for a cutter over 600).
constexpr double kMinMarkStep = 0.1;
// Angles within this of 360 still close the mark.
constexpr double kMarkAngleTolerance = 1e-9;

// The cosines and sines of a mark's angles for one step, made when the step changes: the
// marks of a cycle, and of one cutter, all turn by the same step.
struct MarkTurn {
    double step = -1.0;
    std::vector<double> cos;
    std::vector<double> sin;

    void For(double s) {
        if (s == step) return;
        step = s;
        cos.clear();
        sin.clear();
        for (int k = 0;; ++k) {
            const double angle = s * k;
            if (angle > 360.0 + kMarkAngleTolerance) break;
            const double r = angle * kRadiansPerDegree;
            cos.push_back(std::cos(r));
            sin.push_back(std::sin(r));
        }
    }
};

}  // namespace

void DrawToolMark(PathViews& views, const Point3& p, double cutter) {
    const double rho = cutter;
    double step = rho > 1.0 ? 60.0 / rho : 90.0;
    if (!(step >= kMinMarkStep)) step = kMinMarkStep;
    thread_local MarkTurn turn;
    turn.For(step);
    // Begins with a zero-length segment at angle 0; not closed when 360 is not a whole
    // number of steps. Each segment is a DrawLine; they go out in runs.
    constexpr std::size_t kRun = 64;
    UninitialisedArray<Point3, kRun> run;  // every point is written before it is drawn
    Point3* const points = run.at;
    std::size_t count = 0;
    Point3 from{p.x + rho, p.y, p.z};
    for (std::size_t k = 0; k < turn.cos.size(); ++k) {
        points[count++] = {p.x + rho * turn.cos[k], p.y + rho * turn.sin[k], p.z};
        if (count == kRun) {
            views.DrawLinesFrom(from, points, count);
            from = points[count - 1];
            count = 0;
        }
    }
    if (count > 0) views.DrawLinesFrom(from, points, count);
}

void DrawQuickDrill(PathViews& views, const DrillRecipe& drill, uint32_t into) {
    const Point3& hole = drill.hole;
    const Point3 rPoint{hole.x, hole.y, drill.retract};
    const double sign = drill.Down() ? -1.0 : 1.0;
    views.DrawLine(drill.start, hole);
    views.DrawLine(hole, rPoint);
    Point3 moving = rPoint;
    // While drawing backwards, a mark goes only to the views that could still show its box
    // (the circle's points lie within the centre plus and minus the radius); the marks of a
    // deep hole mostly cover each other.
    const bool backwards = views.Backwards();
    const double r = std::fabs(drill.cutter);
    const auto mark = [&](const Point3& p) {
        if (!backwards) {
            DrawToolMark(views, p, drill.cutter);
            return;
        }
        const uint32_t showing =
            views.Showing({p.x - r, p.y - r, p.z}, {p.x + r, p.y + r, p.z}, into);
        if (showing == 0) return;
        if (showing != into) views.DrawInto(showing);
        DrawToolMark(views, p, drill.cutter);
        if (showing != into) views.DrawInto(into);
    };
    // One mark per unit of depth, counted from the R level so that no rounding piles up.
    for (int64_t k = 1;; ++k) {
        const double z = drill.retract + sign * static_cast<double>(k);
        if (drill.BottomReached(z) || k > kMaxQuickCycleMarks) {
            moving.z = drill.bottom;
            mark(moving);
            views.DrawLine(moving, rPoint);
            views.DrawLine(rPoint, hole);
            break;
        }
        moving.z = z;
        mark(moving);
    }
}

}  // namespace cuttrace
