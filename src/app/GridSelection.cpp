#include "GridSelection.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>

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

void SelectRange(QTableView* grid, std::pair<int, int> range)
{
    QAbstractItemModel* model = grid->model();
    const int last = std::min(range.second, model->rowCount() - 1);
    if (range.first < 0 || range.first > last)
        return;
    grid->selectionModel()->select(QItemSelection(model->index(range.first, 0), model->index(last, model->columnCount() - 1)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->selectionModel()->setCurrentIndex(model->index(last, 0), QItemSelectionModel::NoUpdate);
}

} // namespace corvane
