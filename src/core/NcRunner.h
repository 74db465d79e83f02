// The execution engine: runs a program one small step at a time.
//
// Each Step opens a file, reads and executes one line, closes a file or finishes the
// program, and returns a StepResult that tells the caller what happened.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/CutterCompensation.h"
#include "core/ModalState.h"
#include "core/MotionCalculator.h"
#include "core/MotionRecord.h"
#include "core/ProgramFile.h"
#include "core/ProgramLibrary.h"
#include "core/RunMachineState.h"
#include "core/VariablesFile.h"
#include "core/WorkCoordinates.h"
#include "machines/DiagnosticLog.h"
#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace cuttrace {

// What one Step did. Positive: the run goes on; zero or negative: it has ended (the
// values are those the viewer's users know from the end-of-run messages).
enum class StepResult : int {
    FileOpened = 3,
    Line = 1,      // a line was processed; no motion; go on at once
    Motion = 2,    // the motion record holds a new motion
    NoMotion = 5,  // an ordinary block without motion, or the program-end block
    FileClosed = 4,
    Finished = 0,
    Invalid = -1,  // no machine selected, or a request the core cannot act on
    OpenFailed = -2,
    MotionFailed = -3,
    NestOver = -4,
    MacroFailed = -5,
    SequenceNotFound = -7,
};

// Whether the run has ended with this step (normally or with an error).
constexpr bool EndsRun(StepResult result) {
    return static_cast<int>(result) <= 0;
}

// Where the runner is between two steps.
enum class RunState { Open, Execute, Finish, Close };

class NcRunner : public LogPlaceSource {
  public:
    static constexpr int kMaxOpenFiles = 9;  // depth 1..9; depth 0 is "no file open"
    static constexpr int kMaxCallDepth = 7;  // a call is refused above this depth
    static constexpr int kLoopStackSize = 27;

    NcRunner();
    ~NcRunner();
    NcRunner(const NcRunner&) = delete;
    NcRunner& operator=(const NcRunner&) = delete;

    // Selects the dialect; FANUC and MELDAS have the coordinate stage (work offsets,
    // transforms, units), TOSNAC has none.
    void SelectMachine(Dialect dialect);
    // Installs a machine of the caller's (tests use scripted machines), without a
    // coordinate stage unless `coordinates`.
    void SetMachine(std::unique_ptr<NcMachine> machine, bool coordinates = false);
    void Reset();
    // Resets and names the main program; false when no file exists at path.
    bool Load(const std::string& path, int32_t startSequence);
    void CloseAll();
    // Folders searched for called programs after the main program's folder, in order.
    void SetProgramFolders(std::vector<std::string> folders);
    // The call codes of this and every later machine (CallCodes.h).
    void SetCallCodes(std::vector<CallCode> codes);
    // Sets the variables of a variables file in the machine (call it after SelectMachine);
    // false with `error` naming the line of a variable that cannot be set.
    bool PresetVariables(const std::vector<VariableSetting>& settings, std::string& error);
    // Runs one small step. The step that ends the run logs its end-of-run message.
    StepResult Step();

    // Positioning of the current file; false when no file is open at the current depth.
    bool GotoSequence(int32_t n);
    bool GotoLine(int64_t n);
    bool GotoOffset(int64_t offset);
    bool CurrentOffset(int64_t& offset, std::string& path);
    bool CurrentLineIndex(int64_t& index, std::string& path);

    NcMachine* Machine() { return machine_.get(); }
    // What macro programs read of the run and ask of it (machining time, printed output).
    RunMachineState& StateForMachine() { return runState_; }
    const ModalState& Modal() const { return modal_; }
    // The last motion in machine coordinates (what is drawn and stored) and in program
    // coordinates (what the program's words say).
    // With cutter compensation a block may give several motions (corners) or its motion
    // may come with a later block's step; BlockRead says whether the step read a block
    // (false for a motion that was held back).
    const MotionRecord& Motion() const { return *output_; }
    bool BlockRead() const { return blockRead_; }
    // Whether compensated blocks also give their programmed contour (IsContourKind
    // records, for drawing and picture files); off by default.
    void SetContourRecords(bool on) { compensation_.SetContour(on); }
    const MotionRecord& ProgramMotion() const { return programMotion_; }
    // Work offsets, transforms, units and tool data of the run.
    const WorkCoordinates& Coordinates() const { return coords_; }
    // Reads the tool table every run starts from (offset lines H1 L=.., D1 R=..); false
    // with the reason ("FILE:LINE: ...") when it cannot be read.
    bool LoadToolTable(const std::string& path, std::string* error) {
        return coords_.LoadToolTable(path, error);
    }
    void ClearToolTable() { coords_.Tools() = ToolData{}; }
    // Seconds of the dwell (G04) of the last block; the caller adds them to the machining time.
    double DwellSeconds() const { return coords_.DwellSeconds(); }
    const std::string& Line() const { return line_; }  // raw line, end of line included
    const std::string& ExpandedText() const { return expanded_; }
    const std::string& ProgramName() const { return programName_; }
    int Depth() const { return depth_; }
    RunState State() const { return state_; }
    // The file open at depth 1..Depth().
    const ProgramFile& OpenFile(int depth) const { return files_[static_cast<std::size_t>(depth)]; }
    // The file and line being executed (the main program before the run opens it).
    LogPlace CurrentPlace() const override;

  private:
    StepResult StepOnce();
    StepResult OpenNext();
    StepResult ReadAndExecute();
    StepResult Finish();
    StepResult CloseCurrent();
    StepResult ActOnRequest();
    // Prepares the open of a called program (the next step opens it); Line, or the end.
    StepResult StartCall(const BlockRequest& request);
    // The result of an ordinary block, after the call that may follow it.
    StepResult CallAfterBlock(bool moved);
    // The motion of an ordinary block: the coordinate stage, the calculator, then
    // cutter compensation; `moved` says whether the block moved an axis.
    StepResult ComputeMotion(bool& moved);
    // A block with nothing active: the calculator alone, in place.
    StepResult ComputePlainMotion(bool& moved);
    ProgramFile& Current() { return files_[static_cast<std::size_t>(depth_)]; }

    MotionCalculator calculator_;
    std::array<ProgramFile, kMaxOpenFiles + 1> files_;  // [0] stays closed
    RunState state_ = RunState::Open;
    int loopDepth_ = 0;
    int depth_ = 0;
    std::array<int64_t, kLoopStackSize + 1> loopStack_{};
    WordList words_;
    std::unique_ptr<NcMachine> machine_;
    ModalState modal_;
    MotionRecord motion_;         // what is drawn: machine coordinates, compensated
    MotionRecord machineMotion_;  // machine coordinates as programmed
    MotionRecord programMotion_;  // program coordinates
    WorkCoordinates coords_;
    CutterCompensation compensation_;
    std::deque<MotionRecord> pending_;  // compensated motions not yet handed out
    bool blockRead_ = true;
    bool coordinatesOn_ = false;
    const MotionRecord* output_ = &motion_;  // the record Motion() shows
    bool machineStale_ = false;              // machineMotion_ lags programMotion_, which it equals
    RunMachineState runState_{modal_, programMotion_, coords_};
    int32_t startSequence_ = -1;
    int32_t returnSequence_ = 0;  // M99 Pn of the program being closed: the caller's N
    std::string programName_;
    std::string line_;
    std::string expanded_;
    std::string mainProgram_;  // the path given to Load; a reset starts here again
    int32_t mainStartSequence_ = -1;
    ProgramLibrary library_;  // finds called programs
    std::vector<CallCode> callCodes_;
    std::string pathToOpen_;           // the file the next open step opens
    int64_t programStartToOpen_ = -1;  // and the program's O line in it (-1: whole file)
};

}  // namespace cuttrace
