// The window's commands that load reports: Load File (and its append switch), Reload, reports given on the
// command line and files dropped on the window.
#include "app/MainWindow.h"

#include "analysis/Commands.h"
#include "app/WindowRules.h"
#include "app/WindowSettings.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

#include <initializer_list>
#include <vector>

namespace corvane {

namespace {

const QString kLoadingText = QStringLiteral("Loading...");

// Shows the busy indicator for the life of a load, and hides it on every way out, errors included.
// The label stands where "Luck" and "Compare" stand: they give it their place while it shows.
class BusyScope
{
public:
    BusyScope(QLabel& label, std::initializer_list<QWidget*> covered) : m_label(label), m_covered(covered)
    {
        for (QWidget* control : m_covered)
            control->hide();
        m_label.setText(kLoadingText);
        m_label.show();
    }
    ~BusyScope()
    {
        m_label.hide();
        m_label.setText(kLoadingText);
        for (QWidget* control : m_covered)
            control->show();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QLabel& m_label;
    std::vector<QWidget*> m_covered;
};

// The local files among dropped data, in their order.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

// Whether `path` holds a text the text export wrote: its first line is the export's header.
bool IsTextExport(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readLine(64).startsWith("Ticket\tOpen Time");
}

} // namespace

void TMainForm::AnalyzeButtonMouseDown(Qt::KeyboardModifiers modifiers)
{
    m_appendFlag = SwitchApplies(m_session, ModifierHeld(modifiers));
}

void TMainForm::AnalyzeButtonClick()
{
    if (IsBusy())
        return;
    // The dialog starts at the report loaded last, else in the folder it last gave a report from.
    const QString start = m_lastReport.isEmpty() ? m_settings.Folder(QStringLiteral("load")) : m_lastReport;
    if (const std::optional<QString> chosen = m_dialogs.OpenReport(start)) {
        m_settings.SetFolder(QStringLiteral("load"), *chosen);
        LoadFrom(*chosen, m_appendFlag ? LoadMode::Append : LoadMode::Replace, false);
    }
}

bool TMainForm::LoadFrom(const QString& path, LoadMode mode, bool keepGridSelection, LoadOutcome* outcomeSeen)
{
    bool loaded = false;
    const bool completed = RunCommand([&] {
        BusyScope busy(*Label1, {static_cast<QWidget*>(Button11), static_cast<QWidget*>(CompareButton)});
        MagicListBox->hide();
        SyncList(MagicListBox, SelectionList());
        // The label changes only when the whole percent does: a load calls this after every trade line.
        int shownPercent = -1;
        const auto progress = [&](double fraction) {
            const int percent = static_cast<int>(fraction * 100);
            if (percent == shownPercent)
                return;
            shownPercent = percent;
            Label1->setText(kLoadingText + QStringLiteral(" %1%").arg(percent));
        };
        const LoadOutcome outcome = LoadReport(
            m_session, LocalPath(path), mode, [] { QCoreApplication::processEvents(); }, progress);
        if (outcomeSeen)
            *outcomeSeen = outcome;
        if (outcome == LoadOutcome::Loaded) {
            // Reload reads the report whose trades are on show, even when their filter pass stops on
            // a cell that is not a number: a file refused or ignored is not remembered.
            m_lastReport = path;
            RememberReport(path);
            m_gridRowsAfresh = !keepGridSelection;
            loaded = true;
            ApplyFilters(m_session, MagicFilter::Off); // the load has hidden the magic list
        }
        RefreshViews();
        if (outcome == LoadOutcome::Refused)
            Memo1->show();
        if (loaded) {
            ShowRememberedView();
            ChartRefresh();
        }
    });
    // What a load could not read (deals that found no position, a file cut short) is said once the
    // trades it could read are on show.
    if (completed && loaded && !m_session.Report.ReadWarning.empty())
        m_dialogs.ShowError(Decoded(m_session.Report.ReadWarning));
    return completed && loaded;
}

void TMainForm::OpenReport(const QString& path, bool append)
{
    const bool appending = SwitchApplies(m_session, append);
    LoadOutcome outcome = LoadOutcome::Loaded;
    if (LoadFrom(path, appending ? LoadMode::Append : LoadMode::Replace, false, &outcome)
        || outcome != LoadOutcome::AppendIgnored)
        return;
    m_dialogs.ShowError(QStringLiteral("%1 was not appended: only an account statement of the same kind as the "
                                       "trades loaded can be appended.")
                            .arg(path));
}

void TMainForm::OpenFiles(const QStringList& paths, bool appendFirst)
{
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (IsTextExport(paths[i]))
            ImportFrom(paths[i]);
        else
            OpenReport(paths[i], appendFirst || i > 0);
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!IsBusy() && !DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    // A drop while a load runs does nothing, as a click does.
    const QStringList files = DroppedFiles(event->mimeData());
    if (IsBusy() || files.isEmpty())
        return;
    event->acceptProposedAction();
    OpenFiles(files, ModifierHeld(event->modifiers()));
}

void TMainForm::Button8Click()
{
    if (IsBusy() || NothingLoaded(m_session))
        return;
    std::vector<char> selected(m_session.Pairs.Count());
    for (int i = 0; i < m_session.Pairs.Count(); ++i)
        selected[i] = m_session.Pairs.Selected(i);
    // Reload always reads the file afresh: appending the same report twice is never wanted.
    if (!LoadFrom(m_lastReport, LoadMode::Replace, true))
        return; // the refusal line or the error stays on show
    for (int i = 0; i < m_session.Pairs.Count() && i < static_cast<int>(selected.size()); ++i)
        m_session.Pairs.SetSelected(i, selected[i] != 0);
    SyncList(PairsListBox, m_session.Pairs);
    PairsListBoxClick();
}

} // namespace corvane
