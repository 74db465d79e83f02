#include "machines/MeldasMachine.h"

namespace cuttrace {

MeldasMachine::MeldasMachine() = default;

int MeldasMachine::Call(WordList& words) {
    // G65 L9010 A1.; M98 L100 P3; M98 H20 (a sequence of the program being executed).
    static constexpr CallRoles kRoles{'L', 'L', false, 'P', 0, 'H', true};
    return CallWithRoles(words, kRoles);
}

}  // namespace cuttrace
