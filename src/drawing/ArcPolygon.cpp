#include "drawing/ArcPolygon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cuttrace {

namespace {

// Steps that reach the end within this fraction of a step are not followed by a
// zero-length segment.
constexpr double kStepTolerance = 1e-9;
// The quick step never goes below this, so a huge radius cannot make a huge polygon
// (36,000 segments at most per turn; radii up to 4,000 keep their 40/radius step).
constexpr double kMinQuickArcStep = 0.01;
constexpr double kArcResolution = 8.0;

}  // namespace

ArcPolygon ArcPolygon::Quick(const ArcPath& arc) {
    double step = arc.radius > 1.0 ? 5.0 * kArcResolution / arc.radius : 90.0;
    if (step < kMinQuickArcStep) step = kMinQuickArcStep;
    return ArcPolygon(arc, step);
}

ArcPolygon::ArcPolygon(const ArcPath& arc, double stepDegrees)
    : first_(arc.first),
      centreFirst_(arc.centreFirst),
      centreSecond_(arc.centreSecond),
      // The start offset itself is the point at the start angle.
      a0_(Coordinate(arc.start, arc.first) - arc.centreFirst),
      b0_(Coordinate(arc.start, arc.second) - arc.centreSecond),
      normalStart_(Coordinate(arc.start, arc.normal)) {
    const Point3 last = arc.PointAt(arc.endAngle);
    lastX_ = last.x;
    lastY_ = last.y;
    lastZ_ = last.z;
    const double steps = std::ceil(std::fabs(arc.span) / stepDegrees - kStepTolerance);
    count_ = steps < 1.0 ? 1 : static_cast<int64_t>(steps);
    const double signedStep = arc.clockwise ? -stepDegrees : stepDegrees;
    const double radians = signedStep * kRadiansPerDegree;
    cosStep_ = std::cos(radians);
    sinStep_ = std::sin(radians);
    normalPerStep_ = (Coordinate(arc.end, arc.normal) - normalStart_) * signedStep / arc.span;
}

void ArcPolygon::Bounds(Point3& low, Point3& high) const {
    // Turning keeps the offset's length but for rounding; the margin covers that.
    const double r = std::hypot(a0_, b0_);
    const double margin = r * 1e-9 + 1e-9;
    // The points lie on the circle between the start and the end angle (the last step may
    // be shorter than the others): the box of the start, the end and each quarter point
    // of the circle that the turn passes.
    const double step = std::atan2(sinStep_, cosStep_);
    const double turn = std::fabs(step) * static_cast<double>(count_);
    const double endFirst = (first_ == 2 ? lastZ_ : first_ == 1 ? lastY_ : lastX_) - centreFirst_;
    const double endSecond = (first_ == 2 ? lastX_ : first_ == 1 ? lastZ_ : lastY_) - centreSecond_;
    double lowFirst = std::min(a0_, endFirst), highFirst = std::max(a0_, endFirst);
    double lowSecond = std::min(b0_, endSecond), highSecond = std::max(b0_, endSecond);
    const double start = std::atan2(b0_, a0_);
    constexpr double kTurn = 2.0 * std::numbers::pi;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const double angle = quarter * std::numbers::pi / 2.0;
        // How far the turn goes from the start to reach the quarter point, in its sense.
        double reach = std::fmod(step >= 0.0 ? angle - start : start - angle, kTurn);
        if (reach < 0.0) reach += kTurn;
        const bool passed = !(turn < kTurn) || reach <= turn + 1e-9 || reach >= kTurn - 1e-9;
        if (!passed) continue;
        switch (quarter) {
            case 0:
                highFirst = r;
                break;
            case 1:
                highSecond = r;
                break;
            case 2:
                lowFirst = -r;
                break;
            default:
                lowSecond = -r;
                break;
        }
    }
    // The normal coordinate goes evenly from the start's to the last point's.
    const double normalLast = first_ == 2 ? lastY_ : first_ == 1 ? lastX_ : lastZ_;
    const double normalLow = std::min(normalStart_, normalLast);
    const double normalHigh = std::max(normalStart_, normalLast);
    const auto place = [&](double first, double second, double normal) {
        switch (first_) {
            case 2:  // ZX: first Z, second X, normal Y
                return Point3{second, normal, first};
            case 1:  // YZ: first Y, second Z, normal X
                return Point3{normal, first, second};
            default:
                return Point3{first, second, normal};
        }
    };
    low = place(centreFirst_ + lowFirst - margin, centreSecond_ + lowSecond - margin, normalLow);
    high =
        place(centreFirst_ + highFirst + margin, centreSecond_ + highSecond + margin, normalHigh);
}

bool ArcPolygon::BoundsWithin(const Point3& low, const Point3& high) const {
    // Bounds' box lies in the box of the whole circle about the centre with the radius
    // hypot(a0_, b0_) and its margin (1e-9 of the radius, and 1e-9), but for rounding of a
    // few units in the last place of the radius and of the centre's coordinates. The box
    // checked is wider by a millionth of the radius, a millionth, and 1e-12 of the centre's
    // coordinates, which covers all of that many times over. The normal coordinate's range
    // is Bounds' own: from the start's to the last point's.
    const double r = std::sqrt(a0_ * a0_ + b0_ * b0_);
    const double reach =
        r * (1.0 + 1e-6) + 1e-6 + (std::fabs(centreFirst_) + std::fabs(centreSecond_)) * 1e-12;
    const double normalLast = first_ == 2 ? lastY_ : first_ == 1 ? lastX_ : lastZ_;
    const double firstLow = centreFirst_ - reach, firstHigh = centreFirst_ + reach;
    const double secondLow = centreSecond_ - reach, secondHigh = centreSecond_ + reach;
    const double normalLow = std::min(normalStart_, normalLast);
    const double normalHigh = std::max(normalStart_, normalLast);
    double lowOf[3], highOf[3];  // the circle's box by plane axes: first, second, normal
    switch (first_) {
        case 2:  // ZX: first Z, second X, normal Y
            lowOf[0] = low.z, lowOf[1] = low.x, lowOf[2] = low.y;
            highOf[0] = high.z, highOf[1] = high.x, highOf[2] = high.y;
            break;
        case 1:  // YZ: first Y, second Z, normal X
            lowOf[0] = low.y, lowOf[1] = low.z, lowOf[2] = low.x;
            highOf[0] = high.y, highOf[1] = high.z, highOf[2] = high.x;
            break;
        default:
            lowOf[0] = low.x, lowOf[1] = low.y, lowOf[2] = low.z;
            highOf[0] = high.x, highOf[1] = high.y, highOf[2] = high.z;
            break;
    }
    return lowOf[0] <= firstLow && firstHigh <= highOf[0] && lowOf[1] <= secondLow &&
           secondHigh <= highOf[1] && lowOf[2] <= normalLow && normalHigh <= highOf[2];
}

Point3 StoredArc::Last() {
    if (made_) return polygon_.Last();
    if (!lastKnown_) {
        // As the polygon finds it.
        const ArcPath arc = ArcPath::Make(start_, record_);
        last_ = arc.PointAt(arc.endAngle);
        lastKnown_ = true;
    }
    return last_;
}

namespace {

// Which quarter of the plane an offset from the centre lies in, counted from the first axis
// towards the second: 0 for angles from 0 up to 90 degrees, and so on.
int Quarter(double a, double b) {
    if (a > 0.0 && b >= 0.0) return 0;
    if (a <= 0.0 && b > 0.0) return 1;
    if (a < 0.0 && b <= 0.0) return 2;
    return 3;
}

}  // namespace

bool QuickArcBox(const Point3& start, const MotionRecord& record, Point3& low, Point3& high) {
    int first = 0, second = 1, normal = 2;
    ArcPath::Axes(record.kind, first, second, normal);
    const Point3 end{record.x, record.y, record.z};
    const double sa = Coordinate(start, first) - record.centreFirst;
    const double sb = Coordinate(start, second) - record.centreSecond;
    const double ea = Coordinate(end, first) - record.centreFirst;
    const double eb = Coordinate(end, second) - record.centreSecond;
    const double r = std::sqrt(sa * sa + sb * sb);
    const double re = std::sqrt(ea * ea + eb * eb);
    const double normalStart = Coordinate(start, normal);
    const double normalEnd = Coordinate(end, normal);
    if (!(r > 0.0) || !(re > 0.0) || !std::isfinite(r) || !std::isfinite(re) ||
        !std::isfinite(normalStart) || !std::isfinite(normalEnd)) {
        return false;
    }
    // The polygon ends on its circle in the direction of the end point.
    const double fa = ea * (r / re);
    const double fb = eb * (r / re);
    double lowA = std::min(sa, fa), highA = std::max(sa, fa);
    double lowB = std::min(sb, fb), highB = std::max(sb, fb);
    const bool clockwise = record.kind % 10 == 2;
    const int from = Quarter(sa, sb);
    const int to = Quarter(ea, eb);
    unsigned passed = 0;  // bit k: the circle's point at k times 90 degrees
    if (from != to) {
        // Counter-clockwise the turn enters the quarters after the start's up to the end's,
        // clockwise it leaves the start's and those after it down to the one past the end's.
        const int last = clockwise ? (to + 1) % 4 : to;
        for (int k = clockwise ? from : (from + 1) % 4;; k = (k + (clockwise ? 3 : 1)) % 4) {
            passed |= 1u << k;
            if (k == last) break;
        }
    } else {
        // Within one quarter: a short turn when the end lies ahead of the start in the
        // arc's sense, else (or when that is in doubt) all the way round.
        const double ahead = (sa * eb - sb * ea) * (clockwise ? -1.0 : 1.0);
        if (!(ahead > 1e-9 * r * re)) passed = 15;
    }
    if (passed & 1u) highA = r;
    if (passed & 2u) highB = r;
    if (passed & 4u) lowA = -r;
    if (passed & 8u) lowB = -r;
    // Turning and the end's direction round a little: the margin covers that.
    const double margin = r * 1e-9 + 1e-9;
    const double normalMargin = (std::fabs(normalStart) + std::fabs(normalEnd)) * 1e-12 + 1e-12;
    Coordinate(low, first) = record.centreFirst + lowA - margin;
    Coordinate(high, first) = record.centreFirst + highA + margin;
    Coordinate(low, second) = record.centreSecond + lowB - margin;
    Coordinate(high, second) = record.centreSecond + highB + margin;
    Coordinate(low, normal) = std::min(normalStart, normalEnd) - normalMargin;
    Coordinate(high, normal) = std::max(normalStart, normalEnd) + normalMargin;
    return true;
}

namespace {

// The steps of Fill in one plane: the offset turned, placed about the centre, the normal
// coordinate moved on, each point put on the plane's axes by place. Locals throughout, so
// that the stores of the points need not be followed by loads of the polygon's fields.
template <class Place>
[[gnu::always_inline]] inline void TurnSteps(double& a, double& b, int64_t& k, int64_t stop,
                                             double cosStep, double sinStep, double centreFirst,
                                             double centreSecond, double normalStart,
                                             double normalPerStep, Point3* out, Place place) {
    for (; k < stop; ++out) {
        ++k;
        const double turned = a * cosStep - b * sinStep;
        b = a * sinStep + b * cosStep;
        a = turned;
        const double first = centreFirst + a;
        const double second = centreSecond + b;
        const double normal = normalStart + normalPerStep * static_cast<double>(k);
        *out = place(first, second, normal);
    }
}

}  // namespace

std::size_t ArcPolygon::Fill(Cursor& cursor, Point3* out) const {
    double a = cursor.a;
    double b = cursor.b;
    int64_t k = cursor.k;
    if (k >= count_) return 0;
    // The turned steps up to the last point (which lies exactly on the end angle), at most a
    // batch of them.
    const int64_t room = static_cast<int64_t>(kBatch);
    const int64_t stop = std::min(count_ - 1, k + room);
    const int64_t begin = k;
    const double cosStep = cosStep_, sinStep = sinStep_;
    const double centreFirst = centreFirst_, centreSecond = centreSecond_;
    const double normalStart = normalStart_, normalPerStep = normalPerStep_;
    switch (first_) {
        case 2:  // ZX: first Z, second X, normal Y
            TurnSteps(a, b, k, stop, cosStep, sinStep, centreFirst, centreSecond, normalStart,
                      normalPerStep, out, [](double f, double s, double n) {
                          return Point3{s, n, f};
                      });
            break;
        case 1:  // YZ: first Y, second Z, normal X
            TurnSteps(a, b, k, stop, cosStep, sinStep, centreFirst, centreSecond, normalStart,
                      normalPerStep, out, [](double f, double s, double n) {
                          return Point3{n, f, s};
                      });
            break;
        default:  // XY
            TurnSteps(a, b, k, stop, cosStep, sinStep, centreFirst, centreSecond, normalStart,
                      normalPerStep, out, [](double f, double s, double n) {
                          return Point3{f, s, n};
                      });
            break;
    }
    std::size_t n = static_cast<std::size_t>(k - begin);
    if (k == count_ - 1 && n < kBatch) {
        out[n++] = {lastX_, lastY_, lastZ_};
        ++k;
    }
    cursor = {a, b, k};
    return n;
}

}  // namespace cuttrace
