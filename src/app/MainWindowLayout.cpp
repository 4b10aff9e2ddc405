// The window's controls: where each stands, how each is built, and the grids' column widths.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/GridSelection.h"
#include "app/MonteCarloRun.h"
#include "app/TradeTableModel.h"
#include "app/WindowRules.h"
#include "app/WindowSettings.h"
#include "trades/CellErrors.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace corvane {

// The view buttons keep to the top-left corner, the command buttons from "Display" on to the top-right.
// clang-format off
const ControlPlace kControlPlaces[] = {
    {"AnalyzeButton", 8, 8, 65, 21, Anchor::TopLeft},
    {"Button1", 80, 8, 65, 21, Anchor::TopLeft},
    {"Button2", 152, 8, 65, 21, Anchor::TopLeft},
    {"Button3", 224, 8, 65, 21, Anchor::TopLeft},
    {"Label1", 296, 12, 150, 13, Anchor::TopLeft},
    {"Button10", 456, 8, 73, 21, Anchor::TopRight},
    {"DeleteButton", 536, 8, 65, 21, Anchor::TopRight},
    {"Button7", 608, 8, 65, 21, Anchor::TopRight},
    {"Button4", 680, 8, 65, 21, Anchor::TopRight},
    {"Button5", 752, 8, 65, 21, Anchor::TopRight},
    {"Button8", 824, 8, 65, 21, Anchor::TopRight},
    {"Button6", 312, -8, 73, 21, Anchor::TopLeft},
    {"Button9", 456, -8, 73, 21, Anchor::TopRight},
    {"PairsListBox", 8, 32, 65, 217, Anchor::List},
    {"MagicListBox", 80, 32, 113, 217, Anchor::List},
    {"Memo1", 200, 32, 689, 217, Anchor::ChartArea},
    {"Image1", 200, 32, 689, 217, Anchor::ChartArea},
    {"Grid", 8, 256, 881, 209, Anchor::Grid},
    {"XGrid", 8, 256, 881, 209, Anchor::Grid},
    {"Button11", 296, 8, 65, 21, Anchor::TopLeft},
    {"CompareButton", 368, 8, 73, 21, Anchor::TopLeft},
};
// clang-format on
const int kControlPlaceCount = static_cast<int>(std::size(kControlPlaces));

namespace {

const std::vector<int> kGridWidths{61, 102, 33, 33, 44, 44, 43, 44, 105, 43, 41, 41, 66, 42, 104};
const std::vector<int> kXGridWidths{61, 77, 720};

QFont FixedPitchFont(const char* family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The visible table's headers, the ones the messages about its cells name.
QStringList GridHeaders()
{
    QStringList headers;
    for (int column = 0; column < kGridColumns; ++column) {
        const std::string_view header = ColumnHeader(column);
        headers.append(QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())));
    }
    return headers;
}

} // namespace

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent) : TMainForm(dialogs, WindowSettings::None(), parent) {}

TMainForm::TMainForm(Dialogs& dialogs, WindowSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_viewToRestore(settings.View())
{
    setObjectName(QStringLiteral("MainForm"));
    // At its first size the controls stand as laid out; a larger window gives the room to the chart
    // area and the grids (GrownPlace).
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    setFont(ChartFont());
    setAcceptDrops(true);
    CreateControls();
    CreateKeys();
    UpdateFirstRunHint();
    CreateMonteCarloControls();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    Timer1->start();
    m_placeTimer = new QTimer(this);
    m_placeTimer->setSingleShot(true);
    m_placeTimer->setInterval(500);
    connect(m_placeTimer, &QTimer::timeout, this, &TMainForm::RememberPlace);
}

TMainForm::~TMainForm() = default;

QPushButton* TMainForm::MakeButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->installEventFilter(this);
    return button;
}

TradeGridView* TMainForm::MakeGrid(const char* name, TradeTableModel* model)
{
    auto* grid = new TradeGridView(this);
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
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    // A sideways scroll bar shows only when a report's texts need more than the grid's width.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
    // A text longer than the list is wide scrolls sideways instead of being cut short.
    list->setTextElideMode(Qt::ElideNone);
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
    CompareButton = MakeButton("CompareButton", QStringLiteral("Compare"));
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

    Image1 = new ChartWidget(m_canvas, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAcceptDrops(false); // a dropped file goes to the window
    Memo1->setFont(FixedPitchFont("Courier New", 11));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(QString());

    m_gridModel = new TradeTableModel(m_session.Grid, GridHeaders(), this);
    m_xgridModel = new TradeTableModel(
        m_session.XGrid, {QStringLiteral("Ticket"), QStringLiteral("Magic"), QStringLiteral("Comment")}, this);
    Grid = MakeGrid("Grid", m_gridModel);
    XGrid = MakeGrid("XGrid", m_xgridModel);
    for (int column = 0; column < kGridColumns; ++column)
        Grid->setColumnWidth(column, kGridWidths[column]);
    for (int column = 0; column < kXGridColumns; ++column)
        XGrid->setColumnWidth(column, kXGridWidths[column]);
    XGrid->hide();

    for (const ControlPlace& place : kControlPlaces) {
        if (auto* control = findChild<QWidget*>(QString::fromLatin1(place.Name)))
            control->setGeometry(place.Left, place.Top, place.Width, place.Height);
    }
    Memo1->raise();
    XGrid->raise();

    // Tab order as laid out: Load File, the symbol list, the grid, the summary text, the view
    // buttons, the commands, "Display", the alternate view and the magic list.
    QWidget* order[] = {AnalyzeButton, PairsListBox, Grid,     Memo1,   Button1,      Button2,
                        Button3,       Button4,      Button5,  Button6, DeleteButton, Button8,
                        Button9,       Button7,      Button10, XGrid,   MagicListBox, CompareButton};
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
    connect(CompareButton, &QPushButton::clicked, this, &TMainForm::CompareButtonClick);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this, &TMainForm::ChartMenu);
    connect(PairsListBox, &QListWidget::itemSelectionChanged, this, &TMainForm::PairsListBoxClick);
    connect(MagicListBox, &QListWidget::itemSelectionChanged, this, &TMainForm::MagicListBoxClick);
}

void TMainForm::FitGridColumns()
{
    // The filter pass leaves the longest texts of the tables it made; others are read from the rows.
    const VisibleTableFacts& facts = m_session.ShownFacts;
    const auto longestCells = [](const TextGrid& rows, int columns, std::uint64_t version,
                                 const std::vector<std::string>& known) {
        if (rows.Version() != version || static_cast<int>(known.size()) != columns)
            return LongestCells(rows, columns);
        return std::vector<std::string_view>(known.begin(), known.end());
    };
    const auto fit = [&](TradeGridView* grid, const TextGrid& rows, const std::vector<int>& widths,
                         std::uint64_t version, const std::vector<std::string>& known) {
        const int columns = static_cast<int>(widths.size());
        const QFontMetrics metrics(grid->font());
        // The item's text margins on both sides and the grid line at the cell's right edge.
        const int frame = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
        const std::vector<std::string_view> longest = longestCells(rows, columns, version, known);
        std::vector<int> needed(columns);
        for (int column = 0; column < columns; ++column) {
            const QString header = grid->model()->headerData(column, Qt::Horizontal).toString();
            needed[column] =
                frame
                + std::max(metrics.horizontalAdvance(Decoded(longest[column])), metrics.horizontalAdvance(header));
        }
        const int available = grid->width() - 2 * grid->frameWidth() - grid->verticalScrollBar()->sizeHint().width();
        const std::vector<int> fitted = FitColumnWidths(widths, needed, available);
        for (int column = 0; column < columns; ++column)
            grid->setColumnWidth(column, fitted[column]);
    };
    fit(Grid, m_session.Grid, kGridWidths, facts.GridVersion, facts.GridLongest);
    // The comments take the extra width of a wider window.
    std::vector<int> xgridWidths = kXGridWidths;
    xgridWidths.back() += Growth().width();
    fit(XGrid, m_session.XGrid, xgridWidths, facts.XGridVersion, facts.XGridLongest);
}

} // namespace corvane
