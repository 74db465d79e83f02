#include "core/RunMachineState.h"

namespace cuttrace {

double RunMachineState::EndPoint(int axis) const {
    switch (axis) {
        case 0:
            return motion_.x;
        case 1:
            return motion_.y;
        case 2:
            return motion_.z;
        default:
            return 0.0;  // no rotary axes yet
    }
}

double RunMachineState::ModalG(int group) const {
    // Groups the engine keeps come from the modal state; the others read the code a
    // control starts with.
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
