#pragma once

#include <cstdint>

namespace corvane {

/**
 * A stream of random numbers that is the same on every system and compiler for the same seed: PCG32
 * (M. E. O'Neill's permuted congruential generator "XSH RR", a 64-bit linear congruential state whose
 * output is a 32-bit xorshift of it rotated by its top bits), defined by integer arithmetic alone. The
 * ranges are mapped by the rules below, never by the standard library's distributions, whose results
 * differ from one library to another.
 */
class RandomStream
{
public:
    // The generator's own seeding: `stream` chooses one of 2^63 sequences, `state` the place in it.
    RandomStream(std::uint64_t state, std::uint64_t stream);

    std::uint32_t Next()
    {
        const std::uint64_t old = m_state;
        m_state = old * 6364136223846793005ULL + m_increment;
        const auto shifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
        const auto rotation = static_cast<std::uint32_t>(old >> 59U);
        return (shifted >> rotation) | (shifted << ((32U - rotation) & 31U));
    }

    /**
     * A whole number in [0, bound), each as likely, for a bound of 1 or more: the top half of Next() times
     * the bound, the numbers whose lower half falls below 2^32 mod bound drawn again (D. Lemire, "Fast
     * random integer generation in an interval", 2019).
     */
    std::uint32_t Below(std::uint32_t bound)
    {
        std::uint64_t product = static_cast<std::uint64_t>(Next()) * bound;
        auto low = static_cast<std::uint32_t>(product);
        if (low < bound) {
            const std::uint32_t floor = (0U - bound) % bound;
            while (low < floor) {
                product = static_cast<std::uint64_t>(Next()) * bound;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32U);
    }

    // True with the chance threshold / 2^32: never for 0, always for 2^32 (ChanceThreshold).
    bool Chance(std::uint64_t threshold) { return Next() < threshold; }

private:
    std::uint64_t m_state = 0;
    std::uint64_t m_increment = 0;
};

// SplitMix64's finaliser: spreads the bits of a seed, so that neighbouring seeds start far apart.
std::uint64_t MixBits(std::uint64_t value);

// The stream of block `block` of a simulation seeded with `seed`: state MixBits(seed + MixBits(block)),
// stream `block`. Each block of runs draws from its own stream, whichever thread runs it.
RandomStream BlockStream(std::uint64_t seed, std::uint64_t block);

// A probability in [0, 1] as the threshold of Chance: probability x 2^32 rounded to the nearest whole
// number (values outside the range are held to it).
std::uint64_t ChanceThreshold(double probability);

} // namespace corvane
