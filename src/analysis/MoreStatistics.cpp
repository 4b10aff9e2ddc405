#include "analysis/MoreStatistics.h"

#include "analysis/TextIds.h"
#include "text/CivilTime.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "trades/CellErrors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace corvane {

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

// The MonthKey of a time on the trader's clock.
std::uint64_t ShiftedMonthKey(long long seconds)
{
    char month[7];
    MonthText(seconds, month);
    return MonthKey(std::string_view(month, sizeof month));
}

// Seconds since 1970 of "yyyy.mm.dd hh:mm[:ss]"; 0 when the date cannot be read.
long long Seconds(std::string_view time)
{
    return TimeTextSeconds(time).value_or(0);
}

bool IsMt5(const ReportState& report)
{
    return report.Writer == Terminal::Mt5;
}

// Amounts in whole cents, held in doubles: sums of them are exact up to 2^53 cents (far beyond any
// account), so a balance that comes back to 0 is 0 and equal falls are equal; a larger amount, as only
// a broken cell gives, loses its last cents instead of overflowing.
double Cents(double amount)
{
    return std::round(amount * 100);
}

// A balance or credit row, and when it comes among the trades.
struct BalanceEvent
{
    long long Seconds;
    long long Sequence;
    double Cents;
};

std::vector<BalanceEvent> BalanceEvents(const ReportState& report)
{
    std::vector<BalanceEvent> events;
    if (report.Rescaled)
        return events; // the rescaled trades' balance runs from Normalize's deposit alone
    events.reserve(report.BalanceRows.size());
    for (const BalanceRow& row : report.BalanceRows)
        events.push_back({Seconds(row.Time), row.Ticket, Cents(row.Amount)});
    std::stable_sort(events.begin(), events.end(), [](const BalanceEvent& a, const BalanceEvent& b) {
        return a.Seconds != b.Seconds ? a.Seconds < b.Seconds : a.Sequence < b.Sequence;
    });
    return events;
}

// The trades a computation runs over: all of a list, or those of it whose flag is set.
class Trades
{
public:
    Trades(const std::vector<ClosedTrade>& all, const std::vector<char>* kept) : m_all(all), m_kept(kept) {}

    bool Kept(std::size_t i) const { return !m_kept || (*m_kept)[i]; }

    template <typename F> void ForEach(F f) const
    {
        for (std::size_t i = 0; i < m_all.size(); ++i)
            if (Kept(i))
                f(m_all[i]);
    }

    // Every trade, kept or not, with its flag.
    template <typename F> void ForEachOfAll(F f) const
    {
        for (std::size_t i = 0; i < m_all.size(); ++i)
            f(m_all[i], Kept(i));
    }

private:
    const std::vector<ClosedTrade>& m_all;
    const std::vector<char>* m_kept;
};

// Walks all the trades, kept or not, and the balance rows in time order: `onBalance(cents)` and
// `onTrade(trade, kept)`. A balance row of the same second goes first in a MetaTrader 5 report (its
// deposit opens the test), else in ticket order.
template <typename OnBalance, typename OnTrade>
void WalkEvents(const Trades& trades, const std::vector<BalanceEvent>& balances, bool mt5, OnBalance onBalance,
                OnTrade onTrade)
{
    std::size_t b = 0;
    trades.ForEachOfAll([&](const ClosedTrade& trade, bool kept) {
        while (b < balances.size()
               && (balances[b].Seconds < trade.CloseSeconds
                   || (balances[b].Seconds == trade.CloseSeconds && (mt5 || balances[b].Sequence < trade.Sequence))))
            onBalance(balances[b++].Cents);
        onTrade(trade, kept);
    });
    for (; b < balances.size(); ++b)
        onBalance(balances[b].Cents);
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

// The tables by symbol and by magic number, a row for each id in order of first close.
class Groups
{
public:
    Groups(std::vector<GroupFigures>& rows, const std::vector<std::string>& names) : m_rows(rows), m_names(names) {}

    void Add(int id, const ClosedTrade& trade)
    {
        const auto at = static_cast<std::size_t>(id);
        if (at >= m_rowOf.size())
            m_rowOf.resize(at + 1, kNoRow);
        if (m_rowOf[at] == kNoRow) {
            m_rowOf[at] = m_rows.size();
            m_rows.push_back({at < m_names.size() ? m_names[at] : std::string(), 0, 0.0, 0.0, 0});
            m_wins.push_back(0);
        }
        GroupFigures& row = m_rows[m_rowOf[at]];
        ++row.Trades;
        row.NetProfit += trade.Result;
        row.Pips += trade.Pips;
        m_wins[m_rowOf[at]] += trade.Result >= 0 ? 1 : 0;
    }

    void Finish()
    {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            m_rows[i].WonPct = static_cast<double>(m_wins[i]) * 100 / static_cast<double>(m_rows[i].Trades);
    }

private:
    static constexpr std::size_t kNoRow = ~std::size_t{0};
    std::vector<GroupFigures>& m_rows;
    const std::vector<std::string>& m_names;
    std::vector<std::size_t> m_rowOf; // by id
    std::vector<long long> m_wins;    // by row
};

double Pct(long long part, long long whole)
{
    return whole ? static_cast<double>(part) * 100 / static_cast<double>(whole) : 0.0;
}

// The figures that follow from the results alone, in the terminal's order: counts, sums, runs, the tables by
// symbol and magic number, the terminal's Sharpe ratio and the holding time.
void AddTradeFigures(const Trades& trades, const std::vector<std::string>& symbols,
                     const std::vector<std::string>& magics, bool mt5, const ClockShift* clock, MoreFigures& f)
{
    const ConsecutiveRule rule = mt5 ? ConsecutiveRule::Mt5 : ConsecutiveRule::Mt4;
    long long wins = 0, losses = 0, shortWins = 0, longWins = 0;
    Runs winRuns, lossRuns;
    double sum = 0.0, holding = 0.0;
    Groups bySymbol(f.Symbols, symbols), byMagic(f.Magics, magics);
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
        holding += static_cast<double>(clock ? clock->Elapsed(trade.OpenSeconds, trade.CloseSeconds)
                                             : trade.CloseSeconds - trade.OpenSeconds);
        bySymbol.Add(trade.SymbolId, trade);
        byMagic.Add(trade.MagicId, trade);
    });
    winRuns.End(true, rule);
    lossRuns.End(false, rule);
    bySymbol.Finish();
    byMagic.Finish();

    f.NetProfit = f.GrossProfit + f.GrossLoss;
    if (losses > 0)
        f.ProfitFactor = f.GrossProfit / std::fabs(f.GrossLoss);
    else if (mt5)
        f.ProfitFactor = 0.0;
    const auto n = static_cast<double>(f.Trades);
    f.ExpectedPayoff = f.Trades ? f.NetProfit / n : 0.0;
    f.AverageProfitTrade = wins ? f.GrossProfit / static_cast<double>(wins) : 0.0;
    f.AverageLossTrade = losses ? f.GrossLoss / static_cast<double>(losses) : 0.0;
    f.MaxConsecutiveWins = winRuns.BestCount;
    f.MaxConsecutiveWinsMoney = winRuns.BestMoney;
    f.MaxConsecutiveLosses = lossRuns.BestCount;
    f.MaxConsecutiveLossesMoney = lossRuns.BestMoney;
    f.ShortWonPct = Pct(shortWins, f.ShortTrades);
    f.LongWonPct = Pct(longWins, f.LongTrades);
    if (f.Trades > 0)
        f.AverageHoldingSeconds = holding / n;

    // The terminal's Sharpe ratio: the mean result over the standard deviation of the results about it.
    if (f.Trades > 1) {
        const double mean = sum / n;
        double squares = 0.0;
        trades.ForEach([&](const ClosedTrade& trade) { squares += (trade.Result - mean) * (trade.Result - mean); });
        const double deviation = std::sqrt(squares / n);
        if (deviation > 1e-9 * std::max(1.0, std::fabs(mean)))
            f.SharpeRatio = mean / deviation;
    }
    if (!f.SharpeRatio && mt5)
        f.SharpeRatio = 0.0;
}

// The days' returns on the account's balance, and the annualised ratios of them.
class DailyReturns
{
public:
    // A kept trade closed on `day` (days since 1970) earned `factor` (balance after over balance before).
    void Add(long long day, double factor)
    {
        if (m_days.empty() || m_days.back().first != day)
            m_days.emplace_back(day, 1.0);
        m_days.back().second *= factor;
    }

    // Over every weekday from the first trade's day to the last's, and every day a trade closed on: a day
    // without trades returns 0.
    void Finish(MoreFigures& f) const
    {
        if (m_days.empty())
            return;
        constexpr double kTradingDays = 252;
        std::vector<double> returns;
        std::size_t next = 0;
        for (long long day = m_days.front().first; day <= m_days.back().first; ++day) {
            if (next < m_days.size() && m_days[next].first == day)
                returns.push_back(m_days[next++].second - 1);
            else if ((day + 3) % 7 < 5) // 1970-01-01 was a Thursday: Monday to Friday
                returns.push_back(0.0);
        }
        if (returns.size() < 2)
            return;
        const auto n = static_cast<double>(returns.size());
        double sum = 0.0;
        for (const double r : returns)
            sum += r;
        const double mean = sum / n;
        double squares = 0.0, lossSquares = 0.0;
        for (const double r : returns) {
            squares += (r - mean) * (r - mean);
            lossSquares += r < 0 ? r * r : 0.0;
        }
        const double deviation = std::sqrt(squares / (n - 1));
        if (deviation > 0)
            f.SharpeRatioAnnual = mean / deviation * std::sqrt(kTradingDays);
        const double downside = std::sqrt(lossSquares / n);
        if (downside > 0)
            f.SortinoRatioAnnual = mean / downside * std::sqrt(kTradingDays);
    }

private:
    std::vector<std::pair<long long, double>> m_days; // the days trades closed on, in order, and their factors
};

/**
 * The figures that follow the balance, in cents: the drawdowns as the terminal measures them for the kept
 * trades (the fall of their running result from its peak, deposits and withdrawals being no fall, in % of
 * the balance at the peak counted from what was deposited before the first of them), and the gains by month,
 * in all and by day: each kept trade earns on the account's balance before it, which every trade of the
 * table and every deposit and withdrawal moves.
 */
void AddBalanceFigures(const Trades& trades, const ReportState& report, const ClockShift* clock, MoreFigures& f)
{
    const bool mt5 = IsMt5(report);
    double balance = Cents(OpeningBalance(report));
    double base = balance, running = 0, peak = 0, fall = 0, lowest = 0, fallBase = 0;
    bool traded = false, balanceKnown = true, gainKnown = true;
    double growth = 1.0, monthGrowth = 1.0;
    bool monthKnown = true;
    std::uint64_t month = 0;
    DailyReturns days;
    const auto endMonth = [&] {
        if (!f.Months.empty() && monthKnown)
            f.Months.back().GainPct = (monthGrowth - 1) * 100;
    };
    WalkEvents(
        trades, BalanceEvents(report), mt5,
        [&](double amount) {
            balance += amount;
            if (!traded)
                base += amount;
        },
        [&](const ClosedTrade& trade, bool kept) {
            if (std::isnan(trade.Result)) {
                balanceKnown = gainKnown = monthKnown = false; // a row that could not be read
                return;
            }
            const double result = Cents(trade.Result);
            const double before = balance;
            balance += result;
            if (!kept)
                return;
            traded = true;
            const long long closed = clock ? clock->ToTrader(trade.CloseSeconds) : trade.CloseSeconds;
            const std::uint64_t tradeMonth = clock ? ShiftedMonthKey(closed) : trade.Month;
            if (f.Months.empty() || tradeMonth != month) {
                endMonth();
                f.Months.push_back({MonthName(tradeMonth), 0, 0.0, std::nullopt});
                month = tradeMonth;
                monthGrowth = 1.0;
                monthKnown = balanceKnown;
            }
            ++f.Months.back().Trades;
            f.Months.back().NetProfit += trade.Result;
            if (balanceKnown && before > 0) {
                const double factor = (before + result) / before;
                growth *= factor;
                monthGrowth *= factor;
                days.Add(DayOfSeconds(closed), factor);
            } else {
                gainKnown = monthKnown = false;
            }
            running += result;
            peak = std::max(peak, running);
            lowest = std::min(lowest, running);
            if (peak - running > fall) {
                fall = peak - running;
                fallBase = base + peak;
            }
        });
    endMonth();
    f.MaxDrawdown = fall / 100;
    f.MaxDrawdownPct = fall > 0 && fallBase > 0 ? fall * 100 / fallBase : 0.0;
    f.AbsoluteDrawdown = -lowest / 100;
    if (traded && gainKnown) {
        f.GainPct = (growth - 1) * 100;
        days.Finish(f);
    }
    if (fall > 0)
        f.RecoveryFactor = f.NetProfit / f.MaxDrawdown;
    else if (mt5)
        f.RecoveryFactor = 0.0;
}

// A figure as the terminal prints it: rounded half away from zero.
std::string Fixed(double value, int precision)
{
    return FormatRounded(value, precision);
}

std::string Optional(const std::optional<double>& value, int precision, std::string_view none,
                     std::string_view unit = {})
{
    return value ? Fixed(*value, precision) + std::string(unit) : std::string(none);
}

} // namespace

std::string HoldingText(const std::optional<double>& seconds)
{
    if (!seconds)
        return "n/a";
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

namespace {

std::string CountAndMoney(long long count, double money, int digits)
{
    return std::to_string(count) + " (" + Fixed(money, digits) + ")";
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

// Label and value pairs two to a line, placed as the summary's lines place them: each pair in 34 places,
// its label at the left and its value at the right, 14 places between the two; wider when a pair needs
// more room, the same for every line, so that the labels and the values stand in columns.
class PairLines
{
public:
    void Add(std::string_view left, std::string leftValue, std::string_view right, std::string rightValue)
    {
        m_rows.push_back({std::string(left), std::move(leftValue), std::string(right), std::move(rightValue)});
    }
    void AddEmpty() { m_rows.push_back({}); }

    void WriteTo(std::vector<std::string>& lines) const
    {
        std::size_t leftWidth = 34, rightWidth = 34;
        for (const Row& row : m_rows) {
            leftWidth = std::max(leftWidth, row.Left.size() + 1 + row.LeftValue.size());
            if (!row.Right.empty())
                rightWidth = std::max(rightWidth, row.Right.size() + 1 + row.RightValue.size());
        }
        for (const Row& row : m_rows) {
            if (row.Left.empty()) {
                lines.emplace_back();
                continue;
            }
            std::string line = Padded(row.Left, row.LeftValue, leftWidth);
            if (!row.Right.empty())
                line += std::string(14, ' ') + Padded(row.Right, row.RightValue, rightWidth);
            lines.push_back(std::move(line));
        }
    }

private:
    struct Row
    {
        std::string Left, LeftValue, Right, RightValue;
    };

    static std::string Padded(const std::string& label, const std::string& value, std::size_t width)
    {
        return label + std::string(width - label.size() - value.size(), ' ') + value;
    }

    std::vector<Row> m_rows;
};

// A table of columns, each as wide as its heading or its longest cell and one place more; the first
// column's texts stand at the left, the others at the right.
class TableLines
{
public:
    explicit TableLines(std::vector<std::string> heading, std::vector<std::size_t> widths) : m_widths(std::move(widths))
    {
        m_rows.push_back(std::move(heading));
    }
    void Add(std::vector<std::string> cells) { m_rows.push_back(std::move(cells)); }

    void WriteTo(std::vector<std::string>& lines)
    {
        for (const auto& row : m_rows)
            for (std::size_t c = 0; c < row.size() && c < m_widths.size(); ++c)
                m_widths[c] = std::max(m_widths[c], row[c].size() + (c == 0 ? 0 : 1));
        for (const auto& row : m_rows) {
            std::string line;
            for (std::size_t c = 0; c < row.size() && c < m_widths.size(); ++c) {
                const std::string padding(m_widths[c] - row[c].size(), ' ');
                line += c == 0 ? row[c] + padding : padding + row[c];
            }
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(std::move(line));
        }
    }

private:
    std::vector<std::size_t> m_widths;
    std::vector<std::vector<std::string>> m_rows;
};

} // namespace

bool ReadClosedTrade(const std::string_view* cells, ClosedTrade& trade)
{
    if (!StartsWithDigit(cells[kCloseTime]))
        return false; // an open position
    trade.Sequence = LeadingInteger(cells[kTicket]);
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

Sequences::Sequences(const ReportState& report)
    : m_dealOrder(RunsInDealOrder(report))
    , m_closeLines(report.CloseLines.empty() ? nullptr : &report.CloseLines)
{
}

long long Sequences::Of(long long ticket)
{
    if (m_dealOrder)
        return 0;
    if (!m_closeLines)
        return ticket;
    // The table holds a tester report's orders mostly in the order of their numbers: the next entry is
    // tried before a search.
    const auto& lines = *m_closeLines;
    if (m_next >= lines.size() || lines[m_next].first != ticket) {
        const auto found =
            std::lower_bound(lines.begin(), lines.end(), ticket,
                             [](const CloseLineOf& line, long long order) { return line.first < order; });
        if (found == lines.end() || found->first != ticket)
            return ticket; // a row the report did not close on a line of its own (an import's, say)
        m_next = static_cast<std::size_t>(found - lines.begin());
    }
    return lines[m_next++].second;
}

ClosedTradeList ClosedTrades(const TextGrid& grid, const TextGrid& magicGrid, int magicColumn,
                             const ReportState& report, const std::vector<TradeValues>* values)
{
    ClosedTradeList list;
    std::vector<ClosedTrade>& trades = list.Trades;
    trades.reserve(grid.RowCount() > 1 ? grid.RowCount() - 1 : 0);
    TextIds symbolId(list.Symbols);
    TextIds magicId(list.Magics);
    Sequences sequences(report);
    std::string_view cells[kPips + 1];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        ClosedTrade trade;
        if (!ReadClosedTrade(cells, trade))
            continue;
        trade.Sequence = sequences.Of(trade.Sequence);
        trade.SymbolId = symbolId(cells[kItem]);
        trade.MagicId = magicId(MagicName(magicGrid.Cell(magicColumn, row)));
        if (values && static_cast<std::size_t>(row - 1) < values->size()) {
            const TradeValues& read = (*values)[row - 1];
            trade.Result = TerminalResult(read);
            trade.Pips = read.Pips;
        } else {
            trade.Result = ReadRowOf(grid, row, [&cells] {
                TradeValues read;
                read.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
                read.HasSwap = read.HasComm = true; // a blank cell reads as 0
                read.Swap = ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell);
                read.Comm = ParseCellOf(kComm, cells[kComm], ParseMoneyCell);
                return TerminalResult(read);
            });
            trade.Pips = LeadingInteger(cells[kPips]);
        }
        trades.push_back(trade);
    }
    // Most tables are in that order already: the check costs less than a sort.
    if (!std::is_sorted(trades.begin(), trades.end(), RunsBefore))
        std::stable_sort(trades.begin(), trades.end(), RunsBefore);
    return list;
}

double OpeningBalance(const ReportState& report)
{
    if (report.Rescaled)
        return report.InitialDeposit;
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
                                  const ReportState& report, const ClockShift* clock)
{
    const Trades trades(all, kept);
    MoreFigures f;
    if (clock && !clock->Shifts())
        clock = nullptr;
    AddTradeFigures(trades, symbols, magics, IsMt5(report), clock, f);
    AddBalanceFigures(trades, report, clock, f);
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
            differences.push_back(Difference(figure.Name, figure.Ours, *figure.Printed, report.MoneyDigits));

    ReportCheck check;
    check.Agrees = differences.empty();
    if (check.Agrees) {
        check.Line = "Checked against the report's own summary: ";
        if (printed.Trades)
            check.Line += std::to_string(all.Trades) + (all.Trades == 1 ? " trade, " : " trades, ");
        check.Line += "net profit " + Fixed(all.NetProfit, report.MoneyDigits);
        if (roundedRows)
            check.Line += " (within 0.15: the tester prints its rows rounded to cents)";
        return check;
    }
    check.Line = "Differs from the report's own summary: ";
    for (std::size_t i = 0; i < differences.size(); ++i)
        check.Line += (i ? "; " : "") + differences[i];
    return check;
}

FigureDigits DigitsOf(const ReportState& report)
{
    FigureDigits digits;
    digits.Money = report.MoneyDigits;
    digits.DrawdownPct = IsMt5(report) ? report.MoneyDigits : 2;
    return digits;
}

std::vector<std::string> MoreStatisticsLines(const MoreFigures& f, FigureDigits digits)
{
    const int money = digits.Money;
    PairLines pairs;
    pairs.Add("Total trades", std::to_string(f.Trades), "Expected payoff", Fixed(f.ExpectedPayoff, 2));
    pairs.Add("Gross profit", Fixed(f.GrossProfit, money), "Gross loss", Fixed(f.GrossLoss, money));
    pairs.Add("Net profit", Fixed(f.NetProfit, money), "Profit factor", Optional(f.ProfitFactor, 2, "n/a (no loss)"));
    pairs.Add("Largest profit trade", Fixed(f.LargestProfitTrade, money), "Largest loss trade",
              Fixed(f.LargestLossTrade, money));
    pairs.Add("Average profit trade", Fixed(f.AverageProfitTrade, money), "Average loss trade",
              Fixed(f.AverageLossTrade, money));
    pairs.Add("Max consecutive wins", CountAndMoney(f.MaxConsecutiveWins, f.MaxConsecutiveWinsMoney, money),
              "Max consecutive losses", CountAndMoney(f.MaxConsecutiveLosses, f.MaxConsecutiveLossesMoney, money));
    pairs.Add("Short trades (won %)", CountAndPct(f.ShortTrades, f.ShortWonPct), "Long trades (won %)",
              CountAndPct(f.LongTrades, f.LongWonPct));
    pairs.AddEmpty();
    pairs.Add("Maximal drawdown",
              Fixed(f.MaxDrawdown, money) + " (" + Fixed(f.MaxDrawdownPct, digits.DrawdownPct) + "%)",
              "Absolute drawdown", Fixed(f.AbsoluteDrawdown, money));
    pairs.Add("Recovery factor", Optional(f.RecoveryFactor, 2, "n/a"), "Gain (time-weighted)",
              Optional(f.GainPct, 2, "n/a", "%"));
    pairs.Add("Sharpe ratio (trades)", Optional(f.SharpeRatio, 2, "n/a"), "Sharpe ratio (annual)",
              Optional(f.SharpeRatioAnnual, 2, "n/a"));
    pairs.Add("Sortino ratio (annual)", Optional(f.SortinoRatioAnnual, 2, "n/a"), "Average holding time",
              HoldingText(f.AverageHoldingSeconds));
    std::vector<std::string> lines;
    pairs.WriteTo(lines);

    lines.emplace_back();
    TableLines months({"Month", "Trades", "Net profit", "Gain"}, {12, 10, 16, 10});
    for (const MonthFigures& month : f.Months)
        months.Add({month.Month, std::to_string(month.Trades), Fixed(month.NetProfit, money),
                    Optional(month.GainPct, 2, "n/a", "%")});
    months.WriteTo(lines);
    const auto groups = [&](std::string heading, const std::vector<GroupFigures>& rows) {
        lines.emplace_back();
        TableLines table({std::move(heading), "Trades", "Net profit", "Won %", "Pips"}, {12, 10, 16, 10, 12});
        for (const GroupFigures& row : rows)
            table.Add({row.Name, std::to_string(row.Trades), Fixed(row.NetProfit, money), Fixed(row.WonPct, 2) + "%",
                       std::to_string(row.Pips)});
        table.WriteTo(lines);
    };
    groups("Symbol", f.Symbols);
    groups("Magic", f.Magics);
    return lines;
}

void ShowMoreStatistics(Session& session, MoreFigures visible)
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
    for (std::string& line : MoreStatisticsLines(visible, DigitsOf(session.Report)))
        memo.push_back(std::move(line));
    session.ShownMore = std::make_shared<const MoreFigures>(std::move(visible));
}

void CheckEmptyTable(Session& session)
{
    const auto check = CheckAgainstReport(MoreFigures(), session.Report);
    session.Check = check ? check->Line : std::string();
    session.Agrees = check ? std::optional<bool>(check->Agrees) : std::nullopt;
    session.MoreMemo.assign(1, std::string());
    if (check)
        session.MoreMemo.push_back(check->Line);
    session.ShownMore = std::make_shared<const MoreFigures>(ComputeMoreStatistics({}, nullptr, {}, {}, session.Report));
}

} // namespace corvane
