#include "portfolio/Strategy.h"

#include "analysis/Commands.h"
#include "analysis/TableFacts.h"
#include "platform/PlatformFiles.h"
#include "reports/AccountCurrency.h"
#include "text/CivilTime.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace corvane {

namespace {

std::string FileName(const std::string& path)
{
    return path.empty() ? std::string("(no report)") : Utf8Path(NativePath(path).filename());
}

// The account's balance before the first kept trade: the opening balance, the balance rows up to its close
// and the trades that ran before it; else the report's initial deposit.
std::optional<double> DepositBefore(const ReportState& report, const std::vector<ClosedTrade>& trades,
                                    const std::vector<char>& kept)
{
    const auto first = std::find(kept.begin(), kept.end(), 1);
    double deposit = OpeningBalance(report);
    if (first != kept.end()) {
        const ClosedTrade& start = trades[static_cast<std::size_t>(first - kept.begin())];
        if (!report.Rescaled)
            for (const BalanceRow& row : report.BalanceRows)
                if (TimeTextSeconds(row.Time).value_or(0) <= start.CloseSeconds)
                    deposit += row.Amount;
        for (auto trade = trades.begin(); trade != trades.begin() + (first - kept.begin()); ++trade)
            if (!std::isnan(trade->Result))
                deposit += trade->Result;
    }
    if (deposit > 0)
        return deposit;
    if (report.InitialDeposit > 0)
        return report.InitialDeposit;
    return std::nullopt;
}

Strategy StrategyOf(const StrategySource& source, const std::vector<char>& kept,
                    const std::optional<std::string>& magic, const ClockShift& clock)
{
    Strategy strategy;
    strategy.Source = source.Path;
    strategy.Name = FileName(source.Path) + (magic ? " #" + *magic : std::string());
    strategy.Magic = magic;
    strategy.Currency = source.Currency;
    strategy.Writer = source.Report.Writer;
    strategy.Kind = source.Report.Kind;
    strategy.MoneyDigits = source.Report.MoneyDigits;
    strategy.Clock = clock;
    for (std::size_t i = 0; i < source.Trades.size(); ++i)
        if (kept[i])
            strategy.Trades.push_back(source.Trades[i]);
    strategy.Deposit = DepositBefore(source.Report, source.Trades, kept);
    strategy.Figures =
        ComputeMoreStatistics(source.Trades, &kept, source.Symbols, source.Magics, source.Report, &clock);
    return strategy;
}

} // namespace

StrategySource SourceOfSession(const Session& session, const std::string& path)
{
    StrategySource source;
    source.Path = path;
    source.Report = session.Report;
    if (!FactsCurrent(session) || session.ShownKept.size() != session.FullFacts->Trades.size())
        return source;
    source.Currency = path.empty() ? std::string() : ReadAccountCurrency(path, session.Report);
    const TableFacts& facts = *session.FullFacts;
    source.Trades = facts.Trades;
    source.Kept = session.ShownKept;
    source.Symbols = facts.Symbols;
    source.Magics = facts.MagicNames;
    return source;
}

StrategySource LoadStrategySource(const std::string& path)
{
    Session session;
    if (LoadAndFilter(session, path, LoadMode::Replace) != LoadOutcome::Loaded)
        throw RefusedReport(FileName(path) + ": " + std::string(kRefusal));
    return SourceOfSession(session, path);
}

std::vector<Strategy> StrategiesOf(const StrategySource& source, bool byMagic, const ClockShift& clock)
{
    std::vector<Strategy> strategies;
    if (source.Trades.empty())
        return strategies;
    if (!byMagic) {
        strategies.push_back(StrategyOf(source, source.Kept, std::nullopt, clock));
        return strategies;
    }
    std::vector<int> magics; // in order of first close
    std::vector<char> seen(source.Magics.size(), 0);
    for (std::size_t i = 0; i < source.Trades.size(); ++i) {
        const auto magic = static_cast<std::size_t>(source.Trades[i].MagicId);
        if (source.Kept[i] && magic < seen.size() && !seen[magic]) {
            seen[magic] = 1;
            magics.push_back(static_cast<int>(magic));
        }
    }
    for (const int magic : magics) {
        std::vector<char> kept(source.Kept);
        for (std::size_t i = 0; i < kept.size(); ++i)
            kept[i] = kept[i] && source.Trades[i].MagicId == magic;
        strategies.push_back(StrategyOf(source, kept, source.Magics[static_cast<std::size_t>(magic)], clock));
    }
    return strategies;
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
