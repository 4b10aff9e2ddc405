#include "portfolio/Strategy.h"

#include "analysis/Commands.h"
#include "analysis/TableFacts.h"
#include "platform/PlatformFiles.h"
#include "reports/AccountCurrency.h"
#include "text/CivilTime.h"

#include <stdexcept>

namespace corvane {

namespace {

std::string FileName(const std::string& path)
{
    return path.empty() ? std::string("(no report)") : Utf8Path(NativePath(path).filename());
}

// The report's opening balance and its deposits and withdrawals up to `firstClose`, else its initial deposit.
std::optional<double> DepositBefore(const ReportState& report, long long firstClose)
{
    double deposit = OpeningBalance(report);
    if (!report.Rescaled)
        for (const BalanceRow& row : report.BalanceRows)
            if (TimeTextSeconds(row.Time).value_or(0) <= firstClose)
                deposit += row.Amount;
    if (deposit > 0)
        return deposit;
    if (report.InitialDeposit > 0)
        return report.InitialDeposit;
    return std::nullopt;
}

Strategy StrategyOf(const Session& session, const std::string& path, const std::string& currency,
                    const std::vector<char>& kept, const std::optional<std::string>& magic, const ClockShift& clock)
{
    const TableFacts& facts = *session.FullFacts;
    Strategy strategy;
    strategy.Source = path;
    strategy.Name = FileName(path) + (magic ? " #" + *magic : std::string());
    strategy.Magic = magic;
    strategy.Currency = currency;
    strategy.Writer = session.Report.Writer;
    strategy.Kind = session.Report.Kind;
    strategy.MoneyDigits = session.Report.MoneyDigits;
    strategy.Clock = clock;
    for (std::size_t i = 0; i < facts.Trades.size(); ++i)
        if (kept[i])
            strategy.Trades.push_back(facts.Trades[i]);
    strategy.Deposit =
        DepositBefore(session.Report, strategy.Trades.empty() ? 0 : strategy.Trades.front().CloseSeconds);
    strategy.Figures =
        ComputeMoreStatistics(facts.Trades, &kept, facts.Symbols, facts.MagicNames, session.Report, &clock);
    return strategy;
}

} // namespace

std::vector<Strategy> StrategiesOfSession(const Session& session, const std::string& path, bool byMagic,
                                          const ClockShift& clock)
{
    std::vector<Strategy> strategies;
    if (!FactsCurrent(session) || session.ShownKept.size() != session.FullFacts->Trades.size())
        return strategies;
    const std::string currency = path.empty() ? std::string() : ReadAccountCurrency(path, session.Report);
    const TableFacts& facts = *session.FullFacts;
    if (!byMagic) {
        strategies.push_back(StrategyOf(session, path, currency, session.ShownKept, std::nullopt, clock));
        return strategies;
    }
    std::vector<int> magics; // in order of first close
    std::vector<char> seen(facts.MagicNames.size(), 0);
    for (std::size_t i = 0; i < facts.Trades.size(); ++i) {
        const auto magic = static_cast<std::size_t>(facts.Trades[i].MagicId);
        if (session.ShownKept[i] && magic < seen.size() && !seen[magic]) {
            seen[magic] = 1;
            magics.push_back(static_cast<int>(magic));
        }
    }
    for (const int magic : magics) {
        std::vector<char> kept(session.ShownKept);
        for (std::size_t i = 0; i < kept.size(); ++i)
            kept[i] = kept[i] && facts.Trades[i].MagicId == magic;
        strategies.push_back(StrategyOf(session, path, currency, kept,
                                        facts.MagicNames[static_cast<std::size_t>(magic)], clock));
    }
    return strategies;
}

std::vector<Strategy> LoadStrategies(const std::string& path, bool byMagic, const ClockShift& clock)
{
    Session session;
    if (LoadAndFilter(session, path, LoadMode::Replace) != LoadOutcome::Loaded)
        throw std::runtime_error(FileName(path) + ": " + std::string(kRefusal));
    return StrategiesOfSession(session, path, byMagic, clock);
}

double WonPct(const Strategy& strategy)
{
    if (strategy.Trades.empty())
        return 0.0;
    long long wins = 0;
    for (const ClosedTrade& trade : strategy.Trades)
        wins += trade.Result >= 0 ? 1 : 0;
    return static_cast<double>(wins) * 100 / static_cast<double>(strategy.Trades.size());
}

} // namespace corvane
