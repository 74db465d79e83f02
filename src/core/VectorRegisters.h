// The processor's vector registers between this program's code and other libraries'.
#pragma once

namespace cuttrace {

// Leaves the upper halves of the 256-bit vector registers clean (VZEROUPPER), where the
// processor has them.
//
// Code of other libraries (the GUI toolkit's, for one) may return with those halves in use.
// From then on every SSE instruction of this program's (compiled for plain x86-64) waits on
// them. The state stays until something cleans it, and a thread started meanwhile starts
// with it. On such a machine a quick run of a million blocks took about half again as long
// with it.
//
// Called where long work begins on a thread that may have run such code, or been started
// from one: each event of the window's thread, each batch of a quick run's steps, the start
// of each worker thread and of cuttrace-cli's run. It costs next to nothing.
inline void CleanVectorUppers() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    // Checked once: the instruction faults where the processor or the system lacks AVX.
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) __asm__ volatile("vzeroupper");
#endif
}

}  // namespace cuttrace
