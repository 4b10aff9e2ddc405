// What the window keeps from one run to the next: the reports opened before (the list, and the menu a
// right-click on Load File offers) and the view; and the summary pane's word while nothing is loaded.
#include "app/MainWindow.h"

#include "app/WindowSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace corvane {

QStringList TMainForm::RecentReports() const
{
    return m_settings.RecentReports();
}

void TMainForm::RememberReport(const QString& path)
{
    m_settings.SetRecentReports(WithRecentReport(RecentReports(), path));
    UpdateFirstRunHint();
}

QMenu* TMainForm::RecentMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("RecentMenu"));
    menu->setToolTipsVisible(true);
    const QStringList recent = RecentReports();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        // The report's name, and its folder after a tab, where a menu shows a key.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction* open = menu->addAction(
            QStringLiteral("%1  %2\t%3")
                .arg(number, QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        open->setToolTip(QDir::toNativeSeparators(path));
        open->setData(path);
        // Queued: the load lets events through, and the menu goes when it closes.
        connect(
            open, &QAction::triggered, this, [this, path] { OpenRecent(path); }, Qt::QueuedConnection);
    }
    if (recent.isEmpty()) {
        menu->addAction(QStringLiteral("No report opened yet"))->setEnabled(false);
        return menu;
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Clear the list")), &QAction::triggered, this, [this] {
        m_settings.SetRecentReports({});
        UpdateFirstRunHint();
    });
    return menu;
}

void TMainForm::ShowRecentMenu(const QPoint& at)
{
    QMenu* menu = RecentMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(AnalyzeButton->mapToGlobal(at));
    // The newest report is the one most often wanted again: Enter opens it.
    if (QAction* newest = menu->actions().value(0); newest && newest->isEnabled())
        menu->setActiveAction(newest);
}

void TMainForm::OpenRecent(const QString& path)
{
    if (IsBusy())
        return;
    if (!QFileInfo::exists(path)) {
        QStringList recent = RecentReports();
        recent.removeAll(path);
        m_settings.SetRecentReports(recent);
        UpdateFirstRunHint();
        m_dialogs.ShowError(QStringLiteral("%1 is no longer there; it is taken off the recent reports.")
                                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    OpenReport(path, m_appendFlag);
}

void TMainForm::RememberView()
{
    m_viewToRestore.reset();
    m_settings.SetView(m_viewMode);
}

void TMainForm::ShowRememberedView()
{
    const std::optional<ViewMode> view = std::exchange(m_viewToRestore, std::nullopt);
    if (!view || *view == ViewMode::Summary)
        return;
    m_viewMode = *view;
    Memo1->hide();
}

void TMainForm::UpdateFirstRunHint()
{
    QString hint = QStringLiteral("Nothing is loaded yet.\n\n"
                                  "Press Load File (%1) and choose a MetaTrader 4 or 5 report, or drop a report here.\n"
                                  "Shift-press Load File to append a second statement.")
                       .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    if (!RecentReports().isEmpty())
        hint += QStringLiteral("\nRight-click Load File for the reports opened before.");
    Memo1->setPlaceholderText(hint);
}

} // namespace corvane
