// Variables numbered beyond the locals in the MELDAS and FANUC dialects: the common
// variables, the system variables that read the run or act on it, and any other number
// from #100 up, kept as a non-standard variable.
#include <cmath>
#include <ctime>
#include <string>

#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

// Numbers of the system variables read from the run or from the clock.
constexpr int kAlarm = 3000;
constexpr int kMilliseconds = 3001;
constexpr int kHours = 3002;
constexpr int kMessageStop = 3006;
constexpr int kDate = 3011;
constexpr int kTime = 3012;

bool In(int n, int first, int last) {
    return n >= first && n <= last;
}

// Tool offset memory: #2001..#2800, #10001..#13999.
bool IsToolOffset(int n) {
    return In(n, 2001, 2800) || (In(n, 10001, 13999) && (n - 10001) % 1000 < 999);
}

// The work offset a variable names: #5201.. (external, G54..G59), #7001.. (G54.1 P1..).
bool WorkOffsetOf(int n, int& system, int& axis) {
    int first = 0, base = 0;
    if (In(n, 5201, 5326)) {
        first = 5201;
    } else if (In(n, 7001, 7960)) {
        first = 7001, base = 7;
    } else {
        return false;
    }
    axis = (n - first) % 20;
    system = base + (n - first) / 20;
    return axis < kStateAxes;
}

// The address letter of #4101..#4130 (previous block's B, D, E, F, H, M, N, O, S, T).
char BlockAddressLetter(int n) {
    switch (n) {
        case 4102:
            return 'B';
        case 4107:
            return 'D';
        case 4108:
            return 'E';
        case 4109:
            return 'F';
        case 4111:
            return 'H';
        case 4113:
            return 'M';
        case 4114:
            return 'N';
        case 4115:
            return 'O';
        case 4119:
            return 'S';
        case 4120:
            return 'T';
        default:
            return '\0';
    }
}

// Local date (YYYYMMDD) or time of day (HHMMSS) of the computer's clock.
double ClockValue(bool date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (date) return (local.tm_year + 1900) * 10000.0 + (local.tm_mon + 1) * 100.0 + local.tm_mday;
    return local.tm_hour * 10000.0 + local.tm_min * 100.0 + local.tm_sec;
}

}  // namespace

bool NcMachine::ReadRunVariable(int n, double& value) const {
    const MachineState& run = *runState_;
    // Positions and offsets come in blocks of 20 numbers, one per axis.
    auto axisOf = [](int first, int at, int& axis) {
        axis = (at - first) % 20;
        return axis < kStateAxes;
    };
    int axis = 0;
    if (In(n, 5001, 5006)) {
        value = run.EndPoint(n - 5001);
    } else if (In(n, 5021, 5026)) {
        value = run.MachinePosition(n - 5021);
    } else if (In(n, 5041, 5046)) {
        value = run.CurrentPosition(n - 5041);
    } else if (In(n, 5061, 5066)) {
        value = run.SkipPosition(n - 5061);
    } else if (In(n, 5081, 5083)) {
        value = run.ToolLengthOffset(n - 5081);
    } else if (In(n, 5201, 5326) && axisOf(5201, n, axis)) {
        value = run.WorkOffset((n - 5201) / 20, axis);
    } else if (In(n, 7001, 7960) && axisOf(7001, n, axis)) {
        value = run.WorkOffset(7 + (n - 7001) / 20, axis);
    } else if (IsToolOffset(n)) {
        value = run.ToolOffset(n);
    } else if (In(n, 4001, 4022)) {
        value = run.ModalG(n - 4000);
    } else if (BlockAddressLetter(n) != '\0') {
        value = run.BlockAddress(BlockAddressLetter(n));
    } else if (n == kMilliseconds) {
        value = run.MachiningSeconds() * 1000.0 + millisecondsOffset_;
    } else if (n == kHours) {
        value = run.MachiningSeconds() / 3600.0 + hoursOffset_;
    } else if (n == kDate || n == kTime) {
        value = ClockValue(n == kDate);
    } else {
        return false;
    }
    return true;
}

bool NcMachine::IsStoredSystemVariable(int n) {
    // Single-block and feed-hold suppression, part counters, interface signals.
    return n == 3003 || n == 3004 || n == 3901 || n == 3902 || In(n, 1000, 1035) ||
           In(n, 1100, 1135);
}

bool NcMachine::ReadNumbered(int n, double& value) {
    if (In(n, MacroVariables::kFirstCommon,
           MacroVariables::kFirstCommon + MacroVariables::kCommonCount - 1)) {
        value = variables_.Common(n);
        lastReadVacant_ = variables_.CommonVacant(n);
        return true;
    }
    if (ReadRunVariable(n, value)) return true;
    if (n < MacroVariables::kFirstCommon || n == kAlarm || n == kMessageStop) {
        DiagnosticLog::LogInt(messages::kUndefinedVariable, n);
        return false;
    }
    if (!IsStoredSystemVariable(n)) {
        ReportNonStandard(n);
        lastReadVacant_ = variables_.OtherVacant(n);
    }
    value = variables_.Other(n);
    return true;
}

bool NcMachine::WriteNumbered(int n, double value, bool vacant) {
    if (In(n, MacroVariables::kFirstCommon,
           MacroVariables::kFirstCommon + MacroVariables::kCommonCount - 1)) {
        if (vacant) {
            variables_.ClearCommon(n);
        } else {
            variables_.SetCommon(n, value);
        }
        return true;
    }
    if (n == kMilliseconds || n == kHours) {
        // The clocks run on from the value written.
        double seconds = runState_->MachiningSeconds();
        if (n == kMilliseconds) millisecondsOffset_ = value - seconds * 1000.0;
        if (n == kHours) hoursOffset_ = value - seconds / 3600.0;
        return true;
    }
    if (n == kAlarm) return RaiseAlarm(value);
    int system = 0, axis = 0;
    if (WorkOffsetOf(n, system, axis) ? runEffects_->SetWorkOffset(system, axis, value)
                                      : IsToolOffset(n) && runEffects_->SetToolOffset(n, value))
        return true;
    double unused = 0.0;
    if (n < MacroVariables::kFirstCommon || n == kMessageStop || ReadRunVariable(n, unused)) {
        DiagnosticLog::LogInt(n < MacroVariables::kFirstCommon || n == kMessageStop
                                  ? messages::kUndefinedVariable
                                  : messages::kReadOnlyVariable,
                              n);
        writeRefused_ = true;
        return false;
    }
    if (IsStoredSystemVariable(n)) {
        variables_.SetOther(n, value);  // signals and counters hold numbers: vacant is 0
        return true;
    }
    ReportNonStandard(n);
    if (vacant) {
        variables_.ClearOther(n);
    } else {
        variables_.SetOther(n, value);
    }
    return true;
}

void NcMachine::ReportNonStandard(int n) {
    if (reportedNonStandard_.insert(n).second) {
        DiagnosticLog::LogInt(messages::kNonStandardVariable, n);
    }
}

bool NcMachine::RaiseAlarm(double value) {
    // FANUC shows alarm 3000 + n, MELDAS n itself. The run ends here: the statement fails
    // after the alarm has been handed to the run.
    // A number no alarm has (#3000=1E27, #3000=[1/0]) is still said as written.
    const double number = std::trunc(value) + alarmBase_;
    std::string message(messages::kMacroAlarm);
    if (std::fabs(number) < 1e15) {
        message += std::to_string(static_cast<long long>(number));
    } else {
        AppendShortest(message, number);
    }
    // The comment of the block, if any, says why: #3000=1(TOOL BROKEN).
    if (currentBlock_) {
        for (const std::string& word : *currentBlock_) {
            if (word.empty() || word[0] != '(') continue;
            std::size_t end = word.find(')');
            message += ' ';
            message.append(word, 1, end == std::string::npos ? std::string::npos : end - 1);
            break;
        }
    }
    DiagnosticLog::Log(message);
    runEffects_->Alarm(message);
    writeRefused_ = true;
    alarmRaised_ = true;
    return false;
}

}  // namespace cuttrace
