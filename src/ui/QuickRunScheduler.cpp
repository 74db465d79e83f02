#include "ui/QuickRunScheduler.h"

namespace cuttrace::ui {

QuickRunScheduler::QuickRunScheduler(std::function<void(unsigned)> ticks,
                                     std::function<bool()> keepGoing,
                                     std::function<void()> sliceDone, QObject* parent)
    : QObject(parent),
      ticks_(std::move(ticks)),
      keepGoing_(std::move(keepGoing)),
      sliceDone_(std::move(sliceDone)) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &QuickRunScheduler::RunSlice);
}

void QuickRunScheduler::Start() {
    active_ = true;
    timer_.start();
}

void QuickRunScheduler::Stop() {
    active_ = false;
    timer_.stop();
}

void QuickRunScheduler::RunSlice() {
    if (sliceStart_ && active_ && keepGoing_()) sliceStart_();
    QElapsedTimer slice;
    slice.start();
    // A tick that ends the run (a message box, an error) stops the timer itself; its batch
    // and the loop end with it. The clock is not read before the first batch: every slice
    // gets on with the run.
    bool ending = false;
    for (bool first = true; active_ && keepGoing_(); first = false) {
        if (!first) {
            const qint64 elapsed = slice.elapsed();
            if (elapsed >= sliceMilliseconds_) break;
            if (!ending && elapsed >= sliceMilliseconds_ - kEndingMilliseconds) {
                ending = true;
                if (sliceEnding_) sliceEnding_();
            }
        }
        ticks_(kTicksPerClockRead);
    }
    if (!keepGoing_()) Stop();
    if (sliceDone_) sliceDone_();
}

}  // namespace cuttrace::ui
