// What the window gives to other programs: the selected rows of a grid as tab-separated text, and the
// chart as a picture, copied or saved as PNG.
#include "app/MainWindow.h"

#include "analysis/Commands.h"
#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/WindowRules.h"
#include "app/WindowSettings.h"
#include "charts/ChartPicture.h"
#include "export/CsvExport.h"
#include "export/ExportNames.h"
#include "export/SpreadsheetText.h"
#include "export/TextExport.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace corvane {

namespace {

// The part of a picture's name that tells the view, as the tool's --view names it.
std::string ViewSuffix(ViewMode view)
{
    switch (view) {
    case ViewMode::Summary:
    case ViewMode::EquityCurve:
        return "-curve.png";
    case ViewMode::TimeByOpen:
        return "-time-open.png";
    case ViewMode::TimeByClose:
        return "-time-close.png";
    case ViewMode::MonteCarlo:
        return "-luck.png";
    case ViewMode::EquityByCloseTime:
        return "-calendar.png";
    }
    return ".png";
}

} // namespace

void TMainForm::CopyRows(TradeGridView* grid)
{
    if (NothingLoaded(m_session))
        return;
    auto [first, last] = SelectedRange(grid);
    if (first < 0) {
        const QModelIndex current = grid->currentIndex();
        if (!current.isValid())
            return;
        first = last = current.row();
    }
    // The cells as a spreadsheet should take them: without padding, entities decoded, formulas as text.
    // The drawdown mark of a Balance cell goes to a column of its own, as the text export has it, so that
    // the balances stay numbers.
    const QAbstractItemModel* model = grid->model();
    const int columns = model->columnCount();
    const bool marks = grid == Grid;
    const bool entitiesKept = CellsKeepEntities(m_session.Report);
    std::vector<std::string> cells(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column)
        cells[column] = model->headerData(column, Qt::Horizontal).toString().toStdString();
    if (marks)
        cells.emplace_back("DD");
    std::string text = TabSeparatedLine(cells);
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < columns; ++column)
            cells[column] = model->index(row, column).data().toString().toStdString();
        if (marks) {
            const BalanceAndMark balance = SplitDrawdownMark(cells[kBalance]);
            cells.back() = std::string(balance.Marked ? 1 : 0, '*');
            cells[kBalance] = std::string(balance.Balance);
        }
        for (int column = 0; column < columns; ++column)
            cells[column] = SpreadsheetCell(cells[column], entitiesKept);
        text += TabSeparatedLine(cells);
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

QImage TMainForm::ChartPicture() const
{
    // The Monte Carlo view is drawn by its run: the picture is the one on show.
    if (m_viewMode == ViewMode::MonteCarlo)
        return m_canvas.Image().copy();
    // As the wide arrangement shows it, whichever is on show: at the first size the tool's `chart`.
    return DrawChartPicture(m_session, m_viewMode, kWideArea.Width + Growth().width(), Image1->height(), &m_clock);
}

void TMainForm::CopyChart()
{
    RunCommand([this] { QGuiApplication::clipboard()->setImage(ChartPicture()); });
}

void TMainForm::SaveChart()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        const QImage picture = ChartPicture();
        QString proposed = QStringLiteral("chart.png");
        if (const auto name = ProposedExportName(m_session.ReportPath, ViewSuffix(m_viewMode)))
            proposed = QString::fromStdString(*name);
        if (const QString folder = m_settings.Folder(QStringLiteral("png")); !folder.isEmpty())
            proposed = QDir(folder).filePath(QFileInfo(proposed).fileName());
        const std::optional<QString> chosen = m_dialogs.SaveTarget(proposed, QStringLiteral("png"));
        if (!chosen)
            return;
        m_settings.SetFolder(QStringLiteral("png"), *chosen);
        SaveChartPicture(picture, LocalPath(*chosen));
    });
}

} // namespace corvane
