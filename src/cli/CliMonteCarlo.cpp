#include "cli/CliMonteCarlo.h"

#include "analysis/MonteCarloText.h"
#include "cli/CliPictures.h"
#include "cli/MonteCarloJson.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>

namespace corvane {

namespace {

constexpr std::string_view kMonteCarloUsage =
    R"(Usage: corvane4-cli montecarlo REPORT [options] [--method M] [--runs N] [--seed S]
                    [--compound] [--deposit AMOUNT] [--ruin PCT] [--confidence PCT] [--json]
                    [-o FAN.png]

Runs the options of every command first (--append, --import, --symbols, --magics, --delete,
--normalize, --normalize-x10, --sort), then simulates other sequences of the closed trades the
filters keep, in the terminal's order, each as its result P/L + Swap + Comm, and prints the
percentiles of what they give: the final net result, the maximal drawdown in money and in %,
the longest losing streak and the net result over the drawdown, the probability of ruin and of
ending below the start, and where the report itself stands among the runs.

  --method M        permute: the same trades in a random order (the default)
                    bootstrap: as many trades drawn with replacement
                    block[:K]: blocks of K consecutive trades drawn with replacement (a block
                    wraps round the end of the report); K defaults to the cube root of the
                    number of trades, rounded up
                    skip[:P]: each trade left out with probability P (0 to 1; 0.1 by default)
  --runs N          the number of runs, 1 to 1000000; 10000 by default
  --seed S          the seed (0 to 18446744073709551615); the same seed gives the same figures
                    on every system; without it a fresh seed is drawn, and printed
  --compound        apply each result as a return on the balance before it (for strategies
                    that size their trades by the balance), not as money as printed
  --deposit AMOUNT  the starting balance; the report's initial deposit by default
  --ruin PCT        a run is ruined when its maximal drawdown reaches PCT% of the starting
                    balance; 50 by default
  --confidence PCT  the level of the percentile given besides 5, 25, 50, 75 and 95; 95 by default
  --json            print the figures as one JSON object (docs/statistics.md lists its keys)
  -o FAN.png        write the fan chart of the equity and the histogram of the maximal drawdown,
                    809 x 217 pixels as the window shows them, as PNG
)";

// Runs the analysis on a thread of its own while this one says, every few seconds of a long run, how far
// it has come.
MonteCarloResult RunWithProgress(const MonteCarloTrades& trades, const MonteCarloSettings& settings, std::ostream& err)
{
    using Clock = std::chrono::steady_clock;
    MonteCarloControl control;
    std::optional<MonteCarloResult> result;
    std::exception_ptr failed;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            result = RunMonteCarlo(trades, settings, &control);
        } catch (...) {
            failed = std::current_exception();
        }
        done = true;
    });
    const Clock::time_point start = Clock::now();
    Clock::time_point said = start;
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const Clock::time_point now = Clock::now();
        if (now - start >= std::chrono::seconds(2) && now - said >= std::chrono::seconds(2) && !done) {
            said = now;
            err << "corvane4-cli: montecarlo: " << control.RunsDone * 100 / settings.Runs << "% of " << settings.Runs
                << " runs\n"
                << std::flush;
        }
    }
    worker.join();
    if (failed)
        std::rethrow_exception(failed);
    return std::move(*result); // nothing stops the run: it has a result
}

} // namespace

std::string_view MonteCarloUsageText()
{
    return kMonteCarloUsage;
}

void RunMonteCarloCommand(const Session& session, const MonteCarloOptions& options, bool json,
                          const std::string& picture, std::ostream& out, std::ostream& err)
{
    MonteCarloSettings settings = options.Settings;
    if (!options.SeedGiven)
        settings.Seed = FreshSeed();
    const MonteCarloResult result = RunWithProgress(MonteCarloTradesOf(session, settings), settings, err);
    if (!picture.empty())
        WriteMonteCarloPicture(result, picture);
    if (json) {
        out << MonteCarloJson(result) << '\n';
        return;
    }
    for (const std::string& line : MonteCarloLines(result))
        out << line << '\n';
}

} // namespace corvane
