// What a macro program may read of the run, and the effects it may ask of it.
//
// The execution core implements both interfaces and hands them to the machine
// (NcMachine::AttachRun); the machines library never includes the core. A machine without
// them reads zeros and drops effects (unit tests of the language alone).
#pragma once

#include <string_view>

namespace cuttrace {

// Axes of the position and offset readings: X Y Z A B C.
inline constexpr int kStateAxes = 6;

// The run's state as macro system variables read it. Positions are in program (work)
// coordinates except the machine position.
class MachineState {
  public:
    virtual ~MachineState() = default;

    // #5001.. end point of the previous block, #5021.. machine position, #5041.. current
    // position, #5061.. skip position (end point of the last G31 block), #5081.. tool
    // length offset; axis 0..kStateAxes-1.
    virtual double EndPoint(int axis) const = 0;
    virtual double MachinePosition(int axis) const = 0;
    virtual double CurrentPosition(int axis) const = 0;
    virtual double SkipPosition(int axis) const = 0;
    virtual double ToolLengthOffset(int axis) const = 0;
    // Work offset `system` (0 external, 1..6 G54..G59, 7.. G54.1 P1..), one axis.
    virtual double WorkOffset(int system, int axis) const = 0;
    // Tool offset memory as system variable `variable` reads it: #2001..#2800 and
    // #10001..#13999 (length wear, length geometry, radius wear, radius geometry).
    virtual double ToolOffset(int variable) const = 0;
    // The G code of modal group `group` (1..22) in the previous block, as #4001.. read it
    // (G0 is 0, G17 17, G54 54, G54.1 54.1); 0 for a group the engine does not keep.
    virtual double ModalG(int group) const = 0;
    // The value of address `letter` (B D E F H M N O S T) in the previous block.
    virtual double BlockAddress(char letter) const = 0;
    // Simulated machining time since the run started.
    virtual double MachiningSeconds() const = 0;
};

// What a program asks of the run.
class MachineEffects {
  public:
    virtual ~MachineEffects() = default;

    // #3000: the program stops itself with an alarm (the message is the full text, e.g.
    // "MACRO ALARM 3001 TOOL BROKEN").
    virtual void Alarm(std::string_view message) = 0;
    // #3006: stop like M0 and show the text.
    virtual void MessageStop(std::string_view message) = 0;
    // BPRNT/DPRNT output, one record (line end included).
    virtual void Print(std::string_view text) = 0;
    // Writes of work offsets (#5201.., #7001..; system and axis as WorkOffset reads them)
    // and tool data (#2001.., #10001..); false when the run keeps no such value.
    virtual bool SetWorkOffset(int /*system*/, int /*axis*/, double /*value*/) { return false; }
    virtual bool SetToolOffset(int /*variable*/, double /*value*/) { return false; }
};

}  // namespace cuttrace
