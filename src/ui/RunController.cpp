#include "ui/RunController.h"

#include <algorithm>
#include <filesystem>

#include "core/NcRunner.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "machines/DiagnosticLog.h"
#include "ui/MemoryUse.h"
#include "ui/MonotonicClock.h"
#include "ui/ProgramText.h"
#include "ui/RunHost.h"
#include "ui/RunSetup.h"
#include "ui/StatusPanels.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

RunController::RunController(NcRunner& runner, PathDrawer& drawer, MotionBuffer& picture,
                             const Settings& settings, MonotonicClock& clock, RunHost& host,
                             QObject* parent)
    : QObject(parent),
      runner_(runner),
      drawer_(drawer),
      picture_(picture),
      settings_(settings),
      clock_(clock),
      host_(host),
      quick_([this](unsigned ticks) { RunQuickTicks(ticks); },
             [this] { return running_ && quickMode_; }, [this] { ShowQuickProgress(); }),
      motionQueue_([this](const MotionQueue::Item& item) { DrawQueued(item); }) {
    quick_.SetSliceStart([this] { BeginQuickSlice(); });
    // The slice's end waits for the worker: it is handed smaller chunks before it.
    quick_.SetSliceEnding([this] {
        if (queued_) motionQueue_.HandOverSooner();
    });
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RunController::RunTick);
}

RunController::~RunController() = default;

QString RunController::BufferText() const {
    return Tr(kStatusBuffer).arg(motionCounter_);
}

void RunController::StopTicks() {
    SyncDrawing();
    timer_.stop();
    quick_.Stop();
    pendingStop_ = PendingStop::None;
}

void RunController::CloseOutput() {
    if (!outputActive_) return;
    output_.close();
    outputActive_ = false;
    if (output_.fail()) {
        host_.ShowMessage(Tr(kFailed), Tr(kCaptionError));
    }
    output_.clear();
}

void RunController::ReplaceMachine() {
    if (runner_.Machine() && !keepMemory_) memory_.Capture(*runner_.Machine());
    runner_.SelectMachine(DialectFromSetting(settings_.dialect));
    ApplyProgramSettings(runner_, settings_);
    if (runner_.Machine()) runner_.Machine()->SetBlockSkip(settings_.blockSkip);
    if (runner_.Machine()) memory_.ApplyTo(*runner_.Machine());
}

void RunController::FinishMotion() {
    if (drawer_.Busy()) drawer_.Advance(kFinishSeconds);
}

void RunController::LoadProgram(bool clearDrawing) {
    host_.ShowStatus(PanelMode, QString());
    ReplaceMachine();
    startMemory_ = memory_;
    runner_.SetContourRecords(true);  // the programmed contour beside a compensated path
    // Tool lengths and radii of the tool table (the cut simulation's tools are passed over).
    std::string toolError;
    if (settings_.cutToolTable.empty())
        runner_.ClearToolTable();
    else if (!runner_.LoadToolTable(settings_.cutToolTable, &toolError))
        DiagnosticLog::Log(toolError);
    if (running_) {
        StopTicks();
        running_ = false;
    }
    CloseOutput();
    runner_.CloseAll();
    if (motionObserver_) motionObserver_(nullptr);
    // Opening (or resetting) starts a clean drawing: nothing of the last program, no line
    // from where it ended, no time, tool position or feed of it.
    // With keep-drawing set the old path stays, and the new program still starts from the
    // machine's start position.
    if (clearDrawing) {
        if (settings_.keepDrawingOnOpen) FinishMotion();
        drawer_.ResetPosition();
        if (!settings_.keepDrawingOnOpen) host_.ClearPictureBuffer();
    } else {
        FinishMotion();  // a motion left half drawn is completed first
    }
    steps_ = 0;
    runMotions_ = 0;
    blocksDone_ = 0;
    runTo_ = {};
    stopAfterBlocks_ = -1;
    host_.ShowRunProgress(0, 0, 0.0);
    blockDone_ = false;
    restartOnStart_ = false;
    if (!programPath_.empty()) {
        const bool loaded = runner_.Load(programPath_, -1);
        std::error_code error;
        const bool missing = !std::filesystem::exists(programPath_, error);
        const bool readable = std::filesystem::is_regular_file(programPath_, error) &&
                              std::ifstream(programPath_, std::ios::binary).is_open();
        if (!loaded || !readable) {
            // The runner now names the missing file: nothing can run until another load.
            programLoaded_ = false;
            host_.UpdateButtons();
            const QString text = Tr(kFileNamed)
                                     .arg(Tr(missing ? kFileNotFound : kFileUnreadable),
                                          PathToQString(programPath_));
            host_.ShowMessage(text, Tr(kCaptionError));
            return;
        }
        QString variablesError;
        if (!LoadVariablesFile(runner_, settings_, variablesError)) {
            programLoaded_ = false;
            host_.UpdateButtons();
            host_.ShowMessage(Tr(kVariablesFileBad).arg(variablesError), Tr(kCaptionError));
            return;
        }
        host_.ShowProgramPath(programPath_);
        runner_.CloseAll();
        host_.ShowStatus(PanelLine, Tr(kStatusLine).arg(0));
        programLoaded_ = true;
    }
    lineCounter_ = 0;
    host_.ClearLines();
    host_.MachineChanged(runner_.Machine());
    drawer_.SetDrawRapids(true);
    drawer_.BindColors(settings_);
    drawer_.SetTotalTime(0.0);
    host_.RedrawAll();
    host_.ClearPrograms();
    host_.ShowModalState();
    host_.ShowProgress();
    host_.UpdateButtons();
}

void RunController::Reset() {
    LoadProgram();
    DiagnosticLog::Log(kLogReset);
}

void RunController::Start() {
    if (running_ || !programLoaded_ || outputActive_) return;
    RestartIfDue();
    blockDone_ = false;
    pendingStop_ = PendingStop::None;
    lastTick_ = clock_.Seconds();
    if (settings_.timerIntervalMs != 0)
        timer_.start(dryRun_ ? kDryRunInterval : settings_.timerIntervalMs);
    running_ = true;
    quickMode_ = false;
    drawer_.SetQuick(false);
    host_.ShowStatus(PanelMode, Tr(kStatusRunning));
    if (drawer_.Busy()) {
        // The ticks resume the unfinished motion before the next block; without a timer
        // it is drawn at once.
        if (timer_.isActive()) {
            host_.UpdateButtons();
            return;
        }
        FinishMotion();
        host_.PresentViews();
    }
    StepToNextBlock();
    // Without a timer nothing animates the block's motion: single block draws it at once.
    if (singleBlock_ && blockDone_ && running_ && !timer_.isActive()) {
        FinishMotion();
        host_.PresentViews();
        if (running_) WaitForNextBlock();
    }
    host_.UpdateButtons();
}

void RunController::StartQuickRun() {
    if (!programLoaded_ || outputActive_ || (running_ && quickMode_)) return;
    RestartIfDue();
    timer_.stop();
    pendingStop_ = PendingStop::None;
    running_ = true;
    quickMode_ = true;
    drawer_.SetQuick(true);
    BeginQuickTiming();
    host_.ShowStatus(PanelMode, Tr(kStatusQuick));
    host_.ClearLines();
    host_.UpdateButtons();
    quick_.Start();
}

void RunController::Stop() {
    runTo_ = {};
    stopAfterBlocks_ = -1;
    StopTicks();
    running_ = false;
    host_.UpdateButtons();
    host_.ShowStatus(PanelMode, QString());
    DiagnosticLog::Log(kLogStop);
}

void RunController::SetDryRun(bool on) {
    dryRun_ = on;
    drawer_.SetFeed(on ? settings_.dryRunSpeed : runner_.Modal().F);
    if (timer_.isActive()) timer_.setInterval(on ? kDryRunInterval : settings_.timerIntervalMs);
}

void RunController::SetLookAhead(long long motions, double seconds) {
    expectedMotions_ = motions;
    expectedSeconds_ = seconds;
}

void RunController::ShowRunProgress() {
    if (expectedMotions_ <= 0) return;
    const double left = std::max(0.0, expectedSeconds_ - drawer_.TotalTime());
    host_.ShowRunProgress(runMotions_, expectedMotions_, left);
}

void RunController::BeginQuickTiming() {
    quickTime_ = PathSurveyor(settings_.rapidRate);
    quickTime_.SetTimeOnly(true);  // only its seconds are read
    quickTime_.MoveTo(drawer_.CurrentPosition());
}

bool RunController::StoringPath() const {
    return drawer_.Vertices().Storing();
}

void RunController::CheckPathMemory() {
    if (++motionsSinceCheck_ < kMotionsPerMemoryCheck || !drawer_.Vertices().Storing()) return;
    motionsSinceCheck_ = 0;
    const std::size_t used = PathBytesWith(drawer_.Vertices().Bytes());
    if (used <= PathMemoryBytes(settings_)) return;
    // Drawing goes on; what is drawn from here on is not kept, and the log says so once.
    drawer_.SetStoringPath(false);
    host_.PathNoLongerStored();
    DiagnosticLog::Log(Tr(kPathNotStored).arg(used >> 20).toStdString());
}

void RunController::BeginQuickSlice() {
    // A motion left half drawn by an animated run is finished first, on this thread.
    queued_ = quickMode_ && !drawer_.Busy() && prepareThreaded_ && prepareThreaded_();
    // The store's switch changes only on this thread (CheckPathMemory), with the worker idle;
    // the file only between slices (a file opened or closed ends one).
    storingQueued_ = drawer_.Vertices().Storing();
    if (queued_ && runner_.Depth() > 0) queuedPath_ = runner_.OpenFile(runner_.Depth()).Path();
}

std::size_t RunController::PathBytesWith(std::size_t pathBytes) const {
    return pathBytes + picture_.capacity() * sizeof(MotionRecord);
}

void RunController::SyncDrawing() {
    if (!queued_) return;
    motionQueue_.Sync();
    queued_ = false;
    drawnPathBytes_.store(drawer_.Vertices().Bytes(), std::memory_order_relaxed);
    motionsSinceCheck_ = kMotionsPerMemoryCheck;
    CheckPathMemory();
}

void RunController::DrawQueued(const MotionQueue::Item& item) {
    if (item.timed) {
        // The time the animation would take, as the look-ahead pass counts it.
        const double before = quickTime_.Summary().seconds;
        quickTime_.Add(item.motion, item.timeFeed);
        drawer_.SetTotalTime(drawer_.TotalTime() + quickTime_.Summary().seconds - before);
    }
    if (item.hasMotion) {
        drawer_.SetFeed(item.feed);
        if (item.file) drawer_.SetSource(*item.file, item.offset);
        drawer_.BeginMotion(item.motion);
    }
    if (item.secondsAfter > 0.0) drawer_.SetTotalTime(drawer_.TotalTime() + item.secondsAfter);
    if (++drawnSinceReport_ >= kMotionsPerMemoryCheck) {
        drawnSinceReport_ = 0;
        drawnPathBytes_.store(drawer_.Vertices().Bytes(), std::memory_order_relaxed);
    }
}

void RunController::ShowQuickProgress() {
    SyncDrawing();
    host_.ShowStatus(PanelBuffer, BufferText());
    host_.ShowBlock(runner_.ExpandedText());
    host_.PresentViews();
    host_.UpdateButtons();
}

bool RunController::StartExpandedOutput(const std::string& path) {
    if (!programLoaded_ || running_ || outputActive_) return false;
    output_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!output_.is_open()) {
        output_.clear();
        return false;
    }
    outputActive_ = true;
    running_ = true;
    quickMode_ = true;
    drawer_.SetQuick(true);
    BeginQuickTiming();
    pendingStop_ = PendingStop::None;
    host_.ShowStatus(PanelMode, Tr(kStatusQuick));
    host_.UpdateButtons();
    quick_.Start();
    return true;
}

void RunController::SetMotionCounter(int32_t count) {
    motionCounter_ = count;
    host_.ShowStatus(PanelBuffer, BufferText());
}

ButtonStates RunController::Buttons() const {
    ButtonStates b;
    b.open = b.savePicture = b.loadPicture = !running_;
    // A new dialect machine in the middle of a run would lose its call levels.
    b.settings = !running_;
    if (!programLoaded_) return b;
    if (outputActive_) return b;
    b.start = !running_;
    b.stop = running_;
    b.writeExpanded = !running_;
    b.quick = !running_ || !quickMode_;
    return b;
}

}  // namespace cuttrace::ui
