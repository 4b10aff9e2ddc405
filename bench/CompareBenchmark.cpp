// Timings of the comparison of 20 strategies of 100,000 trades each, once their reports are loaded: the
// strategies taken from the loaded reports (their figures included), their daily results, the combination
// with weights and the correlation matrix, and the comparison's text. The reports are generated once per
// run into a temporary folder, of the four kinds the program reads, and loaded before the timing starts.

#include "ReportGenerator.h"
#include "portfolio/Comparison.h"
#include "portfolio/ComparisonText.h"
#include "portfolio/Strategy.h"
#include "text/TimeZone.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace corvane::bench {

namespace {

constexpr int kStrategies = 20;
constexpr long long kTrades = 100'000;

// The loaded reports, read once for every case.
const std::vector<StrategySource>& Sources()
{
    static const std::vector<StrategySource> sources = [] {
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvane4-compare-bench";
        std::filesystem::create_directories(folder);
        const ReportType types[] = {ReportType::Statement, ReportType::Tester, ReportType::Mt5History,
                                    ReportType::Mt5Tester};
        std::vector<StrategySource> loaded;
        for (int i = 0; i < kStrategies; ++i) {
            const std::filesystem::path path = folder / ("report-" + std::to_string(i) + ".htm");
            WriteReport(types[i % 4], path.string(), kTrades, kDefaultSeed + static_cast<std::uint64_t>(i));
            loaded.push_back(LoadStrategySource(path.string()));
            std::filesystem::remove(path);
        }
        std::filesystem::remove(folder);
        return loaded;
    }();
    return sources;
}

// Everything after loading: the strategies, the comparison and its text.
void CompareAndCorrelate(benchmark::State& state, const ClockShift& clock)
{
    const std::vector<StrategySource>& sources = Sources();
    ComparisonSettings settings;
    for (int i = 0; i < kStrategies; ++i)
        settings.Weights.push_back(1.0 + i % 3);
    settings.Rates = {{"unknown", 1.0}}; // the tester reports of the older terminal name no currency
    long long days = 0;
    for (auto _ : state) {
        std::vector<Strategy> strategies;
        for (const StrategySource& source : sources)
            for (Strategy& strategy : StrategiesOf(source, false, clock))
                strategies.push_back(std::move(strategy));
        const Comparison comparison = Compare(std::move(strategies), settings);
        benchmark::DoNotOptimize(ComparisonLines(comparison));
        days = static_cast<long long>(comparison.Calendar.size());
    }
    state.counters["strategies"] = kStrategies;
    state.counters["trades"] = static_cast<double>(kStrategies * kTrades);
    state.counters["days"] = static_cast<double>(days);
}

void BM_Compare20x100k(benchmark::State& state)
{
    CompareAndCorrelate(state, ClockShift());
}

// The same with every time read from the server's zone on the trader's.
void BM_Compare20x100kOnTradersClock(benchmark::State& state)
{
    CompareAndCorrelate(state, ClockShift::Zones(FindTimeZone("EET"), FindTimeZone("America/New_York")));
}

} // namespace

BENCHMARK(BM_Compare20x100k)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Compare20x100kOnTradersClock)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace corvane::bench

BENCHMARK_MAIN();
