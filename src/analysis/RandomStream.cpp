#include "analysis/RandomStream.h"

#include <cmath>

namespace corvane {

RandomStream::RandomStream(std::uint64_t state, std::uint64_t stream) : m_increment((stream << 1U) | 1U)
{
    Next();
    m_state += state;
    Next();
}

std::uint64_t MixBits(std::uint64_t value)
{
    value += 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30U)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27U)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31U);
}

RandomStream BlockStream(std::uint64_t seed, std::uint64_t block)
{
    return RandomStream(MixBits(seed + MixBits(block)), block);
}

std::uint64_t ChanceThreshold(double probability)
{
    constexpr double kWhole = 4294967296.0; // 2^32
    if (!(probability > 0))                 // also not a number
        return 0;
    if (probability >= 1)
        return static_cast<std::uint64_t>(kWhole);
    return static_cast<std::uint64_t>(std::llround(probability * kWhole));
}

} // namespace corvane
