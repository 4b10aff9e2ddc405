#include "analysis/MonteCarlo.h"

#include "analysis/MonteCarloRuns.h"
#include "analysis/RandomStream.h"
#include "analysis/TableFacts.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <thread>

namespace corvane {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

void Require(bool holds, const std::string& message)
{
    if (!holds)
        throw MonteCarloError(message);
}

void CheckSettings(const MonteCarloSettings& settings, long long trades)
{
    Require(settings.Runs >= 1 && settings.Runs <= kMaxMonteCarloRuns, "the runs must be 1 to 1000000");
    Require(settings.BlockLength >= 0, "the block length must be 1 or more (0 for the default)");
    Require(settings.SkipProbability >= 0 && settings.SkipProbability <= 1,
            "the chance of leaving a trade out must be 0 to 1");
    Require(settings.RuinPct > 0 && settings.RuinPct <= 100, "the ruin level must be above 0% and at most 100%");
    Require(settings.ConfidencePct >= 0 && settings.ConfidencePct <= 100, "the confidence level must be 0% to 100%");
    Require(!settings.StartBalance || std::isfinite(*settings.StartBalance), "the starting balance must be a number");
    Require(trades < (1LL << 31), "too many trades for the analysis");
}

// The trade numbers whose balances the runs keep: C of them, ceil(c x n / C) for c = 1 to C, then -1.
std::vector<long long> CheckpointsFor(long long trades, long long runs)
{
    const long long count = std::min(
        {trades, static_cast<long long>(kMaxCheckpoints), std::max(1LL, kCheckpointBudget / std::max(1LL, runs))});
    std::vector<long long> checkpoints;
    for (long long c = 1; c <= count; ++c)
        checkpoints.push_back((c * trades + count - 1) / count);
    checkpoints.push_back(-1);
    return checkpoints;
}

// Compounding: each result over the report's balance before it, from the report's start; both balances,
// the report's and the runs' start, must be above zero.
std::vector<double> ReturnsOf(const MonteCarloTrades& trades)
{
    Require(trades.Start > 0, "compounding needs a starting balance above 0");
    Require(trades.ReportStart > 0, "compounding needs the report to start from a balance above 0");
    std::vector<double> returns;
    returns.reserve(trades.Results.size());
    double balance = trades.ReportStart;
    for (std::size_t i = 0; i < trades.Results.size(); ++i) {
        Require(balance > 0, "compounding needs a balance above 0 before every trade: it is "
                                 + FormatRounded(balance, trades.MoneyDigits) + " before trade "
                                 + std::to_string(i + 1));
        returns.push_back(trades.Results[i] / balance);
        balance += trades.Results[i];
    }
    return returns;
}

RunPlan PlanOf(const MonteCarloTrades& trades, const MonteCarloSettings& settings)
{
    RunPlan plan;
    const auto n = static_cast<long long>(trades.Results.size());
    plan.Method = settings.Method;
    plan.BlockLength = ResolvedBlockLength(settings, n);
    plan.SkipThreshold = ChanceThreshold(settings.SkipProbability);
    plan.Runs = settings.Runs;
    plan.Seed = settings.Seed;
    plan.Threads =
        settings.Threads > 0 ? settings.Threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    plan.Compound = settings.Compound;
    plan.Start = trades.Start;
    plan.StartCents = std::llround(trades.Start * 100);
    if (plan.Compound) {
        plan.Returns = ReturnsOf(trades);
    } else {
        for (const double result : trades.Results)
            plan.Cents.push_back(std::llround(result * 100));
    }
    plan.Checkpoints = CheckpointsFor(n, plan.Runs);
    return plan;
}

// The spread of one figure over the runs (sorted in place). `higherIsBetter`: the value at the confidence
// level is the one that share of the runs reach or pass (percentile 100 - C), else the one that share of
// the runs stay within (percentile C).
FigureSpread SpreadOf(std::vector<double>& values, double report, double confidence, bool higherIsBetter)
{
    std::sort(values.begin(), values.end());
    FigureSpread spread;
    for (std::size_t i = 0; i < kSpreadPercentiles.size(); ++i)
        spread.Percentiles[i] = values[NearestRankIndex(values.size(), kSpreadPercentiles[i])];
    spread.AtConfidence = values[NearestRankIndex(values.size(), higherIsBetter ? 100 - confidence : confidence)];
    double sum = 0;
    for (const double value : values)
        sum += value;
    spread.Mean = sum / static_cast<double>(values.size());
    spread.Report = report;
    spread.ReportRank = PercentRank(values, report);
    return spread;
}

double Ratio(double net, double drawdown)
{
    return drawdown > 0 ? net / drawdown : kInfinity;
}

double SharePct(long long count, long long runs)
{
    return static_cast<double>(count) * 100 / static_cast<double>(runs);
}

// The fan: the percentiles of the runs' balances at each checkpoint (each column reordered in place).
void FillBands(MonteCarloResult& result, RunFigures& figures, const RunPlan& plan)
{
    const auto runs = static_cast<std::size_t>(plan.Runs);
    const std::size_t columns = plan.Checkpoints.size() - 1;
    result.CheckpointTrades.assign(1, 0);
    result.CheckpointTrades.insert(result.CheckpointTrades.end(), plan.Checkpoints.begin(), plan.Checkpoints.end() - 1);
    result.Bands.assign(columns + 1, {});
    result.Bands[0].fill(plan.Compound ? plan.Start : static_cast<double>(plan.StartCents) / 100);
    ShareWork(static_cast<long long>(columns), plan.Threads, [&](long long part, int) {
        const auto column = static_cast<std::size_t>(part);
        const auto begin = figures.Balances.begin() + static_cast<std::ptrdiff_t>(column * runs);
        const auto end = begin + static_cast<std::ptrdiff_t>(runs);
        auto from = begin;
        for (std::size_t i = 0; i < kSpreadPercentiles.size(); ++i) {
            const auto at = begin + static_cast<std::ptrdiff_t>(NearestRankIndex(runs, kSpreadPercentiles[i]));
            std::nth_element(from, at, end);
            result.Bands[column + 1][i] = *at;
            from = at;
        }
    });
}

} // namespace

MonteCarloTrades MonteCarloTradesOf(const Session& session, const MonteCarloSettings& settings)
{
    MonteCarloTrades trades;
    for (const ClosedTrade& trade : KeptClosedTrades(session)) {
        if (std::isnan(trade.Result))
            throw MonteCarloError("a kept trade's money cells are not numbers");
        trades.Results.push_back(trade.Result);
    }
    const ReportState& report = session.Report;
    trades.ReportStart = report.InitialDeposit > 0 ? report.InitialDeposit : OpeningBalance(report);
    trades.StartGiven = settings.StartBalance.has_value();
    trades.Start = settings.StartBalance.value_or(trades.ReportStart);
    trades.MoneyDigits = DigitsOf(report).Money;
    return trades;
}

long long ResolvedBlockLength(const MonteCarloSettings& settings, long long trades)
{
    long long length = settings.BlockLength;
    if (length == 0)
        length = static_cast<long long>(std::ceil(std::cbrt(static_cast<double>(trades)) - 1e-9));
    return std::clamp(length, 1LL, std::max(1LL, trades));
}

std::optional<MonteCarloResult> RunMonteCarlo(const MonteCarloTrades& trades, const MonteCarloSettings& settings,
                                              MonteCarloControl* control)
{
    const auto n = static_cast<long long>(trades.Results.size());
    CheckSettings(settings, n);
    const RunPlan plan = PlanOf(trades, settings);
    RunFigures figures;
    if (!SimulateRuns(plan, figures, control))
        return std::nullopt;

    MonteCarloResult result;
    result.Settings = settings;
    result.Settings.BlockLength = plan.BlockLength;
    result.Trades = n;
    result.Start = trades.Start;
    result.StartGiven = trades.StartGiven;
    result.MoneyDigits = trades.MoneyDigits;
    const PathFigures report = ReportPath(plan, result.ReportCurve);
    const double confidence = settings.ConfidencePct;
    const bool percentages = trades.Start > 0;

    long long below = 0;
    long long ruined = 0;
    std::vector<double> ratios(figures.FinalNet.size());
    for (std::size_t run = 0; run < ratios.size(); ++run) {
        ratios[run] = Ratio(figures.FinalNet[run], figures.MaxDrawdown[run]);
        below += figures.FinalNet[run] < 0 ? 1 : 0;
        ruined += figures.MaxDrawdown[run] >= settings.RuinPct / 100 * trades.Start ? 1 : 0;
    }
    result.BelowStartPct = SharePct(below, plan.Runs);
    if (percentages) {
        result.RuinPct = SharePct(ruined, plan.Runs);
        result.MaxDrawdownPct = SpreadOf(figures.MaxDrawdownPct, report.MaxDrawdownPct, confidence, false);
    }
    result.FinalNet = SpreadOf(figures.FinalNet, report.FinalNet, confidence, true);
    result.MaxDrawdown = SpreadOf(figures.MaxDrawdown, report.MaxDrawdown, confidence, false);
    result.LosingStreak = SpreadOf(figures.LosingStreak, static_cast<double>(report.LosingStreak), confidence, false);
    result.NetOverDrawdown = SpreadOf(ratios, Ratio(report.FinalNet, report.MaxDrawdown), confidence, true);
    FillBands(result, figures, plan);
    result.Drawdowns = std::move(figures.MaxDrawdown);
    return result;
}

std::string_view MethodName(MonteCarloMethod method)
{
    switch (method) {
    case MonteCarloMethod::Permutation:
        return "permute";
    case MonteCarloMethod::Bootstrap:
        return "bootstrap";
    case MonteCarloMethod::BlockBootstrap:
        return "block";
    case MonteCarloMethod::Skip:
        return "skip";
    }
    return "";
}

std::uint64_t FreshSeed()
{
    std::random_device source;
    return (static_cast<std::uint64_t>(source()) << 32U) ^ source();
}

std::size_t NearestRankIndex(std::size_t count, double percent)
{
    // Whole hundredths of a percent, so that 5% of 10000 is rank 500 exactly.
    const auto hundredths = static_cast<unsigned long long>(std::llround(std::clamp(percent, 0.0, 100.0) * 100));
    const unsigned long long rank = (hundredths * count + 9999) / 10000;
    return static_cast<std::size_t>(std::clamp<unsigned long long>(rank, 1, count) - 1);
}

double PercentRank(const std::vector<double>& sorted, double value)
{
    if (sorted.empty())
        return 0.0;
    const auto below = std::lower_bound(sorted.begin(), sorted.end(), value) - sorted.begin();
    const auto equal = std::upper_bound(sorted.begin(), sorted.end(), value) - sorted.begin() - below;
    return (static_cast<double>(below) + static_cast<double>(equal) / 2) * 100 / static_cast<double>(sorted.size());
}

} // namespace corvane
