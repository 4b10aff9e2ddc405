#pragma once

#include "analysis/MonteCarloMethod.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace corvane {

// The runs of a simulation, as MonteCarlo.cpp plans them: the trades as amounts to add (cents) or returns
// to compound, the draw of the method, and the trade numbers whose balances are kept.
struct RunPlan
{
    MonteCarloMethod Method = MonteCarloMethod::Permutation;
    long long BlockLength = 1;
    std::uint64_t SkipThreshold = 0; // Chance's threshold of leaving a trade out
    long long Runs = 0;
    std::uint64_t Seed = 0;
    int Threads = 1;
    bool Compound = false;
    std::vector<long long> Cents; // money: each result in cents
    std::vector<double> Returns;  // compounding: each result over the balance before it in the report
    long long StartCents = 0;
    double Start = 0.0;
    std::vector<long long> Checkpoints; // trade numbers 1 to n, ascending, the last n; then -1 to end them

    long long Trades() const { return static_cast<long long>(Compound ? Returns.size() : Cents.size()); }
};

// The figures of one path through the trades.
struct PathFigures
{
    double FinalNet = 0.0;
    double MaxDrawdown = 0.0;
    double MaxDrawdownPct = 0.0; // of a start above 0 only
    long long LosingStreak = 0;
};

// What the runs leave, run r at r: its figures, and its balance at checkpoint c (from 0) at c x Runs + r.
struct RunFigures
{
    std::vector<double> FinalNet;
    std::vector<double> MaxDrawdown;
    std::vector<double> MaxDrawdownPct;
    std::vector<double> LosingStreak;
    std::vector<float> Balances;
};

/**
 * Runs the plan's runs in blocks of kRunsPerBlock, block b drawing from BlockStream(seed, b), on the plan's
 * threads at once: every run writes only its own places, so the figures do not depend on which thread
 * runs which block. False when `control` asked to stop (the figures are then incomplete).
 */
bool SimulateRuns(const RunPlan& plan, RunFigures& figures, MonteCarloControl* control);

// The report's own path, the trades in their order; `curve` receives its balance at the start and at
// each checkpoint.
PathFigures ReportPath(const RunPlan& plan, std::vector<double>& curve);

/**
 * Runs work(part, worker) for parts 0 to count - 1, each once, on `threads` threads at once: worker 0 is
 * the calling thread, the others 1 and up, each taking the next part when it has done one. Each part
 * writes only what belongs to it (and its worker's own room). What a part throws is thrown on once all
 * have ended. Where the system starts no more threads, those started do the rest.
 */
void ShareWork(long long count, int threads, const std::function<void(long long part, int worker)>& work);

} // namespace corvane
