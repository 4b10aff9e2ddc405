#pragma once

#include "analysis/MonteCarlo.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace corvane {

// What the user chose for the window's Monte Carlo view: the settings, and whether the seed among them
// is kept from run to run (else each run draws a fresh one).
struct MonteCarloChoices
{
    MonteCarloSettings Settings;
    bool FixedSeed = false;
};

/**
 * A Monte Carlo run of the window on a thread of its own, so that the window stays responsive: started
 * with the trades and the choices, looked at by the window's timer, stopped by a new click. It keeps the
 * last run's result with what it was run on, so that a redraw of the same trades needs no new run.
 * Used from the window's thread only; the run's own thread writes only what Ended() hands over.
 */
class MonteCarloRun
{
public:
    MonteCarloRun() = default;
    MonteCarloRun(const MonteCarloRun&) = delete;
    MonteCarloRun& operator=(const MonteCarloRun&) = delete;
    ~MonteCarloRun();

    // The user's choices for the next run.
    MonteCarloChoices Choices;

    // Stops a run going on, then starts one of `settings` (its seed as given) on `trades`.
    void Start(MonteCarloTrades trades, const MonteCarloSettings& settings);
    // Asks a run going on to stop and waits for its thread, which ends within the run it is in.
    void Stop();

    // Whether a run was started and has not been stopped or taken in by Ended().
    bool Running() const { return m_thread.joinable(); }
    // Whether the run's thread has finished; then Ended() takes its outcome in.
    bool Finished() const { return m_finished.load(); }
    void Ended();
    // The share of the runs done, 0 to 1.
    double Done() const;

    // Whether the last run started was of these trades and settings (the seed aside when `anySeed`).
    bool SameAs(const MonteCarloTrades& trades, const MonteCarloSettings& settings, bool anySeed) const;
    const MonteCarloSettings& Settings() const { return m_settings; }
    // The last run's result, none while it runs or when it failed or was stopped; the failure's text.
    const std::optional<MonteCarloResult>& Result() const { return m_result; }
    const std::string& Failure() const { return m_failure; }

private:
    MonteCarloTrades m_trades;
    MonteCarloSettings m_settings;
    std::unique_ptr<MonteCarloControl> m_control;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    // Written by the run's thread until it sets m_finished.
    std::optional<MonteCarloResult> m_result;
    std::string m_failure;
};

} // namespace corvane
