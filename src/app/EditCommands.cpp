// The window's commands that change the trade table or write files: Delete trade, Normalize, the
// hidden Sort trades and Import, and both exports.
#include "app/MainWindow.h"

#include "analysis/Filters.h"
#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/TradeTableModel.h"
#include "app/WindowSettings.h"
#include "edit/DeleteTrades.h"
#include "edit/NormalizeTrades.h"
#include "edit/SortTrades.h"
#include "export/ExportNames.h"
#include "export/HtmlPicture.h"
#include "export/TextExport.h"
#include "reports/TextImport.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTableView>

namespace corvane {

void TMainForm::Button4Click()
{
    RunCommand([this] {
        if (IsBusy() || NothingLoaded(m_session))
            return;
        if (const std::optional<std::string> target = ExportTarget(".txt"))
            ExportText(m_session, *target);
    });
}

void TMainForm::Button5Click()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        if (!NormalizeTrades(m_session, m_normalizeVariant, ShownMagicFilter()))
            return;
        RefreshViews();
        ChartRefresh();
    });
}

void TMainForm::Button6Click()
{
    SortGridByTicket(m_session.Grid);
    m_gridModel->Reset();
}

void TMainForm::Button7Click()
{
    RunCommand([this] {
        if (IsBusy() || NothingLoaded(m_session))
            return;
        if (const std::optional<std::string> target = ExportTarget(".html")) {
            const PictureTarget picture{m_canvas, Image1->width(), Image1->height()};
            ExportHtml(m_session, *target, m_pictureSwitch ? std::optional(picture) : std::nullopt);
            Image1->update();
        }
    });
}

std::optional<std::string> TMainForm::ExportTarget(const std::string& extension)
{
    if (const auto proposed = ProposedExportName(m_session.ReportPath, extension))
        m_lastSaveTarget = QString::fromStdString(*proposed);
    // The name proposed goes to the folder this export was last saved in, when it remembers one.
    const QString use = QString::fromStdString(extension.substr(1));
    QString proposed = m_lastSaveTarget;
    if (const QString folder = m_settings.Folder(use); !folder.isEmpty() && !proposed.isEmpty())
        proposed = QDir(folder).filePath(QFileInfo(proposed).fileName());
    const std::optional<QString> chosen = m_dialogs.SaveTarget(proposed, QStringLiteral("cvn"));
    if (!chosen)
        return std::nullopt;
    m_lastSaveTarget = *chosen;
    m_settings.SetFolder(use, *chosen);
    return LocalPath(*chosen);
}

void TMainForm::Button9Click()
{
    if (const std::optional<QString> chosen = m_dialogs.OpenImport()) {
        ImportFrom(*chosen);
        return;
    }
    RunCommand([this] {
        // A cancelled import leaves the tables, but every symbol is selected and filtered again.
        m_session.Pairs.SelectAll();
        ApplyFilters(m_session, ShownMagicFilter());
        RefreshViews();
    });
}

void TMainForm::ImportFrom(const QString& path)
{
    RunCommand([&] {
        ImportText(m_session, LocalPath(path));
        MagicListBox->hide();
        m_gridRowsAfresh = true;
        ApplyFilters(m_session, ShownMagicFilter());
        RefreshViews();
    });
}

void TMainForm::DeleteButtonClick()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        // The selection is one block of whole rows; without one the current row (the first after a
        // load) is the selection.
        auto [first, last] = SelectedRange(Grid);
        if (first < 0) {
            const QModelIndex current = Grid->currentIndex();
            first = last = current.isValid() ? current.row() : 0;
        }
        DeleteTrades(m_session, TradeTableModel::GridRow(first), TradeTableModel::GridRow(last), ShownMagicFilter());
        RefreshViews();
        XGridClick();
        GridClick();
        ChartRefresh();
    });
}

} // namespace corvane
