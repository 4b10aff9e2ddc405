#include "TestReports.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::RowText;
using test::TesterBuilder;
using test::TesterCloseRow;
using test::TesterTradeRow;

Session Load(const TesterBuilder& report)
{
    Session session = test::Load(report.Text());
    EXPECT_EQ(session.Report.Kind, ReportKind::Tester);
    return session;
}

std::string Open(int number, const std::string& order, const std::string& type = "buy")
{
    return TesterTradeRow(number, "2024.01.02 10:0" + std::to_string(number % 10), type, order, "0.10",
                          "1.10000");
}

std::string Close(int number, const std::string& order, const std::string& profit,
                  const std::string& type = "close")
{
    return TesterCloseRow(number, "2024.01.05 12:00", type, order, "0.10", "1.20000", profit);
}

// The close columns 8 to 12 of every trade row, joined by tabs.
Cells CloseColumns(const Session& session)
{
    Cells rows;
    for (int row = 1; row < session.Full.RowCount(); ++row) {
        std::string cells;
        for (int column = kCloseTime; column <= kProfit; ++column)
            cells.append(column > kCloseTime ? "\t" : "").append(session.Full.Cell(column, row));
        rows.push_back(cells);
    }
    return rows;
}

const std::string kStillOpen = "\t\t\t\t";

std::string ClosedBy(const std::string& profit)
{
    return "2024.01.05 12:00\t1.20000\t  0.00\t  0.00\t" + profit;
}

TEST(TesterRows, ATradeAndItsClosingLineFillOneRow)
{
    const Session session = Load(
        TesterBuilder()
            .Line(TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000", "1.09000", "1.12000"))
            .Line(
                TesterCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.12000", "200.00", "10200.00")));
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(session.Full, 1),
              "1\t2024.01.02 10:00\tbuy\t0.10\teurusd\t1.10000\t1.09000\t1.12000\t"
              "2024.01.02 12:00\t1.12000\t  0.00\t  0.00\t    200.00\t\t\t\t\t\t\t");
}

TEST(TesterRows, AClosingLineFillsTheRowOfItsOrderAfterLaterRows)
{
    const Session session = Load(TesterBuilder()
                                     .Line(Open(1, "1"))
                                     .Line(Open(2, "2", "sell"))
                                     .Line(Open(3, "3"))
                                     .Line(Open(4, "4", "sell"))
                                     .Line(Close(5, "3", "90.00"))
                                     .Line(Open(6, "5"))
                                     .Line(Close(7, "1", "-20.50", "s/l")));
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"buy", "sell", "buy", "sell", "buy"}));
    EXPECT_EQ(CloseColumns(session),
              (Cells{ClosedBy("    -20.50"), kStillOpen, ClosedBy("     90.00"), kStillOpen, kStillOpen}));
}

TEST(TesterRows, TheFirstRowOfAnOrderTakesItsCloseData)
{
    const Session session =
        Load(TesterBuilder().Line(Open(1, "7")).Line(Open(2, "7")).Line(Close(3, "7", "1.00")));
    EXPECT_EQ(CloseColumns(session), (Cells{ClosedBy("      1.00"), kStillOpen}));
}

TEST(TesterRows, OrderNumbersMatchAsTextNotAsValues)
{
    const Session session = Load(TesterBuilder()
                                     .Line(Open(1, "7"))
                                     .Line(Open(2, "07", "sell"))
                                     .Line(Open(3, "A7"))
                                     .Line(Close(4, "07", "-1.00"))
                                     .Line(Close(5, "A7", "2.00"))
                                     .Line(Close(6, "7", "3.00")));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"      3.00", "     -1.00", "      2.00"}));
}

class ClosingLineKinds : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ClosingLineKinds, CloseTheOrder)
{
    const Session session = Load(TesterBuilder().Line(Open(1, "1")).Line(Close(2, "1", "12.34", GetParam())));
    ASSERT_EQ(session.Full.RowCount(), 2) << "a closing line is not a trade of its own";
    EXPECT_EQ(CloseColumns(session), Cells{ClosedBy("     12.34")});
}

INSTANTIATE_TEST_SUITE_P(Types, ClosingLineKinds,
                         ::testing::Values("s/l", "t/p", "close", "close at stop", "swap close"));

TEST(TesterRows, OtherOrderEventsAreNoTrades)
{
    const Session session =
        Load(TesterBuilder()
                 .Line(Open(1, "1"))
                 .Line(TesterCloseRow(2, "2024.01.03 10:00", "modify", "1", "0.10", "1.1", "0"))
                 .Line(TesterCloseRow(3, "2024.01.03 11:00", "delete", "2", "0.10", "1.1", "0"))
                 .Line(Close(4, "3", "0", "expiration"))
                 .Line(Open(5, "4", "buy limit")));
    EXPECT_EQ(ColumnCells(session.Full, kTicket), Cells{"1"}) << "a limit order waits";
    EXPECT_EQ(CloseColumns(session), Cells{kStillOpen});
}

TEST(TesterRows, ACloseTimeThatDoesNotStartWithADigitLeavesTheCloseTimeEmpty)
{
    for (const char* time : {" 2024.01.05 12:00", "&nbsp;", "", "x2024"}) {
        const Session session =
            Load(TesterBuilder()
                     .Line(Open(1, "1"))
                     .Line(TesterCloseRow(2, time, "close", "1", "0.10", "1.20000", "5.00")));
        EXPECT_EQ(CloseColumns(session), Cells{"\t1.20000\t  0.00\t  0.00\t      5.00"})
            << "'" << time << "'";
    }
}

TEST(TesterRows, CloseDataOfAnOrderNeverOpenedLandInNoRow)
{
    const std::string unknown = TesterCloseRow(1, "2024.01.02 09:00", "s/l", "99", "0.10", "1.09", "-10.00");
    for (const int place : {0, 1, 2}) {
        TesterBuilder report;
        for (int line = 0; line < 3; ++line)
            report.Line(line == place ? unknown : Open(line + 1, std::to_string(line + 1)));
        Session session = Load(report);
        SCOPED_TRACE("closing line " + std::to_string(place));
        EXPECT_EQ(CloseColumns(session), Cells(2, kStillOpen));
        session.Full.SetRowCount(session.Full.RowCount() + 1);
        EXPECT_EQ(RowText(session.Full, session.Full.RowCount() - 1), std::string(kFullColumns - 1, '\t'))
            << "no spare row is left with the close data";
    }
}

TEST(TesterRows, ALineThatClosesAndTradesFillsOneRow)
{
    // The line closes order 5 before any row holds it, so only its trade columns are written.
    const Session session = Load(TesterBuilder().Line(Close(1, "5", "30.00", "buy close")));
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(session.Full, 1),
              "5\t2024.01.05 12:00\tbuy close\t0.10\teurusd\t1.20000" + std::string(kFullColumns - 6, '\t'));
}

TEST(TesterRows, AProfitFieldWithoutANumberIsZero)
{
    const Session session = Load(TesterBuilder()
                                     .Line(Open(1, "1"))
                                     .Line(Close(2, "1", "n/a"))
                                     .Line(Open(3, "2"))
                                     .Line(Close(4, "2", "")));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"      0.00", "      0.00"}));
}

TEST(TesterRows, ASymbolInCapitalsIsStoredInLowerCase)
{
    const Session session = Load(TesterBuilder()
                                     .Symbol("GBPUSD (Great Britain Pound vs US Dollar)")
                                     .Line(Open(1, "1"))
                                     .Line(Open(2, "2", "sell")));
    EXPECT_EQ(session.Report.Symbol, "gbpusd");
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"gbpusd", "gbpusd"}));
    EXPECT_EQ(test::Entries(session.Pairs), Cells{"gbpusd"});
    EXPECT_EQ(session.Magic.Count(), 0) << "tester reports carry no magic numbers";
    EXPECT_EQ(ColumnCells(session.Full, kMagic), (Cells{"", ""}));
}

TEST(TesterRows, AProcessRowTakesTheSideOfItsStopOrder)
{
    const Session session = Load(TesterBuilder()
                                     .Line(test::PendingOrderLine("sell stop", "77"))
                                     .Line(test::PendingOrderLine("buy stop", "78"))
                                     .Line(Open(3, "77", "process"))
                                     .Line(Open(4, "78", "process"))
                                     .Line(Open(5, "79", "process"))
                                     .Line(Close(6, "77", "15.00")));
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"77", "78", "79"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "buy", ""}));
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "     15.00");
}

} // namespace
} // namespace corvane
