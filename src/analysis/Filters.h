#pragma once

#include "analysis/RowNumbers.h"
#include "trades/Session.h"

#include <string>
#include <string_view>

namespace corvane {

// Whether the magic list takes part in a filter pass: it does while the window shows the list.
enum class MagicFilter
{
    Off,
    On,
};

// The magic filter as the window's layout switch sets it: on while the list holds two entries or more.
inline MagicFilter MagicFilterFor(const Session& session)
{
    return MagicListWanted(session) ? MagicFilter::On : MagicFilter::Off;
}

/**
 * The filter pass. Selects every entry of a list that has none selected; copies the trades of Full
 * whose symbol entry is selected, and, with the magic filter on, whose magic key's entry is
 * selected, into Grid (columns 0 to 14) and XGrid (Full columns 0, 16 and 17); then, when at least
 * one trade passed, computes the Balance and Pips columns and runs ShowSummary.
 *
 * Balance: the initial deposit plus, row by row, P/L minus the absolute Comm plus Swap ("%14.2f").
 * Pips: TradePips of the row, or 0 when its P/L is exactly 0 ("%6d").
 * A money cell that is not a number stops the pass with ConversionError, which names the file of the
 * trades, the row of the trade table with its ticket, and the column.
 */
void ApplyFilters(Session& session, MagicFilter magicFilter);

/**
 * Refills the magic list with the magic keys of the trades of the selected symbols, in order of first
 * appearance. When the number of entries is unchanged the entries get back the earlier selection flags
 * by position; otherwise none is selected (the next filter pass then selects them all).
 */
void RebuildMagicList(Session& session);

// The magic key of a Magic cell: its text without surrounding white space right-aligned to 8
// characters, or "           0" when nothing remains.
std::string MagicKeyOfCell(std::string_view magicCell);

} // namespace corvane
