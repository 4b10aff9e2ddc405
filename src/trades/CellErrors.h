#pragma once

#include "text/Errors.h"
#include "trades/Session.h"
#include "trades/TextGrid.h"

#include <string_view>

namespace corvane {

/**
 * Where a cell that is not a number was met, for ConversionError's message: the reader of a row names
 * the column and the row, and the command that reads a session's table the file.
 */

// The header of a column of the visible table (0 to 14), as the window's grid shows it; "" for others.
std::string_view ColumnHeader(int column);

// parse(cell, more...) for the cell of `column`: a cell that is not a number throws ConversionError naming
// the column.
template <typename Parse, typename... More>
auto ParseCellOf(int column, std::string_view cell, Parse&& parse, More... more)
{
    try {
        return parse(cell, more...);
    } catch (const ConversionError& error) {
        throw error.InColumn(ColumnHeader(column));
    }
}

// read() of row `row` of `table`: a ConversionError names the row and its ticket.
template <typename Read> auto ReadRowOf(const TextGrid& table, int row, Read&& read)
{
    try {
        return read();
    } catch (const ConversionError& error) {
        throw error.InRow(row, table.Cell(kTicket, row));
    }
}

// The error met in a row of the session's trade table, with the file its trades were read from.
ConversionError InTradeTable(const Session& session, const ConversionError& error);

// The error met in a row of the session's visible table, told as the trade table's row that holds the same
// trade (the first with the same cells up to P/L), with the file. An error told with its file already stays.
ConversionError InVisibleTable(const Session& session, const ConversionError& error);

// read(), which reads cells of the session's visible table: a ConversionError is told as InVisibleTable.
template <typename Read> decltype(auto) ReadingVisibleTable(const Session& session, Read&& read)
{
    try {
        return read();
    } catch (const ConversionError& error) {
        throw InVisibleTable(session, error);
    }
}

} // namespace corvane
