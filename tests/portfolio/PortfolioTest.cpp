#include "portfolio/Comparison.h"
#include "portfolio/ComparisonText.h"
#include "portfolio/SettingsText.h"
#include "text/CivilTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace corvane {
namespace {

long long At(const char* time)
{
    return *TimeTextSeconds(time);
}

Strategy Made(const std::string& name, const std::vector<std::pair<const char*, double>>& closes,
              const std::string& currency = "USD")
{
    Strategy strategy;
    strategy.Name = name;
    strategy.Currency = currency;
    for (const auto& [close, result] : closes) {
        ClosedTrade trade;
        trade.OpenSeconds = At(close) - 3600;
        trade.CloseSeconds = At(close);
        trade.Result = result;
        strategy.Trades.push_back(trade);
    }
    return strategy;
}

/**
 * Worked out by hand. A closes +60 and +40 on Monday 8 January 2024, -50 on Tuesday and +30 on Thursday; B,
 * weighted 2, -20 on Tuesday (the day both lose) and +10 on Wednesday (the day only B trades).
 *   combined: Mon 100, Tue -50 + 2 x -20 = -90, Wed 2 x 10 = 20, Thu 30; net 60
 *   running 100, 10, 30, 60: the drawdown 90, from Monday to Tuesday
 *   single drawdowns: A 50 (100 to 50), 2 x B 40 (0 to -40): 90 together, nothing saved: they lose together
 *   correlation over Mon to Thu, in cents: x = 10000, -5000, 0, 3000; y = 0, -2000, 1000, 0
 *     means 2000 and -250; sum of products 12,000,000; of squares 118,000,000 and 4,750,000: r = 0.5068663
 */
TEST(Portfolio, TwoStrategiesWorkedOutByHand)
{
    std::vector<Strategy> strategies{
        Made("A",
             {{"2024.01.08 10:00", 60}, {"2024.01.08 15:00", 40}, {"2024.01.09 11:00", -50}, {"2024.01.11 09:00", 30}}),
        Made("B", {{"2024.01.09 16:00", -20}, {"2024.01.10 12:00", 10}})};
    const Comparison c = Compare(strategies, {{1, 2}, {}});

    EXPECT_EQ(c.Daily[0].Cents, (std::vector<long long>{10000, -5000, 3000}));
    ASSERT_EQ(c.Combinations.size(), 1u);
    const Combination& combined = c.Combinations[0];
    EXPECT_EQ(DateText(combined.Days.front()), "2024.01.08");
    EXPECT_EQ(combined.Cents, (std::vector<long long>{10000, -9000, 2000, 3000}));
    EXPECT_EQ(combined.NetCents, 6000);
    EXPECT_EQ(combined.MaxDrawdownCents, 9000);
    EXPECT_EQ(DateText(combined.Days[*combined.DrawdownPeak]), "2024.01.08");
    EXPECT_EQ(DateText(combined.Days[combined.DrawdownTrough]), "2024.01.09");
    EXPECT_EQ(combined.SumOfSingleDrawdownsCents, 9000);
    EXPECT_EQ(combined.DaysTraded, 4);

    const CorrelationMatrix& m = c.Correlation;
    EXPECT_NEAR(*m.Value(0, 1), 0.5068663237, 1e-9);
    EXPECT_EQ(m.Together(0, 1), 1);
    EXPECT_EQ(m.Counted(0, 1), 4);
    EXPECT_EQ(*m.Value(0, 0), 1.0);
    EXPECT_EQ(m.Counted(0, 0), 3);
}

// The same portfolio's other figures and its text.
TEST(Portfolio, TheFiguresAndTheTextOfTheCombination)
{
    const Comparison c = Compare(
        {Made(
             "A",
             {{"2024.01.08 10:00", 60}, {"2024.01.08 15:00", 40}, {"2024.01.09 11:00", -50}, {"2024.01.11 09:00", 30}}),
         Made("B", {{"2024.01.09 16:00", -20}, {"2024.01.10 12:00", 10}})},
        {{1, 2}, {}});
    const Combination& combined = c.Combinations[0];
    EXPECT_EQ(combined.WinningDays, 3);
    EXPECT_EQ(combined.LosingDays, 1);
    EXPECT_EQ(combined.BestDayCents, 10000);
    EXPECT_EQ(combined.WorstDayCents, -9000);
    EXPECT_NEAR(*combined.RecoveryFactor, 60.0 / 90, 1e-12);
    // Mean 1500 cents, deviation (n - 1) of 10000, -9000, 2000, 3000 about it 7852.8, times the root of 252.
    EXPECT_NEAR(*combined.SharpeRatioAnnual, 3.0322589920, 1e-9);

    const std::vector<std::string> lines = ComparisonLines(c);
    const auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_EQ(lines[0], "Strategies compared: 2");
    EXPECT_TRUE(has("Combined: strategies 1, 2 in USD, 4 days from 2024.01.08 to 2024.01.11"));
    EXPECT_TRUE(has("  Maximal drawdown (daily)     90.00 (from 2024.01.08 to 2024.01.09)"));
    EXPECT_TRUE(has("  Saved by combining           0.00 (0.00%)"));
    EXPECT_TRUE(has("  Best / worst day             100.00 / -90.00"));
}

TEST(Portfolio, ADrawdownFromTheStartHasNoPeakDay)
{
    const Comparison c = Compare({Made("A", {{"2024.01.08 10:00", -5}, {"2024.01.09 10:00", 2}})}, {});
    const Combination& combined = c.Combinations[0];
    EXPECT_EQ(combined.MaxDrawdownCents, 500);
    EXPECT_FALSE(combined.DrawdownPeak);
    EXPECT_EQ(combined.DrawdownTrough, 0u);
    EXPECT_EQ(MaxDrawdownOf({300, -100, -400, 700, -50}), 500);
    // Curves from 0, and in % of the balance the strategy started from.
    Strategy withDeposit = c.Strategies[0];
    EXPECT_TRUE(EquityCurveOf(withDeposit, true).empty()) << "no starting balance";
    withDeposit.Deposit = 1000;
    const std::vector<CurvePoint> percent = EquityCurveOf(withDeposit, true);
    ASSERT_EQ(percent.size(), 3u);
    EXPECT_EQ(percent[0].Value, 0.0);
    EXPECT_DOUBLE_EQ(percent[2].Value, -0.3);
    EXPECT_DOUBLE_EQ(EquityCurveOf(withDeposit, false)[1].Value, -5.0);
}

TEST(Portfolio, TheCalendarHoldsTheWeekdaysAndTheWeekendsTraded)
{
    const Comparison c = Compare(
        {Made("A", {{"2024.01.05 10:00", 1}, {"2024.01.09 10:00", 1}}), Made("B", {{"2024.01.07 10:00", 1}})}, {});
    std::vector<std::string> days;
    for (const long long day : c.Calendar)
        days.push_back(DateText(day));
    // Saturday the 6th is left out: nothing closed that day.
    EXPECT_EQ(days, (std::vector<std::string>{"2024.01.05", "2024.01.07", "2024.01.08", "2024.01.09"}));
}

TEST(Portfolio, TheMatrixIsSymmetricWithOnesOnItsDiagonal)
{
    std::mt19937 random(26);
    std::vector<Strategy> strategies;
    for (int s = 0; s < 7; ++s) {
        std::vector<std::pair<const char*, double>> none;
        Strategy strategy = Made("S" + std::to_string(s), none);
        for (int t = 0; t < 60; ++t) {
            ClosedTrade trade;
            trade.CloseSeconds = At("2024.01.01 00:00") + static_cast<long long>(random() % (90 * 86400));
            trade.Result = static_cast<double>(static_cast<int>(random() % 20001) - 10000) / 100;
            strategy.Trades.push_back(trade);
        }
        std::sort(strategy.Trades.begin(), strategy.Trades.end(), RunsBefore);
        strategies.push_back(strategy);
    }
    strategies.push_back(Made("one day", {{"2024.01.03 10:00", 5}}));
    const CorrelationMatrix m = Compare(strategies, {}).Correlation;
    for (std::size_t r = 0; r < m.Size; ++r)
        for (std::size_t c = 0; c < m.Size; ++c) {
            ASSERT_EQ(m.Value(r, c).has_value(), m.Value(c, r).has_value());
            if (m.Value(r, c)) {
                EXPECT_EQ(*m.Value(r, c), *m.Value(c, r));
                EXPECT_LE(std::fabs(*m.Value(r, c)), 1.0);
            }
            EXPECT_EQ(m.Together(r, c), m.Together(c, r));
        }
    for (std::size_t d = 0; d + 1 < m.Size; ++d)
        EXPECT_EQ(m.Value(d, d), 1.0);
    EXPECT_FALSE(m.Value(7, 7)) << "one day has no deviation";
}

TEST(Portfolio, CurrenciesAreNotAddedUpUnlessRatesAreGiven)
{
    const std::vector<Strategy> strategies{Made("usd", {{"2024.01.08 10:00", 100}}),
                                           Made("jpy", {{"2024.01.08 10:00", 10000}}, "JPY"),
                                           Made("usd too", {{"2024.01.09 10:00", -50}})};
    const Comparison apart = Compare(strategies, {});
    ASSERT_EQ(apart.Combinations.size(), 2u);
    EXPECT_EQ(apart.Combinations[0].Members, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(apart.Combinations[1].Currency, "JPY");
    ASSERT_EQ(apart.Notes.size(), 1u);
    EXPECT_NE(apart.Notes[0].find("USD and JPY"), std::string::npos);

    const Comparison together = Compare(strategies, {{}, ParseRates("jpy=0.0067")});
    ASSERT_EQ(together.Combinations.size(), 1u);
    EXPECT_EQ(together.Combinations[0].Currency, "USD");
    EXPECT_EQ(together.Combinations[0].Cents.front(), 10000 + 6700);

    EXPECT_THROW(Compare(strategies, {{}, ParseRates("EUR=1.08")}), CombineError);
    EXPECT_THROW(Compare(strategies, {{1, 2}, {}}), CombineError);
}

TEST(Portfolio, DaysAreThoseOfTheTradersClock)
{
    Strategy late = Made("late", {{"2024.01.08 22:30", 10}, {"2024.01.09 10:00", 20}});
    EXPECT_EQ(DailyResultsOf(late).Days.size(), 2u);
    late.Clock = ClockShift::Seconds(2 * 3600); // both close on Tuesday on the trader's clock
    const DailyResults daily = DailyResultsOf(late);
    ASSERT_EQ(daily.Days.size(), 1u);
    EXPECT_EQ(DateText(daily.Days[0]), "2024.01.09");
    EXPECT_EQ(daily.Cents[0], 3000);
}

TEST(SettingsText, ReadsRatesWeightsAndClocks)
{
    const std::vector<CurrencyRate> rates = ParseRates(" JPY=0.0067, EUR = 1.08 ");
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_EQ(rates[1].Currency, "EUR");
    EXPECT_DOUBLE_EQ(rates[1].Rate, 1.08);
    EXPECT_TRUE(ParseRates("").empty());
    EXPECT_THROW(ParseRates("JPY"), CombineError);
    EXPECT_EQ(ParseWeight("0.5"), 0.5);
    EXPECT_THROW(ParseWeight("half"), CombineError);
    EXPECT_FALSE(ClockOfText("", "Asia/Tokyo").Shifts());
    EXPECT_EQ(ClockOfText("+3", "").Describe(), "+3 h");
    EXPECT_EQ(ClockOfText("EET", "Asia/Tokyo").Describe(), "EET to Asia/Tokyo");
    EXPECT_THROW(ClockOfText("EET", ""), ZoneError);
}

} // namespace
} // namespace corvane
