#include "machines/FanucMachine.h"

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"

namespace cuttrace {

FanucMachine::FanucMachine() {
    DiagnosticLog::Log(messages::kFanucConstruct);
}

int FanucMachine::Call(WordList& words) {
    // G65 P9010 A1.; M98 P1234 L3.
    static constexpr CallRoles kRoles{'P', 'P', true, 'L', 0, 0, true};
    return CallWithRoles(words, kRoles);
}

}  // namespace cuttrace
