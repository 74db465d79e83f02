#include "core/CutterCompensation.h"

#include <cmath>
#include <numbers>
#include <string>

#include "core/ToolData.h"
#include "machines/DiagnosticLog.h"

namespace cuttrace {

namespace {

constexpr double kTiny = 1e-9;

struct V2 {
    double x = 0, y = 0;
};
V2 Sub(const Point3& a, const Point3& b) {
    return {a.x - b.x, a.y - b.y};
}
double Cross(V2 a, V2 b) {
    return a.x * b.y - a.y * b.x;
}
double Dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
double Length(V2 a) {
    return std::hypot(a.x, a.y);
}
Point3 Along(const Point3& p, V2 d, double s) {
    return {p.x + d.x * s, p.y + d.y * s, p.z};
}
Point3 EndOf(const MotionRecord& r) {
    return {r.x, r.y, r.z};
}
Point3 CentreOf(const MotionRecord& r) {
    return {r.centreFirst, r.centreSecond, 0.0};
}

bool Fail(const std::string& message) {
    DiagnosticLog::Log(message);
    return false;
}

// The sweep from `from` to `to` about `centre` in the arc's direction, in (0, 2 pi].
double Sweep(const Point3& centre, const Point3& from, const Point3& to, bool ccw) {
    const double a = std::atan2(from.y - centre.y, from.x - centre.x);
    const double b = std::atan2(to.y - centre.y, to.x - centre.x);
    double sweep = ccw ? b - a : a - b;
    while (sweep <= kTiny)
        sweep += 2.0 * std::numbers::pi;
    while (sweep > 2.0 * std::numbers::pi + kTiny)
        sweep -= 2.0 * std::numbers::pi;
    return sweep;
}

// An offset element as a line (point, direction) or a circle (centre, radius).
struct Shape {
    bool circle = false;
    Point3 point;  // a point of the line, or the centre
    V2 direction;
    double radius = 0;
};

// Intersections of two shapes (up to two).
int Intersect(const Shape& a, const Shape& b, Point3 found[2]) {
    if (!a.circle && !b.circle) {
        const double d = Cross(a.direction, b.direction);
        if (std::fabs(d) < kTiny) return 0;
        const double s = Cross(Sub(b.point, a.point), b.direction) / d;
        found[0] = Along(a.point, a.direction, s);
        return 1;
    }
    if (a.circle != b.circle) {
        const Shape& line = a.circle ? b : a;
        const Shape& circle = a.circle ? a : b;
        const V2 f = Sub(line.point, circle.point);
        const double half = Dot(f, line.direction);
        const double disc = half * half - (Dot(f, f) - circle.radius * circle.radius);
        if (disc < 0) return 0;
        const double root = std::sqrt(disc);
        found[0] = Along(line.point, line.direction, -half - root);
        found[1] = Along(line.point, line.direction, -half + root);
        return 2;
    }
    const V2 between = Sub(b.point, a.point);
    const double d = Length(between);
    if (d < kTiny || d > a.radius + b.radius || d < std::fabs(a.radius - b.radius)) return 0;
    const double along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2 * d);
    const double h = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
    const Point3 mid = Along(a.point, {between.x / d, between.y / d}, along);
    found[0] = Along(mid, {-between.y / d, between.x / d}, h);
    found[1] = Along(mid, {between.y / d, -between.x / d}, h);
    return 2;
}

}  // namespace

void CutterCompensation::Reset() {
    side_ = pendingSide_ = 0;
    radius_ = 0.0;
    held_ = startUp_ = false;
    waiting_.clear();
}

CutterCompensation::Vec CutterCompensation::Tangent(const Element& e, bool atEnd) const {
    if (!e.arc) {
        const V2 d = Sub(EndOf(e.record), e.start);
        const double length = Length(d);
        return {d.x / length, d.y / length};
    }
    const V2 radial = Sub(atEnd ? EndOf(e.record) : e.start, CentreOf(e.record));
    const double length = Length(radial);
    return e.ccw ? Vec{-radial.y / length, radial.x / length}
                 : Vec{radial.y / length, -radial.x / length};
}

Point3 CutterCompensation::OffsetPoint(const Element& e, bool atEnd) const {
    const Vec t = Tangent(e, atEnd);
    Point3 p = atEnd ? EndOf(e.record) : e.start;
    p.x += -t.y * side_ * radius_;
    p.y += t.x * side_ * radius_;
    return p;
}

bool CutterCompensation::Emit(const Element& e, const Point3& start, const Point3& end,
                              std::deque<MotionRecord>& out) const {
    // The interference check: the offset element must run the way the programmed one does.
    if (!e.arc) {
        const V2 moved = Sub(end, start);
        if (Dot(moved, Sub(EndOf(e.record), e.start)) < 0 && Length(moved) > 1e-7)
            return Fail("cutter compensation: interference (the offset line runs backwards)");
    } else {
        const Point3 centre = CentreOf(e.record);
        const double programmed = Sweep(centre, e.start, EndOf(e.record), e.ccw);
        double offset = Sweep(centre, start, end, e.ccw);
        if (Length(Sub(start, end)) < 1e-7 && programmed > std::numbers::pi) offset = programmed;
        if (std::fabs(offset - programmed) > std::numbers::pi)
            return Fail("cutter compensation: interference (the offset arc runs backwards)");
    }
    MotionRecord record = e.record;
    record.x = end.x;
    record.y = end.y;
    out.push_back(record);
    return true;
}

void CutterCompensation::EmitContour(const MotionRecord& programmed, const Point3& from,
                                     std::deque<MotionRecord>& out) const {
    if (!contour_) return;
    MotionRecord record = programmed;
    if (programmed.kind == KindArcCwXY || programmed.kind == KindArcCcwXY) {
        record.kind = programmed.kind == KindArcCwXY ? KindContourArcCw : KindContourArcCcw;
    } else {
        record.kind = KindContourLine;
        record.centreFirst = from.x;
        record.centreSecond = from.y;
    }
    out.push_back(record);
}

void CutterCompensation::EmitWaiting(const Point3& at, std::deque<MotionRecord>& out) {
    for (MotionRecord record : waiting_) {
        record.x = at.x;
        record.y = at.y;
        out.push_back(record);
    }
    waiting_.clear();
}

bool CutterCompensation::Corner(const Element& a, const Element& b, std::deque<MotionRecord>& out,
                                Point3& bStart) {
    const Vec ta = Tangent(a, true), tb = Tangent(b, false);
    const V2 va{ta.x, ta.y}, vb{tb.x, tb.y};
    const Point3 ae = OffsetPoint(a, true), bs = OffsetPoint(b, false);
    const double turn = Cross(va, vb), ahead = Dot(va, vb);
    double z = a.record.z;
    if (!waiting_.empty()) z = waiting_.back().z;
    MotionRecord connector = a.record;  // a straight move, rapid only between rapids
    connector.kind =
        a.record.kind == KindRapid && b.record.kind == KindRapid ? KindRapid : KindFeed;
    auto line = [&](const Point3& to) {
        MotionRecord r = connector;
        r.x = to.x, r.y = to.y, r.z = z;
        out.push_back(r);
    };
    auto shapeOf = [&](const Element& e, const Point3& at, V2 t) {
        Shape s;
        if (!e.arc) {
            s.point = at, s.direction = t;
            return s;
        }
        s.circle = true;
        s.point = CentreOf(e.record);
        s.radius = Length(Sub(at, s.point));
        return s;
    };

    if (std::fabs(turn) < 1e-9 && ahead > 0) {  // the elements meet tangentially
        if (!Emit(a, heldStart_, ae, out)) return false;
        EmitWaiting(ae, out);
        bStart = bs;
        return true;
    }
    if (turn * side_ > 0) {
        // Inner corner: where the offset elements cross, the one nearest the corner.
        Point3 found[2];
        const int n = Intersect(shapeOf(a, ae, va), shapeOf(b, bs, vb), found);
        if (n == 0)
            return Fail("cutter compensation: interference (the offset elements do not meet)");
        const Point3 corner = EndOf(a.record);
        Point3 x = found[0];
        if (n == 2 && Length(Sub(found[1], corner)) < Length(Sub(found[0], corner))) x = found[1];
        if (!Emit(a, heldStart_, x, out)) return false;
        EmitWaiting(x, out);
        bStart = x;
        return true;
    }
    if (ahead >= 0) {
        // Outer corner turning by at most 90 degrees: where the tangents cross.
        Point3 x[2];
        Intersect(Shape{false, ae, va, 0}, Shape{false, bs, vb, 0}, x);
        const Point3 aEnd = a.arc ? ae : x[0];
        if (!Emit(a, heldStart_, aEnd, out)) return false;
        EmitWaiting(aEnd, out);
        if (a.arc) line(x[0]);
        if (b.arc) line(bs);
        bStart = b.arc ? bs : x[0];
        return true;
    }
    // Sharper outer corner: stand off by the radius along both elements.
    const Point3 p1 = Along(ae, va, radius_), p2 = Along(bs, vb, -radius_);
    const Point3 aEnd = a.arc ? ae : p1;
    if (!Emit(a, heldStart_, aEnd, out)) return false;
    EmitWaiting(aEnd, out);
    if (a.arc) line(p1);
    line(p2);
    if (b.arc) line(bs);
    bStart = b.arc ? bs : p2;
    return true;
}

bool CutterCompensation::Take(const ModalState& modal, const MotionRecord* motion,
                              const Point3& from, double radius, bool mirrored,
                              std::deque<MotionRecord>& out) {
    const uint32_t codes = modal.coordinateCodes;
    const bool cancel = (codes & kCodeCompOff) != 0;
    if (codes & (kCodeCompLeft | kCodeCompRight)) {
        const char* g = (codes & kCodeCompLeft) ? "G41" : "G42";
        if (modal.D < 1 || modal.D > ToolData::kOffsets)
            return Fail(std::string(g) + ": D" + std::to_string(modal.D) +
                        " names no cutter radius (D1..D" + std::to_string(ToolData::kOffsets) +
                        ")");
        int side = (codes & kCodeCompLeft) ? 1 : -1;
        if (radius < 0) radius = -radius, side = -side;  // a negative radius offsets the other way
        if (mirrored) side = -side;
        radius_ = radius;
        if (side_ != 0)
            side_ = side;
        else
            pendingSide_ = side;
    }
    const bool xyArc = motion && (motion->kind == KindArcCwXY || motion->kind == KindArcCcwXY);
    const bool xyLine = motion && (motion->kind == KindRapid || motion->kind == KindFeed) &&
                        (motion->x != from.x || motion->y != from.y);
    if (motion && (side_ != 0 || pendingSide_ != 0) && !xyArc && !xyLine &&
        (IsArcKind(motion->kind) || IsCannedCycleKind(motion->kind)))
        return Fail("cutter compensation: only lines and arcs in the XY plane (G17) can be offset");

    if (!held_) {
        if (cancel) pendingSide_ = 0;
        if (pendingSide_ != 0 && xyArc) return Fail("cutter compensation cannot start on an arc");
        if (pendingSide_ != 0 && xyLine) {
            side_ = pendingSide_;
            pendingSide_ = 0;
            element_ = Element{*motion, from, false, false};
            heldStart_ = from;
            held_ = startUp_ = true;
            return true;
        }
        if (motion) out.push_back(*motion);
        return true;
    }
    if (!xyArc && !xyLine) {
        if (cancel) {  // the held element ends offset; the next move goes where it is told
            EmitContour(element_.record, element_.start, out);
            if (!Emit(element_, heldStart_, OffsetPoint(element_, true), out)) return false;
            EmitWaiting(OffsetPoint(element_, true), out);
            held_ = startUp_ = false;
            side_ = 0;
            if (motion) {
                EmitContour(*motion, from, out);
                out.push_back(*motion);
            }
        } else if (motion) {
            waiting_.push_back(*motion);
        }
        return true;
    }
    Element next{*motion, from, xyArc, motion->kind == KindArcCcwXY};
    if (next.arc) {
        const double r = Length(Sub(from, CentreOf(next.record)));
        if (r - side_ * (next.ccw ? 1 : -1) * radius_ <= kTiny)
            return Fail("cutter compensation: the cutter radius is larger than the arc radius");
    }
    if (cancel) {
        const Point3 end = OffsetPoint(element_, true);
        EmitContour(element_.record, element_.start, out);
        if (!Emit(element_, heldStart_, end, out)) return false;
        EmitWaiting(end, out);
        EmitContour(*motion, from, out);
        out.push_back(*motion);
        held_ = startUp_ = false;
        side_ = 0;
        return true;
    }
    Point3 start;
    if (startUp_) {
        start = OffsetPoint(next, false);
        MotionRecord up = element_.record;
        up.x = start.x, up.y = start.y;
        EmitContour(element_.record, element_.start, out);
        out.push_back(up);
        EmitWaiting(start, out);
        startUp_ = false;
    } else {
        EmitContour(element_.record, element_.start, out);
        if (!Corner(element_, next, out, start)) return false;
    }
    element_ = next;
    heldStart_ = start;
    return true;
}

void CutterCompensation::Flush(std::deque<MotionRecord>& out) {
    if (held_) {
        const Point3 end = OffsetPoint(element_, true);
        MotionRecord last = element_.record;
        last.x = end.x, last.y = end.y;
        EmitContour(element_.record, element_.start, out);
        out.push_back(last);
        EmitWaiting(end, out);
    }
    held_ = startUp_ = false;
    side_ = pendingSide_ = 0;
}

}  // namespace cuttrace
