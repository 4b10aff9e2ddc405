#include "edit/NormalizeTrades.h"

#include "analysis/Filters.h"
#include "text/Numbers.h"
#include "trades/CellErrors.h"

#include <optional>
#include <vector>

namespace corvane {

namespace {

// The numbers of one trade row, read and checked before anything is written.
struct TradeAmounts
{
    double Lots = 0.0;
    double Comm = 0.0;
    double Swap = 0.0;
    double Profit = 0.0;
};

// Rows 1 to the first row without a ticket. Throws before returning when a row cannot be rescaled.
std::vector<TradeAmounts> ReadAmounts(const TextGrid& full)
{
    std::vector<TradeAmounts> trades;
    trades.reserve(full.RowCount() > 1 ? full.RowCount() - 1 : 0);
    std::string_view cells[kProfit + 1];
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells);
        if (cells[kTicket].empty())
            break;
        trades.push_back(ReadRowOf(full, row, [&cells] {
            TradeAmounts trade;
            trade.Lots = ParseCellOf(kLots, cells[kLots], ParseNumber);
            if (trade.Lots == 0)
                throw ZeroLotsError(cells[kTicket], cells[kLots]);
            trade.Comm = ParseCellOf(kComm, cells[kComm], ParseMoneyCell);
            trade.Swap = ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell);
            trade.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
            return trade;
        }));
    }
    return trades;
}

} // namespace

ZeroLotsError::ZeroLotsError(std::string_view ticket, std::string_view lotsCell)
    : std::runtime_error("Trade " + std::string(ticket) + " has a lot size of zero ('" + std::string(lotsCell)
                         + "'), so it cannot be rescaled to one lot; nothing was normalized.")
{
}

int ChoosePipFactor(const TextGrid& grid)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        const auto factor = ReadRowOf(grid, row, [&grid, row]() -> std::optional<int> {
            const long long pips = ParseCellOf(kPips, grid.Cell(kPips, row), ParsePipsCell, BlankPips::Zero);
            if (pips == 0)
                return std::nullopt;
            const double profit = ParseCellOf(kProfit, grid.Cell(kProfit, row), ParseProfitCell);
            const double lots = ParseCellOf(kLots, grid.Cell(kLots, row), ParseNumber);
            return profit / (lots * static_cast<double>(pips)) > 5 ? 10 : 1;
        });
        if (factor)
            return *factor;
    }
    return 1;
}

bool NormalizeTrades(Session& session, bool timesTen, MagicFilter magicFilter)
{
    if (NothingLoaded(session))
        return false;
    TextGrid& full = session.Full;
    std::vector<TradeAmounts> trades;
    try {
        trades = ReadAmounts(full);
    } catch (const ConversionError& error) {
        throw InTradeTable(session, error);
    }
    const int pipFactor = ReadingVisibleTable(session, [&session] { return ChoosePipFactor(session.Grid); });
    const double scale = timesTen ? 10.0 : 1.0;

    session.Report.InitialDeposit = timesTen ? 100000.0 : 10000.0;
    // The rescaled trades' balance runs from that deposit: the report's own deposits and withdrawals, in
    // the account's money, no longer belong to it.
    session.Report.Rescaled = true;
    double balance = session.Report.InitialDeposit;
    // Each row is rebuilt in one write from a copy of its cells, the five new texts in their places.
    TextGrid copy(kFullColumns, 1);
    std::string_view cells[kFullColumns];
    char comm[kFixedTextRoom], swap[kFixedTextRoom], profit[kFixedTextRoom], balanceText[kFixedTextRoom];
    for (std::size_t i = 0; i < trades.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const TradeAmounts& trade = trades[i];
        const double divisor = pipFactor * trade.Lots;
        copy.CopyRowPrefix(0, full, row, kFullColumns);
        copy.ReadCells(0, cells);
        cells[kLots] = "1.00";
        cells[kComm] = FormatFixedTo(comm, trade.Comm * scale / divisor, 6, 2);
        cells[kSwap] = FormatFixedTo(swap, trade.Swap * scale / divisor, 6, 2);
        cells[kProfit] = FormatFixedTo(profit, trade.Profit * scale / divisor, 10, 2);
        TradeValues written; // as rounded in the texts just written
        written.HasSwap = written.HasComm = true;
        written.Swap = ParseNumber(cells[kSwap]);
        written.Profit = ParseNumber(cells[kProfit]);
        written.Comm = ParseNumber(cells[kComm]);
        balance = AddNetResult(balance, written, NetOrder::NetFirst);
        cells[kBalance] = FormatFixedTo(balanceText, balance, 14, 2);
        full.SetRow(row, cells);
    }
    ApplyFilters(session, magicFilter);
    return true;
}

} // namespace corvane
