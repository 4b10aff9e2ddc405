#include "WindowFixture.h"

#include <QCoreApplication>
#include <QScrollBar>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;

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
    QTableView* xgrid = Table("XGrid");
    const auto rowCentre = [](QTableView* view, int row) {
        return view->visualRect(view->model()->index(row - 1, 1)).center();
    };
    QTest::mouseClick(xgrid->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(xgrid, 5));
    QTest::mouseClick(xgrid->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(xgrid, 9));
    QCoreApplication::processEvents();
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

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(grid, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(SelectedRows("XGrid"), (std::vector<int>{3}));
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
