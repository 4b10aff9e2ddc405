#pragma once

#include <QTableView>

#include <utility>

namespace corvane {

// The selected rows of a grid, first and last (model rows), or -1 and -1 when none is selected.
std::pair<int, int> SelectedRange(const QTableView* grid);

/**
 * A trade grid: whole rows, one contiguous block selected. Besides what the table view does, it
 * selects a block of rows from the program with the block's first row as the anchor of a following
 * Shift-click and its last row as the current row, as a user's click and Shift-click would leave them.
 */
class TradeGridView : public QTableView
{
public:
    using QTableView::QTableView;

    // Selects model rows first..last (clipped to the rows there are); nothing when the range is empty.
    void SelectRows(std::pair<int, int> range);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    bool m_plainSelect = false;
};

} // namespace corvane
