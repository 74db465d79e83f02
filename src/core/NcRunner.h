// The execution engine: runs a program one small step at a time.
//
// Each Step opens a file, reads and executes one line, closes a file or finishes the
// program, and returns a StepResult that tells the caller what happened.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/ModalState.h"
#include "core/MotionCalculator.h"
#include "core/MotionRecord.h"
#include "core/ProgramFile.h"
#include "core/RunMachineState.h"
#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace cuttrace {

enum StepResult : int {
    StepFileOpened = 3,
    StepLine = 1,      // a line was processed; no motion; go on at once
    StepMotion = 2,    // the motion record holds a new motion
    StepNoMotion = 5,  // an ordinary block without motion, or the program-end block
    StepFileClosed = 4,
    StepFinished = 0,
    StepInvalid = -1,  // unknown machine request or invalid state
    StepOpenFailed = -2,
    StepMotionFailed = -3,
    StepNestOver = -4,
    StepMacroFailed = -5,
    StepMacroAbort = -6,  // the machine ended the program because of a macro error
    StepSequenceNotFound = -7,
};

class NcRunner {
  public:
    static constexpr int kSlots = 10;        // slot 0 unused
    static constexpr int kMaxCallDepth = 7;  // a call is refused above this depth
    static constexpr int kLoopStackSize = 27;

    NcRunner();
    ~NcRunner();
    NcRunner(const NcRunner&) = delete;
    NcRunner& operator=(const NcRunner&) = delete;

    void SelectMachine(Dialect dialect);
    // Installs a machine of the caller's (tests use scripted machines).
    void SetMachine(std::unique_ptr<NcMachine> machine);
    void Reset();
    // Resets and names the main program; returns true when no file exists at path.
    bool Load(const std::string& path, int32_t startSequence);
    void CloseAll();
    int Step();

    // Positioning of the current file; false when no file is open at the current depth.
    bool GotoSequence(int32_t n);
    bool GotoLine(int64_t n);
    bool GotoOffset(int64_t offset);
    bool CurrentOffset(int64_t& offset, std::string& path);
    bool CurrentLineIndex(int64_t& index, std::string& path);

    NcMachine* Machine() { return machine_.get(); }
    // What macro programs read of the run and ask of it (machining time, printed output).
    RunMachineState& RunState() { return runState_; }
    const ModalState& Modal() const { return modal_; }
    const MotionRecord& Motion() const { return motion_; }
    const std::string& Line() const { return line_; }  // raw line, end of line included
    const std::string& ExpandedText() const { return expanded_; }
    const std::string& ProgramName() const { return programName_; }
    int Depth() const { return depth_; }
    int State() const { return state_; }
    const ProgramFile& Slot(int i) const { return files_[static_cast<std::size_t>(i)]; }

    // Directory in which called programs are looked for (that of the main program).
    const std::string& ProgramDirectory() const { return programDirectory_; }

  private:
    int OpenNext();
    int ReadAndExecute();
    int Finish();
    int CloseCurrent();
    int ActOnRequest();
    ProgramFile& Current() { return files_[static_cast<std::size_t>(depth_)]; }
    // The path of a called program named `name`, looked for beside the main program.
    std::string ResolveCalledProgram(const std::string& name) const;

    MotionCalculator calculator_;
    std::array<ProgramFile, kSlots> files_;
    int state_ = 1;
    int loopDepth_ = 0;
    int depth_ = 0;
    std::array<int64_t, kLoopStackSize + 1> loopStack_{};
    WordList words_;
    std::unique_ptr<NcMachine> machine_;
    ModalState modal_;
    MotionRecord motion_;
    RunMachineState runState_{modal_, motion_};
    int32_t startSequence_ = -1;
    std::string programName_;
    std::string line_;
    std::string expanded_;
    std::string programDirectory_;
    std::string mainProgram_;  // the path given to Load; a reset starts here again
    int32_t mainStartSequence_ = -1;
    std::string programExtension_;  // of the main program, tried for called names
    std::string pathToOpen_;        // the file the next open step opens
};

}  // namespace cuttrace
