#include "Samples.h"
#include "portfolio/Comparison.h"
#include "text/CivilTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace corvane {
namespace {

std::string Sample(const std::string& dir, const char* name)
{
    return dir + "/" + name;
}

// A statement of fifteen expert advisors and manual trades: each magic number a strategy of its own.
TEST(SampleStrategies, TheMagicNumbersOfAStatementAddUpToTheStatement)
{
    CORVANE_REQUIRE_SAMPLES();
    const StrategySource source =
        LoadStrategySource(Sample(test::SamplesDir(), "statement-magic-subrows-stoporders.htm"));
    EXPECT_EQ(source.Currency, "USD");
    const std::vector<Strategy> whole = StrategiesOf(source, false, {});
    const std::vector<Strategy> magics = StrategiesOf(source, true, {});
    ASSERT_EQ(whole.size(), 1u);
    ASSERT_EQ(magics.size(), 16u);
    long long trades = 0, cents = 0;
    std::set<std::string> names;
    for (const Strategy& strategy : magics) {
        trades += strategy.Figures.Trades;
        for (const long long day : DailyResultsOf(strategy).Cents)
            cents += day;
        names.insert(*strategy.Magic);
        // Each magic number's gain is its part of the account's: it earns on the balance all trades move.
        EXPECT_TRUE(strategy.Figures.GainPct.has_value()) << strategy.Name;
    }
    EXPECT_EQ(trades, 297);
    EXPECT_EQ(cents, 163524); // the statement's closed trade P/L, 1 635.24
    EXPECT_EQ(std::llround(whole[0].Figures.NetProfit * 100), 163524);
    EXPECT_TRUE(names.count("135797531") && names.count("0"));
    EXPECT_EQ(magics[0].Name, "statement-magic-subrows-stoporders.htm #" + *magics[0].Magic);

    const Comparison c = Compare(magics, {});
    ASSERT_EQ(c.Combinations.size(), 1u);
    EXPECT_EQ(c.Combinations[0].NetCents, 163524);
    EXPECT_LE(c.Combinations[0].MaxDrawdownCents, c.Combinations[0].SumOfSingleDrawdownsCents);
}

TEST(SampleStrategies, ReportsOfBothTerminalsSayTheirCurrencyWhereTheyWriteIt)
{
    CORVANE_REQUIRE_SAMPLES();
    const std::string mt4 = test::SamplesDir(), mt5 = test::Mt5SamplesDir();
    EXPECT_EQ(LoadStrategySource(Sample(mt4, "statement-credit-rows-comments.htm")).Currency, "EUR");
    EXPECT_EQ(LoadStrategySource(Sample(mt4, "statement-japanese-localized-sjis.htm")).Currency, "JPY");
    EXPECT_EQ(LoadStrategySource(Sample(mt4, "tester-b950-close-rows.htm")).Currency, "") << "it names none";
    if (mt5.empty())
        return;
    EXPECT_EQ(LoadStrategySource(Sample(mt5, "history-ja-jpy-hedge-85-trades.html")).Currency, "JPY");
    EXPECT_EQ(LoadStrategySource(Sample(mt5, "tester-en-xauusd-large.html")).Currency, "USD");
    EXPECT_EQ(LoadStrategySource(Sample(mt5, "tester-en-stopout-negative-balance.html")).Currency, "profit in pips");
}

} // namespace
} // namespace corvane
