#include "machines/MeldasMachine.h"

namespace cuttrace {

MeldasMachine::MeldasMachine() {
    // G65 L9010 A1.; M98 L100 P3; M98 H20 (a sequence of the program being executed).
    callRoles_ = CallRoles{'L', 'L', false, 'P', 0, 'H', true};
}

}  // namespace cuttrace
