#include "drawing/ArcPath.h"

#include <bit>
#include <cmath>
#include <cstdint>

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

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// The last arc made on this thread, and what it was made from: a quick run adds up an arc's
// time and then draws it, and both make the same arc (two arc tangents and a hypotenuse).
struct LastArc {
    Point3 start{std::nan(""), 0.0, 0.0};  // matches no start
    MotionRecord record;
    ArcPath arc;

    bool Matches(const Point3& s, const MotionRecord& r) const {
        return SameBits(s.x, start.x) && SameBits(s.y, start.y) && SameBits(s.z, start.z) &&
               SameBits(r.x, record.x) && SameBits(r.y, record.y) && SameBits(r.z, record.z) &&
               SameBits(r.centreFirst, record.centreFirst) &&
               SameBits(r.centreSecond, record.centreSecond) && r.kind == record.kind;
    }
};

}  // namespace

ArcPath ArcPath::Make(const Point3& start, const MotionRecord& record) {
    thread_local LastArc last;
    if (last.Matches(start, record)) return last.arc;
    last.arc = Compute(start, record);
    last.start = start;
    last.record = record;
    return last.arc;
}

ArcPath ArcPath::Compute(const Point3& start, const MotionRecord& record) {
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
