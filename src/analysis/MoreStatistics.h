#pragma once

#include "text/ClockShift.h"
#include "trades/Session.h"
#include "trades/TextGrid.h"
#include "trades/TradeValues.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

/**
 * The closed trades of a table as the terminal counts them: every row with a close time. A trade's
 * result is P/L + Swap + Comm, the commission with its sign (the statement's Commission + Swap +
 * Profit; a tester report's rows hold only the profit). Open positions, balance and credit rows are no
 * trades.
 */
struct ClosedTrade
{
    // The trade's place among those closed in the same second, and among the balance rows of that second:
    // a statement's ticket, the number of a MetaTrader 4 tester report's closing line, 0 in a MetaTrader 5
    // report (its trades of one second keep the order of its Deals table).
    long long Sequence = 0;
    long long OpenSeconds = 0;  // seconds since 1970 of the open time, 0 when it cannot be read
    long long CloseSeconds = 0; // ... of the close time
    double Result = 0.0;        // not a number when the row's cells could not be read
    long long Pips = 0;
    // The month of the close time as MonthKey makes it: it also gives the month's name.
    std::uint64_t Month = 0;
    // The symbol and the magic number (without padding, "0" for none) as ids, equal for equal texts: they
    // index the names that come with the trades.
    int SymbolId = 0;
    int MagicId = 0;
    bool Short = false; // a sell
};

// Closed trades with the names their ids stand for.
struct ClosedTradeList
{
    std::vector<ClosedTrade> Trades;
    std::vector<std::string> Symbols; // by SymbolId
    std::vector<std::string> Magics;  // by MagicId
};

// The month of a time, its first seven characters "yyyy.mm" (fewer in a shorter text), as one number:
// equal for equal months, 0 only for an empty text.
std::uint64_t MonthKey(std::string_view time);

// One row of the table by month: the trades closed in that month.
struct MonthFigures
{
    std::string Month; // "yyyy.mm"
    long long Trades = 0;
    double NetProfit = 0.0;
    std::optional<double> GainPct; // the month's gain in %, time-weighted as the whole gain is; none as it has none

    bool operator==(const MonthFigures&) const = default;
};

// One row of the tables by symbol and by magic number.
struct GroupFigures
{
    std::string Name;
    long long Trades = 0;
    double NetProfit = 0.0;
    double WonPct = 0.0; // trades with a result of 0 or more, in % of the trades
    long long Pips = 0;

    bool operator==(const GroupFigures&) const = default;
};

/**
 * The figures of the closed trades the filters keep. Those the terminal prints follow its rules, so
 * that on a whole report they equal its own: trades run in order of close time (the same second in
 * ticket order, a MetaTrader 4 tester report's in the order of its closing lines, a MetaTrader 5 report's
 * in the order of its Deals table), a result of exactly 0 is a win. docs/statistics.md defines each.
 */
struct MoreFigures
{
    long long Trades = 0;
    double GrossProfit = 0.0;                    // sum of the results of 0 or more
    double GrossLoss = 0.0;                      // sum of the negative results (a negative amount)
    double NetProfit = 0.0;                      // gross profit + gross loss
    std::optional<double> ProfitFactor;          // gross profit / |gross loss|; without a losing trade none,
                                                 // 0 in a MetaTrader 5 report (as it prints it)
    double ExpectedPayoff = 0.0;                 // net profit / trades; 0 without trades
    double LargestProfitTrade = 0.0;             // the highest result of 0 or more; 0 without a win
    double LargestLossTrade = 0.0;               // the lowest negative result; 0 without a loss
    double AverageProfitTrade = 0.0;             // gross profit / wins (zeros are wins); 0 without a win
    double AverageLossTrade = 0.0;               // gross loss / losses; 0 without a loss
    long long MaxConsecutiveWins = 0;            // the longest run of wins
    double MaxConsecutiveWinsMoney = 0.0;        // the sum of that run (ties: see ConsecutiveRule)
    long long MaxConsecutiveLosses = 0;          // the longest run of losses
    double MaxConsecutiveLossesMoney = 0.0;      // the sum of that run
    long long ShortTrades = 0;                   // sells
    double ShortWonPct = 0.0;                    // winning sells in % of the sells; 0 without sells
    long long LongTrades = 0;                    // buys
    double LongWonPct = 0.0;                     // winning buys in % of the buys; 0 without buys
    double MaxDrawdown = 0.0;                    // the deepest fall of the trades' running result from its peak
    double MaxDrawdownPct = 0.0;                 // that fall in % of the balance the terminal measures it on
    double AbsoluteDrawdown = 0.0;               // how far the running result fell below 0: the balance below
                                                 // what was deposited before the first trade
    std::optional<double> GainPct;               // the product of (1 + result / the account's balance before it)
                                                 // over the trades, less 1, in %: deposits and withdrawals move
                                                 // the balance but earn nothing; none when a trade had no
                                                 // balance above 0 to earn on
    std::optional<double> SharpeRatio;           // the terminal's: mean result / standard deviation of the
                                                 // results (of the population); none for fewer than two trades
                                                 // or equal results (0 in a MetaTrader 5 report)
    std::optional<double> SharpeRatioAnnual;     // mean / standard deviation (n - 1) of the daily returns on the
                                                 // balance, times the root of 252; none without two days or a gain
    std::optional<double> SortinoRatioAnnual;    // the same mean over the root of the mean squared loss of a day
    std::optional<double> RecoveryFactor;        // net profit / maximal drawdown; none without a drawdown (0 in a
                                                 // MetaTrader 5 report)
    std::optional<double> AverageHoldingSeconds; // mean of close time - open time; none without trades
    std::vector<MonthFigures> Months;            // by month of the close time, in time order
    std::vector<GroupFigures> Symbols;           // in order of first close
    std::vector<GroupFigures> Magics;            // in order of first close

    bool operator==(const MoreFigures&) const = default;
};

// How the longest runs of wins and losses are chosen when several have the same length.
enum class ConsecutiveRule
{
    // The earliest, unless a later one set a new record of money for a run of its sign when it ended.
    Mt4,
    // The one with the largest amount (the most money won, the deepest loss).
    Mt5,
};

/**
 * The closed trades of rows 1 and on of `grid` (the visible table or the trade table: columns 0 to 12
 * are the same), with their magic numbers from `magicColumn` of `magicGrid`, in the order the terminal
 * runs them. `values`, when given, holds the numbers of the rows already read (row r at r - 1), so
 * that the money cells are not read again.
 */
ClosedTradeList ClosedTrades(const TextGrid& grid, const TextGrid& magicGrid, int magicColumn,
                             const ReportState& report, const std::vector<TradeValues>* values = nullptr);

// The closed trade of a row's first 14 cells, without Result, Pips and ids, its Sequence the ticket: false
// for an open position.
bool ReadClosedTrade(const std::string_view* cells, ClosedTrade& trade);
// The name a Magic cell groups its trade under: the magic number without padding, "0" for none.
std::string_view MagicName(std::string_view magicCell);

// The terminal runs a MetaTrader 5 report's trades in the order of its Deals table (rows are written in
// that order), a MetaTrader 4 report's in order of close time and then of Sequence.
bool RunsInDealOrder(const ReportState& report);
// That order as a key: the close time, then the Sequence (0 in the deal order: equal times keep the table's
// order).
inline std::pair<long long, long long> RunKey(const ClosedTrade& trade)
{
    return {trade.CloseSeconds, trade.Sequence};
}
inline bool RunsBefore(const ClosedTrade& a, const ClosedTrade& b)
{
    return RunKey(a) < RunKey(b);
}

// Gives trades their Sequence: the ticket read from the row, the number of its closing line in a MetaTrader
// 4 tester report, 0 in the deal order.
class Sequences
{
public:
    explicit Sequences(const ReportState& report);
    long long Of(long long ticket);

private:
    bool m_dealOrder;
    const std::vector<CloseLineOf>* m_closeLines; // none: tickets
    std::size_t m_next = 0;                       // where the next ticket is looked for
};

/**
 * The balance the report starts from, before its first row: a statement's printed Balance less its
 * Closed Trade P/L and Deposit/Withdrawal (a statement of part of an account's life starts above 0), a
 * MetaTrader 4 tester report's initial deposit (it has no balance row), a MetaTrader 5 report's
 * balance before its first deal, else 0. Trades rescaled to one lot start from the initial deposit
 * Normalize set, without the report's balance rows.
 */
double OpeningBalance(const ReportState& report);

MoreFigures ComputeMoreStatistics(const ClosedTradeList& trades, const ReportState& report);
// The same over the trades of `all` whose flag in `kept` (by position) is set, every one without `kept`,
// their ids standing for `symbols` and `magics`. The trades left out still move the account's balance, on
// which the kept ones earn their gain. With a `clock` that shifts, the months and days are those of the close
// times on the trader's clock and a holding time is the time that passed (ClockShift::Elapsed); the order of
// the trades stays the terminal's.
MoreFigures ComputeMoreStatistics(const std::vector<ClosedTrade>& all, const std::vector<char>* kept,
                                  const std::vector<std::string>& symbols, const std::vector<std::string>& magics,
                                  const ReportState& report, const ClockShift* clock = nullptr);

/**
 * The check of all the closed trades of the trade table against the summary the report printed: counts
 * exactly, money to the cent (a MetaTrader 4 tester report within 0.15, as it prints its rows rounded).
 * The line says that the figures agree, or which differ and by how much. Nothing when the report
 * printed no summary.
 */
struct ReportCheck
{
    bool Agrees = false;
    std::string Line;
};
std::optional<ReportCheck> CheckAgainstReport(const MoreFigures& all, const ReportState& report);

// How the text shows the figures: money with the account currency's digits, as the report prints it, and the
// drawdown's percentage with them too in a MetaTrader 5 report.
struct FigureDigits
{
    int Money = 2;
    int DrawdownPct = 2;
};
FigureDigits DigitsOf(const ReportState& report);

// A holding time as the text shows it: "hh:mm:ss", with the days before it ("2d 01:00:00"); "n/a" for none.
std::string HoldingText(const std::optional<double>& seconds);

// The more statistics as text, laid out as the summary's two columns, then the three tables.
std::vector<std::string> MoreStatisticsLines(const MoreFigures& figures, FigureDigits digits = {});

/**
 * Rewrites session.MoreMemo: an empty line, the check line (when the report printed a summary) and the
 * more statistics of the visible trades (`visible`: their figures), which stay with the session
 * (session.ShownMore). The check is made while every trade of the table is visible (after a load, and
 * whenever no filter holds a trade back) and kept in the session for the passes that filter.
 */
void ShowMoreStatistics(Session& session, MoreFigures visible);

// The check of a load that left no trade to show: session.Check, and MoreMemo holding only it.
void CheckEmptyTable(Session& session);

} // namespace corvane
