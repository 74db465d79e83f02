#include "core/RunMachineState.h"

namespace cuttrace {

namespace {

double AxisOf(const MotionRecord& record, int axis) {
    switch (axis) {
        case 0:
            return record.x;
        case 1:
            return record.y;
        case 2:
            return record.z;
        default:
            return 0.0;  // no rotary axes yet
    }
}

}  // namespace

double RunMachineState::EndPoint(int axis) const {
    return AxisOf(program_, axis);
}

double RunMachineState::MachinePosition(int axis) const {
    MotionRecord machine = program_;
    const Point3 p = coordinates_.ToMachine({program_.x, program_.y, program_.z});
    machine.x = p.x, machine.y = p.y, machine.z = p.z;
    return AxisOf(machine, axis);
}

double RunMachineState::SkipPosition(int axis) const {
    const Point3& skip = coordinates_.SkipPosition();
    return axis == 0 ? skip.x : axis == 1 ? skip.y : axis == 2 ? skip.z : 0.0;
}

double RunMachineState::ToolLengthOffset(int axis) const {
    return axis == 2 ? coordinates_.LengthOffset() : 0.0;  // the length acts along Z
}

double RunMachineState::ToolOffset(int variable) const {
    ToolData::Kind kind{};
    int number = 0;
    if (!ToolData::VariableSlot(variable, kind, number)) return 0.0;
    return coordinates_.Tools().Get(kind, number);
}

bool RunMachineState::SetToolOffset(int variable, double value) {
    ToolData::Kind kind{};
    int number = 0;
    return ToolData::VariableSlot(variable, kind, number) &&
           coordinates_.Tools().Set(kind, number, value);
}

double RunMachineState::ModalG(int group) const {
    // Groups the engine keeps come from the modal state or the coordinate stage; the
    // others read the code a control starts with.
    if (const double code = coordinates_.ModalCode(group); code != 0.0) return code;
    switch (group) {
        case 1:
            return modal_.MotionMode;
        case 2:
            return modal_.Plane;
        case 3:
            return modal_.DistanceMode;
        case 5:
            return 94;  // feed per minute
        case 6:
            return 21;  // millimetres
        case 7:
            return 40;  // no cutter compensation
        case 8:
            return 49;  // no tool length offset
        case 9:
            return modal_.CannedCycle;
        case 10:
            return 98;  // return to the initial level
        case 12:
            return 67;  // no modal call
        case 14:
            return 54;  // first work coordinate system
        default:
            return 0.0;
    }
}

double RunMachineState::BlockAddress(char letter) const {
    switch (letter) {
        case 'D':
            return modal_.D;
        case 'E':
            return modal_.E;
        case 'F':
            return modal_.F;
        case 'H':
            return modal_.H;
        case 'M':
            return modal_.M < 0 ? 0 : modal_.M;
        case 'N':
            return modal_.N;
        case 'O':
            return modal_.O;
        case 'S':
            return modal_.S;
        case 'T':
            return modal_.T;
        default:
            return 0.0;
    }
}

}  // namespace cuttrace
