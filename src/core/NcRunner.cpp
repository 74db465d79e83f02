#include "core/NcRunner.h"

#include <cstdlib>
#include <filesystem>

#include "core/BlockWords.h"
#include "core/RunMessages.h"
#include "machines/DiagnosticLog.h"

namespace cuttrace {

namespace {

enum RunState { StateOpen = 1, StateExecute = 2, StateFinish = 3, StateClose = 4 };

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
    SetMachine(CreateMachine(dialect));
}

void NcRunner::SetMachine(std::unique_ptr<NcMachine> machine) {
    machine_ = std::move(machine);
    if (machine_) machine_->AttachRun(&runState_, &runState_);
}

void NcRunner::Reset() {
    // Files left open by a run that ended early can no longer be reached once the depth
    // is back at 0, so they are closed here.
    CloseAll();
    modal_ = ModalState{};
    state_ = StateOpen;
    depth_ = 0;
    loopDepth_ = 0;
    line_.clear();
    programName_ = mainProgram_;
    pathToOpen_ = mainProgram_;
    startSequence_ = mainStartSequence_;
}

bool NcRunner::Load(const std::string& path, int32_t startSequence) {
    mainProgram_ = path;
    mainStartSequence_ = startSequence;
    std::filesystem::path p(path);
    programDirectory_ = p.parent_path().string();
    programExtension_ = p.extension().string();
    Reset();
    return !IsRegularFile(path);
}

void NcRunner::CloseAll() {
    while (depth_ > 0) {
        Current().Close();
        --depth_;
    }
}

std::string NcRunner::ResolveCalledProgram(const std::string& name) const {
    std::filesystem::path named(name);
    std::string base = named.is_absolute() || programDirectory_.empty()
                           ? name
                           : (std::filesystem::path(programDirectory_) / named).string();
    if (IsRegularFile(base)) return base;
    for (const std::string& extension :
         {programExtension_, std::string(".ncd"), std::string(".dat"), std::string(".nc"),
          std::string(".NC")}) {
        if (extension.empty()) continue;
        if (IsRegularFile(base + extension)) return base + extension;
    }
    return base;  // not there: the open step reports it with this path
}

int NcRunner::Step() {
    switch (state_) {
        case StateOpen:
            return OpenNext();
        case StateExecute:
            return ReadAndExecute();
        case StateFinish:
            return Finish();
        case StateClose:
            return CloseCurrent();
        default:
            return StepInvalid;
    }
}

int NcRunner::OpenNext() {
    if (depth_ + 1 >= kSlots) return StepNestOver;
    ++depth_;
    if (!Current().Open(pathToOpen_, startSequence_)) {
        DiagnosticLog::LogText(messages::kCantOpenFile, pathToOpen_);
        --depth_;
        return StepOpenFailed;
    }
    DiagnosticLog::LogText(messages::kOpenFile, pathToOpen_);
    state_ = StateExecute;
    return StepFileOpened;
}

int NcRunner::ReadAndExecute() {
    if (!machine_) return StepInvalid;
    int64_t length = Current().ReadLine(line_);
    if (length < 0) {
        if (depth_ >= 2) machine_->EndOfCalledProgram();
        state_ = StateClose;
        return StepLine;
    }
    if (length == 0) return StepLine;

    machine_->SplitBlock(line_, words_);
    BlockResult executed = machine_->ExecuteBlock(words_);
    if (executed == BlockResult::Error) return StepMacroFailed;
    words_.JoinInto(expanded_);

    if (executed != BlockResult::Handled) {
        ApplyWords(words_, modal_);
        switch (calculator_.Compute(modal_, motion_)) {
            case MotionOutcome::None:
                return StepNoMotion;
            case MotionOutcome::Motion:
                return StepMotion;
            case MotionOutcome::Failed:
                return StepMotionFailed;
        }
    }
    return ActOnRequest();
}

int NcRunner::ActOnRequest() {
    const BlockRequest& request = machine_->Request();
    switch (request.kind) {
        case MachineRequest::None:
            break;
        case MachineRequest::LoopBegin:
            if (loopDepth_ >= kLoopStackSize) {
                DiagnosticLog::Log(messages::kLoopStackOver);
                return StepMacroFailed;
            }
            loopStack_[static_cast<std::size_t>(++loopDepth_)] = Current().LineStart();
            break;
        case MachineRequest::LoopEnd:
            if (loopDepth_ < 1) {
                DiagnosticLog::Log(messages::kLoopStackEmpty);
                return StepMacroFailed;
            }
            Current().SeekTo(loopStack_[static_cast<std::size_t>(loopDepth_--)]);
            break;
        case MachineRequest::Goto:
            if (Current().SeekSequence(request.number) != 0) {
                // Staying put would execute the same jump for ever.
                DiagnosticLog::LogInt(std::string(messages::kSequenceNotFound) + " N",
                                      std::llabs(static_cast<long long>(request.number)));
                return StepSequenceNotFound;
            }
            break;
        case MachineRequest::SkipToEnd:
            if (Current().SeekLabel(request.name) != 0) {
                DiagnosticLog::LogText(std::string(messages::kSequenceNotFound) + " ",
                                       request.name);
                return StepSequenceNotFound;
            }
            Current().ReadLine(line_);  // continue after the label line
            break;
        case MachineRequest::ProgramEnd:
            state_ = StateFinish;
            CloseAll();
            return StepNoMotion;
        case MachineRequest::Call: {
            if (depth_ > kMaxCallDepth) {
                DiagnosticLog::LogText(std::string(messages::kEndNestOver) + " ", request.name);
                return StepNestOver;
            }
            if (!request.name.empty()) {
                programName_ = request.name;
                pathToOpen_ = ResolveCalledProgram(programName_);
            } else {
                pathToOpen_ = Current().Path();  // the program being executed calls itself
            }
            files_[static_cast<std::size_t>(depth_ + 1)].SetRepeatCount(
                request.number != 0 ? request.number : 1);
            startSequence_ = request.startSequence != 0 ? request.startSequence : -1;
            state_ = StateOpen;
            break;
        }
        case MachineRequest::Return:
            state_ = StateClose;
            break;
        case MachineRequest::ModalCall:  // no modal calls yet
            return StepInvalid;
    }
    return StepLine;
}

int NcRunner::Finish() {
    CloseAll();
    Reset();
    DiagnosticLog::Log(messages::kNcEnd);
    return StepFinished;
}

int NcRunner::CloseCurrent() {
    if (depth_ < 1) return StepInvalid;
    ProgramFile& file = Current();
    pathToOpen_ = file.Path();
    file.Close();
    file.SetRepeatCount(file.RepeatCount() - 1);
    --depth_;
    if (file.RepeatCount() < 1) {
        file.SetRepeatCount(1);
        state_ = depth_ > 0 ? StateExecute : StateFinish;
    } else {
        state_ = StateOpen;  // run the same file again, by the path it was opened with
    }
    DiagnosticLog::Log(messages::kCloseFile);
    return StepFileClosed;
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
    offset = Current().TellOffset();
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
