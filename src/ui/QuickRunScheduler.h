// Runs the ticks of a quick run back to back in the GUI thread: a zero-interval timer
// runs ticks for a short slice of time, then returns to the event loop so the window
// repaints and the stop button is heard, and goes on at the next turn of the loop. The
// ticks are asked for in batches, and the clock read between batches only (a tick takes
// microseconds).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

namespace cuttrace::ui {

class QuickRunScheduler : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSliceMilliseconds = 20;
    // How long before a slice's end SetSliceEnding's call comes.
    static constexpr int kEndingMilliseconds = 2;
    static constexpr unsigned kTicksPerClockRead = 64;

    // ticks runs up to that many ticks, fewer when the run stops wanting them or the
    // scheduler is stopped; keepGoing says whether the run still wants ticks; sliceDone
    // runs after each slice (to bring the window up to date).
    QuickRunScheduler(std::function<void(unsigned)> ticks, std::function<bool()> keepGoing,
                      std::function<void()> sliceDone, QObject* parent = nullptr);

    void Start();
    void Stop();
    bool IsActive() const { return active_; }
    void SetSliceMilliseconds(int milliseconds) { sliceMilliseconds_ = milliseconds; }
    // Runs before the ticks of each slice.
    void SetSliceStart(std::function<void()> sliceStart) { sliceStart_ = std::move(sliceStart); }
    // Runs once a slice is about to end (kEndingMilliseconds before, or at once in a slice
    // shorter than that).
    void SetSliceEnding(std::function<void()> sliceEnding) {
        sliceEnding_ = std::move(sliceEnding);
    }

    // One slice, as the timer runs it.
    void RunSlice();

  private:
    std::function<void(unsigned)> ticks_;
    std::function<bool()> keepGoing_;
    std::function<void()> sliceDone_;
    std::function<void()> sliceStart_;
    std::function<void()> sliceEnding_;
    QTimer timer_;
    int sliceMilliseconds_ = kSliceMilliseconds;
    bool active_ = false;
};

}  // namespace cuttrace::ui
