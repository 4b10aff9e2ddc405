#include "analysis/MonteCarlo.h"

#include "ReportBuilder.h"
#include "TempDir.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

namespace corvane {
namespace {

MonteCarloTrades Trades(std::vector<double> results, double start = 1000)
{
    MonteCarloTrades trades;
    trades.Results = std::move(results);
    trades.Start = trades.ReportStart = start;
    return trades;
}

MonteCarloResult Simulate(const MonteCarloTrades& trades, MonteCarloSettings settings)
{
    const std::optional<MonteCarloResult> result = RunMonteCarlo(trades, settings);
    EXPECT_TRUE(result.has_value());
    return result.value_or(MonteCarloResult{});
}

// A path's maximal drawdown in money and its longest losing streak, worked out plainly.
std::pair<double, int> PathFigures(const std::vector<double>& path, double start)
{
    double balance = start;
    double peak = start;
    double drawdown = 0;
    int streak = 0;
    int longest = 0;
    for (const double result : path) {
        balance += result;
        peak = std::max(peak, balance);
        drawdown = std::max(drawdown, peak - balance);
        streak = result < 0 ? streak + 1 : 0;
        longest = std::max(longest, streak);
    }
    return {drawdown, longest};
}

// Within four standard errors of the share `exact` out of `runs` draws.
void ExpectShare(double observedPct, double exact, long long runs)
{
    const double error = std::sqrt(exact * (1 - exact) / static_cast<double>(runs)) * 100;
    EXPECT_NEAR(observedPct, exact * 100, 4 * error + 1e-9);
}

/**
 * Every order of three and of four trades, enumerated: each is as likely, so the share of runs with each
 * drawdown, and the chance of ruin, are known exactly.
 */
TEST(MonteCarlo, PermutationsGiveTheEnumeratedDistribution)
{
    for (const std::vector<double>& results :
         {std::vector<double>{-30, 10, -20}, std::vector<double>{100, -50, -70, 20}}) {
        SCOPED_TRACE(results.size());
        std::vector<double> order = results;
        std::sort(order.begin(), order.end());
        std::map<double, int> drawdowns;
        int orders = 0;
        int ruinous = 0; // a drawdown of 10% of 1000 or more
        do {
            const double drawdown = PathFigures(order, 1000).first;
            ++drawdowns[drawdown];
            ruinous += drawdown >= 100 ? 1 : 0;
            ++orders;
        } while (std::next_permutation(order.begin(), order.end()));

        MonteCarloSettings settings;
        settings.Runs = 24000;
        settings.Seed = 11;
        settings.RuinPct = 10;
        const MonteCarloResult result = Simulate(Trades(results), settings);
        for (const auto& [drawdown, count] : drawdowns) {
            const auto seen = std::count(result.Drawdowns.begin(), result.Drawdowns.end(), drawdown);
            ExpectShare(100.0 * static_cast<double>(seen) / settings.Runs, static_cast<double>(count) / orders,
                        settings.Runs);
        }
        ASSERT_TRUE(result.RuinPct);
        ExpectShare(*result.RuinPct, static_cast<double>(ruinous) / orders, settings.Runs);
        // The same trades in any order end with the same result.
        const double net = std::accumulate(results.begin(), results.end(), 0.0);
        for (const double value : result.FinalNet.Percentiles)
            EXPECT_EQ(value, net);
        EXPECT_EQ(result.FinalNet.Report, net);
        EXPECT_DOUBLE_EQ(result.FinalNet.ReportRank, 50.0);
        EXPECT_DOUBLE_EQ(result.BelowStartPct, net < 0 ? 100.0 : 0.0);
    }
}

// Three trades, two of them losses: they stand side by side in 4 of the 6 orders.
TEST(MonteCarlo, PermutationsGiveTheEnumeratedStreaks)
{
    MonteCarloSettings settings;
    settings.Runs = 6000;
    settings.Seed = 3;
    const MonteCarloResult result = Simulate(Trades({-30, 10, -20}), settings);
    EXPECT_EQ(result.LosingStreak.Percentiles, (std::array<double, 5>{1, 1, 2, 2, 2}));
    EXPECT_NEAR(result.LosingStreak.Mean, 1 + 4.0 / 6, 0.03);
    EXPECT_EQ(result.LosingStreak.Report, 1);
}

// The mean final result of n trades drawn with replacement is n times the mean trade; so it is of blocks
// drawn round the report, and a trade left out with probability p takes (1 - p) of it.
TEST(MonteCarlo, MeanFinalResultsAreWithinTheirStandardError)
{
    std::vector<double> results;
    for (int i = 0; i < 40; ++i)
        results.push_back((i * 37 % 23) * 5.0 - 45);
    const double n = static_cast<double>(results.size());
    const double mean = std::accumulate(results.begin(), results.end(), 0.0) / n;
    double squares = 0;
    for (const double result : results)
        squares += (result - mean) * (result - mean);
    const double deviation = std::sqrt(squares / n);
    struct Case
    {
        MonteCarloMethod Method;
        long long BlockLength;
        double Skip;
    };
    for (const Case& c : {Case{MonteCarloMethod::Bootstrap, 0, 0}, Case{MonteCarloMethod::BlockBootstrap, 4, 0},
                          Case{MonteCarloMethod::Skip, 0, 0.25}}) {
        SCOPED_TRACE(std::string(MethodName(c.Method)));
        MonteCarloSettings settings;
        settings.Method = c.Method;
        settings.BlockLength = c.BlockLength;
        settings.SkipProbability = c.Skip;
        settings.Runs = 20000;
        settings.Seed = 99;
        const MonteCarloResult result = Simulate(Trades(results), settings);
        double expected = n * mean;
        double error = deviation * std::sqrt(n) / std::sqrt(static_cast<double>(settings.Runs));
        if (c.Method == MonteCarloMethod::Skip) {
            double sumSquares = 0;
            for (const double value : results)
                sumSquares += value * value;
            expected *= 1 - c.Skip;
            error = std::sqrt(c.Skip * (1 - c.Skip) * sumSquares / static_cast<double>(settings.Runs));
        }
        if (c.Method == MonteCarloMethod::BlockBootstrap) {
            // n / k blocks, each the sum of k trades from a place drawn round the report.
            std::vector<double> blockSums;
            for (std::size_t from = 0; from < results.size(); ++from) {
                double sum = 0;
                for (std::size_t i = 0; i < 4; ++i)
                    sum += results[(from + i) % results.size()];
                blockSums.push_back(sum);
            }
            double spread = 0;
            for (const double sum : blockSums)
                spread += (sum - 4 * mean) * (sum - 4 * mean);
            error = std::sqrt(n / 4 * spread / n / static_cast<double>(settings.Runs));
        }
        EXPECT_NEAR(result.FinalNet.Mean, expected, 4 * error);
    }
}

TEST(MonteCarlo, TheSameSeedGivesTheSameFiguresOnAnyNumberOfThreads)
{
    std::vector<double> results;
    for (int i = 0; i < 300; ++i)
        results.push_back((i * 7919 % 101) - 48.5);
    for (const MonteCarloMethod method : {MonteCarloMethod::Permutation, MonteCarloMethod::Bootstrap,
                                          MonteCarloMethod::BlockBootstrap, MonteCarloMethod::Skip}) {
        SCOPED_TRACE(std::string(MethodName(method)));
        MonteCarloSettings settings;
        settings.Method = method;
        settings.Runs = 1000; // blocks of 64: the last one short
        settings.Seed = 2024;
        settings.Threads = 1;
        const MonteCarloResult one = Simulate(Trades(results), settings);
        settings.Threads = 3;
        const MonteCarloResult three = Simulate(Trades(results), settings);
        EXPECT_EQ(one.Drawdowns, three.Drawdowns);
        EXPECT_EQ(one.Bands, three.Bands);
        EXPECT_EQ(one.FinalNet.Percentiles, three.FinalNet.Percentiles);
        EXPECT_EQ(one.LosingStreak.Mean, three.LosingStreak.Mean);
        settings.Seed = 2025;
        EXPECT_NE(Simulate(Trades(results), settings).Drawdowns, one.Drawdowns);
    }
}

TEST(MonteCarlo, FanBandsRunFromTheStartToTheLastTrade)
{
    MonteCarloSettings settings;
    settings.Method = MonteCarloMethod::Bootstrap;
    settings.Runs = 500;
    const MonteCarloResult result = Simulate(Trades(std::vector<double>(450, 1.0), 100), settings);
    ASSERT_EQ(result.CheckpointTrades.size(), static_cast<std::size_t>(kMaxCheckpoints) + 1);
    EXPECT_EQ(result.CheckpointTrades.front(), 0);
    EXPECT_EQ(result.CheckpointTrades[1], 3); // ceil(450 / 200)
    EXPECT_EQ(result.CheckpointTrades.back(), 450);
    EXPECT_EQ(result.Bands.back(), (std::array<double, 5>{550, 550, 550, 550, 550}));
    EXPECT_EQ(result.ReportCurve.front(), 100);
    EXPECT_EQ(result.ReportCurve.back(), 550);
}

TEST(MonteCarlo, EdgeCases)
{
    MonteCarloSettings settings;
    settings.Runs = 200;

    const MonteCarloResult none = Simulate(Trades({}), settings);
    EXPECT_EQ(none.Trades, 0);
    EXPECT_EQ(none.FinalNet.Percentiles[4], 0);
    EXPECT_EQ(none.CheckpointTrades, std::vector<long long>{0});

    const MonteCarloResult one = Simulate(Trades({-25}), settings);
    EXPECT_EQ(one.MaxDrawdown.Percentiles[0], 25);
    EXPECT_EQ(one.MaxDrawdown.Percentiles[4], 25);

    // All wins: no drawdown, so no ratio of the net result over it.
    const MonteCarloResult wins = Simulate(Trades({10, 20, 30}), settings);
    EXPECT_EQ(wins.MaxDrawdown.Percentiles[4], 0);
    EXPECT_TRUE(std::isinf(wins.NetOverDrawdown.Percentiles[0]));
    EXPECT_EQ(*wins.RuinPct, 0);

    // Losses of 60% of the start in every order: every run is ruined at 50%.
    const MonteCarloResult ruinous = Simulate(Trades({-300, 10, -310}), settings);
    EXPECT_EQ(*ruinous.RuinPct, 100);

    // A block longer than the report is the whole report, read round from a random place.
    settings.Method = MonteCarloMethod::BlockBootstrap;
    settings.BlockLength = 10;
    const MonteCarloResult rotated = Simulate(Trades({5, -3, 8}), settings);
    EXPECT_EQ(rotated.Settings.BlockLength, 3);
    EXPECT_EQ(rotated.FinalNet.Percentiles[0], 10);
    EXPECT_EQ(rotated.FinalNet.Percentiles[4], 10);

    // Nothing left out is the report; everything left out is no trade at all.
    settings.Method = MonteCarloMethod::Skip;
    settings.SkipProbability = 0;
    const MonteCarloResult all = Simulate(Trades({5, -3, 8}), settings);
    EXPECT_EQ(all.MaxDrawdown.Percentiles[0], 3);
    EXPECT_EQ(all.MaxDrawdown.ReportRank, 50);
    settings.SkipProbability = 1;
    const MonteCarloResult nothing = Simulate(Trades({5, -3, 8}), settings);
    EXPECT_EQ(nothing.FinalNet.Percentiles[4], 0);
    EXPECT_EQ(nothing.FinalNet.ReportRank, 100);

    // A start at or below zero has no percentages and no ruin, and cannot be compounded.
    settings.Method = MonteCarloMethod::Permutation;
    const MonteCarloResult unfunded = Simulate(Trades({5, -3}, 0), settings);
    EXPECT_FALSE(unfunded.MaxDrawdownPct);
    EXPECT_FALSE(unfunded.RuinPct);
    settings.Compound = true;
    EXPECT_THROW(RunMonteCarlo(Trades({5, -3}, 0), settings), MonteCarloError);
    EXPECT_THROW(RunMonteCarlo(Trades({-1000, 5}, 1000), settings), MonteCarloError);
}

TEST(MonteCarlo, CompoundingReturnsEndAlikeInEveryOrder)
{
    MonteCarloSettings settings;
    settings.Compound = true;
    settings.Runs = 300;
    // Returns of +10%, -20% and +50% on the report's balances 1000, 1100 and 880.
    const MonteCarloResult result = Simulate(Trades({100, -220, 440}), settings);
    EXPECT_NEAR(result.FinalNet.Percentiles[0], 320, 1e-9);
    EXPECT_NEAR(result.FinalNet.Percentiles[4], 320, 1e-9);
    EXPECT_NEAR(result.MaxDrawdownPct->Percentiles[4], 20, 1e-9);
    // The same returns on a start of its own.
    MonteCarloTrades twice = Trades({100, -220, 440});
    twice.Start = 2000;
    EXPECT_NEAR(Simulate(twice, settings).FinalNet.Percentiles[2], 640, 1e-9);
}

TEST(MonteCarlo, SettingsOutOfRangeAreRefused)
{
    MonteCarloSettings settings;
    settings.Runs = 0;
    EXPECT_THROW(RunMonteCarlo(Trades({1}), settings), MonteCarloError);
    settings.Runs = 10;
    settings.RuinPct = 0;
    EXPECT_THROW(RunMonteCarlo(Trades({1}), settings), MonteCarloError);
}

TEST(MonteCarlo, StoppedRunGivesNothing)
{
    MonteCarloControl control;
    control.Stop = true;
    EXPECT_FALSE(RunMonteCarlo(Trades({1, -2}), MonteCarloSettings{}, &control));
}

TEST(MonteCarlo, TakesTheKeptTradesOfTheSessionAndTheReportsDeposit)
{
    test::TempDir dir;
    std::vector<test::StatementTrade> rows{
        {.Ticket = "1", .Symbol = "eurusd", .Commission = "-2.00", .Swap = "0.50", .Profit = "100.00"},
        {.Ticket = "2", .Symbol = "gbpusd", .CloseTime = "2024.01.02 13:00", .Profit = "-40.00"}};
    Session session;
    ASSERT_EQ(LoadAndFilter(session, dir.Write("a.htm", test::Statement(rows, "5000.00")), LoadMode::Replace),
              LoadOutcome::Loaded);
    MonteCarloTrades trades = MonteCarloTradesOf(session, {});
    EXPECT_EQ(trades.Results, (std::vector<double>{98.5, -40}));
    EXPECT_EQ(trades.Start, 5000);
    EXPECT_FALSE(trades.StartGiven);

    session.Pairs.SetSelected(session.Pairs.Find("gbpusd"), false);
    PairsListChanged(session, MagicFilter::Off);
    MonteCarloSettings given;
    given.StartBalance = 700;
    trades = MonteCarloTradesOf(session, given);
    EXPECT_EQ(trades.Results, (std::vector<double>{98.5}));
    EXPECT_EQ(trades.Start, 700);
    EXPECT_EQ(trades.ReportStart, 5000);
    EXPECT_TRUE(trades.StartGiven);
}

} // namespace
} // namespace corvane
