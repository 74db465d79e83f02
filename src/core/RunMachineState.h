// The engine's side of what a macro program reads of the run and asks of it: positions
// and modal codes from the runner's state, machining time as the caller reports it;
// offsets and tool data read 0 until the engine keeps them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/ModalState.h"
#include "core/MotionRecord.h"
#include "machines/MachineState.h"

namespace cuttrace {

class RunMachineState final : public MachineState, public MachineEffects {
  public:
    RunMachineState(const ModalState& modal, const MotionRecord& motion)
        : modal_(modal), motion_(motion) {}

    double EndPoint(int axis) const override;
    double MachinePosition(int axis) const override { return EndPoint(axis); }
    double CurrentPosition(int axis) const override { return EndPoint(axis); }
    double SkipPosition(int) const override { return 0.0; }
    double ToolLengthOffset(int) const override { return 0.0; }
    double WorkOffset(int, int) const override { return 0.0; }
    double ToolOffset(int) const override { return 0.0; }
    double ModalG(int group) const override;
    double BlockAddress(char letter) const override;
    double MachiningSeconds() const override { return machiningSeconds_; }

    void Alarm(std::string_view message) override { alarm_.assign(message); }
    void MessageStop(std::string_view message) override { messageStop_.assign(message); }
    void Print(std::string_view text) override {
        if (print_) print_(text);
    }

    // The simulated machining time so far (the drawer or the caller adds it up).
    void SetMachiningSeconds(double seconds) { machiningSeconds_ = seconds; }
    // Where printed output goes (none: dropped).
    void SetPrintSink(std::function<void(std::string_view)> sink) { print_ = std::move(sink); }
    // The alarm or message stop the program asked for last (empty: none); Clear forgets both.
    const std::string& Alarm() const { return alarm_; }
    const std::string& MessageStop() const { return messageStop_; }
    void ClearRequests() {
        alarm_.clear();
        messageStop_.clear();
    }

  private:
    const ModalState& modal_;
    const MotionRecord& motion_;
    double machiningSeconds_ = 0.0;
    std::string alarm_;
    std::string messageStop_;
    std::function<void(std::string_view)> print_;
};

}  // namespace cuttrace
