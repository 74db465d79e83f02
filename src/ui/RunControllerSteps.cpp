// The run's steps: one step of the engine and what its result asks for (stops, single
// block, run to a line, step back), and the end of a run.
#include "ui/RunController.h"

#include "core/NcRunner.h"
#include "core/RunMessages.h"
#include "core/Settings.h"
#include "core/VectorRegisters.h"
#include "drawing/PathDrawer.h"
#include "machines/DiagnosticLog.h"
#include "ui/MemoryUse.h"
#include "ui/MonotonicClock.h"
#include "ui/RunHost.h"
#include "ui/StatusPanels.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

StepResult RunController::ExecuteStep() {
    if (steps_ >= settings_.maxSteps) {
        // The same limit as cuttrace-cli --max-steps: a program that never ends stops here.
        const QString text = Tr(kStepLimitReached).arg(settings_.maxSteps);
        DiagnosticLog::Log(text.toStdString());
        StopRunning();
        OfferRestart(text);
        host_.UpdateButtons();
        return StepResult::Invalid;
    }
    if (!runTo_.path.empty() && AtRunToLine()) {
        WaitHere();
        return StepResult::Invalid;
    }
    return TakeStep();
}

StepResult RunController::TakeStep() {
    ++steps_;
    ++runToSteps_;
    const StepResult result = runner_.Step();
    // A quick run's motion (most steps) needs nothing of HandleStepResult but TakeMotion.
    if (result == StepResult::Motion && quickMode_ && !outputActive_)
        TakeMotion();
    else
        HandleStepResult(result);
    // Every executed block is checked for a stop, the first of a Start too; a file opened
    // or closed is no block, so an M0 before a return does not stop again after it.
    if ((result == StepResult::Motion || result == StepResult::NoMotion) && running_) CheckStops();
    if (EndsSingleBlock(result)) {
        ++blocksDone_;
        if (singleBlock_ && !Seeking()) blockDone_ = true;
        if (blocksDone_ == stopAfterBlocks_ && running_) WaitHere();
    }
    return result;
}

void RunController::RunQuickTicks(unsigned count) {
    // The usual quick run (its motions drawn by the worker, no block to stop after, no
    // line to run to, no step limit near) takes its steps here one by one; any other goes
    // tick by tick.
    const bool plain = queued_ && !singleBlock_ && !Seeking();
    // Between batches the window's events may have run the toolkit's code.
    CleanVectorUppers();
    for (unsigned i = 0; i < count && running_ && quickMode_ && quick_.IsActive(); ++i) {
        if (!plain || steps_ >= settings_.maxSteps) {
            RunTick();
            continue;
        }
        TakeStep();
    }
}

bool RunController::EndsSingleBlock(StepResult result) const {
    if (result == StepResult::Motion) return true;
    return settings_.singleBlockEveryLine &&
           (result == StepResult::NoMotion || result == StepResult::Line);
}

void RunController::StepToNextBlock() {
    // A normal run takes one block a tick; lines without a block (macro statements) are run
    // through, up to a limit, so a loop without blocks never freezes the window.
    int steps = 0;
    StepResult result = StepResult::Line;
    do {
        result = ExecuteStep();
    } while (running_ && ++steps < kMaxStepsPerTick &&
             (singleBlock_ ? !blockDone_ : result == StepResult::Line));
}

void RunController::WaitForNextBlock() {
    StopTicks();
    running_ = false;
    blockDone_ = false;
    host_.ShowStatus(PanelMode, Tr(kStatusSingleBlock));
    host_.UpdateButtons();
}

void RunController::RunTick() {
    // A quick run draws every motion whole: it needs no clock; its panels catch up after
    // each slice (also after the tick that ends it).
    const bool quick = quickMode_;
    const double now = quick ? lastTick_ : clock_.Seconds();
    const double elapsed = now - lastTick_;
    lastTick_ = now;
    if (!queued_ && drawer_.Busy()) {
        drawer_.Advance(quickMode_ ? kFinishSeconds : elapsed);
        host_.PresentViews();
        if (!drawer_.Busy() && pendingStop_ != PendingStop::None && running_) StopAt(pendingStop_);
    } else if (singleBlock_ && blockDone_) {
        WaitForNextBlock();
        return;
    } else {
        StepToNextBlock();
    }
    if (!quick) {
        host_.ShowProgress();
        ShowRunProgress();
    }
}

void RunController::RunToLine(const LineSource& source) {
    if (!programLoaded_ || outputActive_ || source.path.empty()) return;
    if (running_ && quickMode_) return;
    runTo_ = source;
    runToSteps_ = 0;
    StartQuickRun();
    if (!running_) runTo_ = {};
}

bool RunController::AtRunToLine() {
    if (runToSteps_ == 0) return false;
    int64_t next = 0;
    std::string path;
    return runner_.CurrentOffset(next, path) && next == runTo_.offset && path == runTo_.path;
}

void RunController::StepBack() {
    if (!programLoaded_ || outputActive_ || blocksDone_ == 0) return;
    const long long target = blocksDone_ - 1;
    // The run begins again as it began: the kept variables it found, a clean drawing.
    memory_ = startMemory_;
    keepMemory_ = true;
    LoadProgram();
    keepMemory_ = false;
    if (settings_.keepDrawingOnOpen) {
        host_.ClearPictureBuffer();
        host_.RedrawAll();
    }
    if (target == 0) return;
    stopAfterBlocks_ = target;
    StartQuickRun();
    if (!running_) stopAfterBlocks_ = -1;
}

void RunController::WaitHere() {
    runTo_ = {};
    stopAfterBlocks_ = -1;
    FinishMotion();
    StopTicks();
    running_ = false;
    quickMode_ = false;
    blockDone_ = false;
    drawer_.SetQuick(false);
    host_.AddLine(runner_.Line(), LineRead());
    host_.ShowModalState();
    ShowQuickProgress();
    host_.ShowProgress();
    host_.ShowStatus(PanelMode, Tr(kStatusSingleBlock));
    host_.UpdateButtons();
}

void RunController::CheckStops() {
    if (stopAfterBlocks_ >= 0) return;  // a step back runs again what has been run
    const int32_t m = runner_.Modal().M;
    PendingStop stop = PendingStop::None;
    if (settings_.stopAtM1 && m == 1) stop = PendingStop::M1;
    if (m == 0) stop = PendingStop::M0;
    if (stop == PendingStop::None) return;
    // The stop waits until the motion of its block has been drawn.
    if (!queued_ && drawer_.Busy()) {
        pendingStop_ = stop;
    } else {
        StopAt(stop);
    }
}

void RunController::StopAt(PendingStop stop) {
    StopTicks();
    running_ = false;
    const char* text = stop == PendingStop::M1 ? kStatusM1Stop : kStatusM0Stop;
    host_.ShowStatus(PanelMode, Tr(text));
    DiagnosticLog::Log(stop == PendingStop::M1 ? kLogM1Stop : kLogM0Stop);
    if (quickMode_) ShowQuickProgress();
    host_.UpdateButtons();
}

MotionQueue::Item RunController::MotionItem() const {
    const ProgramFile* file = runner_.Depth() > 0 ? &runner_.OpenFile(runner_.Depth()) : nullptr;
    // Every field is given: the item is made in registers, without filling it first.
    return {
        .motion = runner_.Motion(),
        .timeFeed = static_cast<double>(runner_.Modal().F),
        .secondsAfter = runner_.DwellSeconds() > 0.0 ? runner_.DwellSeconds() : 0.0,
        .feed = dryRun_ ? settings_.dryRunSpeed : static_cast<double>(runner_.Modal().F),
        // The worker reads the copy of the path taken as the slice began: the file's own
        // lies beside what this thread writes at every line.
        .file = file == nullptr ? nullptr
                : queued_       ? &queuedPath_
                                : &file->Path(),
        .offset = file == nullptr ? 0 : file->LineStart(),
        .hasMotion = true,
        .timed = quickMode_,
    };
}

void RunController::TakeMotion() {
    // While the worker draws, the switch is the one taken when the slice began: the store's
    // own lies among what the worker writes at every point.
    const bool storing = queued_ ? storingQueued_ : drawer_.Vertices().Storing();
    if (!settings_.noMotionBuffer && storing) picture_.push_back(runner_.Motion());
    ++motionCounter_;
    if (!IsContourKind(runner_.Motion().kind)) {
        ++runMotions_;
        if (motionObserver_) motionObserver_(&runner_);
    }
    if (!queued_) {
        DrawQueued(MotionItem());
        CheckPathMemory();
        return;
    }
    motionQueue_.Push(MotionItem());
    // The path's memory is measured with the worker idle, once its report says the bound
    // may be passed.
    if (++queuedSinceCheck_ >= kMotionsPerMemoryCheck && storingQueued_) {
        queuedSinceCheck_ = 0;
        if (PathBytesWith(drawnPathBytes_.load(std::memory_order_relaxed)) >
            PathMemoryBytes(settings_)) {
            motionQueue_.Sync();
            motionsSinceCheck_ = kMotionsPerMemoryCheck;
            CheckPathMemory();
            storingQueued_ = drawer_.Vertices().Storing();
        }
    }
}

void RunController::HandleStepResult(StepResult result) {
    if (!quickMode_) host_.RefreshMacros();
    switch (result) {
        case StepResult::Motion:
            TakeMotion();
            if (!quickMode_) {
                host_.ShowStatus(PanelBuffer, BufferText());
                lastTick_ = clock_.Seconds();
                host_.ShowBlock(runner_.ExpandedText());
            }
            if (outputActive_ && runner_.BlockRead()) output_ << runner_.ExpandedText() << '\n';
            break;
        case StepResult::NoMotion:
            // A dwell adds its time without moving.
            if (runner_.DwellSeconds() > 0.0) {
                MotionQueue::Item item;
                item.secondsAfter = runner_.DwellSeconds();
                if (queued_)
                    motionQueue_.Push(item);
                else
                    DrawQueued(item);
            }
            if (!quickMode_) host_.ShowBlock(runner_.ExpandedText());
            if (outputActive_ && runner_.BlockRead()) output_ << runner_.ExpandedText() << '\n';
            break;
        case StepResult::Line:
            break;
        case StepResult::FileOpened:
            // The queued motions name their file through the runner's open files: they are
            // drawn before it changes, and the worker takes the next ones.
            SyncDrawing();
            host_.PushProgram();
            if (quickMode_) BeginQuickSlice();
            if (!quickMode_) host_.UpdateButtons();
            return;
        case StepResult::FileClosed:
            SyncDrawing();
            host_.PopProgram();
            if (quickMode_) BeginQuickSlice();
            if (!quickMode_) host_.UpdateButtons();
            return;
        default:
            host_.AddLine(runner_.Line(), LineRead());
            host_.ShowModalState();
            EndRun(result);
            host_.UpdateButtons();
            return;
    }
    if (quickMode_) return;  // no line counting; the panels catch up after each slice
    ++lineCounter_;
    host_.ShowStatus(PanelLine, Tr(kStatusLine).arg(lineCounter_));
    host_.AddLine(runner_.Line(), LineRead());
    host_.ShowModalState();
    host_.UpdateButtons();
}

LineSource RunController::LineRead() {
    LineSource source;
    int64_t after = 0;
    // The reader stands just after the line it gave.
    if (!runner_.CurrentOffset(after, source.path)) return {};
    source.offset = after - static_cast<int64_t>(runner_.Line().size());
    if (source.offset < 0) return {};
    return source;
}

void RunController::StopRunning() {
    StopTicks();
    running_ = false;
    quickMode_ = false;
    drawer_.SetQuick(false);
    CloseOutput();
    host_.ShowStatus(PanelMode, QString());
    ShowQuickProgress();
}

void RunController::EndRun(StepResult result) {
    StopRunning();
    const std::string_view message = messages::EndRunMessage(result);  // the runner logged it
    QString text = Tr(message);
    // A macro error is often a program of another dialect: say which one was used.
    if (!runner_.StateForMachine().Alarm().empty()) {
        text = QString::fromStdString(runner_.StateForMachine().Alarm());  // the program's own
    } else if (result == StepResult::MacroFailed) {
        text = Tr(kDialectUsed).arg(text, QString::fromLatin1(DialectName(settings_.dialect)));
    }
    host_.ShowProgress();  // the panels show the end before the message does
    if (result == StepResult::Finished) {
        host_.ShowMessage(text, Tr(kCaptionEndMessage));
    } else {
        OfferRestart(text);
    }
    host_.UpdateButtons();
    host_.ShowProgress();
}

void RunController::OfferRestart(const QString& text) {
    const int choice =
        host_.Choose(text, Tr(kCaptionEndMessage), {Tr(kChoiceStartAgain), Tr(kChoiceContinue)});
    restartOnStart_ = choice != 1;
    if (!restartOnStart_) steps_ = 0;  // another run of the step limit
}

}  // namespace cuttrace::ui
