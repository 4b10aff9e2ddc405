#pragma once

#include "trades/TextGrid.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string>

namespace corvane {

/**
 * A read-only table model over one of the session's grids: model row r shows grid row r + 1 (grid
 * row 0 is the header row, given here as the header texts). No item object per cell: a million
 * rows cost nothing until they are shown. Cells are decoded from the report's code page when shown.
 */
class TradeTableModel : public QAbstractTableModel
{
public:
    TradeTableModel(const TextGrid& grid, QStringList headers, QObject* parent = nullptr);

    // The grid changed: rows, cells or both.
    void Reset();
    void SetCodePage(std::string codePage);

    // Grid row of a model row and back; the header row is grid row 0.
    static int GridRow(int modelRow) { return modelRow + 1; }
    static int ModelRow(int gridRow) { return gridRow - 1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const TextGrid& m_grid;
    QStringList m_headers;
    std::string m_codePage = "windows-1252";
    int m_rows = 0;
};

} // namespace corvane
