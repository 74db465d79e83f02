#include "machines/FanucMachine.h"

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"

namespace cuttrace {

FanucMachine::FanucMachine() {
    // G65 P9010 A1.; M98 P1234 L3.
    callRoles_ = CallRoles{'P', 'P', true, 'L', 0, 0, true};
    alarmBase_ = 3000;  // #3000=1 is alarm 3001
    DiagnosticLog::Log(messages::kFanucConstruct);
}

}  // namespace cuttrace
