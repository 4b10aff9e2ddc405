#include "WindowFixture.h"

#include "Samples.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QStyle>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;

constexpr Rgb kCurveGrey = 0x808080;

TEST_F(WindowTest, ViewButtonsSetTheViewMode)
{
    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")}));
    enum class Press
    {
        Mouse,    // the left button pressed and released on the button
        Keyboard, // Space on the button: no mouse-down
        Enter,    // Enter on the focused button, as Space
        Right,    // the right button: a mouse-down, no click
    };
    struct Step
    {
        const char* Button;
        Press How;
        Qt::KeyboardModifiers Modifiers;
        ViewMode Mode;
    };
    const Step steps[] = {
        {"Button2", Press::Mouse, Qt::NoModifier, ViewMode::EquityCurve},
        {"Button3", Press::Mouse, Qt::NoModifier, ViewMode::TimeByOpen},
        {"Button3", Press::Mouse, Qt::ShiftModifier, ViewMode::TimeByClose},
        {"Button3", Press::Keyboard, Qt::NoModifier, ViewMode::TimeByClose},
        {"Button1", Press::Mouse, Qt::NoModifier, ViewMode::Summary},
        {"Button3", Press::Keyboard, Qt::NoModifier, ViewMode::TimeByClose},
        {"Button3", Press::Mouse, Qt::AltModifier, ViewMode::TimeByOpen},
        {"Button3", Press::Right, Qt::ControlModifier, ViewMode::TimeByOpen},
        {"Button3", Press::Keyboard, Qt::NoModifier, ViewMode::TimeByClose},
        {"Button2", Press::Mouse, Qt::ShiftModifier, ViewMode::EquityCurve},
        {"Button1", Press::Keyboard, Qt::NoModifier, ViewMode::Summary},
        {"Button3", Press::Enter, Qt::NoModifier, ViewMode::TimeByClose},
        {"Button2", Press::Enter, Qt::NoModifier, ViewMode::EquityCurve},
    };
    int index = 0;
    for (const Step& step : steps) {
        QPushButton* button = Button(step.Button);
        if (step.How == Press::Keyboard)
            QTest::keyClick(button, Qt::Key_Space);
        else if (step.How == Press::Enter)
            QTest::keyClick(button, index % 2 ? Qt::Key_Return : Qt::Key_Enter);
        else
            QTest::mouseClick(button, step.How == Press::Right ? Qt::RightButton : Qt::LeftButton, step.Modifiers);
        EXPECT_EQ(window.CurrentView(), step.Mode) << "step " << index << ": " << step.Button;
        EXPECT_EQ(Memo()->isHidden(), step.Mode != ViewMode::Summary) << "step " << index;
        ++index;
    }
}

TEST_F(WindowTest, ChartBeforeAnyLoadLeavesTheFrameOnWhite)
{
    window.Timer1Timer();
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    EXPECT_EQ(window.CurrentView(), ViewMode::EquityCurve);
    EXPECT_TRUE(Memo()->isHidden());
    QTest::mouseClick(Button("Button3"), Qt::LeftButton);
    EXPECT_EQ(window.CurrentView(), ViewMode::TimeByOpen);
    for (int y = 2; y < 215; ++y)
        for (int x = 2; x < 807; ++x)
            ASSERT_EQ(Pixel(x, y), kWhite) << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(Pixel(0, 0), 0x606060u);

    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    Load(Write("march.htm", {Trade("1001", "eurusd")}));
    EXPECT_EQ(Pixel(2, 214), kCurveGrey) << "the load draws the curve of the view";
    EXPECT_TRUE(Memo()->isHidden()) << "a load leaves the view as it is";
}

// A list click runs the filter pass once: putting the lists in step with the session afterwards must
// not run the list handlers again. Here the click also rebuilds the magic list.
TEST_F(WindowTest, SymbolClickFiltersTheGridOnce)
{
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00", "11"), Trade("1002", "gbpusd", "-50.00", "22"),
                             Trade("1003", "eurusd", "100.00", "11")}));
    int resets = 0;
    QObject::connect(Table("Grid")->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QListWidget* pairs = List("PairsListBox");
    QTest::mouseClick(pairs->viewport(), Qt::LeftButton, Qt::NoModifier,
                      pairs->visualItemRect(pairs->item(1)).center());
    EXPECT_EQ(Selection("PairsListBox"), (std::vector<bool>{false, true}));
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1002"}));
    EXPECT_EQ(Column("XGrid", 0), (Cells{"1002"}));
    EXPECT_EQ(Entries("MagicListBox"), (Cells{"      22"}));
    EXPECT_EQ(resets, 1);
    EXPECT_NE(Memo()->toPlainText().indexOf(QStringLiteral("Total number of trades%1").arg(1, 12)), -1);

    resets = 0;
    QTest::mouseClick(pairs->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      pairs->visualItemRect(pairs->item(0)).center());
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003"}));
    EXPECT_EQ(Entries("MagicListBox"), (Cells{"      11", "      22"}));
    EXPECT_EQ(resets, 1);
}

// The text box covers the chart in the summary view, so a list click draws nothing there.
TEST_F(WindowTest, ListClickRedrawsOnlyAChartOnShow)
{
    window.Timer1Timer();
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00"), Trade("1002", "gbpusd", "-300.00")}));
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    const QImage bothTrades = window.Canvas().Image();
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    List("PairsListBox")->item(1)->setSelected(false);
    ASSERT_EQ(Column("Grid", kTicket), (Cells{"1001"}));
    EXPECT_EQ(window.Canvas().Image(), bothTrades);

    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    const QImage firstTrade = window.Canvas().Image();
    EXPECT_NE(firstTrade, bothTrades);
    List("PairsListBox")->item(1)->setSelected(true);
    EXPECT_EQ(window.Canvas().Image(), bothTrades) << "the curve follows the filter";
}

// --- the two grids ----------------------------------------------------------------------------------

std::vector<test::StatementTrade> ManyTrades(int count)
{
    std::vector<test::StatementTrade> trades;
    for (int i = 1; i <= count; ++i)
        trades.push_back(Trade(std::to_string(10000 + i), "eurusd", "1.00"));
    return trades;
}

// The grid row (header row 0) at the top of a grid's visible rows.
int TopRow(const QTableView* grid)
{
    return grid->rowAt(0) + 1;
}

void ScrollToTop(QTableView* grid, int row)
{
    grid->scrollTo(grid->model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
}

TEST_F(WindowTest, DisplaySwitchesGridsAtTheSameTopRow)
{
    Load(Write("long.htm", ManyTrades(400)));
    QCoreApplication::processEvents();
    QTableView* grid = Table("Grid");
    QTableView* xgrid = Table("XGrid");
    ScrollToTop(grid, 300);
    ASSERT_EQ(TopRow(grid), 300);

    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(xgrid->isHidden());
    EXPECT_EQ(TopRow(xgrid), 300);

    ScrollToTop(xgrid, 40);
    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(xgrid->isHidden());
    EXPECT_EQ(TopRow(grid), 40);
}

TEST_F(WindowTest, MouseSelectionIsCopiedToTheOtherGridAndKeyMovesAreNot)
{
    Load(Write("march.htm", ManyTrades(20)));
    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    QCoreApplication::processEvents();
    ClickRow("XGrid", 5);
    ClickRow("XGrid", 9, Qt::ShiftModifier);
    ASSERT_EQ(SelectedRows("XGrid"), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(SelectedRows("Grid"), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(Table("Grid")->currentIndex().row() + 1, 9) << "the last row is the current row";

    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    QTableView* grid = Table("Grid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(SelectedRows("Grid"), (std::vector<int>{11}));
    EXPECT_EQ(SelectedRows("XGrid"), (std::vector<int>{5, 6, 7, 8, 9})) << "keyboard moves are not copied";

    ClickRow("Grid", 3);
    EXPECT_EQ(SelectedRows("XGrid"), (std::vector<int>{3}));
}

// A range copied to the other grid has its first row as the anchor of a following Shift-click there;
// a grid never clicked has row 1 as its current row.
TEST_F(WindowTest, ACopiedSelectionExtendsFromItsFirstRow)
{
    Load(Write("march.htm", ManyTrades(20)));
    EXPECT_EQ(Table("XGrid")->currentIndex().row() + 1, 1);
    Cells tickets = Column("Grid", kTicket);
    ClickRow("Grid", 2);
    ClickRow("Grid", 3, Qt::ShiftModifier);
    ASSERT_EQ(SelectedRows("XGrid"), (std::vector<int>{2, 3}));
    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    ClickRow("XGrid", 5, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows("XGrid"), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(SelectedRows("Grid"), (std::vector<int>{2, 3, 4, 5}));
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    tickets.erase(tickets.begin() + 1, tickets.begin() + 5);
    EXPECT_EQ(Column("Grid", kTicket), tickets);
}

// A filter pass that stops on a cell that is not a number leaves the trade table's Pips and Balance in
// the rows from the bad one on; a chart that then cannot be drawn leaves the view as it was.
TEST_F(WindowTest, AfterAConversionErrorTheViewChangesOnlyWhenItsChartIsDrawn)
{
    const std::string rows = "1\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.1000\t0\t0\t2024.01.02 12:00\t1.1010\t"
                             "  0.00\t  0.00\t 10.00\t    10\t   1010.00\r\n"
                             "2\t2024.01.03 10:00\tsell\t1.00\teurusd\t1.1000\t0\t0\t2024.01.03 12:00\t1.1020\t"
                             "   abc\t  0.00\t-20.00\t   -20\t    990.00\r\n";
    dialogs.Import = QString::fromStdString(dir.Write("bad.txt", rows));
    window.Button9->click();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0], *dialogs.Import
                                     + QStringLiteral(": trade 2 (ticket 2), column Comm: '   abc' is not a "
                                                      "valid floating point value"));
    EXPECT_EQ(Column("Grid", kPips), (Cells{"    10", "   -20"}));
    EXPECT_EQ(Column("Grid", kBalance), (Cells{"      10010.00", "    990.00"}));

    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors.size(), 2) << "the curve reads the Comm cell";
    EXPECT_EQ(dialogs.Errors[1], dialogs.Errors[0]);
    EXPECT_EQ(window.CurrentView(), ViewMode::Summary);
    EXPECT_FALSE(Memo()->isHidden());
    QTest::mouseClick(Button("Button3"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors.size(), 2) << "the time chart reads the Pips cells";
    EXPECT_EQ(window.CurrentView(), ViewMode::TimeByOpen);
    EXPECT_TRUE(Memo()->isHidden());
}

// Every text of a real report shows in full in both grids, and the lists scroll sideways to a longer
// one, in the window's fixed size.
TEST_F(WindowTest, EveryTextOfARealReportShowsInFull)
{
    const std::vector<std::string> samples = test::SampleReports();
    if (samples.empty())
        GTEST_SKIP() << "no sample reports";
    for (const std::string& sample : samples) {
        Load(sample);
        window.Timer1Timer();
        for (const char* name : {"Grid", "XGrid"}) {
            QTableView* grid = Table(name);
            const QFontMetrics metrics(grid->font());
            const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
            const QAbstractItemModel* model = grid->model();
            int total = 0;
            for (int column = 0; column < model->columnCount(); ++column) {
                total += grid->columnWidth(column);
                for (int row = 0; row < model->rowCount(); ++row) {
                    const QString text = model->index(row, column).data().toString();
                    ASSERT_LE(metrics.horizontalAdvance(text) + margins, grid->columnWidth(column))
                        << sample << " " << name << " row " << row + 1 << ": " << text.toStdString();
                }
            }
            EXPECT_LE(total, grid->viewport()->width()) << sample << " " << name;
        }
        for (const char* name : {"PairsListBox", "MagicListBox"}) {
            QListWidget* list = List(name);
            const QFontMetrics metrics(list->font());
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(metrics.horizontalAdvance(list->item(i)->text()),
                          list->viewport()->width() + list->horizontalScrollBar()->maximum())
                    << sample << " " << name << ": " << list->item(i)->text().toStdString();
        }
    }
}

// A tester report has no magic numbers or comments to show: "Display" is disabled, and an alternate
// view already on show stays there with the new trades.
TEST_F(WindowTest, TesterReportDisablesDisplay)
{
    Load(Write("march.htm", {Trade("1001", "eurusd")}));
    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    test::TesterBuilder tester;
    tester.Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000"))
        .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "close", "1", "0.10", "1.2", "50.00"));
    Load(dir.Write("tester.htm", tester.Text()));
    EXPECT_FALSE(Button("Button10")->isEnabled());
    EXPECT_FALSE(Table("XGrid")->isHidden());
    EXPECT_EQ(Column("XGrid", 0), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Column("XGrid", 1).at(0).find_first_not_of(' '), std::string::npos) << "no magic number";

    Load(Write("april.htm", {Trade("1002", "eurusd")}));
    EXPECT_TRUE(Button("Button10")->isEnabled());
}

} // namespace
} // namespace corvane
