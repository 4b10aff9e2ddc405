#include "analysis/MoreStatistics.h"

#include "analysis/TextIds.h"
#include "trades/CellErrors.h"
#include "trades/Mt5Report.h"
#include "trades/Numbers.h"
#include "trades/TextRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace corvane {

namespace {

// Reads `count` digits at `at`; -1 when one is not a digit.
int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Seconds since 1970 of "yyyy.mm.dd hh:mm[:ss]"; 0 when the date cannot be read.
long long Seconds(std::string_view time)
{
    const int year = Digits(time, 0, 4), month = Digits(time, 5, 2), day = Digits(time, 8, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1)
        return 0;
    const int hour = std::max(Digits(time, 11, 2), 0), minute = std::max(Digits(time, 14, 2), 0);
    const int second = std::max(Digits(time, 17, 2), 0);
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = y / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600LL + minute * 60LL + second;
}

bool IsMt5(const ReportState& report)
{
    return report.GeneratorMark == kMt5GeneratorMark;
}

// A balance or credit row, and when it comes among the trades.
struct BalanceEvent
{
    long long Seconds;
    long long Ticket;
    double Amount;
};

std::vector<BalanceEvent> BalanceEvents(const ReportState& report)
{
    std::vector<BalanceEvent> events;
    events.reserve(report.BalanceRows.size());
    for (const BalanceRow& row : report.BalanceRows)
        events.push_back({Seconds(row.Time), row.Ticket, row.Amount});
    std::stable_sort(events.begin(), events.end(), [](const BalanceEvent& a, const BalanceEvent& b) {
        return a.Seconds != b.Seconds ? a.Seconds < b.Seconds : a.Ticket < b.Ticket;
    });
    return events;
}

// The trades a computation runs over: all of a list, or those of it whose flag is set.
class Trades
{
public:
    Trades(const std::vector<ClosedTrade>& all, const std::vector<char>* kept) : m_all(all), m_kept(kept) {}

    template <typename F> void ForEach(F f) const
    {
        for (std::size_t i = 0; i < m_all.size(); ++i)
            if (!m_kept || (*m_kept)[i])
                f(m_all[i]);
    }

private:
    const std::vector<ClosedTrade>& m_all;
    const std::vector<char>* m_kept;
};

// Walks the trades and the balance rows in time order: `onBalance(amount)` and `onTrade(trade)`. A
// balance row of the same second goes first in a MetaTrader 5 report (its deposit opens the test),
// else in ticket order.
template <typename OnBalance, typename OnTrade>
void WalkEvents(const Trades& trades, const std::vector<BalanceEvent>& balances, bool mt5, OnBalance onBalance,
                OnTrade onTrade)
{
    std::size_t b = 0;
    trades.ForEach([&](const ClosedTrade& trade) {
        while (b < balances.size()
               && (balances[b].Seconds < trade.CloseSeconds
                   || (balances[b].Seconds == trade.CloseSeconds && (mt5 || balances[b].Ticket < trade.Ticket))))
            onBalance(balances[b++].Amount);
        onTrade(trade);
    });
    for (; b < balances.size(); ++b)
        onBalance(balances[b].Amount);
}

// A run of wins or of losses, and the longest one kept so far.
struct Runs
{
    long long Count = 0;
    double Money = 0.0;
    long long BestCount = 0;
    double BestMoney = 0.0;
    std::optional<double> Record; // the most money a run of this sign ever reached

    void End(bool wins, ConsecutiveRule rule)
    {
        if (Count == 0)
            return;
        const auto better = [wins](double a, double b) { return wins ? a > b : a < b; };
        const bool record = !Record || better(Money, *Record);
        if (record)
            Record = Money;
        const bool tieWins = rule == ConsecutiveRule::Mt4 ? record : better(Money, BestMoney);
        if (Count > BestCount || (Count == BestCount && tieWins)) {
            BestCount = Count;
            BestMoney = Money;
        }
        Count = 0;
        Money = 0.0;
    }
};

std::string Fixed(double value, int precision)
{
    return FormatFigure(value, 0, precision);
}

std::string Optional(const std::optional<double>& value, int precision, std::string_view none,
                     std::string_view unit = {})
{
    return value ? Fixed(*value, precision) + std::string(unit) : std::string(none);
}

std::string Holding(const std::optional<double>& seconds)
{
    if (!seconds)
        return "none";
    const long long total = std::llround(*seconds);
    char text[64];
    const long long days = total / 86400;
    if (days > 0)
        std::snprintf(text, sizeof text, "%lldd %02lld:%02lld:%02lld", days, total % 86400 / 3600, total % 3600 / 60,
                      total % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", total / 3600, total % 3600 / 60, total % 60);
    return text;
}

// Two label and value pairs, placed as the summary's lines place them.
std::string Pair(std::string_view left, const std::string& leftValue, std::string_view right,
                 const std::string& rightValue)
{
    char line[256];
    std::snprintf(line, sizeof line, "%-22.*s%12s              %-22.*s%12s", static_cast<int>(left.size()), left.data(),
                  leftValue.c_str(), static_cast<int>(right.size()), right.data(), rightValue.c_str());
    return line;
}

std::string CountAndMoney(long long count, double money)
{
    return std::to_string(count) + " (" + Fixed(money, 2) + ")";
}

std::string CountAndPct(long long count, double pct)
{
    return std::to_string(count) + " (" + Fixed(pct, 2) + "%)";
}

// "net profit 12.30 here, 12.40 in the report (0.10 less)".
std::string Difference(std::string_view name, double ours, double printed, int precision)
{
    const double diff = ours - printed;
    return std::string(name) + " " + Fixed(ours, precision) + " here, " + Fixed(printed, precision) + " in the report ("
           + Fixed(std::fabs(diff), precision) + (diff > 0 ? " more)" : " less)");
}

} // namespace

std::uint64_t MonthKey(std::string_view time)
{
    std::uint64_t key = 0;
    if (time.size() >= 7) {
        std::memcpy(&key, time.data(), 7);
        return key | std::uint64_t{7} << 56;
    }
    if (!time.empty())
        std::memcpy(&key, time.data(), time.size());
    return key | static_cast<std::uint64_t>(time.size()) << 56;
}

namespace {

// The text a MonthKey was made of.
std::string MonthName(std::uint64_t key)
{
    char text[8];
    std::memcpy(text, &key, sizeof text);
    return std::string(text, std::min<std::size_t>(key >> 56, 7));
}

} // namespace

bool ReadClosedTrade(const std::string_view* cells, ClosedTrade& trade)
{
    if (!StartsWithDigit(cells[kCloseTime]))
        return false; // an open position
    trade.Ticket = LeadingInteger(cells[kTicket]);
    trade.OpenSeconds = Seconds(cells[kOpenTime]);
    trade.CloseSeconds = Seconds(cells[kCloseTime]);
    trade.Month = MonthKey(cells[kCloseTime]);
    trade.Short = !cells[kType].empty() && cells[kType].front() == 's';
    return true;
}

std::string_view MagicName(std::string_view magicCell)
{
    const std::string_view magic = Trimmed(magicCell, kWhiteSpace);
    return magic.empty() ? std::string_view("0") : magic;
}

bool RunsInDealOrder(const ReportState& report)
{
    return IsMt5(report);
}

ClosedTradeList ClosedTrades(const TextGrid& grid, const TextGrid& magicGrid, int magicColumn,
                             const ReportState& report, const std::vector<TradeValues>* values)
{
    ClosedTradeList list;
    std::vector<ClosedTrade>& trades = list.Trades;
    trades.reserve(grid.RowCount() > 1 ? grid.RowCount() - 1 : 0);
    TextIds symbolId(list.Symbols);
    TextIds magicId(list.Magics);
    std::string_view cells[kPips + 1];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        ClosedTrade trade;
        if (!ReadClosedTrade(cells, trade))
            continue;
        trade.SymbolId = symbolId(cells[kItem]);
        trade.MagicId = magicId(MagicName(magicGrid.Cell(magicColumn, row)));
        if (values && static_cast<std::size_t>(row - 1) < values->size()) {
            const TradeValues& read = (*values)[row - 1];
            trade.Result = read.Profit + (read.HasSwap ? read.Swap : 0.0) + (read.HasComm ? read.Comm : 0.0);
            trade.Pips = read.Pips;
        } else {
            trade.Result = ReadRowOf(grid, row, [&cells] {
                return ParseCellOf(kProfit, cells[kProfit], ParseProfitCell)
                       + ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell)
                       + ParseCellOf(kComm, cells[kComm], ParseMoneyCell);
            });
            trade.Pips = LeadingInteger(cells[kPips]);
        }
        trades.push_back(trade);
    }
    const bool dealOrder = RunsInDealOrder(report);
    const auto before = [dealOrder](const ClosedTrade& a, const ClosedTrade& b) { return RunsBefore(a, b, dealOrder); };
    // Most tables are in that order already: the check costs less than a sort.
    if (!std::is_sorted(trades.begin(), trades.end(), before))
        std::stable_sort(trades.begin(), trades.end(), before);
    return list;
}

double OpeningBalance(const ReportState& report)
{
    if (IsMt5(report))
        return report.StartBalance.value_or(0.0); // before its first deal, which may be the deposit
    if (report.Kind == ReportKind::Tester)
        return report.InitialDeposit;
    if (report.Printed && report.Printed->Balance && report.Printed->NetProfit)
        return *report.Printed->Balance - *report.Printed->NetProfit - report.Printed->DepositWithdrawal.value_or(0.0);
    return report.BalanceRows.empty() ? report.InitialDeposit : 0.0;
}

MoreFigures ComputeMoreStatistics(const ClosedTradeList& trades, const ReportState& report)
{
    return ComputeMoreStatistics(trades.Trades, nullptr, trades.Symbols, trades.Magics, report);
}

MoreFigures ComputeMoreStatistics(const std::vector<ClosedTrade>& all, const std::vector<char>* kept,
                                  const std::vector<std::string>& symbols, const std::vector<std::string>& magics,
                                  const ReportState& report)
{
    const Trades trades(all, kept);
    MoreFigures f;
    const ConsecutiveRule rule = IsMt5(report) ? ConsecutiveRule::Mt5 : ConsecutiveRule::Mt4;
    long long wins = 0, losses = 0, shortWins = 0, longWins = 0;
    Runs winRuns, lossRuns;
    double sum = 0.0, sumSquares = 0.0, holding = 0.0;
    std::vector<std::size_t> symbolRow, magicRow; // by the trades' ids
    std::vector<long long> symbolWins, magicWins;
    static constexpr std::size_t kNoRow = ~std::size_t{0};
    const auto group = [](std::vector<GroupFigures>& rows, std::vector<long long>& groupWins,
                          std::vector<std::size_t>& idRow, const std::vector<std::string>& names, int id,
                          const ClosedTrade& trade) {
        const auto at = static_cast<std::size_t>(id);
        if (at >= idRow.size())
            idRow.resize(at + 1, kNoRow);
        if (idRow[at] == kNoRow) {
            idRow[at] = rows.size();
            rows.push_back({at < names.size() ? names[at] : std::string(), 0, 0.0, 0.0, 0});
            groupWins.push_back(0);
        }
        GroupFigures& row = rows[idRow[at]];
        ++row.Trades;
        row.NetProfit += trade.Result;
        row.Pips += trade.Pips;
        groupWins[idRow[at]] += trade.Result >= 0 ? 1 : 0;
    };

    trades.ForEach([&](const ClosedTrade& trade) {
        const double r = trade.Result;
        ++f.Trades;
        if (r >= 0) {
            ++wins;
            f.GrossProfit += r;
            f.LargestProfitTrade = std::max(f.LargestProfitTrade, r);
            lossRuns.End(false, rule);
            ++winRuns.Count;
            winRuns.Money += r;
        } else {
            ++losses;
            f.GrossLoss += r;
            f.LargestLossTrade = std::min(f.LargestLossTrade, r);
            winRuns.End(true, rule);
            ++lossRuns.Count;
            lossRuns.Money += r;
        }
        (trade.Short ? f.ShortTrades : f.LongTrades) += 1;
        (trade.Short ? shortWins : longWins) += r >= 0 ? 1 : 0;
        sum += r;
        sumSquares += r * r;
        holding += static_cast<double>(trade.CloseSeconds - trade.OpenSeconds);
        group(f.Symbols, symbolWins, symbolRow, symbols, trade.SymbolId, trade);
        group(f.Magics, magicWins, magicRow, magics, trade.MagicId, trade);
    });
    winRuns.End(true, rule);
    lossRuns.End(false, rule);

    const auto pct = [](long long part, long long whole) {
        return whole ? static_cast<double>(part) * 100 / static_cast<double>(whole) : 0.0;
    };
    f.NetProfit = f.GrossProfit + f.GrossLoss;
    if (losses > 0)
        f.ProfitFactor = f.GrossProfit / std::fabs(f.GrossLoss);
    const auto n = static_cast<double>(f.Trades);
    f.ExpectedPayoff = f.Trades ? f.NetProfit / n : 0.0;
    f.AverageProfitTrade = wins ? f.GrossProfit / static_cast<double>(wins) : 0.0;
    f.AverageLossTrade = losses ? f.GrossLoss / static_cast<double>(losses) : 0.0;
    f.MaxConsecutiveWins = winRuns.BestCount;
    f.MaxConsecutiveWinsMoney = winRuns.BestMoney;
    f.MaxConsecutiveLosses = lossRuns.BestCount;
    f.MaxConsecutiveLossesMoney = lossRuns.BestMoney;
    f.ShortWonPct = pct(shortWins, f.ShortTrades);
    f.LongWonPct = pct(longWins, f.LongTrades);
    for (std::size_t i = 0; i < f.Symbols.size(); ++i)
        f.Symbols[i].WonPct = pct(symbolWins[i], f.Symbols[i].Trades);
    for (std::size_t i = 0; i < f.Magics.size(); ++i)
        f.Magics[i].WonPct = pct(magicWins[i], f.Magics[i].Trades);
    if (f.Trades > 1) {
        const double variance = (sumSquares - sum * sum / n) / (n - 1);
        if (variance > 1e-12)
            f.SharpeRatio = (sum / n) / std::sqrt(variance);
    }
    if (f.Trades > 0)
        f.AverageHoldingSeconds = holding / n;

    // The drawdown as the terminal measures it for a statement: the fall of the trades' running result
    // from its peak (deposits and withdrawals are no fall), in % of the balance at the peak counted from
    // what was deposited before the first trade.
    // The gain: every trade earns on the balance before it; deposits and withdrawals move the balance.
    double balance = OpeningBalance(report);
    double base = balance, running = 0.0, peak = 0.0, growth = 1.0;
    bool traded = false, grown = false;
    std::uint64_t month = 0;
    double monthGrowth = 1.0;
    WalkEvents(
        trades, BalanceEvents(report), IsMt5(report),
        [&](double amount) {
            balance += amount;
            if (!traded)
                base += amount;
        },
        [&](const ClosedTrade& trade) {
            traded = true;
            if (f.Months.empty() || trade.Month != month) {
                if (!f.Months.empty())
                    f.Months.back().GainPct = (monthGrowth - 1) * 100;
                f.Months.push_back({MonthName(trade.Month), 0, 0.0, 0.0});
                month = trade.Month;
                monthGrowth = 1.0;
            }
            ++f.Months.back().Trades;
            f.Months.back().NetProfit += trade.Result;
            if (balance > 0) {
                const double factor = (balance + trade.Result) / balance;
                growth *= factor;
                monthGrowth *= factor;
                grown = true;
            }
            balance += trade.Result;
            running += trade.Result;
            peak = std::max(peak, running);
            if (peak - running > f.MaxDrawdown) {
                f.MaxDrawdown = peak - running;
                f.MaxDrawdownPct = base + peak > 0 ? f.MaxDrawdown * 100 / (base + peak) : 0.0;
            }
        });
    if (!f.Months.empty())
        f.Months.back().GainPct = (monthGrowth - 1) * 100;
    if (grown)
        f.GainPct = (growth - 1) * 100;
    if (f.MaxDrawdown > 0)
        f.RecoveryFactor = f.NetProfit / f.MaxDrawdown;
    return f;
}

std::optional<ReportCheck> CheckAgainstReport(const MoreFigures& all, const ReportState& report)
{
    if (!report.Printed)
        return std::nullopt;
    const PrintedSummary& printed = *report.Printed;
    // A MetaTrader 4 tester report adds up its unrounded results but prints every row rounded to cents.
    const bool roundedRows = report.Kind == ReportKind::Tester && !IsMt5(report);
    const double tolerance = roundedRows ? 0.15 : 0.005;
    std::vector<std::string> differences;
    if (printed.Trades && *printed.Trades != all.Trades) {
        const long long diff = all.Trades - *printed.Trades;
        differences.push_back("trades " + std::to_string(all.Trades) + " here, " + std::to_string(*printed.Trades)
                              + " in the report (" + std::to_string(std::llabs(diff))
                              + (diff > 0 ? " more)" : " fewer)"));
    }
    const struct
    {
        const char* Name;
        double Ours;
        const std::optional<double>& Printed;
    } money[] = {{"net profit", all.NetProfit, printed.NetProfit},
                 {"gross profit", all.GrossProfit, printed.GrossProfit},
                 {"gross loss", all.GrossLoss, printed.GrossLoss}};
    for (const auto& figure : money)
        if (figure.Printed && !(std::fabs(figure.Ours - *figure.Printed) <= tolerance))
            differences.push_back(Difference(figure.Name, figure.Ours, *figure.Printed, 2));

    ReportCheck check;
    check.Agrees = differences.empty();
    if (check.Agrees) {
        check.Line = "Checked against the report's own summary: ";
        if (printed.Trades)
            check.Line += std::to_string(all.Trades) + (all.Trades == 1 ? " trade, " : " trades, ");
        check.Line += "net profit " + Fixed(all.NetProfit, 2);
        if (roundedRows)
            check.Line += " (within 0.15: the tester prints its rows rounded to cents)";
        return check;
    }
    check.Line = "Differs from the report's own summary: ";
    for (std::size_t i = 0; i < differences.size(); ++i)
        check.Line += (i ? "; " : "") + differences[i];
    return check;
}

std::vector<std::string> MoreStatisticsLines(const MoreFigures& f)
{
    std::vector<std::string> lines = {
        Pair("Total trades", std::to_string(f.Trades), "Expected payoff", Fixed(f.ExpectedPayoff, 2)),
        Pair("Gross profit", Fixed(f.GrossProfit, 2), "Gross loss", Fixed(f.GrossLoss, 2)),
        Pair("Net profit", Fixed(f.NetProfit, 2), "Profit factor", Optional(f.ProfitFactor, 2, "none (no loss)")),
        Pair("Largest profit trade", Fixed(f.LargestProfitTrade, 2), "Largest loss trade",
             Fixed(f.LargestLossTrade, 2)),
        Pair("Average profit trade", Fixed(f.AverageProfitTrade, 2), "Average loss trade",
             Fixed(f.AverageLossTrade, 2)),
        Pair("Max consecutive wins", CountAndMoney(f.MaxConsecutiveWins, f.MaxConsecutiveWinsMoney),
             "Max consecutive losses", CountAndMoney(f.MaxConsecutiveLosses, f.MaxConsecutiveLossesMoney)),
        Pair("Short trades (won %)", CountAndPct(f.ShortTrades, f.ShortWonPct), "Long trades (won %)",
             CountAndPct(f.LongTrades, f.LongWonPct)),
        "",
        Pair("Maximal drawdown", Fixed(f.MaxDrawdown, 2) + " (" + Fixed(f.MaxDrawdownPct, 2) + "%)", "Recovery factor",
             Optional(f.RecoveryFactor, 2, "none")),
        Pair("Gain (time-weighted)", Optional(f.GainPct, 2, "none", "%"), "Sharpe ratio",
             Optional(f.SharpeRatio, 2, "none")),
        Pair("Average holding time", Holding(f.AverageHoldingSeconds), "", ""),
    };
    char line[256];
    lines.emplace_back();
    lines.emplace_back("Month           Trades      Net profit      Gain");
    for (const MonthFigures& month : f.Months) {
        std::snprintf(line, sizeof line, "%-12s%10lld%16s%9s%%", month.Month.c_str(), month.Trades,
                      Fixed(month.NetProfit, 2).c_str(), Fixed(month.GainPct, 2).c_str());
        lines.emplace_back(line);
    }
    const auto groups = [&](std::string_view heading, const std::vector<GroupFigures>& rows) {
        lines.emplace_back();
        std::snprintf(line, sizeof line, "%-12.*s    Trades      Net profit     Won %%        Pips",
                      static_cast<int>(heading.size()), heading.data());
        lines.emplace_back(line);
        for (const GroupFigures& row : rows) {
            std::snprintf(line, sizeof line, "%-12s%10lld%16s%9s%%%12lld", row.Name.c_str(), row.Trades,
                          Fixed(row.NetProfit, 2).c_str(), Fixed(row.WonPct, 2).c_str(), row.Pips);
            lines.emplace_back(line);
        }
    };
    groups("Symbol", f.Symbols);
    groups("Magic", f.Magics);
    return lines;
}

void ShowMoreStatistics(Session& session, const MoreFigures& visible)
{
    // While every trade is visible, the figures of the visible trades are those of the whole table.
    if (session.Grid.RowCount() == session.Full.RowCount()) {
        const auto check = CheckAgainstReport(visible, session.Report);
        session.Check = check ? check->Line : std::string();
        session.Agrees = check ? std::optional<bool>(check->Agrees) : std::nullopt;
    }
    std::vector<std::string>& memo = session.MoreMemo;
    memo.assign(1, std::string());
    if (!session.Check.empty())
        memo.push_back(session.Check);
    for (std::string& line : MoreStatisticsLines(visible))
        memo.push_back(std::move(line));
}

void CheckEmptyTable(Session& session)
{
    const auto check = CheckAgainstReport(MoreFigures(), session.Report);
    session.Check = check ? check->Line : std::string();
    session.Agrees = check ? std::optional<bool>(check->Agrees) : std::nullopt;
    session.MoreMemo.assign(1, std::string());
    if (check)
        session.MoreMemo.push_back(check->Line);
}

} // namespace corvane
