#pragma once

// The methods and limits of the Monte Carlo analysis, shared by its plan (MonteCarlo.h) and its runs
// (MonteCarloRuns.h).

#include <atomic>

namespace corvane {

/**
 * How a run of the Monte Carlo analysis makes a new sequence of the report's trades (n trades, in the
 * terminal's order). docs/statistics.md gives each rule with its formula.
 */
enum class MonteCarloMethod
{
    Permutation,    // the same n trades in a random order: the final result is the report's in every run
    Bootstrap,      // n trades drawn with replacement
    BlockBootstrap, // blocks of k consecutive trades (wrapping round the end) drawn with replacement, up to n
    Skip,           // the trades in their order, each left out with probability p
};

inline constexpr long long kMaxMonteCarloRuns = 1'000'000;
// The equity of the runs is kept at this many trade numbers at most (the fan chart's checkpoints), and at
// fewer when runs x checkpoints would pass kCheckpointBudget values.
inline constexpr int kMaxCheckpoints = 200;
inline constexpr long long kCheckpointBudget = 1LL << 24;
// Runs come in blocks of this many, each drawing from a stream of its own (BlockStream).
inline constexpr int kRunsPerBlock = 64;

// How a caller follows a simulation on another thread and stops it: runs done so far, and a request to stop.
struct MonteCarloControl
{
    std::atomic<long long> RunsDone{0};
    std::atomic<bool> Stop{false};
};

} // namespace corvane
