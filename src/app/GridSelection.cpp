#include "app/GridSelection.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>

#include <algorithm>

namespace corvane {

std::pair<int, int> SelectedRange(const QTableView* grid)
{
    int first = -1, last = -1;
    for (const QModelIndex& index : grid->selectionModel()->selectedRows()) {
        first = first < 0 ? index.row() : std::min(first, index.row());
        last = std::max(last, index.row());
    }
    return {first, last};
}

void TradeGridView::SelectRows(std::pair<int, int> range)
{
    QAbstractItemModel* rows = model();
    const int last = std::min(range.second, rows->rowCount() - 1);
    if (range.first < 0 || range.first > last)
        return;
    // The view takes the anchor of a Shift-click from a current row it set without a modifier: set the
    // first row so, whatever keys the last input event held, then select the block.
    m_plainSelect = true;
    setCurrentIndex(rows->index(range.first, 0));
    m_plainSelect = false;
    selectionModel()->select(QItemSelection(rows->index(range.first, 0), rows->index(last, rows->columnCount() - 1)),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(rows->index(last, 0), QItemSelectionModel::NoUpdate);
}

QItemSelectionModel::SelectionFlags TradeGridView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (m_plainSelect)
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return QTableView::selectionCommand(index, event);
}

} // namespace corvane
