#include "ui/MonotonicClock.h"

#include <chrono>

namespace cuttrace::ui {

double SteadyClock::Seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace cuttrace::ui
