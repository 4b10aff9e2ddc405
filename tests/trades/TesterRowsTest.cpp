#include "LoadReport.h"
#include "ReportBuilder.h"
#include "TestReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::ColumnCells;
using test::Entries;
using test::RowCells;
using test::TempDir;
using test::TesterBuilder;
using test::TesterCloseRow;
using test::TesterTradeRow;

Session Load(const std::string& report)
{
    const TempDir dir;
    Session session;
    const LoadOutcome outcome = test::LoadBytes(session, dir, report);
    EXPECT_EQ(outcome, LoadOutcome::Loaded);
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

// The close columns 8 to 12 of every trade row.
std::vector<std::vector<std::string>> CloseColumns(const Session& session)
{
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < session.Full.RowCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = kCloseTime; column <= kProfit; ++column)
            cells.emplace_back(session.Full.Cell(column, row));
        rows.push_back(cells);
    }
    return rows;
}

const std::vector<std::string> kStillOpen = {"", "", "", "", ""};

std::vector<std::string> ClosedBy(const std::string& profit)
{
    return {"2024.01.05 12:00", "1.20000", "  0.00", "  0.00", profit};
}

TEST(TesterRows, ATradeAndItsClosingLineFillOneRow)
{
    const Session session = Load(
        TesterBuilder()
            .Line(TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000", "1.09000", "1.12000"))
            .Line(TesterCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.12000", "200.00", "10200.00"))
            .Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowCells(session.Full, 1), (std::vector<std::string>{"1",
                                                                   "2024.01.02 10:00",
                                                                   "buy",
                                                                   "0.10",
                                                                   "eurusd",
                                                                   "1.10000",
                                                                   "1.09000",
                                                                   "1.12000",
                                                                   "2024.01.02 12:00",
                                                                   "1.12000",
                                                                   "  0.00",
                                                                   "  0.00",
                                                                   "    200.00",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   ""}));
}

TEST(TesterRows, AnOrderNeverClosedKeepsEmptyCloseColumns)
{
    const Session session = Load(TesterBuilder().Line(Open(1, "1", "sell")).Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(CloseColumns(session), std::vector<std::vector<std::string>>{kStillOpen});
    EXPECT_EQ(session.Full.Cell(kType, 1), "sell");
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
                                     .Line(Close(7, "1", "-20.50", "s/l"))
                                     .Text());
    ASSERT_EQ(session.Full.RowCount(), 6);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(CloseColumns(session),
              (std::vector<std::vector<std::string>>{ClosedBy("    -20.50"), kStillOpen,
                                                     ClosedBy("     90.00"), kStillOpen, kStillOpen}));
}

TEST(TesterRows, TheFirstRowOfAnOrderTakesItsCloseData)
{
    const Session session =
        Load(TesterBuilder().Line(Open(1, "7")).Line(Open(2, "7")).Line(Close(3, "7", "1.00")).Text());
    EXPECT_EQ(CloseColumns(session),
              (std::vector<std::vector<std::string>>{ClosedBy("      1.00"), kStillOpen}));
}

class ClosingLineKinds : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ClosingLineKinds, CloseTheOrder)
{
    const Session session =
        Load(TesterBuilder().Line(Open(1, "1")).Line(Close(2, "1", "12.34", GetParam())).Text());
    ASSERT_EQ(session.Full.RowCount(), 2) << "a closing line is not a trade of its own";
    EXPECT_EQ(CloseColumns(session), std::vector<std::vector<std::string>>{ClosedBy("     12.34")});
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
                 .Line(TesterCloseRow(4, "2024.01.03 12:00", "expiration", "3", "0.10", "1.1", "0"))
                 .Line(Open(5, "4", "buy limit"))
                 .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1"})) << "a limit order waits";
    EXPECT_EQ(CloseColumns(session), (std::vector<std::vector<std::string>>{kStillOpen}));
}

TEST(TesterRows, ACloseTimeThatDoesNotStartWithADigitLeavesTheCloseTimeEmpty)
{
    for (const char* time : {" 2024.01.05 12:00", "&nbsp;", "", "x2024"}) {
        const Session session =
            Load(TesterBuilder()
                     .Line(Open(1, "1"))
                     .Line(TesterCloseRow(2, time, "close", "1", "0.10", "1.20000", "5.00"))
                     .Text());
        EXPECT_EQ(session.Full.Cell(kCloseTime, 1), "") << "time field '" << time << "'";
        EXPECT_EQ(session.Full.Cell(kProfit, 1), "      5.00") << "time field '" << time << "'";
    }
}

TEST(TesterRows, CloseDataOfAnUnknownOrderLandInNoRow)
{
    const Session session = Load(
        TesterBuilder().Line(Open(1, "1")).Line(Close(2, "99", "50.00")).Line(Open(3, "2", "sell")).Text());
    ASSERT_EQ(session.Full.RowCount(), 3);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(CloseColumns(session), (std::vector<std::vector<std::string>>{kStillOpen, kStillOpen}));
}

TEST(TesterRows, CloseDataOfAnUnknownOrderAfterTheLastTradeAreDropped)
{
    Session session = Load(TesterBuilder().Line(Open(1, "1")).Line(Close(2, "99", "50.00")).Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(CloseColumns(session), std::vector<std::vector<std::string>>{kStillOpen});
    session.Full.SetRowCount(3);
    EXPECT_EQ(RowCells(session.Full, 2), std::vector<std::string>(kFullColumns))
        << "the spare row was removed";
}

TEST(TesterRows, ALineThatClosesAndTradesFillsOneRow)
{
    // The line closes order 5 before any row holds it, so only its trade columns are written.
    const Session session =
        Load(TesterBuilder()
                 .Line(TesterCloseRow(1, "2024.01.03 10:00", "buy close", "5", "0.10", "1.20000", "30.00"))
                 .Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowCells(session.Full, 1), (std::vector<std::string>{"5",
                                                                   "2024.01.03 10:00",
                                                                   "buy close",
                                                                   "0.10",
                                                                   "eurusd",
                                                                   "1.20000",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   "",
                                                                   ""}));
}

TEST(TesterRows, AProfitFieldWithoutANumberIsZero)
{
    const Session session = Load(TesterBuilder()
                                     .Line(Open(1, "1"))
                                     .Line(Close(2, "1", "n/a"))
                                     .Line(Open(3, "2"))
                                     .Line(Close(4, "2", ""))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (std::vector<std::string>{"      0.00", "      0.00"}));
}

TEST(TesterRows, ASymbolInCapitalsIsStoredInLowerCase)
{
    const Session session = Load(TesterBuilder()
                                     .Symbol("GBPUSD (Great Britain Pound vs US Dollar)")
                                     .Line(Open(1, "1"))
                                     .Line(Open(2, "2", "sell"))
                                     .Text());
    EXPECT_EQ(session.Report.Symbol, "gbpusd");
    EXPECT_EQ(ColumnCells(session.Full, kItem), (std::vector<std::string>{"gbpusd", "gbpusd"}));
    EXPECT_EQ(Entries(session.Pairs), std::vector<std::string>{"gbpusd"});
    EXPECT_EQ(session.Magic.Count(), 0) << "tester reports carry no magic numbers";
    EXPECT_EQ(ColumnCells(session.Full, kMagic), (std::vector<std::string>{"", ""}));
}

TEST(TesterRows, AProcessRowTakesTheSideOfItsStopOrder)
{
    const Session session = Load(TesterBuilder()
                                     .Line(test::PendingOrderLine("sell stop", "77"))
                                     .Line(test::PendingOrderLine("buy stop", "78"))
                                     .Line(Open(3, "77", "process"))
                                     .Line(Open(4, "78", "process"))
                                     .Line(Open(5, "79", "process"))
                                     .Line(Close(6, "77", "15.00"))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"77", "78", "79"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (std::vector<std::string>{"sell", "buy", ""}));
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "     15.00");
}

} // namespace
} // namespace corvane
