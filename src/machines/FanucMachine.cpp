#include "machines/FanucMachine.h"

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"

namespace cuttrace {

FanucMachine::FanucMachine() {
    UseKeywordTable(Dialect::Fanuc);
    // G65 P9010 A1.; M98 P1234 L3; M98 P1234 Q20 (from N20); M98 Q20 and M97 P20 (N20 of
    // the current program).
    callRoles_ = CallRoles{'P', 'P', true, 'L', 0, 'Q', true};
    alarmBase_ = 3000;  // #3000=1 is alarm 3001
    DiagnosticLog::Log(messages::kFanucConstruct);
}

}  // namespace cuttrace
