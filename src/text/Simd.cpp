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

// Read on every search, from any thread; written only by UseSimd, which tests call between their cases.
std::atomic<SimdLevel>& InUse()
{
    static std::atomic<SimdLevel> level{ProcessorSimd()};
    return level;
}

} // namespace

SimdLevel ProcessorSimd()
{
    static const SimdLevel level = Detect();
    return level;
}

SimdLevel SimdInUse()
{
    return InUse().load(std::memory_order_relaxed);
}

SimdLevel UseSimd(SimdLevel level)
{
    return InUse().exchange(std::min(level, ProcessorSimd()), std::memory_order_relaxed);
}

} // namespace corvane
