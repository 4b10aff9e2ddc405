#pragma once

#include "analysis/MonteCarloMethod.h"
#include "trades/Session.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The user's choices. A block length of 0 takes the default: the cube root of n, rounded up.
struct MonteCarloSettings
{
    MonteCarloMethod Method = MonteCarloMethod::Permutation;
    long long BlockLength = 0;
    double SkipProbability = 0.1;
    long long Runs = 10'000;
    std::uint64_t Seed = 0;
    bool Compound = false;              // results as returns on the balance before them, else money as printed
    std::optional<double> StartBalance; // none: the report's (MonteCarloTradesOf)
    double RuinPct = 50.0;              // a run is ruined when its maximal drawdown reaches this % of the start
    double ConfidencePct = 95.0;        // the percentile given besides the five fixed ones
    int Threads = 0;                    // 0: one per processor; the figures do not depend on it
};

// A choice that cannot be run (a compounding of a balance at or below zero...): the message says why.
class MonteCarloError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What a simulation works on: the net results of the kept closed trades in the terminal's order, the
// balance the runs start from, and the report's own start, from which a compounding takes each result as a
// return on the balance before it.
struct MonteCarloTrades
{
    std::vector<double> Results;
    double Start = 0.0;
    double ReportStart = 0.0;
    bool StartGiven = false; // the user gave the start; else the report's
    int MoneyDigits = 2;     // the digits the report prints its money with
};

/**
 * The trades the last filter pass kept (KeptClosedTrades), each as its result P/L + Swap + Comm, and the
 * start: the one the settings give, else the report's: its initial deposit, else (a report that states
 * none, as a MetaTrader 5 history) the balance it starts from. Throws MonteCarloError for a trade whose
 * cells are not numbers.
 */
MonteCarloTrades MonteCarloTradesOf(const Session& session, const MonteCarloSettings& settings);

// The block length the settings give for n trades: the default for 0, at most n (a block longer than the
// report is the whole report), at least 1.
long long ResolvedBlockLength(const MonteCarloSettings& settings, long long trades);

/**
 * One figure over the runs: its percentiles 5, 25, 50, 75 and 95 and the one at the confidence level,
 * each by the nearest rank, its mean, the report's own value and its percentile rank among the runs (the
 * runs below it and half those equal to it, in %). A value of +infinity is a ratio without a drawdown (and
 * so is the mean of values one of which is); none for a figure that has no value (a percentage of a start
 * at or below zero).
 */
struct FigureSpread
{
    std::array<double, 5> Percentiles{};
    double AtConfidence = 0.0;
    double Mean = 0.0;
    double Report = 0.0;
    double ReportRank = 0.0;
};
inline constexpr std::array<int, 5> kSpreadPercentiles{5, 25, 50, 75, 95};

struct MonteCarloResult
{
    MonteCarloSettings Settings; // as run: its seed, and the block length resolved
    long long Trades = 0;
    double Start = 0.0;
    bool StartGiven = false;
    int MoneyDigits = 2;

    FigureSpread FinalNet;                      // the final balance less the start
    FigureSpread MaxDrawdown;                   // the deepest fall of the balance from a peak, in money
    std::optional<FigureSpread> MaxDrawdownPct; // the deepest fall in % of its peak; none for a start <= 0
    FigureSpread LosingStreak;                  // the longest run of losing trades
    FigureSpread NetOverDrawdown;               // final net / maximal drawdown; +infinity without a drawdown
    std::optional<double> RuinPct;              // runs whose drawdown reached RuinPct of the start, in %
    double BelowStartPct = 0.0;                 // runs that ended below the start, in %

    // The fan chart: trade numbers from 0 (the start) to n, the percentiles 5, 25, 50, 75 and 95 of the
    // runs' balances after that many trades, and the report's own balance there.
    std::vector<long long> CheckpointTrades;
    std::vector<std::array<double, 5>> Bands;
    std::vector<double> ReportCurve;
    // Every run's maximal drawdown in money, in ascending order: the histogram.
    std::vector<double> Drawdowns;
};

/**
 * Runs the simulation: settings.Runs runs (1 to kMaxMonteCarloRuns) of the method, split in blocks of
 * kRunsPerBlock runs worked on by settings.Threads threads at once; the figures are the same for the same
 * seed whatever the number of threads and the system. Nothing when `control` asked it to stop. Throws
 * MonteCarloError for settings out of range and for a compounding the trades cannot give.
 */
std::optional<MonteCarloResult> RunMonteCarlo(const MonteCarloTrades& trades, const MonteCarloSettings& settings,
                                              MonteCarloControl* control = nullptr);

// The method's name on the command line and in JSON: permute, bootstrap, block, skip.
std::string_view MethodName(MonteCarloMethod method);

// A fresh seed for a run without one given: from the system's source of randomness.
std::uint64_t FreshSeed();

/**
 * Where the percentile P (0 to 100, read to two decimals) of `count` sorted values stands, from 0: the
 * nearest rank, ceil(P x N / 100), at least 1 and at most N, less one. Needs a count of 1 or more.
 */
std::size_t NearestRankIndex(std::size_t count, double percent);
// The share of `sorted` values below `value`, and half the share equal to it, in %; 0 without values.
double PercentRank(const std::vector<double>& sorted, double value);

} // namespace corvane
