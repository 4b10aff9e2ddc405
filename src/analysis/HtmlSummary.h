#pragma once

#include "analysis/Statistics.h"
#include "trades/TextGrid.h"

#include <ostream>

namespace corvane {

/**
 * The summary statistics of the visible table as the HTML report shows them: a borderless table of
 * fifteen lines, each ending in CR LF as the report's lines do. Rows of six cells (label, value,
 * spacer, label, value, last cell); only the first row gives widths; "%" signs stand in cells of their
 * own; blank spacer rows have a cell without its closing tag.
 *
 * The figures are those of the summary text, except the return days (HtmlReturnDays). Every figure is
 * computed before the first line is written, so a cell that is not a number throws ConversionError with
 * nothing written. The visible table is not changed: no drawdown marker is added.
 */
void WriteHtmlSummary(std::ostream& out, const TextGrid& grid, double initialDeposit);

/**
 * The days the HTML summary's return covers: DaysBetween the Open Time of row 1 and the Close Time of
 * the last row, or that row's Open Time when its Close Time does not start with a digit (a trade still
 * open). Rows in between play no part. 0 when the table has no trade row, or when the later date comes
 * first (a table sorted by ticket, for instance).
 */
int HtmlReturnDays(const TextGrid& grid);

} // namespace corvane
