// The clock that times the animation: monotonic, so a changed wall clock or midnight
// never makes the drawing jump or run backwards. Tests set their own time.
#pragma once

namespace cuttrace::ui {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    // Seconds since an arbitrary fixed point; never decreases.
    virtual double Seconds() = 0;
};

// std::chrono::steady_clock.
class SteadyClock final : public MonotonicClock {
  public:
    double Seconds() override;
};

}  // namespace cuttrace::ui
