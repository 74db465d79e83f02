// Drilling cycles of the tool path drawer: an approach to the R level, the feed towards
// the bottom with a tool mark at each step, and the retract to the initial level.
#include <cmath>
#include <cstdint>

#include "drawing/Geometry.h"
#include "drawing/PathDrawer.h"

namespace cuttrace {

namespace {

// A quick cycle leaves one mark per unit of depth; past this many the marks stop and the
// cycle goes to the bottom, so an absurd depth cannot stall the drawing.
constexpr int64_t kMaxQuickCycleMarks = 10000;
// The mark's angular step never goes below this (3,600 segments for a cutter over 600).
constexpr double kMinMarkStep = 0.1;
// Angles within this of 360 still close the mark.
constexpr double kMarkAngleTolerance = 1e-9;

}  // namespace

void PathDrawer::SetUpCycle(const MotionRecord& record) {
    family_ = Family::Cycle;
    busy_ = true;
    hole_ = {record.x, record.y, current_.z};
    retractLevel_ = record.RetractLevel();
    bottom_ = record.z;
    const bool down = bottom_ <= retractLevel_;
    sign_ = down ? -1.0 : 1.0;
    end_ = hole_;
}

bool PathDrawer::CycleBottomReached(double z) const {
    // Written so that a level that is not a number counts as reached.
    return sign_ < 0.0 ? !(z > bottom_) : !(z < bottom_);
}

void PathDrawer::ToolMark(const Point3& p) {
    const double rho = settings_->cutterDiameter;
    double step = rho > 1.0 ? 60.0 / rho : 90.0;
    if (!(step >= kMinMarkStep)) step = kMinMarkStep;
    // Begins with a zero-length segment at angle 0; not closed when 360 is not a whole
    // number of steps.
    Point3 previous{p.x + rho, p.y, p.z};
    for (int k = 0;; ++k) {
        const double angle = step * k;
        if (angle > 360.0 + kMarkAngleTolerance) break;
        const double r = angle * kRadiansPerDegree;
        const Point3 q{p.x + rho * std::cos(r), p.y + rho * std::sin(r), p.z};
        views_.DrawLine(previous, q);
        previous = q;
    }
}

void PathDrawer::StartCycle(const MotionRecord& record) {
    SetUpCycle(record);
    const Point3 rPoint{record.x, record.y, retractLevel_};
    moving_ = rPoint;
    views_.SetColor(*rapidColor_);
    views_.DrawMoveTo(current_);
    views_.LineToShowingTool(hole_);
    views_.LineToShowingTool(rPoint);
    current_ = hole_;
}

void PathDrawer::StepCycle(double seconds) {
    const double previousZ = moving_.z;
    moving_.z += feedSpeed_ * seconds * sign_;
    if (CycleBottomReached(moving_.z)) {
        moving_.z = bottom_;
        busy_ = false;
    }
    views_.SetColor(*cycleColor_);
    if (busy_) {
        ToolMark(moving_);
        const double time = std::fabs(moving_.z - previousZ) / feedSpeed_;
        if (std::isfinite(time)) totalTime_ += time;
        return;
    }
    const Point3 bottom{hole_.x, hole_.y, bottom_};
    ToolMark(bottom);
    views_.DrawMoveTo(bottom);
    views_.LineToShowingTool({hole_.x, hole_.y, retractLevel_});
    views_.LineToShowingTool(hole_);
}

void PathDrawer::QuickCycle(const MotionRecord& record) {
    views_.SetColor(*cycleColor_);
    const Point3 start = current_;
    SetUpCycle(record);
    const Point3 rPoint{hole_.x, hole_.y, retractLevel_};
    views_.DrawLine(start, hole_);
    views_.DrawLine(hole_, rPoint);
    moving_ = rPoint;
    // One mark per unit of depth, counted from the R level so that no rounding piles up.
    for (int64_t k = 1;; ++k) {
        const double z = retractLevel_ + sign_ * static_cast<double>(k);
        if (CycleBottomReached(z) || k > kMaxQuickCycleMarks) {
            moving_.z = bottom_;
            ToolMark(moving_);
            views_.DrawLine(moving_, rPoint);
            views_.DrawLine(rPoint, hole_);
            break;
        }
        moving_.z = z;
        ToolMark(moving_);
    }
    busy_ = false;
    current_ = hole_;
}

}  // namespace cuttrace
