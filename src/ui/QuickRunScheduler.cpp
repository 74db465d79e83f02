#include "ui/QuickRunScheduler.h"

namespace cuttrace::ui {

QuickRunScheduler::QuickRunScheduler(std::function<void()> tick, std::function<bool()> keepGoing,
                                     std::function<void()> sliceDone, QObject* parent)
    : QObject(parent),
      tick_(std::move(tick)),
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
    // A tick that ends the run (a message box, an error) stops the timer itself; the loop
    // ends with it. The clock is read every few ticks only (a tick takes microseconds), and
    // not before the first: every slice gets on with the run.
    for (unsigned ticks = 0; active_ && keepGoing_(); ++ticks) {
        if (ticks > 0 && ticks % kTicksPerClockRead == 0 && slice.elapsed() >= sliceMilliseconds_)
            break;
        tick_();
    }
    if (!keepGoing_()) Stop();
    if (sliceDone_) sliceDone_();
}

}  // namespace cuttrace::ui
