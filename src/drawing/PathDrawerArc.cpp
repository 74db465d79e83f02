// Arcs of the tool path drawer.
#include <cmath>
#include <cstdint>

#include "core/UninitialisedArray.h"
#include "drawing/ArcPolygon.h"
#include "drawing/Geometry.h"
#include "drawing/PathDrawer.h"

namespace cuttrace {

// An arc whose start lies on its centre has no radius to turn around; it is drawn as a
// straight feed segment to its end, which also keeps the animation finite.
bool PathDrawer::DrawArcAsLine(const MotionRecord& record) {
    if (!arc_.Degenerate()) return false;
    const Point3 to{record.x, record.y, record.z};
    if (quick_) {
        QuickLine(Family::Feed, to, true);
    } else {
        StartLine(Family::Feed, to, true);
    }
    return true;
}

void PathDrawer::StartArc(const MotionRecord& record) {
    arc_ = ArcPath::Make(current_, record);
    if (DrawArcAsLine(record)) return;
    family_ = Family::Arc;
    busy_ = true;
    moving_ = current_;
    end_ = arc_.end;
    angle_ = arc_.startAngle;
    current_ = end_;
}

void PathDrawer::StepArc(double seconds) {
    views_.SetColor(*feedColor_);
    const Point3 previous = moving_;
    const double step = feedSpeed_ * seconds / arc_.radius * kDegreesPerRadian;
    angle_ += arc_.clockwise ? -step : step;
    const bool done = arc_.clockwise ? !(angle_ > arc_.endAngle) : !(angle_ < arc_.endAngle);
    if (done) {
        angle_ = arc_.endAngle;
        busy_ = false;
    }
    moving_ = arc_.PointAt(angle_);
    views_.LineToShowingTool(moving_);
    const double time = Distance(moving_, previous) / feedSpeed_;
    if (std::isfinite(time)) totalTime_ += time;
    vertices_.Append(moving_, *feedColor_);
}

void PathDrawer::QuickArc(const MotionRecord& record) {
    arc_ = ArcPath::Make(current_, record);
    if (DrawArcAsLine(record)) return;
    family_ = Family::Arc;
    busy_ = true;
    moving_ = current_;
    end_ = arc_.end;

    // Whole steps from the start; the last segment ends on the end angle. Reaching the end
    // exactly does not add a zero-length segment.
    const ArcPolygon polygon = ArcPolygon::Quick(arc_);

    const uint32_t color = *feedColor_;
    views_.SetColor(color);
    Point3 previous = current_;
    UninitialisedArray<Point3, ArcPolygon::kBatch> batch;  // Fill writes every point it gives
    Point3* const points = batch.at;
    ArcPolygon::Cursor cursor = polygon.Begin();
    while (const std::size_t n = polygon.Fill(cursor, points)) {
        views_.DrawLinesFrom(previous, points, n);
        previous = points[n - 1];
    }
    vertices_.AppendArc(polygon, color, current_, record);
    angle_ = arc_.endAngle;
    moving_ = previous;
    busy_ = false;
    current_ = end_;
}

}  // namespace cuttrace
