#include "app/MonteCarloRun.h"

#include <exception>

namespace corvane {

MonteCarloRun::~MonteCarloRun()
{
    Stop();
}

void MonteCarloRun::Start(MonteCarloTrades trades, const MonteCarloSettings& settings)
{
    Stop();
    m_trades = std::move(trades);
    m_settings = settings;
    m_result.reset();
    m_failure.clear();
    m_finished = false;
    m_control = std::make_unique<MonteCarloControl>();
    m_thread = std::thread([this] {
        try {
            m_result = RunMonteCarlo(m_trades, m_settings, m_control.get());
        } catch (const std::exception& error) {
            m_failure = error.what();
        }
        m_finished = true;
    });
}

void MonteCarloRun::Stop()
{
    if (!m_thread.joinable())
        return;
    m_control->Stop = true;
    m_thread.join(); // a run stopped before its end leaves no result
}

void MonteCarloRun::Ended()
{
    if (m_thread.joinable())
        m_thread.join();
}

double MonteCarloRun::Done() const
{
    if (!m_control || m_settings.Runs <= 0)
        return 0.0;
    return static_cast<double>(m_control->RunsDone.load()) / static_cast<double>(m_settings.Runs);
}

bool MonteCarloRun::SameAs(const MonteCarloTrades& trades, const MonteCarloSettings& settings, bool anySeed) const
{
    const MonteCarloSettings& s = m_settings;
    return m_control && trades.Results == m_trades.Results && trades.Start == m_trades.Start
           && trades.ReportStart == m_trades.ReportStart && settings.Method == s.Method
           && settings.BlockLength == s.BlockLength && settings.SkipProbability == s.SkipProbability
           && settings.Runs == s.Runs && (anySeed || settings.Seed == s.Seed) && settings.Compound == s.Compound
           && settings.StartBalance == s.StartBalance && settings.RuinPct == s.RuinPct
           && settings.ConfidencePct == s.ConfidencePct;
}

} // namespace corvane
