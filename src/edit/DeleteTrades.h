#pragma once

#include "analysis/Filters.h"
#include "trades/Session.h"

namespace corvane {

/**
 * Delete trade: removes the trades of the selected rows firstGridRow..lastGridRow (inclusive) of the
 * visible table from the trade table, then rebuilds the magic list and runs the filter pass.
 *
 * The rules, row by row in the visible table's order (its rows as they stood when the command began):
 *  - the walk ends as soon as the trade table holds one trade or none: the last trade is never deleted;
 *  - a selected row deletes the first trade of the trade table, from the top, whose ticket equals the
 *    row's ticket as exact text, all its 20 cells; a ticket no longer in the table deletes nothing.
 *    Two trades with the same ticket: each selected row takes the uppermost one still there, so trades
 *    hidden by the filters go only when they share a selected row's ticket and stand above it;
 *  - after each deletion, a symbol entry whose exact text no longer occurs in the Item column is
 *    removed from the symbol list; the other entries keep their selection.
 * The Balance cells of the trade table are left as they are. The result is that of deleting row by
 * row, reached in time linear in the size of the table. The filter pass runs with `magicFilter`.
 *
 * Returns the number of trades deleted. A range outside the visible table's trade rows is clipped to
 * them. Cells that are not numbers make the filter pass throw ConversionError after the deletion.
 */
int DeleteTrades(Session& session, int firstGridRow, int lastGridRow, MagicFilter magicFilter);

} // namespace corvane
