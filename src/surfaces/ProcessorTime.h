// Processor time, for figures that stay steady on a shared machine: the redraw workers'
// busiest thread, and the benchmarks of the viewer.
#pragma once

namespace cuttrace {

// Seconds of processor time (user and system) the calling thread has used.
double ThreadProcessorSeconds();
// Seconds of processor time the whole process (every thread) has used.
double ProcessProcessorSeconds();

}  // namespace cuttrace
