#include "core/WorkCoordinates.h"

#include <cmath>
#include <numbers>
#include <string>

#include "machines/DiagnosticLog.h"

namespace cuttrace {

namespace {

constexpr double kInch = 25.4;

double& Axis(Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}
double Axis(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// The axes (first, second) of a plane G17/G18/G19.
void PlaneAxes(int plane, int& first, int& second) {
    first = plane == 18 ? 2 : plane == 19 ? 1 : 0;
    second = plane == 18 ? 0 : plane == 19 ? 2 : 1;
}

Point3 EndOf(const MotionRecord& r) {
    return {r.x, r.y, r.z};
}
void SetEnd(MotionRecord& r, const Point3& p) {
    r.x = p.x, r.y = p.y, r.z = p.z;
}

// The block's axis words (X Y Z) as given, by axis.
bool Given(const ModalState& modal, int axis) {
    return axis == 0 ? modal.hasX : axis == 1 ? modal.hasY : modal.hasZ;
}
double Word(const ModalState& modal, int axis) {
    return axis == 0 ? modal.X : axis == 1 ? modal.Y : modal.Z;
}
void ForgetAxisWords(ModalState& modal) {
    modal.hasX = modal.hasY = modal.hasZ = false;
}

bool Fail(const std::string& message) {
    DiagnosticLog::Log(message);
    return false;
}

// A map that moves `centre` to the origin, applies linear part m, and moves back.
AffineMap AboutCentre(const std::array<std::array<double, 3>, 3>& m, const Point3& centre) {
    AffineMap map;
    map.m = m;
    for (int i = 0; i < 3; ++i) {
        double moved = 0;
        for (int j = 0; j < 3; ++j)
            moved += m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] * Axis(centre, j);
        map.t[static_cast<std::size_t>(i)] = Axis(centre, i) - moved;
    }
    return map;
}

AffineMap Diagonal(const std::array<double, 3>& d, const Point3& centre) {
    std::array<std::array<double, 3>, 3> m{};
    for (std::size_t i = 0; i < 3; ++i)
        m[i][i] = d[i];
    return AboutCentre(m, centre);
}

AffineMap Rotation(int plane, double degrees, const Point3& centre) {
    int a = 0, b = 0;
    PlaneAxes(plane, a, b);
    const double radians = degrees * std::numbers::pi / 180.0;
    std::array<std::array<double, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
    m[ua][ua] = std::cos(radians);
    m[ua][ub] = -std::sin(radians);
    m[ub][ua] = std::sin(radians);
    m[ub][ub] = std::cos(radians);
    return AboutCentre(m, centre);
}

}  // namespace

Point3 AffineMap::Apply(const Point3& p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t[0],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t[1],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t[2]};
}

AffineMap AffineMap::After(const AffineMap& first) const {
    AffineMap out;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            out.m[i][j] = 0;
            for (std::size_t k = 0; k < 3; ++k)
                out.m[i][j] += m[i][k] * first.m[k][j];
        }
        out.t[i] = t[i];
        for (std::size_t k = 0; k < 3; ++k)
            out.t[i] += m[i][k] * first.t[k];
    }
    return out;
}

bool AffineMap::IsIdentity() const {
    for (std::size_t i = 0; i < 3; ++i) {
        if (t[i] != 0.0) return false;
        for (std::size_t j = 0; j < 3; ++j)
            if (m[i][j] != (i == j ? 1.0 : 0.0)) return false;
    }
    return true;
}

WorkCoordinates::WorkCoordinates() : offsets_(kSystems) {
    Reset();
}

void WorkCoordinates::Reset() {
    for (auto& offset : offsets_)
        offset.fill(0.0);
    active_ = 1;
    local_ = shift_ = {};
    firstUnit_ = unit_ = 0;
    unitFactor_ = 1.0;
    mirrored_.fill(false);
    scaling_ = rotating_ = polar_ = false;
    polarRadius_ = polarDegrees_ = 0;
    lengthMode_ = 49;
    lengthOffset_ = 0.0;
    compensationMode_ = 40;
    toMachine_ = toProgram_ = AffineMap{};
    identity_ = true;
    dwellSeconds_ = 0.0;
    skip_ = {};
    skipReported_ = false;
    offsetsWritten_ = false;
    UpdateBusy();
    tools_.RestoreStart();
}

bool WorkCoordinates::LoadToolTable(const std::string& path, std::string* error) {
    ToolData table;
    if (!table.Load(path, error)) return false;
    table.KeepAsStart();
    tools_ = std::move(table);
    return true;
}

double WorkCoordinates::WorkOffset(int system, int axis) const {
    if (system < 0 || system >= kSystems || axis < 0 || axis >= kStateAxes) return 0.0;
    return offsets_[static_cast<std::size_t>(system)][static_cast<std::size_t>(axis)];
}

bool WorkCoordinates::SetWorkOffset(int system, int axis, double value) {
    if (system < 0 || system >= kSystems || axis < 0 || axis >= kStateAxes) return false;
    offsets_[static_cast<std::size_t>(system)][static_cast<std::size_t>(axis)] = value;
    offsetsWritten_ = true;  // the next block rebuilds the map with the tool where it is
    UpdateBusy();
    return true;
}

Point3 WorkCoordinates::Origin() const {
    Point3 origin;
    for (int axis = 0; axis < 3; ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        Axis(origin, axis) = offsets_[0][a] + offsets_[static_cast<std::size_t>(active_)][a] +
                             Axis(local_, axis) + Axis(shift_, axis);
    }
    return origin;
}

void WorkCoordinates::Rebuild(MotionRecord& program, const MotionRecord& machine,
                              bool keepMachinePoint) {
    AffineMap shape;  // mirror, then scaling, then rotation
    AffineMap inverse;
    if (mirrored_[0] || mirrored_[1] || mirrored_[2]) {
        std::array<double, 3> d{};
        for (std::size_t i = 0; i < 3; ++i)
            d[i] = mirrored_[i] ? -1.0 : 1.0;
        shape = Diagonal(d, mirrorCentre_);
        inverse = shape;
    }
    if (scaling_) {
        shape = Diagonal(scale_, scaleCentre_).After(shape);
        inverse = inverse.After(
            Diagonal({1.0 / scale_[0], 1.0 / scale_[1], 1.0 / scale_[2]}, scaleCentre_));
    }
    if (rotating_) {
        Point3 centre;
        int a = 0, b = 0;
        PlaneAxes(rotationPlane_, a, b);
        Axis(centre, a) = rotationU_;
        Axis(centre, b) = rotationV_;
        shape = Rotation(rotationPlane_, rotationDegrees_, centre).After(shape);
        inverse = inverse.After(Rotation(rotationPlane_, -rotationDegrees_, centre));
    }
    const Point3 origin = Origin();
    toMachine_ = shape;
    toMachine_.t[0] += origin.x, toMachine_.t[1] += origin.y, toMachine_.t[2] += origin.z;
    AffineMap back;
    back.t = {-origin.x, -origin.y, -origin.z};
    toProgram_ = inverse.After(back);
    identity_ = toMachine_.IsIdentity();
    if (keepMachinePoint) SetEnd(program, ToProgram(EndOf(machine)));
}

StageOutcome WorkCoordinates::ActOnBlock(ModalState& modal, MotionRecord& program,
                                         MotionRecord& machine) {
    if (offsetsWritten_) {  // by a macro statement of this block or an earlier one
        offsetsWritten_ = false;
        Rebuild(program, machine, true);
    }
    const StageOutcome outcome = CodesOfBlock(modal, program, machine);
    UpdateBusy();
    return outcome;
}

StageOutcome WorkCoordinates::CodesOfBlock(ModalState& modal, MotionRecord& program,
                                           MotionRecord& machine) {
    const uint32_t codes = modal.coordinateCodes;

    if (codes & (kCodeInch | kCodeMetric)) {
        unit_ = (codes & kCodeInch) ? 20 : 21;
        if (firstUnit_ == 0) firstUnit_ = unit_;
        unitFactor_ = unit_ == firstUnit_ ? 1.0 : unit_ == 20 ? kInch : 1.0 / kInch;
    }
    if (codes & kCodeDwell) {
        // G04 X1.5 or P1500: seconds (thousandths without a decimal point).
        dwellSeconds_ = std::fabs(modal.hasP ? modal.PReal : modal.X);
        ForgetAxisWords(modal);
        return StageOutcome::None;
    }
    if (codes & kCodePolarOff) polar_ = false;
    if (codes & kCodePolar) polar_ = true;
    if (polar_) PolarWords(modal, program);
    if (unitFactor_ != 1.0) ScaleWords(modal);

    if (codes & kCodeSetData) {
        if (!SetData(modal, program, machine)) return StageOutcome::Failed;
        ForgetAxisWords(modal);
        return StageOutcome::None;
    }
    bool originMoved = false;
    if (codes & (kCodeWork | kCodeWorkExtra)) {
        // G54.1 Pn, also written G54 Pn.
        if ((codes & kCodeWorkExtra) || (modal.workSelect == 54 && modal.hasP)) {
            const int p = modal.hasP ? modal.P : 1;
            if (p < 1 || p > kExtraSystems) {
                Fail("G54.1: work offset P" + std::to_string(p) + " out of range (1.." +
                     std::to_string(kExtraSystems) + ")");
                return StageOutcome::Failed;
            }
            active_ = 6 + p;
        } else {
            active_ = modal.workSelect - 53;
        }
        originMoved = true;
    }
    if (codes & kCodeLocal) {
        for (int axis = 0; axis < 3; ++axis)
            if (Given(modal, axis)) Axis(local_, axis) = Word(modal, axis);
        ForgetAxisWords(modal);
        originMoved = true;
    }
    if (codes & kCodeSetPosition) {
        // The current point becomes the given program point: the origin moves under it.
        Point3 wanted = EndOf(program);
        for (int axis = 0; axis < 3; ++axis)
            if (Given(modal, axis)) Axis(wanted, axis) = Word(modal, axis);
        ForgetAxisWords(modal);
        const Point3 now = EndOf(machine);
        shift_ = {};
        Rebuild(program, machine, false);
        const Point3 lands = ToMachine(wanted);  // where `wanted` is without a shift
        shift_ = {now.x - lands.x, now.y - lands.y, now.z - lands.z};
        Rebuild(program, machine, false);
        SetEnd(program, wanted);
    }
    bool shapeChanged = false;
    if (!ShapeCodes(modal, program, shapeChanged)) return StageOutcome::Failed;
    if (shapeChanged && !originMoved) Rebuild(program, machine, false);
    if (codes & (kCodeCompLeft | kCodeCompRight | kCodeCompOff))
        compensationMode_ = (codes & kCodeCompOff) ? 40 : (codes & kCodeCompLeft) ? 41 : 42;
    if (codes & (kCodeLengthPlus | kCodeLengthMinus | kCodeLengthOff)) {
        lengthMode_ = (codes & kCodeLengthOff) ? 49 : (codes & kCodeLengthMinus) ? 44 : 43;
        if (lengthMode_ != 49 && (modal.H < 0 || modal.H > ToolData::kOffsets)) {
            Fail("G" + std::to_string(lengthMode_) + ": tool length offset H" +
                 std::to_string(modal.H) + " out of range (0.." +
                 std::to_string(ToolData::kOffsets) + ")");
            return StageOutcome::Failed;
        }
        const double length = modal.H == 0 ? 0.0 : tools_.Length(modal.H);
        lengthOffset_ = lengthMode_ == 49 ? 0.0 : lengthMode_ == 43 ? length : -length;
    }
    if (originMoved) Rebuild(program, machine, true);

    if (codes & kCodeSkip) {
        modal.blockMotion = 1;  // a skip move runs like G01 to its end point
        if (!skipReported_) {
            DiagnosticLog::Log("G31: no probe is simulated; the skip position is the end point",
                               Severity::Warning);
            skipReported_ = true;
        }
    }
    if (codes & kCodeMachine) {
        // The axis words are machine coordinates for this block only.
        if (!modal.hasX && !modal.hasY && !modal.hasZ) return StageOutcome::None;
        Point3 end = EndOf(machine);
        for (int axis = 0; axis < 3; ++axis)
            if (Given(modal, axis)) Axis(end, axis) = Word(modal, axis);
        machine.kind = modal.MotionMode == 1 ? KindFeed : KindRapid;
        SetEnd(machine, end);
        program.kind = machine.kind;
        SetEnd(program, ToProgram(end));
        return StageOutcome::Motion;
    }
    return StageOutcome::Compute;
}

void WorkCoordinates::TransformMotion(const ModalState& modal, const MotionRecord& program,
                                      MotionRecord& machine) {
    if (modal.coordinateCodes & kCodeSkip) skip_ = EndOf(program);
    machine = program;
    if (identity_) return;
    SetEnd(machine, toMachine_.Apply(EndOf(program)));
    if (IsArcKind(program.kind)) {
        int a = 0, b = 0;
        PlaneAxes(program.kind / 10, a, b);
        Point3 centre = EndOf(program);
        Axis(centre, a) = program.centreFirst;
        Axis(centre, b) = program.centreSecond;
        const Point3 moved = toMachine_.Apply(centre);
        machine.centreFirst = Axis(moved, a);
        machine.centreSecond = Axis(moved, b);
        const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
        const auto& m = toMachine_.m;
        if (m[ua][ua] * m[ub][ub] - m[ua][ub] * m[ub][ua] < 0.0) {
            // A mirrored plane turns the other way round.
            machine.kind = static_cast<MotionKind>(program.kind % 10 == 2 ? program.kind + 1
                                                                          : program.kind - 1);
        }
    } else if (IsCannedCycleKind(program.kind)) {
        Point3 level = EndOf(program);
        level.z = program.RetractLevel();
        machine.SetRetractLevel(toMachine_.Apply(level).z);
    }
}

void WorkCoordinates::ScaleWords(ModalState& modal) const {
    const double f = unitFactor_;
    modal.X *= f, modal.Y *= f, modal.Z *= f;
    if (!(modal.coordinateCodes & kCodeScale)) modal.I *= f, modal.J *= f, modal.K *= f;
    if (!(modal.coordinateCodes & kCodeRotate)) modal.R *= f;
}

void WorkCoordinates::PolarWords(ModalState& modal, const MotionRecord& program) {
    // G90: radius and angle about the work origin; G91: both add to the last polar point.
    int a = 0, b = 0;
    PlaneAxes(modal.Plane, a, b);
    const bool hasRadius = Given(modal, a), hasAngle = Given(modal, b);
    if (!hasRadius && !hasAngle) return;
    if (modal.coordinateCodes & (kCodeSetData | kCodeLocal | kCodeSetPosition | kCodeMachine))
        return;  // words of these blocks are not points of the program
    const bool incremental = modal.DistanceMode == 91;
    double radius = polarRadius_, degrees = polarDegrees_;
    if (hasRadius) radius = Word(modal, a) + (incremental ? polarRadius_ : 0.0);
    if (hasAngle) degrees = Word(modal, b) + (incremental ? polarDegrees_ : 0.0);
    polarRadius_ = radius, polarDegrees_ = degrees;
    const double radians = degrees * std::numbers::pi / 180.0;
    double u = radius * std::cos(radians), v = radius * std::sin(radians);
    if (incremental) {
        const Point3 now = EndOf(program);
        u -= Axis(now, a), v -= Axis(now, b);
    }
    auto set = [&](int axis, double value) {
        if (axis == 0) modal.X = value, modal.hasX = true;
        if (axis == 1) modal.Y = value, modal.hasY = true;
        if (axis == 2) modal.Z = value, modal.hasZ = true;
    };
    set(a, u);
    set(b, v);
}

bool WorkCoordinates::ShapeCodes(ModalState& modal, const MotionRecord& program, bool& changed) {
    const uint32_t codes = modal.coordinateCodes;
    const Point3 now = EndOf(program);
    auto centreOr = [&](int axis) {
        return Given(modal, axis) ? Word(modal, axis) : Axis(now, axis);
    };
    if (codes & (kCodeMirror | kCodeMirrorOff)) {
        const bool any = modal.hasX || modal.hasY || modal.hasZ;
        for (int axis = 0; axis < 3; ++axis) {
            const auto i = static_cast<std::size_t>(axis);
            if (codes & kCodeMirror) {
                if (Given(modal, axis))
                    mirrored_[i] = true, Axis(mirrorCentre_, axis) = Word(modal, axis);
            } else if (!any || Given(modal, axis)) {
                mirrored_[i] = false;
            }
        }
        changed = true;
    }
    if (codes & kCodeScaleOff) scaling_ = false, changed = true;
    if (codes & kCodeScale) {
        if (!modal.hasP && !modal.hasI && !modal.hasJ && !modal.hasK)
            return Fail("G51 without a scale factor (P, or I J K)");
        const double all = modal.hasP ? modal.PReal : 1.0;
        scale_ = {modal.hasI ? modal.I : all, modal.hasJ ? modal.J : all,
                  modal.hasK ? modal.K : all};
        if (scale_[0] == 0.0 || scale_[1] == 0.0 || scale_[2] == 0.0 || !std::isfinite(scale_[0]) ||
            !std::isfinite(scale_[1]) || !std::isfinite(scale_[2]))
            return Fail("G51: a scale factor is zero");
        scaleCentre_ = {centreOr(0), centreOr(1), centreOr(2)};
        scaling_ = true, changed = true;
    }
    if (codes & kCodeRotateOff) rotating_ = false, changed = true;
    if (codes & kCodeRotate) {
        if (!modal.hasR || !std::isfinite(modal.R)) return Fail("G68 without R (rotation angle)");
        int a = 0, b = 0;
        rotationPlane_ = modal.Plane;
        PlaneAxes(rotationPlane_, a, b);
        rotationU_ = centreOr(a), rotationV_ = centreOr(b);
        rotationDegrees_ = modal.R;
        rotating_ = true, changed = true;
    }
    if (codes & (kCodeMirror | kCodeMirrorOff | kCodeScale | kCodeRotate)) ForgetAxisWords(modal);
    return true;
}

bool WorkCoordinates::SetData(ModalState& modal, MotionRecord& program,
                              const MotionRecord& machine) {
    if (!modal.hasL) return Fail("G10 without L (the kind of data)");
    if (!modal.hasP) return Fail("G10 without P (the offset number)");
    const int p = modal.P;
    int system = 0;
    switch (modal.L) {
        case 2:
            if (p < 0 || p > 6)
                return Fail("G10 L2: work offset P" + std::to_string(p) + " out of range (0..6)");
            system = p;
            break;
        case 20:
            if (p < 1 || p > kExtraSystems)
                return Fail("G10 L20: work offset P" + std::to_string(p) + " out of range (1.." +
                            std::to_string(kExtraSystems) + ")");
            system = 6 + p;
            break;
        case 10:
        case 11:
        case 12:
        case 13:
            return SetToolValue(modal);
        default:
            return Fail("G10 L" + std::to_string(modal.L) + " is not known (L2, L20, L10..L13)");
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (!Given(modal, axis)) continue;
        const double before = modal.DistanceMode == 91 ? WorkOffset(system, axis) : 0.0;
        SetWorkOffset(system, axis, before + Word(modal, axis));
    }
    offsetsWritten_ = false;
    Rebuild(program, machine, true);
    return true;
}

bool WorkCoordinates::SetToolValue(const ModalState& modal) {
    const int p = modal.P;
    if (p < 1 || p > ToolData::kOffsets)
        return Fail("G10 L" + std::to_string(modal.L) + ": offset P" + std::to_string(p) +
                    " out of range (1.." + std::to_string(ToolData::kOffsets) + ")");
    if (!modal.hasR) return Fail("G10 L" + std::to_string(modal.L) + " without R (the value)");
    static constexpr ToolData::Kind kKinds[] = {
        ToolData::Kind::LengthGeometry, ToolData::Kind::LengthWear, ToolData::Kind::RadiusGeometry,
        ToolData::Kind::RadiusWear};
    const ToolData::Kind kind = kKinds[modal.L - 10];
    const double before = modal.DistanceMode == 91 ? tools_.Get(kind, p) : 0.0;
    tools_.Set(kind, p, before + modal.R);
    return true;
}

double WorkCoordinates::ModalCode(int group) const {
    switch (group) {
        case 6:
            return unit_ != 0 ? unit_ : 21;
        case 7:
            return compensationMode_;
        case 8:
            return lengthMode_;
        case 11:
            return scaling_ ? 51 : 50;
        case 14:
            return WorkCode();
        case 16:
            return rotating_ ? 68 : 69;
        case 17:
            return polar_ ? 16 : 15;
        case 22:
            return mirrored_[0] || mirrored_[1] || mirrored_[2] ? 51.1 : 50.1;
        default:
            return 0.0;
    }
}

}  // namespace cuttrace
