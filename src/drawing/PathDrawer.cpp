#include "drawing/PathDrawer.h"

#include <algorithm>
#include <cmath>

#include "drawing/Geometry.h"

namespace cuttrace {

PathDrawer::PathDrawer(PathViews& views, const Settings& settings)
    : views_(views),
      settings_(&settings),
      rapidColor_(&settings.rapidColor),
      feedColor_(&settings.feedColor),
      cycleColor_(&settings.cycleColor) {}

void PathDrawer::BindColors(const Settings& settings) {
    rapidColor_ = &settings.rapidColor;
    feedColor_ = &settings.feedColor;
    cycleColor_ = &settings.cycleColor;
}

void PathDrawer::SetFeed(double feedPerMinute) {
    // A negative feed would move the animation away from its end for ever; the feed's
    // size is what counts.
    double feed = std::fabs(feedPerMinute);
    if (feed == 0.0 || std::isnan(feed)) feed = 1.0;
    feedSpeed_ = feed / 60.0;
}

void PathDrawer::BeginMotion(const MotionRecord& record) {
    if (IsContourKind(record.kind)) {
        DrawContour(record);
        return;
    }
    vertices_.BeginMotion(source_);
    const Point3 to{record.x, record.y, record.z};
    switch (record.kind) {
        case KindRapid:
            if (!drawRapids_) {
                // Rapid moves are drawn only while draw-rapids is set; the tool still goes
                // there, so the next motion starts at the right place.
                family_ = Family::None;
                current_ = to;
                moving_ = to;
                views_.DrawMoveTo(to);
                vertices_.AppendMove(to);
            } else if (quick_) {
                QuickLine(Family::Rapid, to, false);
            } else {
                StartLine(Family::Rapid, to, false);
            }
            break;
        case KindFeed:
            if (quick_) {
                QuickLine(Family::Feed, to, false);
            } else {
                StartLine(Family::Feed, to, false);
            }
            break;
        case KindArcCwXY:
        case KindArcCcwXY:
        case KindArcCwZX:
        case KindArcCcwZX:
        case KindArcCwYZ:
        case KindArcCcwYZ:
            if (quick_) {
                QuickArc(record);
            } else {
                StartArc(record);
            }
            break;
        default:
            if (quick_) {
                QuickCycle(record);
            } else {
                StartCycle(record);
            }
            break;
    }
    if (!quick_) views_.Present();
}

void PathDrawer::FollowQuick(const MotionRecord& record) {
    const Point3 to{record.x, record.y, record.z};
    if (IsContourKind(record.kind)) {
        contourPoint_ = to;
        return;
    }
    // As QuickLine: a line to where the tool is already changes nothing.
    auto line = [&](bool evenIfZeroLength) {
        if (evenIfZeroLength || !SameAsCurrent(to)) current_ = end_ = moving_ = to;
    };
    busy_ = false;
    if (record.kind == KindRapid && !drawRapids_) {
        current_ = end_ = moving_ = to;
    } else if (record.kind == KindRapid || record.kind == KindFeed) {
        line(false);
    } else if (IsArcKind(record.kind)) {
        arc_ = ArcPath::Make(current_, record);
        if (arc_.Degenerate()) {
            line(true);
        } else {
            moving_ = arc_.PointAt(arc_.endAngle);  // the quick polygon's last point
            current_ = end_ = arc_.end;
        }
    } else {
        SetUpCycle(record);
        busy_ = false;
        moving_ = {hole_.x, hole_.y, bottom_};
        current_ = hole_;
    }
}

void PathDrawer::DrawContour(const MotionRecord& record) {
    const Point3 to{record.x, record.y, record.z};
    const uint32_t color = settings_->contourColor;
    views_.SetColor(color);
    auto segment = [&](const Point3& a, const Point3& b) {
        views_.DrawLine(a, b);
        contour_.push_back({a, b, color});
    };
    if (record.kind == KindContourLine) {
        segment({record.centreFirst, record.centreSecond, record.z}, to);
    } else {
        MotionRecord arc = record;
        arc.kind = record.kind == KindContourArcCw ? KindArcCwXY : KindArcCcwXY;
        const ArcPath path = ArcPath::Make(contourPoint_, arc);
        if (path.Degenerate()) {
            segment(contourPoint_, to);
        } else {
            const int chords = std::max(1, static_cast<int>(std::ceil(std::fabs(path.span) / 5.0)));
            Point3 previous = contourPoint_;
            for (int i = 1; i <= chords; ++i) {
                const Point3 next =
                    i == chords ? to : path.PointAt(path.startAngle + path.span * i / chords);
                segment(previous, next);
                previous = next;
            }
        }
    }
    contourPoint_ = to;
    views_.DrawMoveTo(moving_);  // the pens go back to the tool
    if (!quick_) views_.Present();
}

void PathDrawer::Advance(double seconds) {
    if (!(seconds > 0.0)) seconds = 0.0;  // a clock that stood still, or no number at all
    if (busy_) {
        switch (family_) {
            case Family::Rapid:
            case Family::Feed:
                StepLine(seconds);
                break;
            case Family::Arc:
                StepArc(seconds);
                break;
            case Family::Cycle:
                StepCycle(seconds);
                break;
            case Family::None:
                busy_ = false;
                break;
        }
    }
    views_.Present();
}

bool PathDrawer::SameAsCurrent(const Point3& p) const {
    return SamePoint(p, current_);
}

uint32_t PathDrawer::LineColor() const {
    return family_ == Family::Rapid ? *rapidColor_ : *feedColor_;
}

double PathDrawer::LineSpeed() const {
    return family_ == Family::Rapid ? kRapidSpeed : feedSpeed_;
}

void PathDrawer::StartLine(Family family, const Point3& to, bool evenIfZeroLength) {
    if (!evenIfZeroLength && SameAsCurrent(to)) {
        family_ = Family::None;
        return;
    }
    family_ = family;
    busy_ = true;
    lineProgress_ = 0.0;
    end_ = to;
    lineStart_ = current_;
    lineDelta_ = {to.x - current_.x, to.y - current_.y, to.z - current_.z};
    moving_ = current_;
    current_ = to;
    // The end is stored now, so a repaint during the animation shows the whole line.
    vertices_.Append(to, LineColor());
    lineLength_ = std::hypot(lineDelta_.x, lineDelta_.y, lineDelta_.z);
}

void PathDrawer::StepLine(double seconds) {
    views_.SetColor(LineColor());
    const Point3 previous = moving_;
    const double speed = LineSpeed();
    lineProgress_ += speed * seconds / lineLength_;
    // A line without a usable length (no length, or one too long to be a number) ends at
    // once, so the animation always finishes.
    if (!(lineProgress_ < 1.0) || !(lineLength_ > 0.0) || !std::isfinite(lineLength_)) {
        lineProgress_ = 1.0;
        busy_ = false;
        moving_ = end_;
    } else {
        moving_ = {lineStart_.x + lineDelta_.x * lineProgress_,
                   lineStart_.y + lineDelta_.y * lineProgress_,
                   lineStart_.z + lineDelta_.z * lineProgress_};
    }
    views_.LineToShowingTool(moving_);
    const double time = Distance(moving_, previous) / speed;
    if (std::isfinite(time)) totalTime_ += time;
}

void PathDrawer::QuickLine(Family family, const Point3& to, bool evenIfZeroLength) {
    if (!evenIfZeroLength && SameAsCurrent(to)) {
        family_ = Family::None;
        return;
    }
    family_ = family;
    busy_ = true;
    end_ = to;
    const uint32_t color = LineColor();
    views_.SetColor(color);
    views_.DrawLine(current_, end_);
    vertices_.AppendSegment(current_, end_, color);
    busy_ = false;
    current_ = end_;
    moving_ = end_;
}

void PathDrawer::Redraw(const VertexList::BoxFilter& filter) {
    Redraw(views_, filter);
}

void PathDrawer::Redraw(PathViews& views, const VertexList::BoxFilter& filter) const {
    vertices_.Replay(views, filter);
    for (const ContourSegment& segment : contour_) {
        views.SetColor(segment.color);
        views.DrawLine(segment.from, segment.to);
    }
    if (!contour_.empty()) views.DrawMoveTo(moving_);  // the pens go back to the tool
}

void PathDrawer::SetSource(std::string_view file, int64_t offset) {
    source_ = {vertices_.FileIndex(file), offset};
}

void PathDrawer::ResetPosition() {
    busy_ = false;
    family_ = Family::None;
    feedSpeed_ = 1.0;
    current_ = end_ = moving_ = contourPoint_ = Point3{};
}

void PathDrawer::ClearPath() {
    vertices_.Clear();
    contour_.clear();
    contour_.shrink_to_fit();
}

void PathDrawer::DrawOrigin(double scale) {
    if (!(scale > 0.0) || !std::isfinite(scale)) scale = 1.0;
    const double a = 15.0 / scale;
    const double b = 2.0 / scale;
    const double c = 20.0 / scale;
    const double d = 1.0 / scale;
    views_.SetColor(settings_->originColor);
    // Arrow heads on X, Y and Z.
    views_.DrawMoveTo({a, b, 0});
    views_.DrawLineTo({c, 0, 0});
    views_.DrawLineTo({a, -b, 0});
    views_.DrawMoveTo({b, a, 0});
    views_.DrawLineTo({0, c, 0});
    views_.DrawLineTo({-b, a, 0});
    views_.DrawMoveTo({d, d, a});
    views_.DrawLineTo({0, 0, c});
    views_.DrawLineTo({-d, -d, a});
    // The axes; the pens end at the origin.
    views_.DrawMoveTo({c, 0, 0});
    views_.DrawLineTo({0, 0, 0});
    views_.DrawLineTo({0, c, 0});
    views_.DrawMoveTo({0, 0, c});
    views_.DrawLineTo({0, 0, 0});
}

}  // namespace cuttrace
