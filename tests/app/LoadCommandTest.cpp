#include "WindowFixture.h"

#include "reports/LoadReport.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>

#include <filesystem>
#include <functional>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;
using Flags = std::vector<bool>;

// "Total number of trades" and its "%12d" figure, as the summary writes them.
QString TradeCountLine(int trades)
{
    return QStringLiteral("Total number of trades%1").arg(trades, 12);
}

TEST_F(WindowTest, LoadFileShowsTradesListsAndSummaryAndACancelledDialogChangesNothing)
{
    bool busyWhileAsked = true;
    dialogs.WhenAsked = [&] { busyWhileAsked = !Busy()->isHidden(); };
    dialogs.Report.reset();
    QTest::mouseClick(Button("AnalyzeButton"), Qt::LeftButton);
    EXPECT_FALSE(busyWhileAsked) << "the dialog comes before the busy indicator";
    EXPECT_EQ(Column("Grid", kTicket), (Cells{""}));
    EXPECT_EQ(Memo()->toPlainText().toStdString(), "");

    const std::string path =
        Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd", "-50.00"), Trade("1003", "eurusd")});
    Load(path);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003"}));
    EXPECT_EQ(Column("Grid", kItem), (Cells{"eurusd", "gbpusd", "eurusd"}));
    EXPECT_EQ(Column("XGrid", 0), (Cells{"1001", "1002", "1003"}));
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"eurusd", "gbpusd"}));
    EXPECT_EQ(Selection("PairsListBox"), (Flags{true, true}));
    EXPECT_EQ(Entries("MagicListBox"), (Cells{"           0"}));
    EXPECT_EQ(Selection("MagicListBox"), (Flags{true}));
    EXPECT_TRUE(Memo()->toPlainText().startsWith(QString::fromStdString("Statement: 1 - Test, " + path + "\n")));
    EXPECT_TRUE(MemoHas(TradeCountLine(3))) << Memo()->toPlainText().toStdString();
    EXPECT_FALSE(Memo()->isHidden());
    EXPECT_TRUE(Busy()->isHidden());

    const QString summary = Memo()->toPlainText();
    dialogs.Report.reset();
    QTest::mouseClick(Button("AnalyzeButton"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003"})) << "cancelled: the window stays as it was";
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"eurusd", "gbpusd"}));
    EXPECT_EQ(Memo()->toPlainText(), summary);
    EXPECT_TRUE(Busy()->isHidden());
    EXPECT_EQ(dialogs.ReportAsked, 3);
}

TEST_F(WindowTest, RefusedFileShowsTheRefusalLineAndKeepsTheTradesLoaded)
{
    Load(dir.Write("foreign.htm", test::StatementBuilder().NoGenerator().Closed(Trade("7", "usdjpy")).Text()));
    EXPECT_EQ(Memo()->toPlainText().toStdString(), kRefusal);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{""})) << "nothing loaded before: empty grids";

    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")}));
    List("PairsListBox")->item(1)->setSelected(false);
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    ASSERT_TRUE(Memo()->isHidden());
    Load(dir.Write("foreign.htm", test::StatementBuilder().NoGenerator().Closed(Trade("7", "usdjpy")).Text()));
    EXPECT_EQ(Memo()->toPlainText().toStdString(), kRefusal);
    EXPECT_FALSE(Memo()->isHidden());
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001"})) << "the trades already loaded stay";
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"eurusd", "gbpusd"}));
    EXPECT_EQ(Selection("PairsListBox"), (Flags{true, false}));
    EXPECT_TRUE(Busy()->isHidden());
    EXPECT_TRUE(dialogs.Errors.isEmpty());

    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001"})) << "Reload reads the report the trades came from";
    EXPECT_TRUE(MemoHas(TradeCountLine(1))) << Memo()->toPlainText().toStdString();
}

// The file is there when the user picks it and gone when the load reads it.
TEST_F(WindowTest, AReportThatVanishesAfterTheDialogIsRefusedAndTheTradesStay)
{
    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")}));
    const std::string vanishing = Write("vanishing.htm", {Trade("7", "usdjpy")});
    dialogs.WhenAsked = [&] { std::filesystem::remove(vanishing); };
    Load(vanishing);
    EXPECT_EQ(Memo()->toPlainText().toStdString(), kRefusal);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002"}));
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"eurusd", "gbpusd"}));
    EXPECT_TRUE(Busy()->isHidden());
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(WindowTest, ShiftPressOnLoadFileAppendsToTwoOrMoreTrades)
{
    Load(Write("first.htm", {Trade("1003", "eurusd"), Trade("1001", "eurusd")}));
    Load(Write("second.htm", {Trade("1004", "gbpusd"), Trade("1002", "gbpusd")}), Qt::ShiftModifier);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003", "1004"})) << "in ticket order";
    EXPECT_EQ(Column("XGrid", 0), (Cells{"1001", "1002", "1003", "1004"}));
    EXPECT_EQ(Selection("PairsListBox"), (Flags{true, true}));

    Load(Write("single.htm", {Trade("1005", "usdjpy")}));
    Load(Write("third.htm", {Trade("1007", "audusd"), Trade("1006", "audusd")}), Qt::ShiftModifier);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1007", "1006"})) << "one trade loaded: the new report replaces it";
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"audusd"}));
}

// Load File lets pending events run after every trade line; clicks that arrive then find the busy
// indicator shown and must change nothing, neither then nor later.
TEST_F(WindowTest, GuardedClicksDuringALoadDoNothing)
{
    bool delivered = false;
    bool busyThen = false;
    dialogs.WhenAsked = [&] {
        QTimer::singleShot(0, &window, [&] {
            delivered = true;
            busyThen = !Busy()->isHidden();
            QTest::mouseClick(Button("Button2"), Qt::LeftButton);
            QTest::mouseClick(Button("Button3"), Qt::LeftButton, Qt::ShiftModifier);
            QTest::mouseClick(Button("Button8"), Qt::LeftButton);
        });
    };
    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd"), Trade("1003", "eurusd")}));
    QCoreApplication::processEvents();
    ASSERT_TRUE(delivered) << "the clicks were to arrive during the load";
    EXPECT_TRUE(busyThen);
    EXPECT_EQ(window.CurrentView(), ViewMode::Summary);
    EXPECT_FALSE(Memo()->isHidden());
    EXPECT_TRUE(Busy()->isHidden());
    EXPECT_EQ(dialogs.ReportAsked, 1) << "neither a second load nor a reload";
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003"}));
}

// The summary reads the Comm cell ("%6s" of the report's "abc") and stops there.
TEST_F(WindowTest, ConversionErrorShowsItsBoxAndTheWindowGoesOn)
{
    test::StatementTrade bad = Trade("1002", "eurusd");
    bad.Commission = "abc";
    const std::string path = Write("bad.htm", {Trade("1001", "eurusd"), bad});
    Load(path);
    EXPECT_EQ(dialogs.Errors,
              QStringList{QString::fromStdString(
                  path + ": trade 2 (ticket 1002), column Comm: '   abc' is not a valid floating point value")});
    EXPECT_TRUE(Busy()->isHidden()) << "an error ends the load";

    Load(Write("good.htm", {Trade("1003", "gbpusd"), Trade("1004", "gbpusd")}));
    EXPECT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1003", "1004"}));
    EXPECT_TRUE(MemoHas(TradeCountLine(2)));
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    EXPECT_EQ(window.CurrentView(), ViewMode::EquityCurve);
}

TEST_F(WindowTest, ReloadReadsTheFileAgainAndKeepsTheSymbolSelection)
{
    // More than a hundred symbols: the selection of every one of them is kept.
    std::vector<test::StatementTrade> trades;
    for (int i = 0; i < 101; ++i)
        trades.push_back(Trade(std::to_string(1000 + i), "sym" + std::to_string(100 + i)));
    const std::string path = Write("many.htm", trades);
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{""})) << "nothing loaded, nothing to reload";
    Load(path);
    ASSERT_EQ(List("PairsListBox")->count(), 101);
    List("PairsListBox")->item(1)->setSelected(false);
    List("PairsListBox")->item(100)->setSelected(false);
    ASSERT_EQ(Column("Grid", kTicket).size(), 99u);

    // A Shift-press on Load File with a cancelled dialog records the append flag; Reload ignores it.
    dialogs.Report.reset();
    QTest::mouseClick(Button("AnalyzeButton"), Qt::LeftButton, Qt::ShiftModifier);
    trades.push_back(Trade("2000", "sym100"));
    Write("many.htm", trades);
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);

    const Cells tickets = Column("Grid", kTicket);
    EXPECT_EQ(tickets.size(), 100u) << "read afresh, with the new trade";
    EXPECT_EQ(tickets.back(), "2000");
    EXPECT_EQ(std::count(tickets.begin(), tickets.end(), "1001"), 0);
    EXPECT_EQ(std::count(tickets.begin(), tickets.end(), "1100"), 0);
    Flags expected(101, true);
    expected[1] = expected[100] = false;
    EXPECT_EQ(Selection("PairsListBox"), expected);
    EXPECT_EQ(dialogs.ReportAsked, 2) << "Reload asks for no file";
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_TRUE(Busy()->isHidden());
}

// A new report, loaded or imported, starts with row 1 current and selected in both grids: a row picked
// in an earlier report never carries over. Reload keeps the selected rows by position.
TEST_F(WindowTest, ANewReportStartsWithItsFirstRowSelected)
{
    const std::string exported = dir.File("b.txt");
    Load(Write("b.htm", {Trade("21", "usdjpy"), Trade("22", "usdjpy"), Trade("23", "usdjpy")}));
    dialogs.SaveTarget_ = QString::fromStdString(exported);
    window.Button4->click();
    const std::string report = Write("a.htm", {Trade("11", "eurusd"), Trade("12", "eurusd"), Trade("13", "eurusd")});
    const auto pickThenChange = [&](const std::function<void()>& change) {
        Load(report);
        ClickRow("Grid", 3);
        change();
        return std::pair(SelectedRows("Grid"), SelectedRows("XGrid"));
    };
    const auto first = std::pair(std::vector<int>{1}, std::vector<int>{1});
    EXPECT_EQ(pickThenChange([&] { Load(Write("b.htm", {Trade("21", "usdjpy"), Trade("22", "usdjpy")})); }), first);
    EXPECT_EQ(pickThenChange([&] {
                  dialogs.Import = QString::fromStdString(exported);
                  window.Button9->click();
              }),
              first);
    EXPECT_EQ(pickThenChange([&] { QTest::mouseClick(Button("Button8"), Qt::LeftButton); }),
              std::pair(std::vector<int>{3}, std::vector<int>{3}));

    Load(Write("b.htm", {Trade("21", "usdjpy"), Trade("22", "usdjpy")}));
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"22"})) << "Delete takes the new report's first trade";
}

// Reload reads the report whose trades are on show, also when its filter pass stopped on a cell that
// is not a number; a Reload that fails leaves its refusal line or its one error box on show.
TEST_F(WindowTest, ReloadReadsTheReportOnShowAndAFailedReloadSaysSo)
{
    test::StatementTrade bad = Trade("32", "eurusd");
    bad.Commission = "abc";
    Load(Write("good.htm", {Trade("1", "eurusd"), Trade("2", "eurusd")}));
    const std::string path = Write("bad.htm", {Trade("31", "eurusd"), bad});
    Load(path);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    Write("bad.htm", {Trade("31", "eurusd"), Trade("32", "eurusd"), Trade("33", "eurusd")});
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"31", "32", "33"}));
    EXPECT_EQ(dialogs.Errors.size(), 1);

    Write("bad.htm", {Trade("31", "eurusd"), bad});
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors.size(), 2) << "one failure, one box";

    std::filesystem::remove(path);
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    EXPECT_EQ(Memo()->toPlainText().toStdString(), kRefusal) << "never summarised over";
    EXPECT_FALSE(Memo()->isHidden());
    EXPECT_EQ(dialogs.Errors.size(), 2);
    EXPECT_TRUE(Busy()->isHidden());
}

// The layout switch counts the magic list as it stands: a load empties it at its start.
TEST_F(WindowTest, ATickDuringALoadSeesTheMagicListEmptied)
{
    Load(Write("a.htm", {Trade("1", "eurusd", "10.00", "7"), Trade("2", "eurusd", "10.00", "8")}));
    window.Timer1Timer();
    ASSERT_EQ(Find<QWidget>("Image1")->x(), 200);
    int leftDuringLoad = -1;
    dialogs.WhenAsked = [&] {
        QTimer::singleShot(0, &window, [&] {
            window.Timer1Timer();
            leftDuringLoad = Find<QWidget>("Image1")->x();
        });
    };
    Load(Write("b.htm", {Trade("3", "eurusd", "10.00", "7"), Trade("4", "eurusd", "10.00", "8")}));
    EXPECT_EQ(leftDuringLoad, 80);
}

// An import that meets a read error keeps the table as it was and says so.
TEST_F(WindowTest, AnImportThatMeetsAReadErrorKeepsTheTable)
{
    Load(Write("a.htm", {Trade("1", "eurusd"), Trade("2", "eurusd")}));
    dialogs.Import = QStringLiteral("/proc/self/mem"); // reading it fails at once
    window.Button9->click();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_NE(dialogs.Errors.front().indexOf(QStringLiteral("read error")), -1);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1", "2"}));
}

TEST_F(WindowTest, TableModelsStayConsistentThroughLoadsAndFilters)
{
    const auto mode = QAbstractItemModelTester::FailureReportingMode::Fatal;
    QAbstractItemModelTester gridTester(Table("Grid")->model(), mode);
    QAbstractItemModelTester xgridTester(Table("XGrid")->model(), mode);
    const auto inStep = [&](const char* step) { EXPECT_EQ(Column("Grid", kTicket), Column("XGrid", 0)) << step; };
    Load(Write("a.htm", {Trade("1001", "eurusd", "100.00", "7"), Trade("1002", "gbpusd", "-20.00", "8"),
                         Trade("1003", "eurusd")}));
    inStep("load");
    List("PairsListBox")->item(0)->setSelected(false);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1002"}));
    inStep("symbol filter");
    window.Timer1Timer();
    List("MagicListBox")->clearSelection();
    inStep("magic filter");
    Load(Write("b.htm", {Trade("1004", "usdjpy"), Trade("1000", "usdjpy")}), Qt::ShiftModifier);
    inStep("appending load");
    QTest::mouseClick(Button("Button8"), Qt::LeftButton);
    inStep("reload");
    Load(dir.Write("foreign.htm", test::StatementBuilder().NoGenerator().Text()));
    inStep("refused");
    Load(Write("c.htm", {}));
    inStep("no trades");
}

} // namespace
} // namespace corvane
