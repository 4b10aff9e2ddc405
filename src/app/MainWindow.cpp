#include "MainWindow.h"

#include "ChartView.h"
#include "GridSelection.h"
#include "Commands.h"
#include "Filters.h"
#include "EquityCurve.h"
#include "SummaryText.h"
#include "TextDecoding.h"
#include "TimeOfWeekChart.h"
#include "TradeTableModel.h"
#include "WindowRules.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace corvane {

const ControlPlace kControlPlaces[] = {
    {"AnalyzeButton", 8, 8, 65, 21},  {"Button1", 80, 8, 65, 21},       {"Button2", 152, 8, 65, 21},
    {"Button3", 224, 8, 65, 21},      {"Label1", 296, 12, 58, 13},      {"Button10", 456, 8, 73, 21},
    {"DeleteButton", 536, 8, 65, 21}, {"Button7", 608, 8, 65, 21},      {"Button4", 680, 8, 65, 21},
    {"Button5", 752, 8, 65, 21},      {"Button8", 824, 8, 65, 21},      {"Button6", 312, -8, 73, 21},
    {"Button9", 456, -8, 73, 21},     {"PairsListBox", 8, 32, 65, 217}, {"MagicListBox", 80, 32, 113, 217},
    {"Memo1", 200, 32, 689, 217},     {"Image1", 200, 32, 689, 217},    {"Grid", 8, 256, 881, 209},
    {"XGrid", 8, 256, 881, 209},
};
const int kControlPlaceCount = static_cast<int>(std::size(kControlPlaces));

namespace {

constexpr int kClientWidth = 897;
constexpr int kClientHeight = 473;
constexpr int kChartTop = 32;

// Shows the busy indicator for the life of a load, and hides it on every way out, errors included.
class BusyScope
{
public:
    explicit BusyScope(QLabel& label) : m_label(label) { m_label.show(); }
    ~BusyScope() { m_label.hide(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QLabel& m_label;
};

QFont FixedPitchFont(const char* family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("MainForm"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(ChartFont());
    CreateControls();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    Timer1->start();
}

TMainForm::~TMainForm() = default;

QPushButton* TMainForm::MakeButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->installEventFilter(this);
    return button;
}

QTableView* TMainForm::MakeGrid(const char* name, TradeTableModel* model, std::initializer_list<int> widths)
{
    auto* grid = new QTableView(this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setFont(FixedPitchFont("Terminal", 9, true));
    grid->setTextElideMode(Qt::ElideNone);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(15);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setFixedHeight(17);
    int column = 0;
    for (const int width : widths)
        grid->setColumnWidth(column++, width);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->viewport()->installEventFilter(this);
    return grid;
}

QListWidget* TMainForm::MakeList(const char* name)
{
    auto* list = new QListWidget(this);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(FixedPitchFont("Courier New", 11));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    return list;
}

void TMainForm::CreateControls()
{
    AnalyzeButton = MakeButton("AnalyzeButton", QStringLiteral("Load File"));
    Button1 = MakeButton("Button1", QStringLiteral("Report"));
    Button2 = MakeButton("Button2", QStringLiteral("Curve"));
    Button3 = MakeButton("Button3", QStringLiteral("Time"));
    Button10 = MakeButton("Button10", QStringLiteral("Display"));
    DeleteButton = MakeButton("DeleteButton", QStringLiteral("Delete trade"));
    Button7 = MakeButton("Button7", QStringLiteral("Export html"));
    Button4 = MakeButton("Button4", QStringLiteral("Export txt"));
    Button5 = MakeButton("Button5", QStringLiteral("Normalize"));
    Button8 = MakeButton("Button8", QStringLiteral("Reload"));
    Button6 = MakeButton("Button6", QStringLiteral("Sort trades"));
    Button9 = MakeButton("Button9", QStringLiteral("Import"));
    Button6->hide();
    Button9->hide();

    Label1 = new QLabel(QStringLiteral("Loading..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = ChartFont();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->hide();

    PairsListBox = MakeList("PairsListBox");
    MagicListBox = MakeList("MagicListBox");

    Image1 = new ChartView(m_canvas, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFont(FixedPitchFont("Courier New", 11));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(QString());

    m_gridModel = new TradeTableModel(m_session.Grid,
                                      {QStringLiteral("Ticket"), QStringLiteral("Open Time"), QStringLiteral("Type"),
                                       QStringLiteral("Lots"), QStringLiteral("Item"), QStringLiteral("Price"),
                                       QStringLiteral("S/L"), QStringLiteral("T/P"), QStringLiteral("Close Time"),
                                       QStringLiteral("Price"), QStringLiteral("Comm"), QStringLiteral("Swap"),
                                       QStringLiteral("P/L"), QStringLiteral("Pips"), QStringLiteral("Balance")},
                                      this);
    m_xgridModel = new TradeTableModel(
        m_session.XGrid, {QStringLiteral("Ticket"), QStringLiteral("Magic"), QStringLiteral("Comment")}, this);
    Grid = MakeGrid("Grid", m_gridModel, {61, 102, 33, 33, 44, 44, 43, 44, 105, 43, 41, 41, 66, 42, 104});
    XGrid = MakeGrid("XGrid", m_xgridModel, {61, 77, 720});
    XGrid->hide();

    for (int i = 0; i < kControlPlaceCount; ++i) {
        const ControlPlace& place = kControlPlaces[i];
        if (auto* control = findChild<QWidget*>(QString::fromLatin1(place.Name)))
            control->setGeometry(place.Left, place.Top, place.Width, place.Height);
    }
    Memo1->raise();
    XGrid->raise();

    // Tab order as laid out: Load File, the symbol list, the grid, the summary text, the view
    // buttons, the commands, "Display", the alternate view and the magic list.
    QWidget* order[] = {AnalyzeButton, PairsListBox, Grid, Memo1, Button1, Button2, Button3, Button4, Button5,
                        Button6, DeleteButton, Button8, Button9, Button7, Button10, XGrid, MagicListBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget* control : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Image1)})
        control->setFocusPolicy(Qt::NoFocus);

    connect(AnalyzeButton, &QPushButton::clicked, this, &TMainForm::AnalyzeButtonClick);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TMainForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TMainForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TMainForm::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TMainForm::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TMainForm::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TMainForm::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TMainForm::Button9Click);
    connect(DeleteButton, &QPushButton::clicked, this, &TMainForm::DeleteButtonClick);
    connect(Button10, &QPushButton::clicked, this, &TMainForm::Button10Click);
    connect(PairsListBox, &QListWidget::itemSelectionChanged, this, &TMainForm::PairsListBoxClick);
    connect(MagicListBox, &QListWidget::itemSelectionChanged, this, &TMainForm::MagicListBoxClick);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
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

QString TMainForm::Decoded(std::string_view bytes) const
{
    return DecodeReportText(bytes, m_session.Report.CodePage);
}

void TMainForm::RunCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        RefreshViews();
        m_dialogs.ShowError(Decoded(error.what()));
    }
}

void TMainForm::ChartRefresh()
{
    const int width = Image1->width();
    if (m_viewMode == 1)
        DrawEquityCurve(m_canvas, m_session.Grid, m_session.Report.InitialDeposit, width);
    else if (m_viewMode >= 2)
        DrawTimeOfWeekChart(m_canvas, m_session.Grid, m_viewMode == 3, width);
    Image1->update();
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
    // A grid keeps its selected rows, by number, when its rows are rebuilt.
    const auto gridSelection = SelectedRange(Grid);
    const auto xgridSelection = SelectedRange(XGrid);
    m_gridModel->Reset();
    m_xgridModel->Reset();
    SelectRange(Grid, gridSelection);
    SelectRange(XGrid, xgridSelection);
    SyncList(PairsListBox, m_session.Pairs);
    SyncList(MagicListBox, m_session.Magic);
    QStringList lines;
    for (const std::string& line : m_session.Memo)
        lines << Decoded(line);
    // The heading names the report's path, which is in the file system's encoding, not the report's.
    if (!m_session.Memo.empty() && m_session.Memo.front() == SummaryHeading(m_session.Report.Title, m_session.ReportPath)) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(m_session.ReportPath));
        lines.front() = m_session.Report.Title.empty() ? path : Decoded(m_session.Report.Title) + QStringLiteral(", ") + path;
    }
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    Button10->setEnabled(m_session.DisplayEnabled);
}

void TMainForm::AnalyzeButtonMouseDown(Qt::KeyboardModifiers modifiers)
{
    m_session.AppendFlag = SwitchApplies(m_session, ModifierHeld(modifiers));
}

void TMainForm::AnalyzeButtonClick()
{
    RunCommand([this] {
        QString path = m_lastReport;
        if (!m_session.ReloadFlag) {
            if (IsBusy())
                return;
            const std::optional<QString> chosen = m_dialogs.OpenReport(m_lastReport);
            if (!chosen)
                return;
            path = *chosen;
        }
        BusyScope busy(*Label1);
        MagicListBox->hide();
        m_session.MagicListShown = false;
        SyncList(MagicListBox, SelectionList());
        const LoadOutcome outcome =
            LoadAndFilter(m_session, LocalPath(path), [] { QCoreApplication::processEvents(); });
        RefreshViews();
        if (outcome == LoadOutcome::Refused)
            Memo1->show();
        if (outcome == LoadOutcome::Loaded) {
            // Reload reads the report the trades came from: a file refused or ignored is not remembered.
            m_lastReport = path;
            ChartRefresh();
        }
    });
}

void TMainForm::Button1Click()
{
    if (IsBusy())
        return;
    Memo1->show();
    m_viewMode = 0;
}

void TMainForm::Button2Click()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        Memo1->hide();
        m_viewMode = 1;
        ChartRefresh();
    });
}

void TMainForm::Button3MouseDown(Qt::KeyboardModifiers modifiers)
{
    m_timeModifier = ModifierHeld(modifiers);
}

void TMainForm::Button3Click()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        Memo1->hide();
        m_viewMode = 2 + (m_timeModifier ? 1 : 0);
        ChartRefresh();
    });
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
    m_session.ReloadFlag = true;
    std::vector<char> selected(m_session.Pairs.Count());
    for (int i = 0; i < m_session.Pairs.Count(); ++i)
        selected[i] = m_session.Pairs.Selected(i);
    // Reload always reads the file afresh: appending the same report twice is never wanted.
    const bool append = m_session.AppendFlag;
    m_session.AppendFlag = false;
    AnalyzeButtonClick();
    m_session.AppendFlag = append;
    m_session.ReloadFlag = false;
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
    if (m_syncingLists)
        return;
    RunCommand([this] {
        if (IsBusy())
            return;
        ReadListSelection(PairsListBox, m_session.Pairs);
        PairsListChanged(m_session);
        RefreshViews();
        if (Memo1->isHidden())
            ChartRefresh();
    });
}

void TMainForm::MagicListBoxClick()
{
    if (m_syncingLists)
        return;
    RunCommand([this] {
        if (IsBusy())
            return;
        ReadListSelection(MagicListBox, m_session.Magic);
        MagicListChanged(m_session);
        RefreshViews();
        if (Memo1->isHidden())
            ChartRefresh();
    });
}

void TMainForm::CopySelection(QTableView* from, QTableView* to)
{
    SelectRange(to, SelectedRange(from));
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
        const bool listShown = MagicListWanted(m_session);
        const ChartArea area = AreaForMagicList(listShown);
        const bool changed = Image1->x() != area.Left;
        Memo1->setGeometry(area.Left, kChartTop, area.Width, kSurfaceHeight);
        Image1->setGeometry(area.Left, kChartTop, area.Width, kSurfaceHeight);
        MagicListBox->setVisible(listShown);
        m_session.MagicListShown = listShown;
        if (changed) {
            DrawChartFrame(m_canvas, area.Width);
            ChartRefresh();
        }
        if (const std::optional<std::string> title = NextTitle(m_captionCounter))
            setWindowTitle(QString::fromStdString(*title));
    });
}

} // namespace corvane
