// The engine's side of what a macro program reads of the run and asks of it: positions,
// modal codes, work offsets and tool data from the runner's state, machining time as the
// caller reports it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/ModalState.h"
#include "core/MotionRecord.h"
#include "core/WorkCoordinates.h"
#include "machines/MachineState.h"

namespace cuttrace {

class RunMachineState final : public MachineState, public MachineEffects {
  public:
    // `program` is the last motion in program coordinates.
    RunMachineState(const ModalState& modal, const MotionRecord& program,
                    WorkCoordinates& coordinates)
        : modal_(modal), program_(program), coordinates_(coordinates) {}

    double EndPoint(int axis) const override;
    double MachinePosition(int axis) const override;
    double CurrentPosition(int axis) const override { return EndPoint(axis); }
    double SkipPosition(int axis) const override;
    double ToolLengthOffset(int axis) const override;
    double WorkOffset(int system, int axis) const override {
        return coordinates_.WorkOffset(system, axis);
    }
    double ToolOffset(int variable) const override;
    double ModalG(int group) const override;
    double BlockAddress(char letter) const override;
    double MachiningSeconds() const override { return machiningSeconds_; }

    void Alarm(std::string_view message) override { alarm_.assign(message); }
    void MessageStop(std::string_view message) override { messageStop_.assign(message); }
    void Print(std::string_view text) override {
        if (print_) print_(text);
    }
    bool SetWorkOffset(int system, int axis, double value) override {
        return coordinates_.SetWorkOffset(system, axis, value);
    }
    bool SetToolOffset(int variable, double value) override;

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
    const MotionRecord& program_;
    WorkCoordinates& coordinates_;
    double machiningSeconds_ = 0.0;
    std::string alarm_;
    std::string messageStop_;
    std::function<void(std::string_view)> print_;
};

}  // namespace cuttrace
