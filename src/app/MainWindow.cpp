#include "app/MainWindow.h"

#include "analysis/Commands.h"
#include "analysis/TraderClock.h"
#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/TradeTableModel.h"
#include "app/WindowRules.h"
#include "charts/ReportText.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace corvane {

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
        else if (watched == Button11)
            Button11MouseDown(modifiers);
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
    if (m_viewMode == ViewMode::MonteCarlo)
        return RefreshMonteCarlo();
    DrawChart(m_canvas, m_session, m_viewMode, Image1->width(), Image1->height(), &m_clock);
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
        RememberView();
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
    if (m_clock.Shifts())
        ShowMoreStatisticsOnClock(m_session, m_clock); // the figures of the last filter pass, on the trader's clock
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

void TMainForm::Button1Click()
{
    if (IsBusy())
        return;
    Memo1->show();
    m_viewMode = ViewMode::Summary;
    RememberView();
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
        const bool changed = PlaceChartArea(listShown);
        MagicListBox->setVisible(listShown);
        if (changed)
            RedrawChartArea();
        if (const std::optional<std::string> title = NextTitle(m_captionCounter))
            setWindowTitle(QString::fromStdString(*title));
    });
}

} // namespace corvane
