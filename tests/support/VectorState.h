// What the processor reports of the upper halves of its 256-bit vector registers (the YMM
// bit of XINUSE), for tests of code that cleans them.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#endif

namespace cuttrace::test {

// Whether this processor says if the upper halves are in use (XGETBV with ECX = 1) and has
// AVX to put them in use.
inline bool CanSeeVectorUppers() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid_max(0, nullptr) < 0xD) return false;
    __cpuid_count(0xD, 1, a, b, c, d);
    return (a & 4u) != 0 && __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

inline bool VectorUppersInUse() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & 4u) != 0;
#else
    return false;
#endif
}

// Leaves the upper halves in use, as a library's AVX code without VZEROUPPER does.
inline void DirtyVectorUppers() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __asm__ volatile("vcmpps $15, %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");  // all ones
#endif
}

}  // namespace cuttrace::test
