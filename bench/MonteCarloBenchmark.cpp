// Timings of the Monte Carlo analysis: 10,000 runs of 10,000 trades by each method, in money and
// compounded, and 1,000 runs of 100,000 trades, on every processor of the machine (the figures do not
// depend on how many). The trades are made once: results of -90 to +110 in cents, drawn from a fixed seed.
// "memory_mb" is what a run keeps (each run's figures and the balances at the checkpoints, as floats): it
// grows with the runs, not with the trades.

#include "analysis/MonteCarlo.h"
#include "analysis/RandomStream.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

namespace corvane::bench {

namespace {

MonteCarloTrades MadeTrades(long long count)
{
    MonteCarloTrades trades;
    trades.Start = trades.ReportStart = 100000;
    RandomStream random(2024, 1);
    for (long long i = 0; i < count; ++i)
        trades.Results.push_back((static_cast<double>(random.Below(20001)) - 9000) / 100);
    return trades;
}

void RunCase(benchmark::State& state, MonteCarloMethod method, bool compound)
{
    const long long runs = state.range(0);
    const long long count = state.range(1);
    const MonteCarloTrades trades = MadeTrades(count);
    MonteCarloSettings settings;
    settings.Method = method;
    settings.Runs = runs;
    settings.Seed = 42;
    settings.Compound = compound;
    for (auto _ : state) {
        std::optional<MonteCarloResult> result = RunMonteCarlo(trades, settings);
        benchmark::DoNotOptimize(result);
    }
    const long long checkpoints =
        std::min({count, static_cast<long long>(kMaxCheckpoints), std::max(1LL, kCheckpointBudget / runs)});
    state.counters["threads"] = std::max(1U, std::thread::hardware_concurrency());
    state.counters["memory_mb"] = static_cast<double>(runs * (checkpoints * 4 + 5 * 8)) / (1 << 20);
    state.counters["trades_per_second"] =
        benchmark::Counter(static_cast<double>(runs * count), benchmark::Counter::kIsIterationInvariantRate);
}

void Permutation(benchmark::State& state)
{
    RunCase(state, MonteCarloMethod::Permutation, false);
}
void Bootstrap(benchmark::State& state)
{
    RunCase(state, MonteCarloMethod::Bootstrap, false);
}
void BlockBootstrap(benchmark::State& state)
{
    RunCase(state, MonteCarloMethod::BlockBootstrap, false);
}
void Skip(benchmark::State& state)
{
    RunCase(state, MonteCarloMethod::Skip, false);
}
void BootstrapCompounded(benchmark::State& state)
{
    RunCase(state, MonteCarloMethod::Bootstrap, true);
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"runs", "trades"})->Args({10000, 10000})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(Permutation)->Apply(Sizes);
BENCHMARK(Bootstrap)->Apply(Sizes)->Args({1000, 100000});
BENCHMARK(BlockBootstrap)->Apply(Sizes);
BENCHMARK(Skip)->Apply(Sizes);
BENCHMARK(BootstrapCompounded)->Apply(Sizes);

} // namespace

} // namespace corvane::bench

BENCHMARK_MAIN();
