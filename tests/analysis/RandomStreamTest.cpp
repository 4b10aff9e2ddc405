#include "analysis/RandomStream.h"

#include "analysis/MonteCarlo.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace corvane {
namespace {

// The generator's published reference: pcg32 seeded with state 42 and stream 54 starts with these.
TEST(RandomStream, GivesThePublishedNumbersOfItsGenerator)
{
    RandomStream stream(42, 54);
    for (const std::uint32_t expected : {0xa15c02b7U, 0x7b47f409U, 0xba1d3330U, 0x83d2f293U, 0xbfa4784bU, 0xcbed606eU})
        EXPECT_EQ(stream.Next(), expected);
}

TEST(RandomStream, BelowStaysInItsRangeAndGivesEachNumberAsOften)
{
    RandomStream stream = BlockStream(7, 0);
    std::array<int, 3> counts{};
    for (int i = 0; i < 30000; ++i) {
        const std::uint32_t value = stream.Below(3);
        ASSERT_LT(value, 3U);
        ++counts[value];
    }
    for (const int count : counts) // 10000 expected, standard deviation 82
        EXPECT_NEAR(count, 10000, 400);
    EXPECT_EQ(stream.Below(1), 0U);
}

TEST(RandomStream, ChanceOfNoneAndOfAll)
{
    RandomStream stream = BlockStream(1, 2);
    int never = 0;
    int always = 0;
    for (int i = 0; i < 1000; ++i) {
        never += stream.Chance(ChanceThreshold(0)) ? 1 : 0;
        always += stream.Chance(ChanceThreshold(1)) ? 1 : 0;
    }
    EXPECT_EQ(never, 0);
    EXPECT_EQ(always, 1000);
    EXPECT_EQ(ChanceThreshold(0.5), 2147483648ULL);
}

TEST(RandomStream, BlocksOfOneSeedDrawApartAndTheSameSeedDrawsAlike)
{
    EXPECT_NE(BlockStream(5, 0).Next(), BlockStream(5, 1).Next());
    EXPECT_NE(BlockStream(5, 0).Next(), BlockStream(6, 0).Next());
    EXPECT_EQ(BlockStream(5, 3).Next(), BlockStream(5, 3).Next());
}

TEST(Percentiles, NearestRank)
{
    struct Case
    {
        std::size_t Count;
        double Percent;
        std::size_t Index;
    };
    const Case cases[] = {{10000, 5, 499}, {10000, 95, 9499}, {10000, 97.5, 9749}, {3, 50, 1},   {4, 50, 1},
                          {4, 25, 0},      {1, 95, 0},        {10, 0, 0},          {10, 100, 9}, {7, 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Count) + " values, " + std::to_string(c.Percent) + "%");
        EXPECT_EQ(NearestRankIndex(c.Count, c.Percent), c.Index);
    }
}

TEST(Percentiles, RankCountsHalfTheEqualValues)
{
    const std::vector<double> sorted{1, 2, 2, 3};
    EXPECT_DOUBLE_EQ(PercentRank(sorted, 2), 50.0);
    EXPECT_DOUBLE_EQ(PercentRank(sorted, 0), 0.0);
    EXPECT_DOUBLE_EQ(PercentRank(sorted, 3), 87.5);
    EXPECT_DOUBLE_EQ(PercentRank(sorted, 4), 100.0);
}

} // namespace
} // namespace corvane
