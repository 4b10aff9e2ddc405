#pragma once

#include "trades/SelectionList.h"
#include "trades/TextGrid.h"

#include <string>
#include <vector>

namespace corvane::test {

using Cells = std::vector<std::string>;

// Every cell of one row joined by tabs, so that a whole row compares as one text.
std::string RowText(const TextGrid& grid, int row);
// Every row of a table, the header row included, each as RowText gives it.
Cells AllRows(const TextGrid& grid);
// One column of the trade rows (row 1 to the last row).
Cells ColumnCells(const TextGrid& grid, int column);
// The entries of a list and their selection flags, in order.
Cells Entries(const SelectionList& list);
std::vector<bool> SelectedFlags(const SelectionList& list);

// Lines joined with CR LF after each, as the terminal writes its template lines.
std::string JoinCrLf(const Cells& lines);
// A text cut at its CR LF line ends; a last line without one is kept with "<no CR LF>" after it.
Cells SplitCrLf(const std::string& text);

} // namespace corvane::test
