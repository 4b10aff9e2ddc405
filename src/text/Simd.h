#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
// The searches of report text may use the processor's vector instructions: SSE2 is there on every
// processor the build runs on, SSSE3 and AVX2 are asked of the processor.
#define CORVANE_X86_SIMD 1
#endif

#include <atomic>

namespace corvane {

/**
 * How wide the searches of report text may look at once: byte by byte, or 16 bytes (SSE2, SSSE3's table
 * look-ups) or 32 (AVX2) at a time. Each search keeps its plain path, which gives the same answers; the
 * level in use is the processor's unless a test narrows it, to hold every path against the plain one.
 */
enum class SimdLevel
{
    Plain,
    Sse2,
    Ssse3,
    Avx2,
};

// The widest level the processor and the build allow.
SimdLevel ProcessorSimd();

// The level the searches use now: read on every search, from any thread, so read inline.
extern std::atomic<SimdLevel> g_simdInUse;
inline SimdLevel SimdInUse()
{
    return g_simdInUse.load(std::memory_order_relaxed);
}

// For tests: the searches use `level` from now on, at most the processor's; returns the level before.
SimdLevel UseSimd(SimdLevel level);

} // namespace corvane
