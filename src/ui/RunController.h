// Run control of the main window: loading and resetting the program, the timer run
// with its animation, single block, dry run, M0/M1 stops, the quick run, the run that
// writes the expanded program, and the end of a run.
//
// Rules that keep the drawing whole: a motion is never handed to a drawer that is still
// animating one; an M0/M1 stop waits until the motion of its block has been drawn; a
// start while a motion is unfinished resumes it first.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/CacheLines.h"
#include "core/MotionBuffer.h"
#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "drawing/PathSurvey.h"
#include "ui/EditorLaunch.h"
#include "ui/MotionQueue.h"
#include "ui/QuickRunScheduler.h"
#include "ui/VariableMemory.h"

namespace cuttrace {
class NcRunner;
class PathDrawer;
struct Settings;
}  // namespace cuttrace

namespace cuttrace::ui {

class MonotonicClock;
class RunHost;

struct ButtonStates {
    bool start = false;
    bool stop = false;
    bool quick = false;
    bool writeExpanded = false;
    bool open = true;
    bool savePicture = true;
    bool loadPicture = true;
    bool settings = true;
};

class RunController : public QObject {
    Q_OBJECT
  public:
    // A long chain of steps without a block (a macro loop) is cut here and goes on at
    // the next tick, so the window never freezes.
    static constexpr int kMaxStepsPerTick = 4096;
    static constexpr int kDryRunInterval = 1;
    // The stored path's memory is measured every this many motions. While a worker draws,
    // it reports the path's bytes that often, and the run waits for it to measure exactly
    // only once the report and the picture buffer together pass the bound.
    static constexpr unsigned kMotionsPerMemoryCheck = 256;

    RunController(NcRunner& runner, PathDrawer& drawer, MotionBuffer& picture,
                  const Settings& settings, MonotonicClock& clock, RunHost& host,
                  QObject* parent = nullptr);
    ~RunController() override;

    void SetProgramPath(std::string path) { programPath_ = std::move(path); }
    const std::string& ProgramPath() const { return programPath_; }

    // Opens the program path afresh (also the reset): a new machine, no run, no files.
    // The drawing and the run's figures start afresh too, unless clearDrawing is false
    // (a picture file is about to be loaded in their place).
    void LoadProgram(bool clearDrawing = true);
    // A new machine of the settings' dialect, with the call codes and the kept common
    // variables of the one it replaces.
    void ReplaceMachine();
    // The common variables #500..#999 kept from run to run.
    VariableMemory& Memory() { return memory_; }
    void Start();
    void StartQuickRun();
    void Stop();
    void Reset();
    void SetSingleBlock(bool on) {
        singleBlock_ = on;
        blockDone_ = false;
    }
    // Switches the dry run and gives the drawer the speed that goes with it.
    void SetDryRun(bool on);
    // Runs quickly until the line that starts at source is about to be read (at least one
    // step on), then waits as single block does: the next Start goes on from there. M0, M1,
    // an error or the end stop it as they stop any run; Stop stops it.
    void RunToLine(const LineSource& source);
    // One block back (blocks as single block counts them): the program runs again from the
    // top, quickly and over the machine state it began with, to the block before the last
    // one run, and waits there. Nothing happens before the first block.
    void StepBack();
    // Blocks run since the program was loaded, as single block counts them.
    long long BlocksDone() const { return blocksDone_; }
    // Whether a run to a line or a step back is under way.
    bool Seeking() const { return !runTo_.path.empty() || stopAfterBlocks_ >= 0; }

    // One tick of a run: advances the animation, or executes blocks up to the next motion.
    void RunTick();
    // Up to `count` ticks of a quick run, while it goes on.
    void RunQuickTicks(unsigned count);
    // The queued motion of the step just run: what the drawer needs of it.
    MotionQueue::Item MotionItem() const;
    void HandleStepResult(StepResult result);
    // The run is over: ticks stopped, the drawing out of quick mode, the output closed.
    void StopRunning();
    void EndRun(StepResult result);
    // Starts the run that writes every executed block to path; false when the file
    // cannot be opened (nothing is run then).
    bool StartExpandedOutput(const std::string& path);

    // The picture was cleared, or replaced by count loaded records.
    void SetMotionCounter(int32_t count);
    ButtonStates Buttons() const;

    bool Running() const { return running_; }
    bool QuickMode() const { return quickMode_; }
    bool ProgramLoaded() const { return programLoaded_; }
    bool OutputActive() const { return outputActive_; }
    bool SingleBlock() const { return singleBlock_; }
    bool DryRun() const { return dryRun_; }
    // After an error the next Start begins again from the top, unless the user chose to
    // continue after the failing block.
    bool RestartPending() const { return restartOnStart_; }
    // A run asked to begin again (after an error) starts with a reset, the program loaded
    // again. The window calls this before it readies the path for the run: the reset's
    // redraw must not still be drawn while the run adds to the path, nor clear a run's
    // target line.
    void RestartIfDue() {
        if (restartOnStart_ && !running_) Reset();
    }
    // Whether the points drawn are still kept (false once the path memory bound is reached).
    bool StoringPath() const;
    int32_t LineCounter() const { return lineCounter_; }
    int32_t MotionCounter() const { return motionCounter_; }
    QTimer& Timer() { return timer_; }
    QuickRunScheduler& QuickScheduler() { return quick_; }

    // Told of every motion a run makes (with the runner) and of every load (nullptr).
    void SetMotionObserver(std::function<void(NcRunner*)> observer) {
        motionObserver_ = std::move(observer);
    }

    // What the look-ahead pass found: the motions of a whole run and their time, for the
    // progress of an animated run (0 motions: nothing known).
    void SetLookAhead(long long motions, double seconds);
    long long RunMotions() const { return runMotions_; }

    // Brings the panels and views up to date after a slice of a quick run.
    void ShowQuickProgress();

    // Asked before each slice of a quick run whether the drawing calls may go to a worker
    // thread (the views then record them for a worker of their own): when it says yes, the
    // drawer draws the slice's motions on a thread of its own while the run goes on, and the
    // slice's end waits for it. Without it everything is drawn on the window's thread.
    void SetThreadedDrawing(std::function<bool()> prepare) {
        prepareThreaded_ = std::move(prepare);
    }

  private:
    // Long enough for any motion to reach its end in one Advance.
    static constexpr double kFinishSeconds = 1e9;
    enum class PendingStop { None, M1, M0 };

    void StopTicks();
    // One step of the runner, handled, with the stop check of an executed block.
    StepResult ExecuteStep();
    // One step of the runner, handled, with the stops of an executed block and the blocks
    // counted (ExecuteStep after its checks).
    StepResult TakeStep();
    // What a run does with each motion the runner makes.
    void TakeMotion();
    // Steps until a block that counts for this kind of run (single block: one that moves,
    // or any executed line with step-every-line), the run's end, or a cut for the tick.
    void StepToNextBlock();
    bool EndsSingleBlock(StepResult result) const;
    // Single block: the block was done and drawn; the run waits for the next Start.
    void WaitForNextBlock();
    // The end of a run at the step limit, or with an error: the user chooses whether the
    // next Start continues or begins again.
    void OfferRestart(const QString& text);
    // Stops keeping the path once it holds more memory than the settings allow.
    void CheckPathMemory();
    // The memory the path's bound counts: the stored path's bytes and the picture buffer's.
    std::size_t PathBytesWith(std::size_t pathBytes) const;
    // A quick run begins: its motions' time is summed from the drawer's position.
    void BeginQuickTiming();
    void ShowRunProgress();
    // A run to a line has come to its line.
    bool AtRunToLine();
    // A quick run stops where it is, waiting as single block does.
    void WaitHere();
    void CloseOutput();
    void StopAt(PendingStop stop);
    void CheckStops();
    // Draws what is left of an unfinished motion at once.
    void FinishMotion();
    QString BufferText() const;
    // A slice of a quick run begins: its motions are drawn by the worker when allowed.
    void BeginQuickSlice();
    // Waits until the worker has drawn every motion queued; the drawer is the window
    // thread's again.
    void SyncDrawing();
    // Draws one queued motion (on the worker).
    void DrawQueued(const MotionQueue::Item& item);
    // Where the line the runner gave last starts, in which file.
    LineSource LineRead();

    NcRunner& runner_;
    PathDrawer& drawer_;
    MotionBuffer& picture_;
    const Settings& settings_;
    MonotonicClock& clock_;
    RunHost& host_;
    QTimer timer_;
    VariableMemory memory_;
    QuickRunScheduler quick_;
    std::ofstream output_;

    std::string programPath_;
    bool quickMode_ = false;
    bool programLoaded_ = false;
    bool singleBlock_ = false;
    bool dryRun_ = false;
    bool outputActive_ = false;
    bool running_ = false;
    int32_t lineCounter_ = 0;
    int32_t motionCounter_ = 0;
    double lastTick_ = 0.0;
    PendingStop pendingStop_ = PendingStop::None;
    long long steps_ = 0;       // engine steps since the program was loaded
    long long runMotions_ = 0;  // motions since the program was loaded
    long long expectedMotions_ = 0;
    double expectedSeconds_ = 0.0;
    bool blockDone_ = false;
    LineSource runTo_;          // where a run to a line stops (empty path: nowhere)
    long long runToSteps_ = 0;  // steps of the run to a line so far
    long long blocksDone_ = 0;
    long long stopAfterBlocks_ = -1;  // a step back stops after this many blocks
    VariableMemory startMemory_;      // the kept variables as the program was loaded
    bool keepMemory_ = false;         // a step back: the next load takes startMemory_
    bool restartOnStart_ = false;
    unsigned motionsSinceCheck_ = 0;
    std::function<void(NcRunner*)> motionObserver_;
    std::function<bool()> prepareThreaded_;
    bool queued_ = false;         // this slice's motions go to the worker
    bool storingQueued_ = false;  // the path store's switch as this slice began
    unsigned queuedSinceCheck_ = 0;
    // Read or written by whoever draws the motions (during a slice the worker draws, by the
    // worker alone), on cache lines apart from this thread's counters: the time the motions
    // would take animated (added to the drawer's), the motions drawn since the last report,
    // and the file of the motions queued in this slice (set as the slice begins).
    alignas(kThreadApartBytes) PathSurveyor quickTime_{1.0};
    unsigned drawnSinceReport_ = 0;
    std::string queuedPath_;
    std::atomic<std::size_t> drawnPathBytes_{0};  // the stored path's bytes, as last reported
    MotionQueue motionQueue_;
};

}  // namespace cuttrace::ui
