#include "WindowRules.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

TEST(NextTitle, AttributionFromTick201For25TicksThenEvery226Ticks)
{
    const std::string shortTitle = kShortTitle;
    const std::string attribution = "Corvane4 - 1.8 - made by the Corvane4 developers";
    int counter = 0;
    std::string title = shortTitle;
    std::vector<std::pair<std::string, int>> runs; // title and the number of ticks it stays
    for (int tick = 1; tick <= 1000; ++tick) {
        if (const std::optional<std::string> next = NextTitle(counter)) title = *next;
        if (runs.empty() || runs.back().first != title) runs.emplace_back(title, 0);
        ++runs.back().second;
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {shortTitle, 200}, {attribution, 25}, {shortTitle, 200}, {attribution, 26}, {shortTitle, 200},
        {attribution, 26}, {shortTitle, 200}, {attribution, 26}, {shortTitle, 97},
    };
    EXPECT_EQ(runs, expected);
}

TEST(WindowRules, ModifierHeldMeansShiftOrControlButNotAlt)
{
    EXPECT_TRUE(ModifierHeld(Qt::ShiftModifier));
    EXPECT_TRUE(ModifierHeld(Qt::ControlModifier));
    EXPECT_TRUE(ModifierHeld(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(ModifierHeld(Qt::AltModifier));
    EXPECT_FALSE(ModifierHeld(Qt::MetaModifier | Qt::KeypadModifier));
    EXPECT_FALSE(ModifierHeld(Qt::NoModifier));
}

} // namespace
} // namespace corvane
