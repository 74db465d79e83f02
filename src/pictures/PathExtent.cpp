#include "pictures/PathExtent.h"

#include <algorithm>
#include <cmath>
#include "drawing/ArcPath.h"
#include "drawing/Geometry.h"

namespace cuttrace {

PathBounds::PathBounds(const Point3& rotation) {
    turn_.SetRotation(rotation);
}

void PathBounds::Add(const Point3& p) {
    const Point3 q = Rotated(p);
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    if (empty_) {
        minX_ = maxX_ = q.x;
        minY_ = maxY_ = q.y;
        empty_ = false;
        return;
    }
    minX_ = std::min(minX_, q.x);
    maxX_ = std::max(maxX_, q.x);
    minY_ = std::min(minY_, q.y);
    maxY_ = std::max(maxY_, q.y);
}

MotionExtent::MotionExtent(const Point3& rotation, double markRadius)
    : bounds_(rotation),
      markRadius_(markRadius),
      xy_(Turn(0, 1, 2)),
      zx_(Turn(2, 0, 1)),
      yz_(Turn(1, 2, 0)) {}

MotionExtent::Plane MotionExtent::Turn(int first, int second, int normal) const {
    Plane plane;
    plane.first = first;
    plane.second = second;
    plane.normal = normal;
    Point3 unit[3];
    Coordinate(unit[0], first) = 1.0;
    Coordinate(unit[1], second) = 1.0;
    Coordinate(unit[2], normal) = 1.0;
    const Point3 u = bounds_.Rotated(unit[0]);
    const Point3 v = bounds_.Rotated(unit[1]);
    const Point3 w = bounds_.Rotated(unit[2]);
    plane.u[0] = u.x, plane.u[1] = u.y;
    plane.v[0] = v.x, plane.v[1] = v.y;
    plane.w[0] = w.x, plane.w[1] = w.y;
    return plane;
}

void MotionExtent::Add(const MotionRecord& motion) {
    if (IsContourKind(motion.kind)) return;  // drawn beside the path, within its reach
    if (motion.kind == KindRapid || motion.kind == KindFeed) {
        AddLine(Point3{motion.x, motion.y, motion.z});
    } else if (IsArcKind(motion.kind)) {
        AddArc(motion);
    } else {
        AddCycle(motion);
    }
}

void MotionExtent::AddLine(const Point3& to) {
    if (SamePoint(to, current_)) return;
    AddCurrent();
    bounds_.Add(to);
    current_ = to;
}

void MotionExtent::AddCurrent() {
    // A path's motions share their ends: the start is usually in already.
    if (!currentAdded_) bounds_.Add(current_);
    currentAdded_ = true;
}

void MotionExtent::AddArc(const MotionRecord& motion) {
    Circle arc;
    arc.plane = &xy_;
    if (motion.kind == KindArcCwZX || motion.kind == KindArcCcwZX) {
        arc.plane = &zx_;
    } else if (motion.kind == KindArcCwYZ || motion.kind == KindArcCcwYZ) {
        arc.plane = &yz_;
    }
    const ArcPath path = ArcPath::Make(current_, motion);
    const Point3 end = path.end;
    if (!(path.radius > 0.0) || !std::isfinite(path.radius)) {  // drawn as a straight line
        AddCurrent();
        bounds_.Add(end);
        current_ = end;
        return;
    }
    arc.radius = path.radius;
    arc.centreFirst = path.centreFirst;
    arc.centreSecond = path.centreSecond;
    arc.from = path.startAngle;
    arc.to = path.endAngle;
    arc.normalFrom = Coordinate(current_, path.normal);
    arc.normalTo = Coordinate(end, path.normal);
    AddCurrent();
    bounds_.Add(end);
    AddCircle(arc);
    current_ = end;
}

void MotionExtent::AddCycle(const MotionRecord& motion) {
    const Point3 hole{motion.x, motion.y, current_.z};
    const Point3 rLevel{motion.x, motion.y, motion.RetractLevel()};
    const Point3 bottom{motion.x, motion.y, motion.z};
    AddCurrent();
    bounds_.Add(hole);
    bounds_.Add(rLevel);
    bounds_.Add(bottom);
    // The marks lie between the R level and the bottom; the extent of a circle's turned
    // coordinates moves linearly with its level, so the two end circles bound them all.
    for (const Point3& level : {rLevel, bottom}) {
        Circle mark;
        mark.plane = &xy_;
        mark.centreFirst = level.x;
        mark.centreSecond = level.y;
        mark.radius = markRadius_;
        mark.normalFrom = mark.normalTo = level.z;
        if (mark.radius > 0.0) AddCircle(mark);
    }
    current_ = hole;
}

void MotionExtent::AddCircle(const Circle& circle) {
    const Plane& plane = *circle.plane;
    const double r = circle.radius;
    // Nothing to do when the whole circle (at both normal levels) lies within the extent.
    Point3 centre;
    Coordinate(centre, plane.first) = circle.centreFirst;
    Coordinate(centre, plane.second) = circle.centreSecond;
    Coordinate(centre, plane.normal) = circle.normalFrom;
    const Point3 from = bounds_.Rotated(centre);
    Coordinate(centre, plane.normal) = circle.normalTo;
    const Point3 to = bounds_.Rotated(centre);
    auto inside = [&](const Point3& c) {
        return c.x - r >= bounds_.MinX() && c.x + r <= bounds_.MaxX() &&
               c.y - r >= bounds_.MinY() && c.y + r <= bounds_.MaxY();
    };
    if (!bounds_.Empty() && inside(from) && inside(to)) return;

    // A turned coordinate along the sweep, A in radians: c + r (u cos A + v sin A) + k A, with
    // k the normal travel per radian times the turned normal. Inside the sweep it is extreme
    // where its slope is zero: sin(A - phase) = k / (r |u, v|), phase = atan2(v, u).
    const double span = circle.to - circle.from;
    const double perRadian =
        span == 0.0 ? 0.0 : (circle.normalTo - circle.normalFrom) / (span / kDegreesPerRadian);
    const double low = std::min(circle.from, circle.to);
    const double high = std::max(circle.from, circle.to);
    for (int c = 0; c < 2; ++c) {
        const double amplitude = r * std::hypot(plane.u[c], plane.v[c]);
        if (!(amplitude > 0.0)) continue;
        const double ratio = plane.w[c] * perRadian / amplitude;
        if (!(std::abs(ratio) <= 1.0)) continue;  // no turning point: the ends are extreme
        const double phase = std::atan2(plane.v[c], plane.u[c]) * kDegreesPerRadian;
        const double shift = std::asin(ratio) * kDegreesPerRadian;
        for (double angle : {phase + shift, phase + 180.0 - shift}) {
            // The first turn of this angle at or after the start of the sweep.
            const double a = angle + 360.0 * std::ceil((low - angle) / 360.0);
            if (!(a <= high)) continue;
            Point3 p;
            const double radians = a / kDegreesPerRadian;
            Coordinate(p, plane.first) = circle.centreFirst + r * std::cos(radians);
            Coordinate(p, plane.second) = circle.centreSecond + r * std::sin(radians);
            const double along = span == 0.0 ? 0.0 : (a - circle.from) / span;
            Coordinate(p, plane.normal) =
                circle.normalFrom + (circle.normalTo - circle.normalFrom) * along;
            bounds_.Add(p);
        }
    }
}

}  // namespace cuttrace
