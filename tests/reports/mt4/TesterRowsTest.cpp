// Tester reports in the older plain cells and in the money cells of the terminal's builds of 2014 on.
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

// A tester report with the given rows after the head of `builder`, loaded.
Session Load(const Cells& rows, TesterBuilder builder = {})
{
    for (const std::string& row : rows)
        builder.Line(row);
    Session session = test::Load(builder.Text());
    EXPECT_EQ(session.Report.Kind, ReportKind::Tester);
    return session;
}

std::string Open(int number, const std::string& order, const std::string& type = "buy")
{
    return TesterTradeRow(number, "2024.01.02 10:0" + std::to_string(number % 10), type, order, "0.10", "1.10000");
}

std::string Close(int number, const std::string& order, const std::string& profit, const std::string& type = "close")
{
    return TesterCloseRow(number, "2024.01.05 12:00", type, order, "0.10", "1.20000", profit);
}

// Rows as builds 600 on write them, with size, prices and money in cells with attributes.
std::string MoneyOpen(int number, const std::string& time, const std::string& type, const std::string& order,
                      const std::string& price, const std::string& stopLoss = "0.0000",
                      const std::string& takeProfit = "0.0000")
{
    return TesterTradeRow(number, time, type, order, "0.10", price, stopLoss, takeProfit, true);
}

std::string MoneyClose(int number, const std::string& time, const std::string& type, const std::string& order,
                       const std::string& price, const std::string& profit)
{
    return TesterCloseRow(number, time, type, order, "0.10", price, profit, "10000.00", true);
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
const std::string kNoMore(kFullColumns - 13, '\t'); // the empty cells after the P/L of a tester row

std::string ClosedBy(const std::string& profit)
{
    return "2024.01.05 12:00\t1.20000\t  0.00\t  0.00\t" + profit;
}

TEST(TesterRows, ATradeAndItsClosingLineFillOneRowInPlainAndInMoneyCells)
{
    const std::string row = "1\t2024.01.02 10:00\tbuy\t0.10\teurusd\t1.1000\t1.0900\t1.1050\t2024.01.02 12:00\t"
                            "1.1050\t  0.00\t  0.00\t     50.00"
                            + kNoMore;
    Session session = Load({TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000", "1.0900", "1.1050"),
                            TesterCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.1050", "50.00")});
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(session.Full, 1), row);
    session = Load({MoneyOpen(1, "2024.01.02 10:00", "buy", "1", "1.1000", "1.0900", "1.1050"),
                    MoneyClose(2, "2024.01.02 12:00", "t/p", "1", "1.1050", "50.00")},
                   TesterBuilder().VersionHead().TerminalHead());
    EXPECT_EQ(RowText(session.Full, 1), row);
}

TEST(TesterRows, AClosingLineFillsTheRowOfItsOrderAfterLaterRows)
{
    const Session session = Load({Open(1, "1"), Open(2, "2", "sell"), Open(3, "3"), Open(4, "4", "sell"),
                                  Close(5, "3", "90.00"), Open(6, "5"), Close(7, "1", "-20.50", "s/l")});
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"buy", "sell", "buy", "sell", "buy"}));
    EXPECT_EQ(CloseColumns(session),
              (Cells{ClosedBy("    -20.50"), kStillOpen, ClosedBy("     90.00"), kStillOpen, kStillOpen}));
    const Session same = Load({Open(1, "7"), Open(2, "7"), Close(3, "7", "1.00")});
    EXPECT_EQ(CloseColumns(same), (Cells{ClosedBy("      1.00"), kStillOpen})) << "the first row of an order";
}

TEST(TesterRows, OrderNumbersMatchAsTextNotAsValues)
{
    const Session session = Load({Open(1, "7"), Open(2, "07", "sell"), Open(3, "A7"), Close(4, "07", "-1.00"),
                                  Close(5, "A7", "2.00"), Close(6, "7", "3.00")});
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"      3.00", "     -1.00", "      2.00"}));
}

TEST(TesterRows, ClosingLinesOfEachKindCloseAndOtherEventsAreNoTrades)
{
    for (const char* type : {"s/l", "t/p", "close", "close at stop", "swap close"}) {
        const Session session = Load({Open(1, "1"), Close(2, "1", "12.34", type)});
        EXPECT_EQ(CloseColumns(session), Cells{ClosedBy("     12.34")}) << type;
    }
    const Session session = Load({Open(1, "1"), Close(2, "1", "0", "modify"), Close(3, "2", "0", "delete"),
                                  Close(4, "3", "0", "expiration"), Open(5, "4", "buy limit")});
    EXPECT_EQ(ColumnCells(session.Full, kTicket), Cells{"1"}) << "a limit order waits";
    EXPECT_EQ(CloseColumns(session), Cells{kStillOpen});
}

TEST(TesterRows, ACloseTimeThatDoesNotStartWithADigitLeavesTheCloseTimeEmpty)
{
    for (const char* time : {" 2024.01.05 12:00", "&nbsp;", "", "x2024"}) {
        const Session session = Load({Open(1, "1"), TesterCloseRow(2, time, "close", "1", "0.10", "1.20000", "5.00")});
        EXPECT_EQ(CloseColumns(session), Cells{"\t1.20000\t  0.00\t  0.00\t      5.00"}) << "'" << time << "'";
    }
}

TEST(TesterRows, CloseDataOfAnOrderNeverOpenedLandInNoRow)
{
    const std::string unknown = TesterCloseRow(1, "2024.01.02 09:00", "s/l", "99", "0.10", "1.09", "-10.00");
    for (const int place : {0, 1, 2}) {
        Cells rows;
        for (int line = 0; line < 3; ++line)
            rows.push_back(line == place ? unknown : Open(line + 1, std::to_string(line + 1)));
        Session session = Load(rows);
        SCOPED_TRACE("closing line " + std::to_string(place));
        EXPECT_EQ(CloseColumns(session), Cells(2, kStillOpen));
        session.Full.SetRowCount(session.Full.RowCount() + 1);
        EXPECT_EQ(RowText(session.Full, session.Full.RowCount() - 1), std::string(kFullColumns - 1, '\t'))
            << "no spare row is left with the close data";
    }
    // The line closes order 5 before any row holds it, so only its trade columns are written.
    const Session both = Load({Close(1, "5", "30.00", "buy close")});
    EXPECT_EQ(RowText(both.Full, 1),
              "5\t2024.01.05 12:00\tbuy close\t0.10\teurusd\t1.20000" + std::string(kFullColumns - 6, '\t'));
}

TEST(TesterRows, AProfitFieldWithoutANumberIsZero)
{
    const Session session = Load({Open(1, "1"), Close(2, "1", "n/a"), Open(3, "2"), Close(4, "2", "")});
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"      0.00", "      0.00"}));
}

TEST(TesterRows, ASymbolInCapitalsIsStoredInLowerCase)
{
    const Session session =
        Load({Open(1, "1"), Open(2, "2", "sell")}, TesterBuilder().Symbol("GBPUSD (Great Britain Pound vs US Dollar)"));
    EXPECT_EQ(session.Report.Symbol, "gbpusd");
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"gbpusd", "gbpusd"}));
    EXPECT_EQ(test::Entries(session.Pairs), Cells{"gbpusd"});
    EXPECT_EQ(session.Magic.Count(), 0) << "tester reports carry no magic numbers";
    EXPECT_EQ(ColumnCells(session.Full, kMagic), (Cells{"", ""}));
}

TEST(TesterRows, AProcessRowTakesTheSideOfItsStopOrder)
{
    const Session session =
        Load({test::PendingOrderLine("sell stop", "77"), test::PendingOrderLine("buy stop", "78"),
              Open(3, "77", "process"), Open(4, "78", "process"), Open(5, "79", "process"), Close(6, "77", "15.00")});
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"77", "78", "79"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "buy", ""}));
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "     15.00");
}

TEST(TesterRows, TerminalHeadsGiveSymbolAndDepositByPlace)
{
    // "Символ" and "Начальный депозит" in windows-1251; the parameters mention a deposit and a sell.
    TesterBuilder localized;
    localized
        .TerminalHead("\xd1\xe8\xec\xe2\xee\xeb", "\xcd\xe0\xf7\xe0\xeb\xfc\xed\xfb\xe9 \xe4\xe5\xef\xee\xe7\xe8\xf2",
                      "MinDeposit=100; AllowSell=true; CloseAll=false; ")
        .Symbol("GBPUSD (Great Britain Pound vs US Dollar)")
        .Deposit("200.00");
    Session session = Load({MoneyOpen(1, "2024.01.02 10:00", "sell", "1", "1.3000"),
                            MoneyClose(2, "2024.01.02 12:00", "close", "1", "1.2990", "10.00")},
                           localized);
    EXPECT_EQ(session.Report.Symbol, "gbpusd");
    EXPECT_EQ(session.Report.InitialDeposit, 200.0);
    EXPECT_EQ(ColumnCells(session.Full, kItem), Cells{"gbpusd"});
    EXPECT_EQ(ColumnCells(session.Full, kProfit), Cells{"     10.00"});

    session = Load({}, TesterBuilder().TerminalHead().Deposit("5000.00"));
    EXPECT_EQ(session.Report.Symbol, "eurusd");
    EXPECT_EQ(session.Report.InitialDeposit, 5000.0);
}

TEST(TesterRows, LimitOrdersWaitAndTheirFillIsTheTrade)
{
    const Session session = Load({MoneyOpen(1, "2024.01.02 10:00", "buy limit", "1", "1.0950"),
                                  MoneyOpen(2, "2024.01.02 10:00", "sell limit", "2", "1.1100"),
                                  MoneyOpen(3, "2024.01.02 11:00", "buy", "1", "1.0950"),
                                  MoneyOpen(4, "2024.01.02 11:30", "expiration", "2", "1.1100"),
                                  MoneyClose(5, "2024.01.02 12:00", "t/p", "1", "1.1000", "50.00")},
                                 TesterBuilder().VersionHead().TerminalHead());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(session.Full, 1), "1\t2024.01.02 11:00\tbuy\t0.10\teurusd\t1.0950\t0.0000\t0.0000\t"
                                        "2024.01.02 12:00\t1.1000\t  0.00\t  0.00\t     50.00"
                                            + kNoMore);
}

TEST(TesterRows, ARolledOverPositionContinuesAsANewTradeOfTheSameSide)
{
    const Session session = Load({MoneyOpen(1, "2018.01.02 09:00", "sell", "1", "1.3546"),
                                  MoneyClose(2, "2018.01.03 00:00", "swap close", "1", "1.3588", "42.00"),
                                  MoneyOpen(3, "2018.01.03 00:00", "swap open", "4", "1.358891"),
                                  MoneyClose(4, "2018.01.04 10:00", "s/l", "4", "1.3600", "-11.00"),
                                  MoneyOpen(5, "2018.01.05 10:00", "buy", "5", "1.3500")},
                                 TesterBuilder().TerminalHead());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "4", "5"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "sell", "buy"}));
    EXPECT_EQ(ColumnCells(session.Full, kOpenPrice), (Cells{"1.3546", "1.358891", "1.3500"}));
    EXPECT_EQ(ColumnCells(session.Full, kCloseTime), (Cells{"2018.01.03 00:00", "2018.01.04 10:00", ""}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"     42.00", "    -11.00", ""}));
}

} // namespace
} // namespace corvane
