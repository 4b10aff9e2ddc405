#include "app/MainWindow.h"

#include "analysis/Commands.h"
#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/TradeTableModel.h"
#include "app/WindowRules.h"
#include "charts/EquityCurve.h"
#include "charts/ReportText.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace corvane {

namespace {

const QString kLoadingText = QStringLiteral("Loading...");

// Shows the busy indicator for the life of a load, and hides it on every way out, errors included.
class BusyScope
{
public:
    explicit BusyScope(QLabel& label) : m_label(label)
    {
        m_label.setText(kLoadingText);
        m_label.show();
    }
    ~BusyScope()
    {
        m_label.hide();
        m_label.setText(kLoadingText);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QLabel& m_label;
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

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Enter on a focused button clicks it, as Space does.
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            button->click();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        const Qt::KeyboardModifiers modifiers = static_cast<QMouseEvent*>(event)->modifiers();
        if (watched == AnalyzeButton)
            AnalyzeButtonMouseDown(modifiers);
        else if (watched == Button3)
            Button3MouseDown(modifiers);
        else if (watched == Button5)
            Button5MouseDown(modifiers);
        else if (watched == Button7)
            Button7MouseDown(modifiers);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // A selection made with the mouse is copied to the other grid; keyboard moves are not.
        if (watched == Grid->viewport())
            QTimer::singleShot(0, this, &TMainForm::GridClick);
        else if (watched == XGrid->viewport())
            QTimer::singleShot(0, this, &TMainForm::XGridClick);
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    setWindowTitle(QString::fromLatin1(kShortTitle));
}

bool TMainForm::IsBusy() const
{
    return !Label1->isHidden();
}

MagicFilter TMainForm::ShownMagicFilter() const
{
    return MagicListBox->isHidden() ? MagicFilter::Off : MagicFilter::On;
}

QString TMainForm::Decoded(std::string_view bytes) const
{
    return DecodeReportText(bytes, m_session.Report.CodePage);
}

bool TMainForm::RunCommand(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        RefreshViews();
        m_dialogs.ShowError(Decoded(error.what()));
        return false;
    }
}

void TMainForm::ChartRefresh()
{
    DrawChart(m_canvas, m_session, m_viewMode, Image1->width());
    Image1->update();
}

void TMainForm::ShowChart(ViewMode viewMode)
{
    RunCommand([&] {
        if (IsBusy())
            return;
        const ViewMode shown = m_viewMode;
        m_viewMode = viewMode;
        try {
            ChartRefresh();
        } catch (...) {
            m_viewMode = shown;
            Image1->update();
            throw;
        }
        Memo1->hide();
    });
}

void TMainForm::SyncList(QListWidget* widget, const SelectionList& list)
{
    m_syncingLists = true;
    bool same = widget->count() == list.Count();
    for (int i = 0; same && i < list.Count(); ++i)
        same = widget->item(i)->text() == Decoded(list.Text(i));
    if (!same) {
        widget->clear();
        for (int i = 0; i < list.Count(); ++i)
            widget->addItem(Decoded(list.Text(i)));
    }
    for (int i = 0; i < list.Count(); ++i)
        widget->item(i)->setSelected(list.Selected(i));
    m_syncingLists = false;
}

void TMainForm::ReadListSelection(const QListWidget* widget, SelectionList& list)
{
    for (int i = 0; i < list.Count() && i < widget->count(); ++i)
        list.SetSelected(i, widget->item(i)->isSelected());
}

void TMainForm::RefreshViews()
{
    m_gridModel->SetCodePage(m_session.Report.CodePage);
    m_xgridModel->SetCodePage(m_session.Report.CodePage);
    m_canvas.SetCodePage(m_session.Report.CodePage);
    // A grid keeps its selected rows, by number, when its rows are rebuilt; a new report starts with
    // its first row selected. A grid without a selection has its first row as the current row.
    const auto gridSelection = m_gridRowsAfresh ? std::pair(0, 0) : SelectedRange(Grid);
    const auto xgridSelection = m_gridRowsAfresh ? std::pair(0, 0) : SelectedRange(XGrid);
    m_gridRowsAfresh = false;
    m_gridModel->Reset();
    m_xgridModel->Reset();
    for (auto [grid, selection] : {std::pair(Grid, gridSelection), std::pair(XGrid, xgridSelection)}) {
        grid->SelectRows(selection);
        if (SelectedRange(grid).first < 0)
            grid->SelectRows({0, 0});
    }
    FitGridColumns();
    SyncList(PairsListBox, m_session.Pairs);
    SyncList(MagicListBox, m_session.Magic);
    QStringList lines;
    for (const std::string& line : m_session.Memo)
        lines << Decoded(line);
    // The heading names the report's path, which is in the file system's encoding, not the report's.
    if (const std::optional<SummaryHeadingParts>& heading = m_session.MemoHeading; heading && !lines.isEmpty()) {
        const QString path = QString::fromStdString(heading->Path);
        lines.front() = heading->Title.empty() ? path : Decoded(heading->Title) + QStringLiteral(", ") + path;
    }
    // After the summary: an empty line, the check against the report's own figures, the more statistics.
    for (const std::string& line : m_session.MoreMemo)
        lines << Decoded(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    Button10->setEnabled(m_session.Report.Kind == ReportKind::Statement); // the alternate view serves statements
}

void TMainForm::AnalyzeButtonMouseDown(Qt::KeyboardModifiers modifiers)
{
    m_appendFlag = SwitchApplies(m_session, ModifierHeld(modifiers));
}

void TMainForm::AnalyzeButtonClick()
{
    if (IsBusy())
        return;
    if (const std::optional<QString> chosen = m_dialogs.OpenReport(m_lastReport))
        LoadFrom(*chosen, m_appendFlag ? LoadMode::Append : LoadMode::Replace, false);
}

bool TMainForm::LoadFrom(const QString& path, LoadMode mode, bool keepGridSelection, LoadOutcome* outcomeSeen)
{
    bool loaded = false;
    const bool completed = RunCommand([&] {
        BusyScope busy(*Label1);
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
            m_gridRowsAfresh = !keepGridSelection;
            loaded = true;
            ApplyFilters(m_session, MagicFilter::Off); // the load has hidden the magic list
        }
        RefreshViews();
        if (outcome == LoadOutcome::Refused)
            Memo1->show();
        if (loaded)
            ChartRefresh();
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

void TMainForm::Button1Click()
{
    if (IsBusy())
        return;
    Memo1->show();
    m_viewMode = ViewMode::Summary;
}

void TMainForm::Button2Click()
{
    ShowChart(ViewMode::EquityCurve);
}

void TMainForm::Button3MouseDown(Qt::KeyboardModifiers modifiers)
{
    m_timeModifier = ModifierHeld(modifiers);
}

void TMainForm::Button3Click()
{
    ShowChart(m_timeModifier ? ViewMode::TimeByClose : ViewMode::TimeByOpen);
}

void TMainForm::Button5MouseDown(Qt::KeyboardModifiers modifiers)
{
    m_normalizeVariant = SwitchApplies(m_session, ModifierHeld(modifiers));
}

void TMainForm::Button7MouseDown(Qt::KeyboardModifiers modifiers)
{
    m_pictureSwitch = !ModifierHeld(modifiers);
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

void TMainForm::Button10Click()
{
    if (!XGrid->isHidden()) {
        const int top = XGrid->verticalScrollBar()->value();
        XGrid->hide();
        Grid->verticalScrollBar()->setValue(top);
    } else {
        const int top = Grid->verticalScrollBar()->value();
        XGrid->show();
        XGrid->verticalScrollBar()->setValue(top);
    }
}

void TMainForm::PairsListBoxClick()
{
    ListClick(PairsListBox, m_session.Pairs, PairsListChanged);
}

void TMainForm::MagicListBoxClick()
{
    ListClick(MagicListBox, m_session.Magic, MagicListChanged);
}

void TMainForm::ListClick(const QListWidget* widget, SelectionList& list, void (*changed)(Session&, MagicFilter))
{
    if (m_syncingLists)
        return;
    RunCommand([&] {
        if (IsBusy())
            return;
        ReadListSelection(widget, list);
        changed(m_session, ShownMagicFilter());
        RefreshViews();
        if (Memo1->isHidden())
            ChartRefresh();
    });
}

void TMainForm::CopySelection(const TradeGridView* from, TradeGridView* to)
{
    to->SelectRows(SelectedRange(from));
}

void TMainForm::GridClick()
{
    CopySelection(Grid, XGrid);
}

void TMainForm::XGridClick()
{
    CopySelection(XGrid, Grid);
}

void TMainForm::Timer1Timer()
{
    RunCommand([this] {
        // The list as it stands: a load empties it at its start.
        const bool listShown = MagicListWanted(MagicListBox->count());
        const ChartArea area = AreaForMagicList(listShown);
        const bool changed = Image1->x() != area.Left;
        Memo1->setGeometry(area.Left, kChartTop, area.Width, kSurfaceHeight);
        Image1->setGeometry(area.Left, kChartTop, area.Width, kSurfaceHeight);
        MagicListBox->setVisible(listShown);
        if (changed) {
            DrawChartFrame(m_canvas, area.Width);
            ChartRefresh();
        }
        if (const std::optional<std::string> title = NextTitle(m_captionCounter))
            setWindowTitle(QString::fromStdString(*title));
    });
}

} // namespace corvane
