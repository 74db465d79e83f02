// Drilling cycles of the tool path drawer: an approach to the R level, the feed towards
// the bottom with a tool mark at each step, and the retract to the initial level.
#include <cmath>
#include <cstdint>

#include "drawing/DrillMarks.h"
#include "drawing/Geometry.h"
#include "drawing/PathDrawer.h"

namespace cuttrace {

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
    DrawToolMark(views_, p, settings_->cutterDiameter);
    vertices_.AppendMark(p, settings_->cutterDiameter, *cycleColor_);
}

void PathDrawer::StartCycle(const MotionRecord& record) {
    SetUpCycle(record);
    const Point3 rPoint{record.x, record.y, retractLevel_};
    moving_ = rPoint;
    views_.SetColor(*rapidColor_);
    views_.DrawMoveTo(current_);
    views_.LineToShowingTool(hole_);
    views_.LineToShowingTool(rPoint);
    vertices_.AppendMove(current_);
    vertices_.Append(hole_, *rapidColor_);
    vertices_.Append(rPoint, *rapidColor_);
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
    const Point3 rPoint{hole_.x, hole_.y, retractLevel_};
    views_.DrawMoveTo(bottom);
    views_.LineToShowingTool(rPoint);
    views_.LineToShowingTool(hole_);
    vertices_.AppendMove(bottom);
    vertices_.Append(rPoint, *cycleColor_);
    vertices_.Append(hole_, *cycleColor_);
}

void PathDrawer::QuickCycle(const MotionRecord& record) {
    const uint32_t color = *cycleColor_;
    views_.SetColor(color);
    DrillRecipe drill;
    drill.start = current_;
    SetUpCycle(record);
    drill.hole = hole_;
    drill.retract = retractLevel_;
    drill.bottom = bottom_;
    drill.cutter = settings_->cutterDiameter;
    DrawQuickDrill(views_, drill);
    vertices_.AppendDrill(drill, color);
    moving_ = {hole_.x, hole_.y, bottom_};
    busy_ = false;
    current_ = hole_;
}

}  // namespace cuttrace
