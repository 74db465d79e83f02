#include "surfaces/ProcessorTime.h"

#include <sys/resource.h>

namespace cuttrace {

namespace {

double Seconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

double ThreadProcessorSeconds() {
    return Seconds(RUSAGE_THREAD);
}

double ProcessProcessorSeconds() {
    return Seconds(RUSAGE_SELF);
}

}  // namespace cuttrace
