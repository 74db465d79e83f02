#include "drawing/ArcPath.h"

#include <cmath>

namespace cuttrace {

ArcPath ArcPath::Make(const Point3& start, const MotionRecord& record) {
    ArcPath arc;
    switch (record.kind) {
        case KindArcCwZX:
        case KindArcCcwZX:
            arc.first = 2, arc.second = 0, arc.normal = 1;
            break;
        case KindArcCwYZ:
        case KindArcCcwYZ:
            arc.first = 1, arc.second = 2, arc.normal = 0;
            break;
        default:
            arc.first = 0, arc.second = 1, arc.normal = 2;
            break;
    }
    arc.clockwise = record.kind % 10 == 2;
    arc.start = start;
    arc.end = {record.x, record.y, record.z};
    arc.centreFirst = record.centreFirst;
    arc.centreSecond = record.centreSecond;

    const double sa = Coordinate(start, arc.first) - record.centreFirst;
    const double sb = Coordinate(start, arc.second) - record.centreSecond;
    const double ea = Coordinate(arc.end, arc.first) - record.centreFirst;
    const double eb = Coordinate(arc.end, arc.second) - record.centreSecond;
    arc.radius = std::hypot(sa, sb);
    arc.startAngle = OffsetAngle(sa, sb);
    arc.endAngle = OffsetAngle(ea, eb);
    if (arc.clockwise) {
        if (arc.startAngle <= arc.endAngle) arc.endAngle -= 360.0;
    } else {
        if (arc.startAngle >= arc.endAngle) arc.endAngle += 360.0;
    }
    arc.span = arc.endAngle - arc.startAngle;
    return arc;
}

bool ArcPath::Degenerate() const {
    return !(radius > 0.0) || !std::isfinite(radius) || !std::isfinite(span) ||
           !std::isfinite(Coordinate(start, normal)) || !std::isfinite(Coordinate(end, normal));
}

Point3 ArcPath::PointAt(double angle) const {
    Point3 p;
    const double r = angle * kRadiansPerDegree;
    Coordinate(p, first) = centreFirst + radius * std::cos(r);
    Coordinate(p, second) = centreSecond + radius * std::sin(r);
    const double s = Coordinate(start, normal);
    Coordinate(p, normal) = angle == endAngle
                                ? Coordinate(end, normal)
                                : s + (Coordinate(end, normal) - s) * (angle - startAngle) / span;
    return p;
}

}  // namespace cuttrace
