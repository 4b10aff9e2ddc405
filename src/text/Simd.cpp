#include "text/Simd.h"

#include <algorithm>
#include <atomic>

namespace corvane {

namespace {

SimdLevel Detect()
{
#if defined(CORVANE_X86_SIMD)
    if (__builtin_cpu_supports("avx2"))
        return SimdLevel::Avx2;
    if (__builtin_cpu_supports("ssse3"))
        return SimdLevel::Ssse3;
    return SimdLevel::Sse2;
#else
    return SimdLevel::Plain;
#endif
}

} // namespace

// Written only by UseSimd, which tests call between their cases. A search run before this is set up (by
// another static object's start) takes the plain path, which gives the same answers.
std::atomic<SimdLevel> g_simdInUse{ProcessorSimd()};

SimdLevel ProcessorSimd()
{
    static const SimdLevel level = Detect();
    return level;
}

SimdLevel UseSimd(SimdLevel level)
{
    return g_simdInUse.exchange(std::min(level, ProcessorSimd()), std::memory_order_relaxed);
}

} // namespace corvane
