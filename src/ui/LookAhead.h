// The look-ahead pass: when a program is opened the engine runs it once more on a worker
// thread, over a runner and machine of its own (the variables the user sees do not change),
// and sums up its path (drawing/PathSurvey). The window never waits for it: the result
// comes back to the GUI thread as a queued signal. A new pass cancels the one running.
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "core/Settings.h"
#include "drawing/PathSurvey.h"

namespace cuttrace::ui {

class LookAhead : public QObject {
    Q_OBJECT
  public:
    explicit LookAhead(QObject* parent = nullptr);
    ~LookAhead() override;

    // Starts a pass over the program at path with the settings' dialect, program library,
    // step limit and rapid rate (the one running is cancelled first).
    void Start(const std::string& path, const Settings& settings);
    // Cancels the running pass and waits for its thread; no result comes from it.
    void Cancel();
    bool Running() const { return running_; }
    // While paused (a quick run goes on), the pass waits: the run has the processors. A
    // pass started meanwhile waits too.
    void SetPaused(bool on) { paused_.store(on, std::memory_order_relaxed); }
    // Runs the event loop until the running pass has reported (at most timeoutMs); false
    // when it is still running.
    bool Wait(int timeoutMs);
    // The last pass's result, once it has arrived.
    const std::optional<PathSummary>& Result() const { return result_; }

  signals:
    void Started();
    void Finished(const cuttrace::PathSummary& summary);

  private:
    void Join();

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> paused_{false};
    uint64_t generation_ = 0;
    bool running_ = false;
    std::optional<PathSummary> result_;
};

}  // namespace cuttrace::ui
