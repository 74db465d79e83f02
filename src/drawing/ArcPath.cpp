#include "drawing/ArcPath.h"

#include <cmath>

namespace cuttrace {

void ArcPath::Axes(MotionKind kind, int& first, int& second, int& normal) {
    switch (kind) {
        case KindArcCwZX:
        case KindArcCcwZX:
            first = 2, second = 0, normal = 1;
            break;
        case KindArcCwYZ:
        case KindArcCcwYZ:
            first = 1, second = 2, normal = 0;
            break;
        default:
            first = 0, second = 1, normal = 2;
            break;
    }
}

ArcPath ArcPath::Make(const Point3& start, const MotionRecord& record) {
    ArcPath arc;
    Axes(record.kind, arc.first, arc.second, arc.normal);
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
