#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// The numbers of one trade row that the filter pass and the statistics use. A blank Comm or Swap
// cell has no value.
struct TradeValues
{
    double Profit = 0.0;
    double Comm = 0.0;
    double Swap = 0.0;
    bool HasComm = false;
    bool HasSwap = false;
    long long Pips = 0;
};

/**
 * The order in which a trade's amounts reach a running total. Each order adds the same net result,
 * but a double is rounded after every step, so the order decides the last bits of the total, and with
 * them whether a balance ties with an earlier peak or on which pixel a curve point lands. Every total
 * keeps the order it has always been summed in.
 */
enum class NetOrder
{
    ProfitCommSwap, // the Balance column of the visible table: + P/L, - |Comm|, + Swap
    ProfitSwapComm, // the net profit and balance of the statistics: + P/L, + Swap, - |Comm|
    NetFirst,       // the equity curve and Normalize: (Swap + P/L) - |Comm|, then added to the total
};

/**
 * `total` plus a trade's net result: its Swap plus its P/L minus the absolute value of its Comm, so
 * that a commission lowers the balance whatever its sign. A blank Comm or Swap adds nothing.
 */
inline double AddNetResult(double total, const TradeValues& trade, NetOrder order)
{
    switch (order) {
    case NetOrder::ProfitCommSwap:
        total += trade.Profit;
        if (trade.HasComm)
            total -= std::fabs(trade.Comm);
        if (trade.HasSwap)
            total += trade.Swap;
        return total;
    case NetOrder::ProfitSwapComm:
        total += trade.Profit;
        if (trade.HasSwap)
            total += trade.Swap;
        if (trade.HasComm)
            total -= std::fabs(trade.Comm);
        return total;
    case NetOrder::NetFirst:
        break;
    }
    const double swap = trade.HasSwap ? trade.Swap : 0.0;
    const double comm = trade.HasComm ? trade.Comm : 0.0;
    return ((swap + trade.Profit) - std::fabs(comm)) + total;
}

/**
 * A closed trade's result as the terminal counts it in its own figures: P/L + Swap + Comm, the commission
 * with its sign, as a statement's Commission + Swap + Profit add up. The summary and the Balance column
 * take the absolute Comm off instead (AddNetResult); the two agree wherever commissions are charges. A
 * blank Comm or Swap adds nothing. `Values` is TradeValues or a cache entry of them.
 */
template <typename Values> double TerminalResult(const Values& trade)
{
    return trade.Profit + (trade.HasSwap ? trade.Swap : 0.0) + (trade.HasComm ? trade.Comm : 0.0);
}

/**
 * The numbers of the trade table's rows as far as they have been read, for the table as it stood at
 * one version: a click in a list filters the same rows again, and their cells need not be read as
 * numbers again until the table changes.
 */
struct TradeValuesCache
{
    // A row's numbers as the filter pass reads them: its pips, worked out from two prices of five
    // digits, take 32 bits.
    struct Entry
    {
        double Profit = 0.0;
        double Comm = 0.0;
        double Swap = 0.0;
        std::int32_t Pips = 0;
        bool HasComm = false;
        bool HasSwap = false;
        bool Known = false; // the row has been read
    };

    std::uint64_t Version = ~std::uint64_t{0};
    std::vector<Entry> Values;
};

/**
 * What the filter pass leaves with the visible table and the alternate view, for them as they stood
 * when it ended (their versions): the numbers of the visible trades, whether each lies in the drawdown
 * stretch (its Balance cell marked), and the longest text of each column of both tables, so that the
 * charts and the window need not read the tables' cells again.
 */
struct VisibleTableFacts
{
    std::uint64_t GridVersion = 0; // no table has version 0
    std::uint64_t XGridVersion = 0;
    std::vector<TradeValues> Values;       // row r at r - 1
    std::vector<char> Marked;              // row r at r - 1
    std::vector<std::string> GridLongest;  // by column: the first of the longest texts (in bytes)
    std::vector<std::string> XGridLongest; // ... of the alternate view
};

} // namespace corvane
