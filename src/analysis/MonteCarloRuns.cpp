#include "analysis/MonteCarloRuns.h"

#include "analysis/RandomStream.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>

namespace corvane {

namespace {

/**
 * A balance walked through trades: its peak so far, the deepest fall below a peak (in money, and in % of
 * that peak) and the longest run of losing trades. Money runs in cents, exactly; a compounding balance in
 * money, and a balance at or below zero stays at zero (the account is gone: nothing is left to earn on).
 * The steps keep to moves without branches, but for a fall deeper in % than any before, which is rare.
 */
template <bool Compound> class Walker
{
public:
    using Amount = std::conditional_t<Compound, double, long long>;

    explicit Walker(Amount start) : m_start(start), m_balance(start), m_peak(start) {}

    void Step(Amount value)
    {
        if constexpr (Compound) {
            m_balance += m_balance * value;
            m_balance = std::max(m_balance, 0.0);
        } else {
            m_balance += value;
        }
        m_streak = value < 0 ? m_streak + 1 : 0;
        m_longest = std::max(m_longest, m_streak);
        m_peak = std::max(m_peak, m_balance);
        const Amount fall = m_peak - m_balance;
        m_fall = std::max(m_fall, fall);
        // fall / peak > relative, without a division for the falls that are not deeper.
        const auto peak = static_cast<double>(m_peak);
        if (static_cast<double>(fall) > m_relative * peak && peak > 0)
            m_relative = static_cast<double>(fall) / peak;
    }

    // The balance in money, as the fan chart keeps it.
    double Money() const
    {
        if constexpr (Compound)
            return m_balance;
        else
            return static_cast<double>(m_balance) / 100;
    }

    PathFigures Finish() const
    {
        const double scale = Compound ? 1.0 : 100.0;
        return {static_cast<double>(m_balance - m_start) / scale, static_cast<double>(m_fall) / scale, m_relative * 100,
                m_longest};
    }

private:
    Amount m_start;
    Amount m_balance;
    Amount m_peak;
    Amount m_fall = 0;
    double m_relative = 0.0;
    long long m_streak = 0;
    long long m_longest = 0;
};

// One run: `draw(i, walker)` steps the walker with the trade the method puts at place i, or leaves it
// out; after the trade numbers of the checkpoints (ended by -1) the balance goes to `kept`, `stride` apart.
template <bool Compound, typename Draw>
void WalkRun(Walker<Compound>& walker, const long long* checkpoints, float* kept, std::size_t stride, Draw&& draw)
{
    long long i = 0;
    for (std::size_t c = 0; checkpoints[c] >= 0; ++c) {
        for (const long long end = checkpoints[c]; i < end; ++i)
            draw(i, walker);
        kept[c * stride] = static_cast<float>(walker.Money());
    }
}

void Keep(RunFigures& figures, std::size_t run, const PathFigures& path)
{
    figures.FinalNet[run] = path.FinalNet;
    figures.MaxDrawdown[run] = path.MaxDrawdown;
    figures.MaxDrawdownPct[run] = path.MaxDrawdownPct;
    figures.LosingStreak[run] = static_cast<double>(path.LosingStreak);
}

// The runs of one block, from its own stream. `shuffled` is the worker's room for the permutation.
template <bool Compound>
void SimulateBlock(const RunPlan& plan, long long block, std::vector<typename Walker<Compound>::Amount>& shuffled,
                   RunFigures& figures, MonteCarloControl* control)
{
    using Amount = typename Walker<Compound>::Amount;
    const std::vector<Amount>& values = [&plan]() -> const std::vector<Amount>& {
        if constexpr (Compound)
            return plan.Returns;
        else
            return plan.Cents;
    }();
    const Amount start = [&plan] {
        if constexpr (Compound)
            return plan.Start;
        else
            return plan.StartCents;
    }();
    const long long n = plan.Trades();
    const auto bound = static_cast<std::uint32_t>(n);
    const auto runs = static_cast<std::size_t>(plan.Runs);
    RandomStream random = BlockStream(plan.Seed, static_cast<std::uint64_t>(block));
    if (plan.Method == MonteCarloMethod::Permutation)
        shuffled = values; // each block shuffles from the report's order; each run shuffles the one before
    const long long first = block * kRunsPerBlock;
    const long long last = std::min(plan.Runs, first + kRunsPerBlock);
    for (long long run = first; run < last; ++run) {
        if (control && control->Stop.load(std::memory_order_relaxed))
            return;
        Walker<Compound> walker(start);
        float* kept = figures.Balances.data() + run;
        const long long* checkpoints = plan.Checkpoints.data();
        switch (plan.Method) {
        case MonteCarloMethod::Permutation:
            WalkRun(walker, checkpoints, kept, runs, [&](long long i, Walker<Compound>& w) {
                const auto place = static_cast<std::size_t>(i);
                std::swap(shuffled[place], shuffled[place + random.Below(bound - static_cast<std::uint32_t>(i))]);
                w.Step(shuffled[place]);
            });
            break;
        case MonteCarloMethod::Bootstrap:
            WalkRun(walker, checkpoints, kept, runs,
                    [&](long long, Walker<Compound>& w) { w.Step(values[random.Below(bound)]); });
            break;
        case MonteCarloMethod::BlockBootstrap: {
            long long from = 0;
            long long taken = plan.BlockLength;
            WalkRun(walker, checkpoints, kept, runs, [&](long long, Walker<Compound>& w) {
                if (taken == plan.BlockLength) {
                    from = random.Below(bound);
                    taken = 0;
                }
                long long place = from + taken++;
                if (place >= n)
                    place -= n;
                w.Step(values[static_cast<std::size_t>(place)]);
            });
            break;
        }
        case MonteCarloMethod::Skip:
            WalkRun(walker, checkpoints, kept, runs, [&](long long i, Walker<Compound>& w) {
                if (!random.Chance(plan.SkipThreshold))
                    w.Step(values[static_cast<std::size_t>(i)]);
            });
            break;
        }
        Keep(figures, static_cast<std::size_t>(run), walker.Finish());
        if (control)
            control->RunsDone.fetch_add(1, std::memory_order_relaxed);
    }
}

template <bool Compound> bool SimulateAll(const RunPlan& plan, RunFigures& figures, MonteCarloControl* control)
{
    const long long blocks = (plan.Runs + kRunsPerBlock - 1) / kRunsPerBlock;
    const int threads = static_cast<int>(std::clamp<long long>(plan.Threads, 1, blocks));
    // Each worker's room for the permutation.
    std::vector<std::vector<typename Walker<Compound>::Amount>> rooms(static_cast<std::size_t>(threads));
    ShareWork(blocks, threads, [&](long long block, int worker) {
        SimulateBlock<Compound>(plan, block, rooms[static_cast<std::size_t>(worker)], figures, control);
    });
    return !(control && control->Stop.load());
}

} // namespace

void ShareWork(long long count, int threads, const std::function<void(long long part, int worker)>& work)
{
    std::atomic<long long> next{0};
    std::exception_ptr failed;
    std::mutex failedGuard;
    const auto worker = [&](int index) {
        try {
            for (long long part = next++; part < count; part = next++)
                work(part, index);
        } catch (...) {
            const std::lock_guard lock(failedGuard);
            if (!failed)
                failed = std::current_exception();
            next = count; // the other workers take no more parts
        }
    };
    std::vector<std::thread> others;
    for (int i = 1; i < threads && i < count; ++i) {
        try {
            others.emplace_back(worker, i);
        } catch (const std::system_error&) {
            break; // the threads started, and this one, do the rest
        }
    }
    worker(0);
    for (std::thread& other : others)
        other.join();
    if (failed)
        std::rethrow_exception(failed);
}

bool SimulateRuns(const RunPlan& plan, RunFigures& figures, MonteCarloControl* control)
{
    const auto runs = static_cast<std::size_t>(plan.Runs);
    figures.FinalNet.assign(runs, 0.0);
    figures.MaxDrawdown.assign(runs, 0.0);
    figures.MaxDrawdownPct.assign(runs, 0.0);
    figures.LosingStreak.assign(runs, 0.0);
    figures.Balances.assign(runs * (plan.Checkpoints.size() - 1), 0.0F); // the last checkpoint is the -1 end
    return plan.Compound ? SimulateAll<true>(plan, figures, control) : SimulateAll<false>(plan, figures, control);
}

PathFigures ReportPath(const RunPlan& plan, std::vector<double>& curve)
{
    const auto walk = [&](auto& walker, const auto& values) {
        curve.assign(1, walker.Money());
        std::size_t next = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            walker.Step(values[i]);
            if (static_cast<long long>(i) + 1 == plan.Checkpoints[next]) {
                curve.push_back(walker.Money());
                ++next;
            }
        }
        return walker.Finish();
    };
    if (plan.Compound) {
        Walker<true> walker(plan.Start);
        return walk(walker, plan.Returns);
    }
    Walker<false> walker(plan.StartCents);
    return walk(walker, plan.Cents);
}

} // namespace corvane
