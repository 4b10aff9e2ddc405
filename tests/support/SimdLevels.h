#pragma once

#include "text/Simd.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::test {

// Runs `check` once for each level of vector instructions the processor has, the plain one first, with the
// searches held to it, and gives them the processor's level again after.
template <typename Check> void ForEachSimdLevel(Check check)
{
    static const char* const kNames[] = {"plain", "SSE2", "SSSE3", "AVX2"};
    for (int level = 0; level <= static_cast<int>(ProcessorSimd()); ++level) {
        UseSimd(static_cast<SimdLevel>(level));
        SCOPED_TRACE(std::string("searches ") + kNames[level]);
        check();
    }
    UseSimd(ProcessorSimd());
}

} // namespace corvane::test
