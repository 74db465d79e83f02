#include "core/MotionCalculator.h"

#include <cmath>

namespace cuttrace {

namespace {

// A square of a distance that comes out slightly negative through rounding is taken as
// zero; one clearly negative means the radius cannot reach.
constexpr double kRootTolerance = -0.01;

bool ClampRoot(double& value) {
    if (value >= 0.0) return true;
    if (value > kRootTolerance) {
        value = 0.0;
        return true;
    }
    return false;
}

}  // namespace

bool ArcCentre(const ArcCentreInput& in, PlanePoint& centre) {
    double& c1 = centre.u;
    double& c2 = centre.v;
    // Treat every arc as counter-clockwise from P to Q.
    const PlanePoint& p = in.clockwise ? in.end : in.start;
    const PlanePoint& q = in.clockwise ? in.start : in.end;
    const double p1 = p.u, p2 = p.v, q1 = q.u, q2 = q.v;
    const double r = in.r;

    if (r == 0.0) {
        if (in.centreOffset.u == 0.0 && in.centreOffset.v == 0.0) return false;
        c1 = in.start.u + in.centreOffset.u;  // offsets always count from the real start point
        c2 = in.start.v + in.centreOffset.v;
        return true;
    }
    if (p1 == q1 && p2 == q2) return false;  // a radius alone does not fix a full circle

    if (p2 == q2) {
        c1 = p1 + (q1 - p1) / 2.0;
        double t = r * r - ((q1 - p1) / 2.0) * ((q1 - p1) / 2.0);
        if (!ClampRoot(t)) return false;
        double root = std::sqrt(t);
        bool above = (q1 > p1) == (r > 0.0);
        c2 = above ? p2 + root : p2 - root;
        return true;
    }
    double m = (q1 - p1) / (p2 - q2);
    double k = (p1 * p1 - q1 * q1 + p2 * p2 - q2 * q2) / (2.0 * (p2 - q2));
    double d = m * m + 1.0;
    double b = p1 - m * k + m * p2;
    double s = b * b - d * (k * k - 2.0 * p2 * k + p1 * p1 + p2 * p2 - r * r);
    if (!ClampRoot(s)) return false;
    double root = std::sqrt(s);
    if ((q2 > p2 && r > 0.0) || (q2 < p2 && r < 0.0)) {
        c1 = (b - root) / d;
    } else {
        c1 = (b + root) / d;
    }
    c2 = m * c1 + k;
    return true;
}

MotionOutcome MotionCalculator::Compute(const ModalState& modal, MotionRecord& record) {
    const bool inCycle = modal.CannedCycle != 80;
    previousX_ = record.x;
    previousY_ = record.y;
    if (!inCycle) previousZ_ = record.z;  // a cycle keeps the Z from before it began

    const bool anyAxis = modal.hasX || modal.hasY || modal.hasZ;
    const int32_t mode = modal.blockMotion >= 0 ? modal.blockMotion : modal.MotionMode;
    const bool arcMode = mode == 2 || mode == 3;
    if (!anyAxis) {
        bool fullCircle =
            arcMode && (modal.I != 0.0 || modal.J != 0.0 || modal.K != 0.0 || modal.R != 0.0);
        if (!fullCircle) return MotionOutcome::None;
    } else if (modal.ReferenceReturn != 0 || modal.DistanceMode == 90) {
        if (modal.hasX) record.x = modal.X;
        if (modal.hasY) record.y = modal.Y;
        if (modal.hasZ) record.z = modal.Z;
    } else if (modal.DistanceMode == 91) {
        if (modal.hasX) record.x = previousX_ + modal.X;
        if (modal.hasY) record.y = previousY_ + modal.Y;
        if (modal.hasZ) record.z = (inCycle ? previousZ_ : record.z) + modal.Z;
    }

    // A number too large for a double (an address word with hundreds of digits) reads as
    // infinity; such a motion can be neither drawn nor timed.
    if (!std::isfinite(record.x) || !std::isfinite(record.y) || !std::isfinite(record.z))
        return MotionOutcome::Failed;
    if (inCycle) {
        if (arcMode || !std::isfinite(modal.R)) return MotionOutcome::Failed;
        record.SetRetractLevel(modal.R);
        record.kind = CycleKind(modal.CannedCycle);
        return MotionOutcome::Motion;
    }
    record.kind = static_cast<MotionKind>(mode);
    if (!arcMode) return MotionOutcome::Motion;

    record.kind = static_cast<MotionKind>(mode + 10 * modal.Plane);
    ArcCentreInput in;
    in.clockwise = mode == 2;
    in.r = modal.R;
    switch (modal.Plane) {
        case 18:
            in.start = {previousZ_, previousX_};
            in.end = {record.z, record.x};
            in.centreOffset = {modal.K, modal.I};
            break;
        case 19:
            in.start = {previousY_, previousZ_};
            in.end = {record.y, record.z};
            in.centreOffset = {modal.J, modal.K};
            break;
        default:
            in.start = {previousX_, previousY_};
            in.end = {record.x, record.y};
            in.centreOffset = {modal.I, modal.J};
            break;
    }
    PlanePoint centre;
    if (!ArcCentre(in, centre)) return MotionOutcome::Failed;
    record.centreFirst = centre.u;
    record.centreSecond = centre.v;
    if (!std::isfinite(record.centreFirst) || !std::isfinite(record.centreSecond))
        return MotionOutcome::Failed;
    return MotionOutcome::Motion;
}

}  // namespace cuttrace
