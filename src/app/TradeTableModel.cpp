#include "app/TradeTableModel.h"

#include "charts/ReportText.h"

namespace corvane {

TradeTableModel::TradeTableModel(const TextGrid& grid, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
    , m_headers(std::move(headers))
{
    m_rows = m_grid.RowCount() > 1 ? m_grid.RowCount() - 1 : 0;
}

void TradeTableModel::Reset()
{
    beginResetModel();
    m_rows = m_grid.RowCount() > 1 ? m_grid.RowCount() - 1 : 0;
    endResetModel();
}

void TradeTableModel::SetCodePage(std::string codePage)
{
    if (codePage == m_codePage)
        return;
    m_codePage = std::move(codePage);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

int TradeTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TradeTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant TradeTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows)
        return {};
    // The grid may be rewritten by a load that lets events through; reading it is always in range.
    return DecodeReportText(m_grid.Cell(index.column(), GridRow(index.row())), m_codePage);
}

QVariant TradeTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_headers.size() ? QVariant(m_headers.at(section)) : QVariant();
    return {};
}

Qt::ItemFlags TradeTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace corvane
