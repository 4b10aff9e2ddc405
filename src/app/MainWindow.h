#pragma once

#include "analysis/Filters.h"
#include "app/Dialogs.h"
#include "charts/Chart.h"
#include "charts/ImageCanvas.h"
#include "reports/LoadReport.h"
#include "trades/Session.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace corvane {

class ChartWidget;
class MonteCarloRun;
class StrategiesWindow;
class TradeGridView;
class TradeTableModel;
class WindowSettings;

// The client area's first size, and the least it can be made: the controls stand as laid out.
inline constexpr int kClientWidth = 897;
inline constexpr int kClientHeight = 473;

// How a control follows a window grown beyond its first size.
enum class Anchor
{
    TopLeft,   // stays where it is
    TopRight,  // keeps its distance from the right edge
    ChartArea, // takes the extra width and a third of the extra height
    List,      // grows downward as the chart area does
    Grid,      // below the chart area, takes the extra width and the rest of the extra height
};

// Where each control stands in the client area at its first size: left, top, width, height.
struct ControlPlace
{
    const char* Name;
    int Left;
    int Top;
    int Width;
    int Height;
    Anchor Grows;
};
extern const ControlPlace kControlPlaces[];
extern const int kControlPlaceCount;

// The extra height of a grown window that goes to the chart area; the grids take the rest.
inline int ChartAreaGrowth(int extraHeight)
{
    return extraHeight / 3;
}

// Where `place` stands in a window `growth` larger than its first size.
QRect GrownPlace(const ControlPlace& place, QSize growth);

/**
 * The main window. It owns the controls, keeps the view mode, the command switches and the caption
 * counter, and routes every user action to a handler named after the control and the event. The
 * handlers check the busy indicator where a load may be running, run one core command on the session
 * and refresh what the window shows; an error raised by a command is shown in a message box and the
 * window goes on.
 */
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    // A window that remembers nothing between runs.
    explicit TMainForm(Dialogs& dialogs, QWidget* parent = nullptr);
    // A window that keeps folders, recent reports, its view and its place in `settings`.
    TMainForm(Dialogs& dialogs, WindowSettings& settings, QWidget* parent = nullptr);
    ~TMainForm() override;

    Session& GetSession() { return m_session; }
    const ImageCanvas& Canvas() const { return m_canvas; }
    ViewMode CurrentView() const { return m_viewMode; }
    bool NormalizeVariant() const { return m_normalizeVariant; }
    bool PictureSwitch() const { return m_pictureSwitch; }

    // The handlers, public so that tests can run them as the toolkit does.
    void FormShow();
    void AnalyzeButtonMouseDown(Qt::KeyboardModifiers modifiers);
    void AnalyzeButtonClick();
    void Button1Click();
    void Button2Click();
    void Button3MouseDown(Qt::KeyboardModifiers modifiers);
    void Button3Click();
    void Button4Click();
    void Button5MouseDown(Qt::KeyboardModifiers modifiers);
    void Button5Click();
    void Button6Click();
    void Button7MouseDown(Qt::KeyboardModifiers modifiers);
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void DeleteButtonClick();
    void Button10Click();
    void PairsListBoxClick();
    void MagicListBoxClick();
    void GridClick();
    void XGridClick();
    void Timer1Timer();
    // "Luck", the Monte Carlo view (MonteCarloView.cpp): Shift or Ctrl held asks for its choices first.
    void Button11MouseDown(Qt::KeyboardModifiers modifiers);
    void Button11Click();
    MonteCarloRun& MonteCarlo() { return *m_monteCarlo; }
    // "Compare": the window of several strategies side by side (MoreViews.cpp), with the loaded report in
    // it when it starts empty.
    void CompareButtonClick();
    // The chart area's menu (right button): the equity curve in table order or by close time on a calendar
    // axis, as "Curve" shows the first.
    void ChartMenu(const QPoint& at);
    void ShowCalendarCurve();
    // The trader's clock the time chart, the curve by close time and the more statistics read the report's
    // times on (the chart area's menu, "Trader's clock..."); none: the report's own times.
    void SetTraderClock(const ClockShift& clock);
    void AskTraderClock();
    const ClockShift& TraderClock() const { return m_clock; }
    StrategiesWindow* Strategies() const { return m_strategies; }

    // Opens files given on the command line or dropped on the window: a text the text export wrote is
    // imported, a report is loaded; every report after the first is appended, and so is the first when
    // `appendFirst` (Shift held on the drop) and the append rules allow it.
    void OpenFiles(const QStringList& paths, bool appendFirst);

    // Shows the window where it was last left, kept on a screen that is there, else centred at its
    // first size on its screen.
    void ShowAtRememberedPlace();
    // The recent reports, most recent first, and the menu that offers them (a right-click on Load File).
    QStringList RecentReports() const;
    QMenu* RecentMenu();
    // Opens a recent report as Load File opens a report, appending as its last press says; a report that
    // has gone is said so and taken off the list.
    void OpenRecent(const QString& path);
    // Copies the selected rows of `grid` (or XGrid), a header row first, as tab-separated text; the
    // drawdown marks of Grid in a column of their own.
    void CopyRows(TradeGridView* grid);
    // The chart as the tool's `chart` draws it at this window's size: copied, or saved as PNG.
    void CopyChart();
    void SaveChart();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    // The keys of the commands, shown in the buttons' tooltips, and the grids' and chart's own.
    void CreateKeys();
    // How much larger than its first size the window is now (never less than nothing).
    QSize Growth() const;
    // Sets the controls' places for the window's size, keeping the chart area's arrangement.
    void PlaceControls();
    // Places the chart area narrow beside the magic list or wide in its place; true when it moved or
    // changed its size.
    bool PlaceChartArea(bool listShown);
    // The surface at the size of the chart area's place, its frame and the chart of the view drawn again.
    void RedrawChartArea();
    QImage ChartPicture() const;
    // What the window remembers: a report loaded, the view, its place (a moment after it last moved).
    void RememberReport(const QString& path);
    void RememberPlace();
    // A view button chose the view: it is remembered, and the first load no longer changes it.
    void RememberView();
    void ShowRecentMenu(const QPoint& at);
    // The first load of a run shows the view the last run was left in.
    void ShowRememberedView();
    // The summary pane's word while nothing is loaded.
    void UpdateFirstRunHint();
    QPushButton* MakeButton(const char* name, const QString& caption);
    TradeGridView* MakeGrid(const char* name, TradeTableModel* model);
    QListWidget* MakeList(const char* name);

    bool IsBusy() const;
    // The magic list filters while it is on show.
    MagicFilter ShownMagicFilter() const;
    // Runs a command; an error it raises is shown in one message box. False after an error.
    bool RunCommand(const std::function<void()>& command);
    // Loads the report at `path` (appending, or afresh) and shows it. True when the report was loaded
    // and its filter pass ran to the end; a refused file or an error leaves its message on show.
    // `outcome`, when given, receives what the load made of the file.
    bool LoadFrom(const QString& path, LoadMode mode, bool keepGridSelection, LoadOutcome* outcome = nullptr);
    // Loads `path` as "Load File" does, appending as a Shift-press does when `append`; a report that
    // an append ignores is named in the error box with the reason.
    void OpenReport(const QString& path, bool append);
    // Reads a text the text export wrote into the trade table, as "Import" does.
    void ImportFrom(const QString& path);
    // Draws the chart of `viewMode`, then shows it: a draw that fails leaves the view as it was.
    void ShowChart(ViewMode viewMode);
    void ChartRefresh();
    // Shows the session as it now stands: grids, lists, summary text, the "Display" button.
    void RefreshViews();
    // Widens the grids' columns that need it, so that every text of their rows shows in full.
    void FitGridColumns();
    void SyncList(QListWidget* widget, const SelectionList& list);
    void ReadListSelection(const QListWidget* widget, SelectionList& list);
    // A click in a list: its selection goes to the session, `changed` filters, the views follow.
    void ListClick(const QListWidget* widget, SelectionList& list, void (*changed)(Session&, MagicFilter));
    void CopySelection(const TradeGridView* from, TradeGridView* to);
    // The save dialog for an export: the report's name with its first ".htm" and all after it
    // replaced by `extension`, or the name of the dialog's last use; nothing when cancelled.
    std::optional<std::string> ExportTarget(const std::string& extension);
    QString Decoded(std::string_view bytes) const;

    // The Monte Carlo view (MonteCarloView.cpp). A run of the kept trades goes on a thread of its own;
    // a timer looks at it and draws its progress, then its charts, on the chart surface. The chart refresh
    // draws the last run again while the trades and the choices stay the same, and starts a new run when
    // they change; a click on another view stops it.
    void CreateMonteCarloControls();
    void StartMonteCarlo();
    void RefreshMonteCarlo();
    void MonteCarloTick();
    void ShowMonteCarlo();

    Dialogs& m_dialogs;
    WindowSettings& m_settings;
    Session m_session;
    ImageCanvas m_canvas;
    QString m_lastReport;
    QString m_lastSaveTarget;

    ViewMode m_viewMode = ViewMode::Summary;
    bool m_appendFlag = false;
    bool m_timeModifier = false;
    bool m_normalizeVariant = false;
    bool m_pictureSwitch = true;
    int m_captionCounter = 0;
    bool m_shown = false;
    bool m_syncingLists = false;
    bool m_gridRowsAfresh = false;           // the next refresh selects row 1 of both grids: a new report is on show
    std::optional<ViewMode> m_viewToRestore; // the view the first load shows, unless a view button came first
    QSize m_placedGrowth{0, 0};              // the growth the controls were last placed for
    QTimer* m_placeTimer = nullptr;          // remembers the place a moment after the last move or resize
    std::unique_ptr<MonteCarloRun> m_monteCarlo;
    QTimer* m_monteCarloTimer = nullptr;
    bool m_monteCarloAsk = false; // Shift or Ctrl held on the last press of "Luck"

    TradeTableModel* m_gridModel = nullptr;
    TradeTableModel* m_xgridModel = nullptr;
    StrategiesWindow* m_strategies = nullptr;
    ClockShift m_clock;
    QString m_clockText; // as last typed: the server's clock and the trader's zone

public:
    // The controls, under their designer names.
    QPushButton* AnalyzeButton = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CompareButton = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* PairsListBox = nullptr;
    QListWidget* MagicListBox = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    ChartWidget* Image1 = nullptr;
    TradeGridView* Grid = nullptr;
    TradeGridView* XGrid = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace corvane
