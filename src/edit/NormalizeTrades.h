#pragma once

#include "analysis/Filters.h"
#include "trades/Session.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane {

// A trade that cannot be rescaled to one lot: its Lots cell reads as zero.
class ZeroLotsError : public std::runtime_error
{
public:
    ZeroLotsError(std::string_view ticket, std::string_view lotsCell);
};

/**
 * Normalize: rescales every trade of the trade table to one lot and writes its running balance.
 *
 * Plain variant: initial deposit 10000.00, and Comm, Swap and P/L each become value / (pip factor x
 * lots). Times ten (`timesTen`): initial deposit 100000.00 and value x 10 / (pip factor x lots). The
 * window offers times ten only while at least two trades are loaded; the caller decides.
 *
 * Pip factor: 10 when, in the first row of the visible table whose Pips cell is not 0 (a blank one
 * counts as 0), P/L / (Lots x Pips) is greater than 5; otherwise (also when no row has pips) 1.
 *
 * Every trade row from row 1 down to the first row without a ticket is rewritten: Lots "1.00", Comm
 * and Swap "%6.2f", P/L "%10.2f", and Balance "%14.2f" of the running balance, which takes each trade's
 * Swap plus P/L minus the absolute Comm as read back from the rounded texts just written. The Pips
 * cells and everything else stay. Then the filter pass runs with the new deposit and
 * `magicFilter`.
 *
 * Nothing changes when no trade is loaded (returns false). Every row is checked before any cell is
 * written, so the table is never left half rewritten: a blank Comm or Swap cell counts as 0.00; a Lots,
 * Comm, Swap or P/L cell that is not a number throws ConversionError naming the cell; a Lots cell
 * that reads as zero throws ZeroLotsError naming the trade. Returns true after the rewrite.
 */
bool NormalizeTrades(Session& session, bool timesTen, MagicFilter magicFilter);

// The pip factor, 1 or 10, chosen from the visible table as described above.
int ChoosePipFactor(const TextGrid& grid);

} // namespace corvane
