#include "core/NcRunner.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "core/BlockWords.h"
#include "core/RunMessages.h"
#include "machines/DiagnosticLog.h"

namespace cuttrace {

namespace {

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

NcRunner::NcRunner() {
    Reset();
}

NcRunner::~NcRunner() {
    for (auto& file : files_)
        file.Close();
}

void NcRunner::SelectMachine(Dialect dialect) {
    SetMachine(CreateMachine(dialect), dialect != Dialect::Tosnac);
}

void NcRunner::SetMachine(std::unique_ptr<NcMachine> machine, bool coordinates) {
    machine_ = std::move(machine);
    coordinatesOn_ = coordinates;
    if (machine_) machine_->AttachRun(&runState_, &runState_);
    if (machine_) machine_->SetCallCodes(callCodes_);
}

void NcRunner::Reset() {
    // Files left open by a run that ended early can no longer be reached once the depth
    // is back at 0, so they are closed here.
    CloseAll();
    runState_.ClearRequests();
    modal_ = ModalState{};
    coords_.Reset();
    compensation_.Reset();
    pending_.clear();
    const MotionRecord last = *output_;  // no offsets yet: the systems agree
    motion_ = machineMotion_ = programMotion_ = last;
    output_ = &motion_;
    machineStale_ = false;
    state_ = RunState::Open;
    depth_ = 0;
    loopDepth_ = 0;
    returnSequence_ = 0;
    line_.clear();
    programName_ = mainProgram_;
    pathToOpen_ = mainProgram_;
    programStartToOpen_ = -1;
    library_.Forget();  // the folders are read again by the next run
    startSequence_ = mainStartSequence_;
}

bool NcRunner::Load(const std::string& path, int32_t startSequence) {
    mainProgram_ = path;
    mainStartSequence_ = startSequence;
    library_.SetMainProgram(path);
    Reset();
    return IsRegularFile(path);
}

void NcRunner::CloseAll() {
    while (depth_ > 0) {
        Current().Close();
        --depth_;
    }
}

void NcRunner::SetProgramFolders(std::vector<std::string> folders) {
    library_.SetFolders(std::move(folders));
}

StepResult NcRunner::Step() {
    const ScopedLogPlace place(*this);
    const StepResult result = StepOnce();
    // A macro alarm (#3000) has logged its own text: it is the end message of the run.
    if (EndsRun(result) && runState_.Alarm().empty()) {
        DiagnosticLog::Log(messages::EndRunMessage(result),
                           result == StepResult::Finished ? Severity::Info : Severity::Error);
    }
    return result;
}

StepResult NcRunner::StepOnce() {
    blockRead_ = pending_.empty();
    if (!blockRead_) {  // motions of a block held back by cutter compensation
        motion_ = pending_.front();
        pending_.pop_front();
        output_ = &motion_;
        return StepResult::Motion;
    }
    // One step function for each RunState, in its order.
    static constexpr StepResult (NcRunner::*kStepOf[])() = {
        &NcRunner::OpenNext, &NcRunner::ReadAndExecute, &NcRunner::Finish, &NcRunner::CloseCurrent};
    return (this->*kStepOf[static_cast<std::size_t>(state_)])();
}

LogPlace NcRunner::CurrentPlace() const {
    if (depth_ < 1) return {mainProgram_, 0};
    const ProgramFile& file = OpenFile(depth_);
    return {file.Path(), file.LineNumber()};
}

StepResult NcRunner::OpenNext() {
    if (depth_ >= kMaxOpenFiles) return StepResult::NestOver;
    ++depth_;
    Current().SetControlBlocks(machine_ && machine_->SemicolonEndsBlock());
    if (!Current().Open(pathToOpen_, startSequence_, programStartToOpen_)) {
        --depth_;  // the failure belongs to the line that asked for the file
        DiagnosticLog::LogText(messages::kCantOpenFile, pathToOpen_);
        return StepResult::OpenFailed;
    }
    DiagnosticLog::LogText(messages::kOpenFile, pathToOpen_, Severity::Info);
    state_ = RunState::Execute;
    return StepResult::FileOpened;
}

StepResult NcRunner::ReadAndExecute() {
    if (!machine_) return StepResult::Invalid;
    coords_.ClearDwell();
    int64_t length = Current().ReadLine(line_);
    if (length < 0) {
        if (depth_ >= 2) machine_->EndOfCalledProgram();
        returnSequence_ = 0;
        if (depth_ == 1) compensation_.Flush(pending_);
        state_ = RunState::Close;
        return StepResult::Line;
    }
    if (length == 0) return StepResult::Line;

    machine_->SplitBlock(line_, words_);
    BlockResult executed = machine_->ExecuteBlock(words_);
    if (executed == BlockResult::Error) return StepResult::MacroFailed;
    words_.JoinInto(expanded_);

    if (executed != BlockResult::Handled) {
        ApplyWords(words_, modal_);
        bool moved = false;
        const StepResult result = ComputeMotion(moved);
        if (result != StepResult::Motion && result != StepResult::NoMotion) return result;
        const StepResult call = CallAfterBlock(moved);
        return call == StepResult::Motion || call == StepResult::NoMotion ? result : call;
    }
    return ActOnRequest();
}

StepResult NcRunner::ComputeMotion(bool& moved) {
    moved = false;
    if (!coordinatesOn_ || (coords_.Plain(modal_) && !compensation_.Engaged()))
        return ComputePlainMotion(moved);
    if (machineStale_) {
        machineMotion_ = programMotion_;  // nothing was active: the systems agreed
        machineStale_ = false;
    }
    const Point3 from{machineMotion_.x, machineMotion_.y, machineMotion_.z};
    switch (coords_.BeginBlock(modal_, programMotion_, machineMotion_)) {
        case StageOutcome::Compute:
            switch (calculator_.Compute(modal_, programMotion_)) {
                case MotionOutcome::None:
                    break;
                case MotionOutcome::Motion:
                    coords_.FinishMotion(modal_, programMotion_, machineMotion_);
                    moved = true;
                    break;
                case MotionOutcome::Failed:
                    return StepResult::MotionFailed;
            }
            break;
        case StageOutcome::Motion:
            moved = true;
            break;
        case StageOutcome::None:
            break;
        case StageOutcome::Failed:
            return StepResult::MotionFailed;
    }
    constexpr uint32_t kCompensationCodes = kCodeCompLeft | kCodeCompRight | kCodeCompOff;
    if (!compensation_.Engaged() && !(modal_.coordinateCodes & kCompensationCodes)) {
        if (!moved) return StepResult::NoMotion;
        motion_ = machineMotion_;
        output_ = &motion_;
        return StepResult::Motion;
    }
    if (!compensation_.Take(modal_, moved ? &machineMotion_ : nullptr, from,
                            coords_.Tools().Radius(modal_.D), coords_.MirrorsXY(), pending_))
        return StepResult::MotionFailed;
    if (pending_.empty()) return StepResult::NoMotion;
    motion_ = pending_.front();
    pending_.pop_front();
    output_ = &motion_;
    return StepResult::Motion;
}

StepResult NcRunner::ComputePlainMotion(bool& moved) {
    // Program, machine and drawn coordinates are one: the record is used as it is computed
    // (a copy right after the calculator's stores would cost the plain run measurably).
    switch (calculator_.Compute(modal_, programMotion_)) {
        case MotionOutcome::None:
            return StepResult::NoMotion;
        case MotionOutcome::Motion:
            output_ = &programMotion_;
            machineStale_ = true;
            moved = true;
            return StepResult::Motion;
        case MotionOutcome::Failed:
            break;
    }
    return StepResult::MotionFailed;
}

StepResult NcRunner::ActOnRequest() {
    const BlockRequest& request = machine_->Request();
    switch (request.kind) {
        case MachineRequest::None:
            break;
        case MachineRequest::LoopBegin:
            if (loopDepth_ >= kLoopStackSize) {
                DiagnosticLog::Log(messages::kLoopStackOver);
                return StepResult::MacroFailed;
            }
            loopStack_[static_cast<std::size_t>(++loopDepth_)] = Current().LineStart();
            break;
        case MachineRequest::LoopEnd:
            if (loopDepth_ < 1) {
                DiagnosticLog::Log(messages::kLoopStackEmpty);
                return StepResult::MacroFailed;
            }
            Current().SeekTo(loopStack_[static_cast<std::size_t>(loopDepth_--)]);
            break;
        case MachineRequest::Goto:
            if (!Current().SeekSequence(request.number)) {
                // Staying put would execute the same jump for ever.
                DiagnosticLog::LogInt(std::string(messages::kSequenceNotFound) + " N",
                                      std::llabs(static_cast<long long>(request.number)));
                return StepResult::SequenceNotFound;
            }
            break;
        case MachineRequest::SkipToEnd:
            if (!Current().SeekLabel(request.name)) {
                DiagnosticLog::LogText(std::string(messages::kSequenceNotFound) + " ",
                                       request.name);
                return StepResult::SequenceNotFound;
            }
            Current().ReadLine(line_);  // continue after the label line
            break;
        case MachineRequest::ProgramEnd:
            compensation_.Flush(pending_);
            state_ = RunState::Finish;
            CloseAll();
            return StepResult::NoMotion;
        case MachineRequest::Call:
            return StartCall(request);
        case MachineRequest::Return:
            returnSequence_ = request.number;
            state_ = RunState::Close;
            break;
        case MachineRequest::ModalCall:  // no modal calls yet
            return StepResult::Invalid;
    }
    return StepResult::Line;
}

StepResult NcRunner::CallAfterBlock(bool moved) {
    // A call code beside other words, or a modal call (G66) after a block that moved an
    // axis: the block is drawn, the next step opens the called program.
    if (machine_->CallAfterBlockDue(moved)) {
        if (machine_->CallAfterBlock(moved) != BlockResult::Handled) return StepResult::MacroFailed;
        if (StepResult failed = StartCall(machine_->Request()); failed != StepResult::Line)
            return failed;
    }
    return moved ? StepResult::Motion : StepResult::NoMotion;
}

bool NcRunner::PresetVariables(const std::vector<VariableSetting>& settings, std::string& error) {
    if (!machine_) return true;
    for (const VariableSetting& setting : settings) {
        if (machine_->PresetVariable(setting.number, setting.value)) continue;
        error = "line " + std::to_string(setting.line) + ": #" + std::to_string(setting.number) +
                " cannot be set";
        return false;
    }
    return true;
}

void NcRunner::SetCallCodes(std::vector<CallCode> codes) {
    callCodes_ = std::move(codes);
    if (machine_) machine_->SetCallCodes(callCodes_);
}

StepResult NcRunner::StartCall(const BlockRequest& request) {
    if (depth_ > kMaxCallDepth) {
        DiagnosticLog::LogText(std::string(messages::kEndNestOver) + " ", request.name);
        return StepResult::NestOver;
    }
    if (!request.name.empty()) {
        programName_ = request.name;
        const ProgramLocation found = library_.Find(programName_, Current().Path());
        pathToOpen_ = found.path;
        programStartToOpen_ = found.offset;
    } else {
        // The program being executed calls itself (a sequence of it).
        pathToOpen_ = Current().Path();
        programStartToOpen_ = Current().ProgramStart();
    }
    files_[static_cast<std::size_t>(depth_ + 1)].SetRepeatCount(request.number != 0 ? request.number
                                                                                    : 1);
    startSequence_ = request.startSequence != 0 ? request.startSequence : -1;
    returnSequence_ = 0;
    state_ = RunState::Open;
    return StepResult::Line;
}

StepResult NcRunner::Finish() {
    CloseAll();
    Reset();
    DiagnosticLog::Log(messages::kNcEnd, Severity::Info);
    return StepResult::Finished;
}

StepResult NcRunner::CloseCurrent() {
    ProgramFile& file = Current();  // the close state is only entered with a file open
    pathToOpen_ = file.Path();
    programStartToOpen_ = file.ProgramStart();
    file.Close();
    file.SetRepeatCount(file.RepeatCount() - 1);
    --depth_;
    if (file.RepeatCount() < 1) {
        file.SetRepeatCount(1);
        state_ = depth_ > 0 ? RunState::Execute : RunState::Finish;
        // M99 Pn: the caller goes on at its sequence n instead of the block after the call.
        if (depth_ > 0 && returnSequence_ != 0) {
            const int32_t sequence = std::exchange(returnSequence_, 0);
            if (!Current().SeekSequence(sequence)) {
                DiagnosticLog::LogInt(std::string(messages::kSequenceNotFound) + " N",
                                      std::llabs(static_cast<long long>(sequence)));
                return StepResult::SequenceNotFound;
            }
        }
    } else {
        state_ = RunState::Open;  // run the same file again, by the path it was opened with
    }
    DiagnosticLog::Log(messages::kCloseFile, Severity::Info);
    return StepResult::FileClosed;
}

bool NcRunner::GotoSequence(int32_t n) {
    if (depth_ < 1 || !Current().IsOpen()) return false;
    Current().SeekSequence(n);
    return true;
}

bool NcRunner::GotoLine(int64_t n) {
    if (depth_ < 1 || !Current().IsOpen()) return false;
    Current().SkipLines(n);
    return true;
}

bool NcRunner::GotoOffset(int64_t offset) {
    if (depth_ < 1 || !Current().IsOpen()) return false;
    Current().BackToLineStart(offset);
    return true;
}

bool NcRunner::CurrentOffset(int64_t& offset, std::string& path) {
    if (depth_ < 1 || !Current().IsOpen()) return false;
    offset = Current().Offset();
    path = Current().Path();
    return true;
}

bool NcRunner::CurrentLineIndex(int64_t& index, std::string& path) {
    if (depth_ < 1 || !Current().IsOpen()) return false;
    index = Current().LineIndex();
    path = Current().Path();
    return true;
}

}  // namespace cuttrace
