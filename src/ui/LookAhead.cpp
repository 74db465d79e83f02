#include "ui/LookAhead.h"

#include <pthread.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>

#include "core/NcRunner.h"
#include "core/VectorRegisters.h"
#include "surfaces/PathRedraw.h"
#include "ui/RunSetup.h"

namespace cuttrace::ui {

namespace {
constexpr int kWaitSliceMs = 10;
}  // namespace

LookAhead::LookAhead(QObject* parent) : QObject(parent) {
    qRegisterMetaType<cuttrace::PathSummary>("cuttrace::PathSummary");
}

LookAhead::~LookAhead() {
    Cancel();
}

void LookAhead::Join() {
    if (worker_.joinable()) worker_.join();
}

void LookAhead::Cancel() {
    cancel_ = true;
    Join();
    cancel_ = false;
    ++generation_;  // a result already queued is dropped
    running_ = false;
}

bool LookAhead::Wait(int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (running_ && waited.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kWaitSliceMs);
        QThread::msleep(1);
    }
    return !running_;
}

void LookAhead::Start(const std::string& path, const Settings& settings) {
    Cancel();
    result_.reset();
    running_ = true;
    const uint64_t generation = generation_;
    worker_ = std::thread([this, path, settings, generation] {
        pthread_setname_np(pthread_self(), "look-ahead");
        CleanVectorUppers();  // as the window thread left them, which started this one
        // An animated run started meanwhile goes first (a quick run pauses the pass).
        YieldToWindow();
        NcRunner runner;
        runner.SelectMachine(DialectFromSetting(settings.dialect));
        ApplyProgramSettings(runner, settings);  // the program library, as the run has it
        PathSummary summary;
        if (runner.Load(path, -1)) {
            summary = SurveyRun(runner, settings.maxSteps, settings.rapidRate, &cancel_, &paused_);
        } else {
            summary.end = PathSummary::End::Failed;
            summary.result = StepResult::OpenFailed;
            summary.failedFile = path;
        }
        if (summary.end == PathSummary::End::Cancelled) return;
        // Handed to the GUI thread; dropped there when a newer pass has begun.
        QMetaObject::invokeMethod(
            this,
            [this, summary, generation] {
                if (generation != generation_) return;
                Join();
                running_ = false;
                result_ = summary;
                emit Finished(summary);
            },
            Qt::QueuedConnection);
    });
    emit Started();
}

}  // namespace cuttrace::ui
