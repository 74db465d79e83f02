// The coordinate stage between a block's words and its motion record (FANUC and MELDAS):
// work offsets (G54..G59, G54.1 Pn, external), G52 local offsets, G92, G53 moves in
// machine coordinates, units (G20/G21), polar coordinates (G15/G16), programmable mirror
// (G51.1), scaling (G51) and rotation (G68), dwell (G04), skip moves (G31) and the tool
// data of G10 L10..L13 and G43/G44/G49.
//
// Motions are computed in program coordinates and turned into machine coordinates here:
// machine = rotate(scale(mirror(program))) + external + work offset + local + G92 shift.
// With nothing active the machine record is a plain copy of the program record.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ModalState.h"
#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "core/ToolData.h"
#include "machines/MachineState.h"

namespace cuttrace {

// An affine map of points: linear part m, then the translation t.
struct AffineMap {
    std::array<std::array<double, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::array<double, 3> t{};

    Point3 Apply(const Point3& p) const;
    // This map applied after `first`.
    AffineMap After(const AffineMap& first) const;
    bool IsIdentity() const;
};

// What the coordinate stage made of a block before its motion is computed.
enum class StageOutcome {
    Compute,  // go on: compute the block's motion from its (adjusted) words
    Motion,   // the stage made the motion itself (G53): both records hold it
    None,     // no motion
    Failed,   // bad input (logged with its reason)
};

class WorkCoordinates {
  public:
    static constexpr int kExtraSystems = 300;  // G54.1 P1..P300
    static constexpr int kSystems = 7 + kExtraSystems;

    WorkCoordinates();

    // Back to the start of a run: offsets zero, G54, G21 undecided, nothing active; the
    // tool data as loaded.
    void Reset();

    // Acts on the block's coordinate codes and words (they may be rewritten, e.g. polar
    // coordinates or inch values); `program` and `machine` hold the previous end point in
    // either system and are updated when the origin moves or the stage makes the motion.
    // Whether the block needs nothing of the stage and the map is the identity.
    bool Plain(const ModalState& modal) const {
        return identity_ && modal.coordinateCodes == 0 && !busy_;
    }
    StageOutcome BeginBlock(ModalState& modal, MotionRecord& program, MotionRecord& machine) {
        if (modal.coordinateCodes == 0 && !busy_) return StageOutcome::Compute;  // the usual block
        return ActOnBlock(modal, program, machine);
    }
    // After the motion of the block was computed into `program`: its machine record.
    void FinishMotion(const ModalState& modal, const MotionRecord& program, MotionRecord& machine) {
        if (identity_ && modal.coordinateCodes == 0) {
            machine = program;
            return;
        }
        TransformMotion(modal, program, machine);
    }

    Point3 ToMachine(const Point3& p) const { return identity_ ? p : toMachine_.Apply(p); }
    Point3 ToProgram(const Point3& p) const { return identity_ ? p : toProgram_.Apply(p); }

    // Offset `system` (0 external, 1..6 G54..G59, 7.. G54.1 P1..), axis 0..kStateAxes-1.
    double WorkOffset(int system, int axis) const;
    // False for a system or axis out of range.
    bool SetWorkOffset(int system, int axis, double value);
    // 54..59, or 54.1 for G54.1.
    double WorkCode() const { return active_ <= 6 ? 53 + active_ : 54.1; }
    int ActiveSystem() const { return active_; }
    // Whether the map to machine coordinates mirrors the XY plane (compensation then
    // offsets to the other side).
    bool MirrorsXY() const {
        return toMachine_.m[0][0] * toMachine_.m[1][1] - toMachine_.m[0][1] * toMachine_.m[1][0] <
               0;
    }

    // Reads a tool table (ToolData::Load) as the tool data every run starts from; on
    // failure the data stay as they were.
    bool LoadToolTable(const std::string& path, std::string* error);
    ToolData& Tools() { return tools_; }
    const ToolData& Tools() const { return tools_; }
    // G43/G44/G49 (43, 44 or 49) and the length it applies (0 with G49).
    int LengthMode() const { return lengthMode_; }
    double LengthOffset() const { return lengthOffset_; }

    // Modal codes of the groups kept here (#4001..): 0 for a group not kept here.
    double ModalCode(int group) const;
    // Seconds of the dwell in the last block (0 when it had none).
    double DwellSeconds() const { return dwellSeconds_; }
    void ClearDwell() { dwellSeconds_ = 0.0; }
    // Program coordinates of the last G31 end point.
    const Point3& SkipPosition() const { return skip_; }

  private:
    StageOutcome ActOnBlock(ModalState& modal, MotionRecord& program, MotionRecord& machine);
    StageOutcome CodesOfBlock(ModalState& modal, MotionRecord& program, MotionRecord& machine);
    void TransformMotion(const ModalState& modal, const MotionRecord& program,
                         MotionRecord& machine);
    // Whether a block without coordinate codes still needs the stage.
    void UpdateBusy() { busy_ = polar_ || unitFactor_ != 1.0 || offsetsWritten_; }
    bool SetData(ModalState& modal, MotionRecord& program, const MotionRecord& machine);
    bool SetToolValue(const ModalState& modal);
    void ScaleWords(ModalState& modal) const;
    void PolarWords(ModalState& modal, const MotionRecord& program);
    bool ShapeCodes(ModalState& modal, const MotionRecord& program, bool& changed);
    // Makes the map after a change; keeps the machine point of the tool where it is (the
    // program point is worked out again) when `keepMachinePoint`.
    void Rebuild(MotionRecord& program, const MotionRecord& machine, bool keepMachinePoint);
    Point3 Origin() const;

    std::vector<std::array<double, kStateAxes>> offsets_;
    int active_ = 1;
    Point3 local_;       // G52
    Point3 shift_;       // G92
    int firstUnit_ = 0;  // 20 or 21: the unit the picture is in (0: none seen yet)
    int unit_ = 0;
    double unitFactor_ = 1.0;  // program unit to picture unit

    // Mirror (G51.1), scaling (G51) and rotation (G68) of program points.
    std::array<bool, 3> mirrored_{};
    Point3 mirrorCentre_;
    bool scaling_ = false;
    Point3 scaleCentre_;
    std::array<double, 3> scale_{1, 1, 1};
    bool rotating_ = false;
    int rotationPlane_ = 17;
    double rotationU_ = 0, rotationV_ = 0, rotationDegrees_ = 0;
    bool polar_ = false;
    double polarRadius_ = 0, polarDegrees_ = 0;  // of the last polar point
    int lengthMode_ = 49;
    int compensationMode_ = 40;  // G40, G41, G42
    double lengthOffset_ = 0.0;

    AffineMap toMachine_;
    AffineMap toProgram_;
    bool identity_ = true;
    bool offsetsWritten_ = false;  // a system variable wrote an offset since the last block
    bool busy_ = false;            // see UpdateBusy

    double dwellSeconds_ = 0.0;
    Point3 skip_;
    bool skipReported_ = false;
    ToolData tools_;
};

}  // namespace cuttrace
