#include "LoadReport.h"

#include "ReportBuilder.h"
#include "TestReports.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::ColumnCells;
using test::Entries;
using test::RowCells;
using test::StatementBuilder;
using test::StatementTrade;
using test::TempDir;
using test::TesterBuilder;

StatementTrade Trade(const std::string& ticket, const std::string& magic = "",
                     const std::string& comment = "")
{
    StatementTrade trade;
    trade.Ticket = ticket;
    trade.Magic = magic;
    trade.Comment = comment;
    trade.Profit = ticket + ".00";
    return trade;
}

std::vector<std::vector<std::string>> AllRows(const TextGrid& grid)
{
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < grid.RowCount(); ++row)
        rows.push_back(RowCells(grid, row));
    return rows;
}

// Leaves some text in the visible table and the alternate view, as a filter pass would have.
void FillViews(Session& session)
{
    session.Grid.SetRowCount(4);
    session.Grid.SetCell(0, 1, "old");
    session.Grid.SetCell(14, 3, "old balance *");
    session.XGrid.SetRowCount(4);
    session.XGrid.SetCell(2, 1, "old comment");
}

void ExpectEmptyTable(const TextGrid& grid, const char* name)
{
    EXPECT_EQ(grid.RowCount(), 2) << name;
    EXPECT_EQ(RowCells(grid, 1), std::vector<std::string>(static_cast<std::size_t>(grid.ColumnCount())))
        << name;
}

// ---- A fresh load ------------------------------------------------------------------------------------

TEST(FreshLoad, TheTableHoldsOneRowPerTradeAfterAnEmptyHeaderRow)
{
    const TempDir dir;
    Session session;
    FillViews(session);
    const std::string path = dir.Write("three.htm", StatementBuilder()
                                                        .Deposit("1 000.00")
                                                        .Closed(Trade("11", "1", "a"))
                                                        .Closed(Trade("12"))
                                                        .Closed(Trade("13", "3", "c"))
                                                        .Text());
    ASSERT_EQ(LoadReport(session, path), LoadOutcome::Loaded);
    EXPECT_EQ(session.ReportPath, path);
    ASSERT_EQ(session.Full.RowCount(), 4);
    EXPECT_EQ(RowCells(session.Full, 0), std::vector<std::string>(kFullColumns));
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"11", "12", "13"}));
    for (const int column : {13, 14, 15, 18, 19})
        EXPECT_EQ(ColumnCells(session.Full, column), (std::vector<std::string>{"", "", ""}))
            << "column " << column;
    ExpectEmptyTable(session.Grid, "visible table");
    ExpectEmptyTable(session.XGrid, "alternate view");
    EXPECT_EQ(session.Report.InitialDeposit, 1000.0);
}

TEST(FreshLoad, AReportWithoutTradesLeavesOnlyTheHeaderRow)
{
    const TempDir dir;
    Session session;
    EXPECT_EQ(test::LoadBytes(session, dir, StatementBuilder().Deposit("100.00").Text()),
              LoadOutcome::Loaded);
    EXPECT_EQ(session.Full.RowCount(), 1);
    EXPECT_TRUE(NothingLoaded(session));
}

TEST(FreshLoad, RowsOfAnEarlierLargerLoadDoNotComeBack)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(
        session, dir,
        StatementBuilder().Closed(Trade("1", "1", "a")).Closed(Trade("2")).Closed(Trade("3")).Text(),
        "big.htm");
    ASSERT_EQ(session.Full.RowCount(), 4);
    StatementTrade only = Trade("9");
    only.Bare = true;
    test::LoadBytes(session, dir, StatementBuilder().Closed(only).Text(), "small.htm");
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(session.Full.Cell(kMagic, 1), std::string(12, ' '));
    EXPECT_EQ(session.Full.Cell(kComment, 1), "");
    session.Full.SetRowCount(4);
    EXPECT_EQ(RowCells(session.Full, 2), std::vector<std::string>(kFullColumns));
    EXPECT_EQ(RowCells(session.Full, 3), std::vector<std::string>(kFullColumns));
}

TEST(FreshLoad, EveryListEntryIsSelected)
{
    const TempDir dir;
    Session session;
    StatementTrade other = Trade("2", "7", "x");
    other.Symbol = "gbpusd";
    test::LoadBytes(session, dir, StatementBuilder().Closed(Trade("1", "5", "a")).Closed(other).Text());
    EXPECT_EQ(Entries(session.Pairs), (std::vector<std::string>{"eurusd", "gbpusd"}));
    EXPECT_EQ(Entries(session.Magic), (std::vector<std::string>{"       5", "       7"}));
    EXPECT_TRUE(test::AllSelected(session.Pairs));
    EXPECT_TRUE(test::AllSelected(session.Magic));
}

TEST(FreshLoad, TheCallbackRunsOnceAfterEveryTradeLine)
{
    const TempDir dir;
    Session session;
    StatementTrade cancelled = Trade("8");
    cancelled.Title = "cancelled";
    const std::string report = StatementBuilder()
                                   .Deposit("100.00")
                                   .Closed(Trade("1"))
                                   .Line(test::PendingOrderLine("buy stop", "5"))
                                   .Closed(cancelled)
                                   .Closed(Trade("2"))
                                   .OpenTrades()
                                   .Open(Trade("3"))
                                   .WorkingOrders()
                                   .Closed(Trade("4"))
                                   .Text();
    std::vector<std::string> ticketsSeen;
    const auto onTradeLine = [&] {
        const int row = static_cast<int>(ticketsSeen.size()) + 1;
        ticketsSeen.emplace_back(session.Full.Cell(kTicket, row));
    };
    test::LoadBytes(session, dir, report, "report.htm", onTradeLine);
    EXPECT_EQ(ticketsSeen, (std::vector<std::string>{"1", "2", "3"}))
        << "each call comes after its row is written";

    int calls = 0;
    const std::string tester =
        TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1"))
            .Line(test::TesterCloseRow(2, "2024.01.02 11:00", "t/p", "1", "0.10", "1.2", "5"))
            .Line(test::TesterTradeRow(3, "2024.01.02 12:00", "sell", "2", "0.10", "1.1"))
            .Line(test::TesterCloseRow(4, "2024.01.02 13:00", "s/l", "2", "0.10", "1.2", "-5"))
            .Text();
    test::LoadBytes(session, dir, tester, "tester.htm", [&calls] { ++calls; });
    EXPECT_EQ(calls, 2) << "closing lines are no trade lines";
}

// ---- Refused files -----------------------------------------------------------------------------------

struct RefusalCase
{
    const char* name;
    std::function<std::string(const TempDir&)> makePath;
};

class RefusedFile : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(RefusedFile, LeavesEmptyTablesAndOnlyTheRefusalLine)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(session, dir,
                    StatementBuilder().Closed(Trade("1", "5", "a")).Closed(Trade("2", "6", "b")).Text(),
                    "good.htm");
    FillViews(session);
    session.Memo = {"Net profit: 3.00", "Trades: 2"};
    session.MagicListShown = true;

    EXPECT_EQ(LoadReport(session, GetParam().makePath(dir)), LoadOutcome::Refused);
    EXPECT_EQ(session.Memo, std::vector<std::string>{std::string(kRefusal)});
    EXPECT_EQ(kRefusal, "Please use forward reports, generated by MetaTrader 4.177+");
    ExpectEmptyTable(session.Full, "trade table");
    ExpectEmptyTable(session.Grid, "visible table");
    ExpectEmptyTable(session.XGrid, "alternate view");
    EXPECT_EQ(session.Pairs.Count(), 0);
    EXPECT_EQ(session.Magic.Count(), 0);
    EXPECT_FALSE(session.MagicListShown);
    EXPECT_TRUE(NothingLoaded(session));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(
        RefusalCase{"StatementWithoutGeneratorTag",
                    [](const TempDir& d) {
                        return d.Write("a.htm", StatementBuilder().NoGenerator().Closed(Trade("3")).Text());
                    }},
        RefusalCase{"TesterReportWithoutGeneratorTag",
                    [](const TempDir& d) {
                        return d.Write("a.htm", TesterBuilder()
                                                    .NoGenerator()
                                                    .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy",
                                                                               "1", "0.1", "1.1"))
                                                    .Text());
                    }},
        RefusalCase{"OwnHtmlExport",
                    [](const TempDir& d) {
                        std::vector<std::string> lines =
                            test::HeadLines("    <title>Statement: 1 - Test</title>",
                                            "    <meta name=\"generator\" content=\"Corvane4\">");
                        return d.Write("a.htm", test::CrLfLines(lines));
                    }},
        RefusalCase{"MissingFile", [](const TempDir& d) { return d.File("missing.htm"); }},
        RefusalCase{"Folder", [](const TempDir& d) { return d.Path().string(); }},
        RefusalCase{"EmptyFile", [](const TempDir& d) { return d.Write("a.htm", ""); }},
        RefusalCase{"FourLines",
                    [](const TempDir& d) {
                        std::vector<std::string> lines = test::HeadLines("    <title>Statement: 1</title>");
                        lines.pop_back();
                        return d.Write("a.htm", test::CrLfLines(lines));
                    }}),
    [](const ::testing::TestParamInfo<RefusalCase>& paramInfo) { return paramInfo.param.name; });

// ---- Appending loads ---------------------------------------------------------------------------------

TEST(AppendingLoad, TradesOfBothStatementsEndUpInTicketOrder)
{
    const TempDir dir;
    Session session;
    StatementTrade four = Trade("4", "44", "four");
    StatementTrade one = Trade("1", "11", "one");
    one.Symbol = "gbpusd";
    ASSERT_EQ(
        test::LoadBytes(
            session, dir,
            StatementBuilder().Title("Statement: first").Deposit("1 000.00").Closed(four).Closed(one).Text(),
            "first.htm"),
        LoadOutcome::Loaded);
    session.Pairs.SetSelected(0, false);

    StatementTrade five = Trade("5", "55", "five");
    five.Symbol = "USDJPY";
    StatementTrade two = Trade("2");
    two.Bare = true;
    two.Symbol = "GBPUSD";
    session.AppendFlag = true;
    const std::string second =
        StatementBuilder().Title("Statement: second").Deposit("5 000.00").Closed(five).Closed(two).Text();
    ASSERT_EQ(test::LoadBytes(session, dir, second, "second.htm"), LoadOutcome::Loaded);

    ASSERT_EQ(session.Full.RowCount(), 5) << "an appending load leaves no spare row";
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "2", "4", "5"}));
    EXPECT_EQ(
        ColumnCells(session.Full, kMagic),
        (std::vector<std::string>{"          11", std::string(12, ' '), "          44", "          55"}));
    EXPECT_EQ(ColumnCells(session.Full, kComment), (std::vector<std::string>{"one", "", "four", "five"}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit),
              (std::vector<std::string>{"      1.00", "      2.00", "      4.00", "      5.00"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem),
              (std::vector<std::string>{"gbpusd", "GBPUSD", "eurusd", "USDJPY"}));
    EXPECT_EQ(Entries(session.Pairs), (std::vector<std::string>{"eurusd", "gbpusd", "USDJPY"}));
    EXPECT_EQ(Entries(session.Magic), (std::vector<std::string>{"      55", "           0"}))
        << "the magic list starts empty on every load";
    EXPECT_TRUE(test::AllSelected(session.Pairs));
    EXPECT_TRUE(test::AllSelected(session.Magic));
    EXPECT_EQ(session.Report.InitialDeposit, 1000.0) << "the deposit of the first statement stays";
    EXPECT_EQ(session.Report.Title, "Statement: first") << "the title of the first statement stays";
}

TEST(AppendingLoad, TheAppendedStatementIsReadInItsOwnLayout)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(session, dir, StatementBuilder().Closed(Trade("1", "1", "a")).Closed(Trade("3")).Text(),
                    "a.htm");
    StatementTrade taxed = Trade("2", "2", "b");
    taxed.Taxes = "-9.99";
    taxed.Swap = "-1.50";
    session.AppendFlag = true;
    ASSERT_EQ(test::LoadBytes(session, dir, StatementBuilder().Taxes().Closed(taxed).Text(), "b.htm"),
              LoadOutcome::Loaded);
    EXPECT_EQ(session.Report.Layout, RowLayout::Taxes);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(session.Full.Cell(kSwap, 2), " -1.50");
    EXPECT_EQ(session.Full.Cell(kProfit, 2), "      2.00");
}

struct IgnoredCase
{
    const char* name;
    std::string first;
    std::string second;
};

class IgnoredAppend : public ::testing::TestWithParam<IgnoredCase>
{
};

TEST_P(IgnoredAppend, ChangesNothingButTheMagicList)
{
    const TempDir dir;
    Session session;
    ASSERT_EQ(test::LoadBytes(session, dir, GetParam().first, "first.htm"), LoadOutcome::Loaded);
    const auto rowsBefore = AllRows(session.Full);
    const auto pairsBefore = Entries(session.Pairs);
    const ReportState stateBefore = session.Report;
    const bool displayBefore = session.DisplayEnabled;

    session.AppendFlag = true;
    EXPECT_EQ(test::LoadBytes(session, dir, GetParam().second, "second.htm"), LoadOutcome::AppendIgnored);
    EXPECT_EQ(AllRows(session.Full), rowsBefore);
    EXPECT_EQ(Entries(session.Pairs), pairsBefore);
    EXPECT_EQ(session.Report.Kind, stateBefore.Kind);
    EXPECT_EQ(session.Report.GeneratorMark, stateBefore.GeneratorMark);
    EXPECT_EQ(session.Report.InitialDeposit, stateBefore.InitialDeposit);
    EXPECT_EQ(session.Report.Title, stateBefore.Title);
    EXPECT_EQ(session.Report.Symbol, stateBefore.Symbol);
    EXPECT_EQ(session.DisplayEnabled, displayBefore);
    EXPECT_EQ(session.DisplayEnabled, stateBefore.Kind == ReportKind::Statement);
    EXPECT_EQ(session.Magic.Count(), 0) << "the magic list stays empty until the next symbol click";
    EXPECT_FALSE(session.MagicListShown);
}

std::vector<IgnoredCase> IgnoredCases()
{
    StatementTrade a = Trade("10", "1", "a");
    StatementTrade b = Trade("20", "2", "b");
    const std::string statement = StatementBuilder().Deposit("100.00").Closed(a).Closed(b).Text();
    const std::string unmarked = StatementBuilder().NoGenerator().Closed(Trade("5", "5", "e")).Text();
    const std::string tester =
        TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1"))
            .Line(test::TesterTradeRow(2, "2024.01.02 11:00", "sell", "2", "0.10", "1.1"))
            .Text();
    const std::string otherTester =
        TesterBuilder()
            .Symbol("USDJPY (US Dollar vs Yen)")
            .Line(test::TesterTradeRow(1, "2024.01.03 10:00", "buy", "7", "0.10", "150.1"))
            .Text();
    return {{"TesterOntoStatement", statement, tester},
            {"UnmarkedStatementOntoStatement", statement, unmarked},
            {"TesterOntoTester", tester, otherTester},
            {"StatementOntoTester", tester, statement}};
}

INSTANTIATE_TEST_SUITE_P(Reports, IgnoredAppend, ::testing::ValuesIn(IgnoredCases()),
                         [](const ::testing::TestParamInfo<IgnoredCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST(AppendingLoad, AFileThatCannotBeReadIsIgnored)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(session, dir, StatementBuilder().Closed(Trade("1", "1", "a")).Closed(Trade("2")).Text());
    const auto rowsBefore = AllRows(session.Full);
    session.AppendFlag = true;
    EXPECT_EQ(LoadReport(session, dir.File("missing.htm")), LoadOutcome::AppendIgnored);
    EXPECT_EQ(LoadReport(session, dir.Path().string()), LoadOutcome::AppendIgnored);
    EXPECT_EQ(AllRows(session.Full), rowsBefore);
    EXPECT_EQ(session.Report.GeneratorMark, kGeneratorMark);
    EXPECT_TRUE(session.DisplayEnabled);
}

// ---- Ordering by ticket ------------------------------------------------------------------------------

TextGrid TableWithTickets(const std::vector<std::string>& tickets)
{
    TextGrid full(kFullColumns, static_cast<int>(tickets.size()) + 1);
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        full.SetCell(kTicket, row, tickets[i]);
        full.SetCell(kProfit, row, "row " + std::to_string(row));
        full.SetCell(19, row, "last " + std::to_string(row));
    }
    return full;
}

TEST(SortByTicket, OrdersByIntegerValueAndKeepsEqualTicketsInTheirOrder)
{
    TextGrid full = TableWithTickets({"10", "2", "abc", "2", "7x", "-3", "", "9", " 4", "010"});
    full.SetCell(0, 0, "header stays");
    SortTradeTableByTicket(full);
    EXPECT_EQ(ColumnCells(full, kTicket),
              (std::vector<std::string>{"-3", "abc", "", "2", "2", " 4", "7x", "9", "10", "010"}));
    EXPECT_EQ(ColumnCells(full, kProfit),
              (std::vector<std::string>{"row 6", "row 3", "row 7", "row 2", "row 4", "row 9", "row 5",
                                        "row 8", "row 1", "row 10"}));
    EXPECT_EQ(ColumnCells(full, 19),
              (std::vector<std::string>{"last 6", "last 3", "last 7", "last 2", "last 4", "last 9", "last 5",
                                        "last 8", "last 1", "last 10"}))
        << "whole rows move";
    EXPECT_EQ(full.Cell(0, 0), "header stays");
    EXPECT_EQ(full.RowCount(), 11);
}

TEST(SortByTicket, ComparesNumbersNotTexts)
{
    TextGrid full = TableWithTickets({"100", "99", "1000", "5", "123456789012"});
    SortTradeTableByTicket(full);
    EXPECT_EQ(ColumnCells(full, kTicket),
              (std::vector<std::string>{"5", "99", "100", "1000", "123456789012"}));
}

TEST(SortByTicket, TablesOfNoneOrOneTradeStayAsTheyAre)
{
    TextGrid empty(kFullColumns, 1);
    SortTradeTableByTicket(empty);
    EXPECT_EQ(empty.RowCount(), 1);
    TextGrid one = TableWithTickets({"7"});
    SortTradeTableByTicket(one);
    EXPECT_EQ(ColumnCells(one, kTicket), std::vector<std::string>{"7"});
}

TEST(SortByTicket, AHundredThousandTradesSortQuickly)
{
    const int count = 100000;
    std::vector<std::string> tickets;
    std::mt19937 random(99);
    for (int i = 0; i < count; ++i)
        tickets.push_back(std::to_string(std::uniform_int_distribution<int>(1, 50000)(random)));
    TextGrid full = TableWithTickets(tickets);
    SortTradeTableByTicket(full);
    long long previousTicket = -1;
    int previousRow = 0;
    for (int row = 1; row <= count; ++row) {
        const long long ticket = std::stoll(std::string(full.Cell(kTicket, row)));
        const int original = std::stoi(std::string(full.Cell(kProfit, row)).substr(4));
        ASSERT_GE(ticket, previousTicket) << "row " << row;
        if (ticket == previousTicket) {
            ASSERT_GT(original, previousRow) << "equal tickets keep their order, row " << row;
        }
        ASSERT_EQ(full.Cell(19, row), "last " + std::to_string(original)) << "row " << row;
        previousTicket = ticket;
        previousRow = original;
    }
}

} // namespace
} // namespace corvane
