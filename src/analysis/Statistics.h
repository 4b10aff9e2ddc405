#pragma once

#include "trades/TextGrid.h"
#include "trades/TradeValues.h"

#include <string_view>
#include <vector>

namespace corvane {

/**
 * The summary figures of the visible trades (rows 1 to RowCount() - 1 of the visible table), as the
 * program reports them.
 */
struct SummaryFigures
{
    double NetProfit = 0.0;         // sum over the trades of P/L + Swap - |Comm|
    double InitialDeposit = 0.0;    // the deposit the balance starts from
    double GrossProfit = 0.0;       // sum of P/L of the winning trades (P/L of 0 or more)
    double InterestEarned = 0.0;    // signed sum of Swap
    double GrossLoss = 0.0;         // minus the sum of P/L of the losing trades: positive for a loss
    double CommissionPaid = 0.0;    // |signed sum of Comm|
    long long Trades = 0;           // wins + losses: every trade row
    double PercentProfitable = 0.0; // wins * 100 / trades; 0 without trades
    long long TotalPips = 0;        // winning pips + losing pips
    long long AveragePips = 0;      // total pips / trades, truncated toward zero; 0 without trades
    long long Wins = 0;
    long long Losses = 0;
    double AverageWin = 0.0;       // gross profit / wins; 0 without wins
    double AverageLoss = 0.0;      // minus (sum of losing P/L) / losses; 0 without losses
    long long AverageWinPips = 0;  // winning pips / wins, truncated; 0 without wins
    long long AverageLossPips = 0; // minus losing pips / losses, truncated; 0 without losses
    int ReturnDays = 0;            // days covered (filled by the caller: the text and HTML forms differ)
    double Return = 0.0;           // net profit * 100 / initial deposit; 0 unless the deposit is above 0
    double MaximumDrawdown = 0.0;  // largest fall of the balance from its highest point, in % of that point
};

/**
 * The row pass: the figures (all but ReturnDays) and where the maximum drawdown lies. The drawdown
 * stretch runs from the row after `StretchStart` to `TroughRow`; TroughRow is 0 when the balance never
 * fell. A money cell that is not a number throws ConversionError.
 */
struct Statistics
{
    SummaryFigures Figures;
    int TroughRow = 0;
    int StretchStart = 0;
};

// Reads P/L, Pips, Comm and Swap of every trade row; a cell that is not a number throws ConversionError.
std::vector<TradeValues> ReadTradeValues(const TextGrid& grid);

Statistics ComputeStatistics(const std::vector<TradeValues>& trades, double initialDeposit);
Statistics ComputeStatistics(const TextGrid& grid, double initialDeposit);

/**
 * Appends the drawdown marker " *" to the Balance cell of every row of the stretch, and to row 1 as
 * well when the fall started at the initial deposit before the first trade.
 */
void MarkDrawdown(TextGrid& grid, const Statistics& statistics, double initialDeposit);

inline constexpr std::string_view kDrawdownMarker = " *";

/**
 * Days spanned by the Open and Close Times of the visible trades: DaysBetween the earliest and the
 * latest of the date cells that start with a digit (compared as text); 0 when there is none.
 */
int ReportDays(const TextGrid& grid);

/**
 * Calendar days from the date of `first` to the date of `last`, their year, month and day as
 * ReadTimeFields takes them (a missing one counts as 0); the time is ignored. Leap years count. A
 * month outside 1..12 or a day outside its month is taken as the nearest date that exists (month 13
 * as December, 31 April as 30 April, 29 February of a common year as 28 February). A `last` earlier
 * than `first` gives 0.
 */
int DaysBetween(std::string_view first, std::string_view last);

} // namespace corvane
