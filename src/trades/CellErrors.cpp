#include "trades/CellErrors.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace corvane {

namespace {

constexpr std::array<std::string_view, kGridColumns> kHeaders = {
    "Ticket",     "Open Time", "Type", "Lots", "Item", "Price", "S/L",     "T/P",
    "Close Time", "Price",     "Comm", "Swap", "P/L",  "Pips",  "Balance",
};

// The first row of `full` whose cells up to P/L are those of `grid`'s row; 0 when none is.
int SameTrade(const TextGrid& full, const TextGrid& grid, int gridRow)
{
    std::string_view shown[kProfit + 1];
    std::string_view cells[kProfit + 1];
    grid.ReadCells(gridRow, shown);
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells);
        if (std::equal(std::begin(cells), std::end(cells), std::begin(shown)))
            return row;
    }
    return 0;
}

} // namespace

std::string_view ColumnHeader(int column)
{
    return column >= 0 && column < kGridColumns ? kHeaders[static_cast<std::size_t>(column)] : std::string_view();
}

ConversionError InTradeTable(const Session& session, const ConversionError& error)
{
    return error.InFile(session.TradesFile);
}

ConversionError InVisibleTable(const Session& session, const ConversionError& error)
{
    if (!error.File().empty())
        return error;
    const int gridRow = error.Row();
    const int row =
        gridRow >= 1 && gridRow < session.Grid.RowCount() ? SameTrade(session.Full, session.Grid, gridRow) : 0;
    if (row == 0)
        return InTradeTable(session, error);
    return InTradeTable(
        session,
        ConversionError(error.CellText()).InColumn(error.Column()).InRow(row, session.Full.Cell(kTicket, row)));
}

} // namespace corvane
