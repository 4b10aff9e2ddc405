#pragma once

#include <utility>

class QTableView;

namespace corvane {

// The selected rows of a grid, first and last (model rows), or -1 and -1 when none is selected.
std::pair<int, int> SelectedRange(const QTableView* grid);

// Selects whole rows first..last of a grid (clipped to its rows), the last becoming the current row;
// nothing when the range is empty.
void SelectRange(QTableView* grid, std::pair<int, int> range);

} // namespace corvane
