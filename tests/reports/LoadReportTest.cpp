#include "TestReports.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

using test::AllRows;
using test::Cells;
using test::ColumnCells;
using test::Entries;
using test::LoadBytes;
using test::RowText;
using test::Statement;
using test::StatementBuilder;
using test::StatementTrade;
using test::TempDir;
using test::TesterBuilder;

StatementTrade Trade(const std::string& ticket, const std::string& magic = "", const std::string& comment = "")
{
    return {.Ticket = ticket, .Profit = ticket + ".00", .Magic = magic, .Comment = comment};
}

// Leaves some text in the visible table and the alternate view, as a filter pass would have.
void FillViews(Session& session)
{
    session.Grid.SetRowCount(4);
    session.Grid.SetCell(0, 1, "old");
    session.Grid.SetCell(14, 3, "old balance *");
    session.XGrid.SetRowCount(4);
    session.XGrid.SetCell(kXComment, 1, "old comment");
}

void ExpectEmptyTable(const TextGrid& grid, const char* name)
{
    EXPECT_EQ(grid.RowCount(), 2) << name;
    EXPECT_EQ(RowText(grid, 1), std::string(static_cast<std::size_t>(grid.ColumnCount()) - 1, '\t')) << name;
}

const std::string kBlankRow(kFullColumns - 1, '\t');

// ---- A fresh load ------------------------------------------------------------------------------------

TEST(FreshLoad, TheTableHoldsOneRowPerTradeAfterAnEmptyHeaderRow)
{
    const TempDir dir;
    Session session;
    FillViews(session);
    const std::string path =
        dir.Write("three.htm", Statement({Trade("11", "1", "a"), Trade("12"), Trade("13", "3", "c")}, "1 000.00"));
    ASSERT_EQ(LoadReport(session, path, LoadMode::Replace), LoadOutcome::Loaded);
    EXPECT_EQ(session.ReportPath, path);
    ASSERT_EQ(session.Full.RowCount(), 4);
    EXPECT_EQ(RowText(session.Full, 0), kBlankRow);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"11", "12", "13"}));
    for (const int column : {13, 14, 15, 18, 19})
        EXPECT_EQ(ColumnCells(session.Full, column), Cells(3)) << "column " << column;
    ExpectEmptyTable(session.Grid, "visible table");
    ExpectEmptyTable(session.XGrid, "alternate view");
    EXPECT_EQ(session.Report.InitialDeposit, 1000.0);

    ASSERT_EQ(LoadBytes(session, Statement({}, "100.00")), LoadOutcome::Loaded);
    EXPECT_EQ(session.Full.RowCount(), 1) << "a report without trades leaves the header row only";
    EXPECT_TRUE(NothingLoaded(session));
}

TEST(FreshLoad, RowsOfAnEarlierLargerLoadDoNotComeBack)
{
    Session session;
    LoadBytes(session, Statement({Trade("1", "1", "a"), Trade("2"), Trade("3")}));
    ASSERT_EQ(session.Full.RowCount(), 4);
    LoadBytes(session, Statement({{.Ticket = "9", .Bare = true}}));
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(session.Full.Cell(kMagic, 1), std::string(12, ' '));
    EXPECT_EQ(session.Full.Cell(kComment, 1), "");
    session.Full.SetRowCount(4);
    EXPECT_EQ(RowText(session.Full, 2), kBlankRow);
    EXPECT_EQ(RowText(session.Full, 3), kBlankRow);
}

TEST(FreshLoad, TheCallbackRunsOnceAfterEveryTradeLine)
{
    Session session;
    const std::string report = StatementBuilder()
                                   .Deposit("100.00")
                                   .Closed(Trade("1"))
                                   .Line(test::PendingOrderLine("buy stop", "5"))
                                   .Closed({.Ticket = "8", .Title = "cancelled"})
                                   .Closed(Trade("2"))
                                   .OpenTrades()
                                   .Open(Trade("3"))
                                   .WorkingOrders()
                                   .Closed(Trade("4"))
                                   .Text();
    int calls = 0;
    LoadBytes(session, report, LoadMode::Replace, [&calls] { ++calls; });
    EXPECT_EQ(calls, 3) << "closed and open trades; pending, cancelled and working orders are no trade lines";

    calls = 0;
    const std::string tester = TesterBuilder()
                                   .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1"))
                                   .Line(test::TesterCloseRow(2, "2024.01.02 11:00", "t/p", "1", "0.10", "1.2", "5"))
                                   .Line(test::TesterTradeRow(3, "2024.01.02 12:00", "sell", "2", "0.10", "1.1"))
                                   .Line(test::TesterCloseRow(4, "2024.01.02 13:00", "s/l", "2", "0.10", "1.2", "-5"))
                                   .Text();
    LoadBytes(session, tester, LoadMode::Replace, [&calls] { ++calls; });
    EXPECT_EQ(calls, 2) << "closing lines are no trade lines";
}

// ---- Refused files -----------------------------------------------------------------------------------

// What a load that does not succeed must leave alone: every table, list and report field.
struct Snapshot
{
    std::vector<std::string> full, grid, xgrid;
    Cells pairs, magic;
    std::vector<bool> pairsSelected;
    std::string title, path;
    double deposit;
    ReportKind kind;

    explicit Snapshot(const Session& session)
        : full(AllRows(session.Full))
        , grid(AllRows(session.Grid))
        , xgrid(AllRows(session.XGrid))
        , pairs(Entries(session.Pairs))
        , magic(Entries(session.Magic))
        , pairsSelected(test::SelectedFlags(session.Pairs))
        , title(session.Report.Title)
        , path(session.ReportPath)
        , deposit(session.Report.InitialDeposit)
        , kind(session.Report.Kind)
    {
    }

    bool operator==(const Snapshot&) const = default;
};

TEST(RefusedFile, ShowsOnlyTheRefusalLineAndKeepsWhatWasLoaded)
{
    const TempDir dir;
    Cells fourLines = test::HeadLines("    <title>Statement: 1</title>");
    fourLines.pop_back();
    const std::pair<const char*, std::string> files[] = {
        {"statement without the generator tag", dir.Write("a.htm", StatementBuilder().NoGenerator().Text())},
        {"tester report without the generator tag", dir.Write("b.htm", TesterBuilder().NoGenerator().Text())},
        {"our own HTML export",
         dir.Write("c.htm", test::JoinCrLf(test::HeadLines("    <title>Statement: 1 - Test</title>",
                                                           "    <meta name=\"generator\" content=\"Corvane4\">")))},
        {"missing file", dir.File("missing.htm")},
        {"folder", dir.Path().string()},
        {"empty file", dir.Write("d.htm", "")},
        {"four lines", dir.Write("e.htm", test::JoinCrLf(fourLines))}};
    for (const auto& [name, path] : files) {
        SCOPED_TRACE(name);
        Session empty;
        EXPECT_EQ(LoadReport(empty, path, LoadMode::Replace), LoadOutcome::Refused);
        EXPECT_EQ(empty.Memo, Cells{"Please use forward reports, generated by MetaTrader 4.177+"});
        ExpectEmptyTable(empty.Full, "trade table");
        ExpectEmptyTable(empty.Grid, "visible table");
        EXPECT_EQ(empty.Pairs.Count(), 0);
        EXPECT_TRUE(NothingLoaded(empty));

        Session session;
        const std::string good = dir.Write("good.htm", Statement({Trade("1", "5", "a"), Trade("2", "6", "b")}));
        ASSERT_EQ(LoadReport(session, good, LoadMode::Replace), LoadOutcome::Loaded);
        FillViews(session);
        session.Pairs.SetSelected(0, false);
        session.Memo = {"Net profit: 3.00", "Trades: 2"};
        const Snapshot before(session);

        EXPECT_EQ(LoadReport(session, path, LoadMode::Replace), LoadOutcome::Refused);
        EXPECT_EQ(session.Memo, Cells{"Please use forward reports, generated by MetaTrader 4.177+"});
        EXPECT_TRUE(Snapshot(session) == before) << "the trades already loaded stay, and so does their path";
        EXPECT_EQ(session.ReportPath, good);
    }
}

TEST(FailedLoad, AFailureHalfWayKeepsTheTradesAlreadyLoaded)
{
    const std::string second = Statement({Trade("7", "7", "g"), Trade("8", "8", "h"), Trade("9", "9", "i")});
    for (const bool append : {false, true}) {
        SCOPED_TRACE(append ? "appending" : "fresh");
        Session session;
        ASSERT_EQ(LoadBytes(session, Statement({Trade("1", "5", "a"), Trade("2", "6", "b")})), LoadOutcome::Loaded);
        FillViews(session);
        const Snapshot before(session);
        int lines = 0;
        const LoadMode mode = append ? LoadMode::Append : LoadMode::Replace;
        EXPECT_THROW(LoadBytes(session, second, mode,
                               [&lines] {
                                   if (++lines == 2)
                                       throw std::bad_alloc();
                               }),
                     std::bad_alloc);
        EXPECT_TRUE(Snapshot(session) == before);

        ASSERT_EQ(LoadBytes(session, second, mode), LoadOutcome::Loaded) << "the next load works as ever";
        EXPECT_EQ(session.Full.RowCount(), append ? 6 : 4);
    }
}

// ---- Appending loads ---------------------------------------------------------------------------------

TEST(AppendingLoad, TradesOfBothStatementsEndUpInTicketOrder)
{
    Session session;
    StatementTrade one = Trade("1", "11", "one");
    one.Symbol = "gbpusd";
    ASSERT_EQ(LoadBytes(session, Statement({Trade("4", "44", "four"), one}, "1 000.00", "Statement: first")),
              LoadOutcome::Loaded);
    session.Pairs.SetSelected(0, false);

    StatementTrade five = Trade("5", "55", "five");
    five.Symbol = "USDJPY";
    StatementTrade two = Trade("2");
    two.Bare = true;
    two.Symbol = "GBPUSD";
    ASSERT_EQ(LoadBytes(session, Statement({five, two}, "5 000.00", "Statement: second"), LoadMode::Append),
              LoadOutcome::Loaded);

    ASSERT_EQ(session.Full.RowCount(), 5) << "an appending load leaves no spare row";
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2", "4", "5"}));
    EXPECT_EQ(ColumnCells(session.Full, kMagic),
              (Cells{"          11", std::string(12, ' '), "          44", "          55"}));
    EXPECT_EQ(ColumnCells(session.Full, kComment), (Cells{"one", "", "four", "five"}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"      1.00", "      2.00", "      4.00", "      5.00"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"gbpusd", "GBPUSD", "eurusd", "USDJPY"}));
    EXPECT_EQ(Entries(session.Pairs), (Cells{"eurusd", "gbpusd", "USDJPY"}));
    EXPECT_EQ(Entries(session.Magic), (Cells{"      55", "           0"}))
        << "the magic list starts empty on every load";
    EXPECT_EQ(test::SelectedFlags(session.Pairs), std::vector<bool>(3, true));
    EXPECT_EQ(test::SelectedFlags(session.Magic), std::vector<bool>(2, true));
    EXPECT_EQ(session.Report.InitialDeposit, 1000.0) << "the deposit of the first statement stays";
    EXPECT_EQ(session.Report.Title, "Statement: first") << "the title of the first statement stays";
}

TEST(AppendingLoad, TheAppendedStatementIsReadInItsOwnLayout)
{
    Session session;
    LoadBytes(session, Statement({Trade("1", "1", "a"), Trade("3")}));
    StatementTrade taxed = Trade("2", "2", "b");
    taxed.Taxes = "-9.99";
    taxed.Swap = "-1.50";
    ASSERT_EQ(LoadBytes(session, StatementBuilder().Taxes().Closed(taxed).Text(), LoadMode::Append),
              LoadOutcome::Loaded);
    EXPECT_EQ(session.Report.Layout, RowLayout::Taxes);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2", "3"}));
    EXPECT_EQ(session.Full.Cell(kSwap, 2), " -1.50");
    EXPECT_EQ(session.Full.Cell(kProfit, 2), "      2.00");
}

TEST(AppendingLoad, AnotherKindOfReportChangesNothingButTheMagicList)
{
    const std::string statement = Statement({Trade("10", "1", "a"), Trade("20", "2", "b")}, "100.00");
    const std::string unmarked = StatementBuilder().NoGenerator().Closed(Trade("5", "5", "e")).Text();
    const std::string tester = TesterBuilder()
                                   .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1"))
                                   .Line(test::TesterTradeRow(2, "2024.01.02 11:00", "sell", "2", "0.10", "1.1"))
                                   .Text();
    const std::string otherTester = TesterBuilder()
                                        .Symbol("USDJPY (US Dollar vs Yen)")
                                        .Line(test::TesterTradeRow(1, "2024.01.03 10:00", "buy", "7", "0.10", "150.1"))
                                        .Text();
    const std::string* const cases[][2] = {
        {&statement, &tester}, {&statement, &unmarked}, {&tester, &otherTester}, {&tester, &statement}};
    for (const auto& [first, second] : cases) {
        SCOPED_TRACE(*first == statement ? "onto a statement" : "onto a tester report");
        Session session;
        ASSERT_EQ(LoadBytes(session, *first), LoadOutcome::Loaded);
        const auto rowsBefore = AllRows(session.Full);
        const auto pairsBefore = Entries(session.Pairs);
        const ReportState before = session.Report;

        EXPECT_EQ(LoadBytes(session, *second, LoadMode::Append), LoadOutcome::AppendIgnored);
        EXPECT_EQ(AllRows(session.Full), rowsBefore);
        EXPECT_EQ(Entries(session.Pairs), pairsBefore);
        EXPECT_EQ(session.Report.Kind, before.Kind);
        EXPECT_EQ(session.Report.Writer, before.Writer);
        EXPECT_EQ(session.Report.InitialDeposit, before.InitialDeposit);
        EXPECT_EQ(session.Report.Title, before.Title);
        EXPECT_EQ(session.Report.Symbol, before.Symbol);
        EXPECT_EQ(session.Magic.Count(), 0) << "the magic list stays empty until the next symbol click";
    }
}

TEST(AppendingLoad, AFileThatCannotBeReadIsIgnored)
{
    const TempDir dir;
    Session session;
    LoadBytes(session, Statement({Trade("1", "1", "a"), Trade("2")}));
    const auto rowsBefore = AllRows(session.Full);
    EXPECT_EQ(LoadReport(session, dir.File("missing.htm"), LoadMode::Append), LoadOutcome::AppendIgnored);
    EXPECT_EQ(LoadReport(session, dir.Path().string(), LoadMode::Append), LoadOutcome::AppendIgnored);
    EXPECT_EQ(AllRows(session.Full), rowsBefore);
    EXPECT_EQ(session.Report.Writer, Terminal::Mt4);
    EXPECT_EQ(session.Report.Kind, ReportKind::Statement);
}

// ---- Ordering by ticket ------------------------------------------------------------------------------

// A table whose rows carry `tickets`, with the original row number in the P/L and the last column.
TextGrid TableWithTickets(const Cells& tickets)
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
    TextGrid full = TableWithTickets({"10", "2", "abc", "2", "7x", "-3", "", "9", " 4", "010", "123456789012"});
    full.SetCell(0, 0, "header stays");
    SortTradeTableByTicket(full);
    EXPECT_EQ(ColumnCells(full, kTicket),
              (Cells{"-3", "abc", "", "2", "2", " 4", "7x", "9", "10", "010", "123456789012"}));
    const Cells order = {"6", "3", "7", "2", "4", "9", "5", "8", "1", "10", "11"};
    for (int row = 1; row <= 11; ++row) {
        EXPECT_EQ(full.Cell(kProfit, row), "row " + order[row - 1]) << "row " << row;
        EXPECT_EQ(full.Cell(19, row), "last " + order[row - 1]) << "whole rows move, row " << row;
    }
    EXPECT_EQ(full.Cell(0, 0), "header stays");
    EXPECT_EQ(full.RowCount(), 12);

    TextGrid empty(kFullColumns, 1);
    SortTradeTableByTicket(empty);
    EXPECT_EQ(empty.RowCount(), 1);
}

TEST(SortByTicket, AHundredThousandTradesSortQuickly)
{
    const int count = 100000;
    Cells tickets;
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
            ASSERT_GT(original, previousRow) << "equal tickets keep their order";
        }
        ASSERT_EQ(full.Cell(19, row), "last " + std::to_string(original)) << "row " << row;
        previousTicket = ticket;
        previousRow = original;
    }
}

} // namespace
} // namespace corvane
