#include "SummaryText.h"

#include "CommaLocale.h"

#include "Commands.h"
#include "Errors.h"
#include "Filters.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace corvane {
namespace {

using test::Cash;
using test::ColumnOf;
using test::Pl;
using test::SessionWith;
using test::TradeRow;

using Cells = std::vector<std::string>;

TEST(SummaryText, HeadingJoinsTitleAndPath)
{
    EXPECT_EQ(SummaryHeading("Statement: 1", "/r/a.htm"), "Statement: 1, /r/a.htm");
    EXPECT_EQ(SummaryHeading("", "/r/a.htm"), "/r/a.htm");
}

TEST(SummaryText, NetProfitLineHasItsColumns)
{
    SummaryFigures figures;
    figures.NetProfit = -1234.5;
    figures.InitialDeposit = 10000;
    const std::string line = SummaryFigureLines(figures).at(0);
    EXPECT_EQ(line, "Net profit                -1234.50              Initial deposit           10000.00");
    EXPECT_EQ(line.size(), 82u);
}

// Three trades over the leap day of 2024, deposit 5000:
//   buy  eurusd 1.10000 -> 1.10200  P/L 200.00  Comm -2.00  Swap  0.50   20 pips  balance 5198.50
//   sell gbpusd 1.25000 -> 1.25100  P/L -100.00 Comm -1.00  Swap -0.25  -10 pips  balance 5097.25
//   buy  eurusd 1.10500 -> 1.10560  P/L 60.00   Comm -3.00  Swap  0.00    6 pips  balance 5154.25
// Net 154.25 (3.085 % of the deposit); the fall of 101.25 from 5198.50 is 1.95 %; 27 February to
// 2 March 2024 is 4 days.
Session ThreeTradesOverTheLeapDay()
{
    return SessionWith(5000, {
                                 TradeRow{.Ticket = "1",
                                          .OpenTime = "2024.02.27 10:00",
                                          .Type = "buy",
                                          .Item = "eurusd",
                                          .Price = "1.10000",
                                          .CloseTime = "2024.02.28 09:00",
                                          .ClosePrice = "1.10200",
                                          .Comm = Cash("-2.00"),
                                          .Swap = Cash("0.50"),
                                          .Profit = Pl("200.00")},
                                 TradeRow{.Ticket = "2",
                                          .OpenTime = "2024.02.28 11:00",
                                          .Type = "sell",
                                          .Item = "gbpusd",
                                          .Price = "1.25000",
                                          .CloseTime = "2024.02.29 15:00",
                                          .ClosePrice = "1.25100",
                                          .Comm = Cash("-1.00"),
                                          .Swap = Cash("-0.25"),
                                          .Profit = Pl("-100.00")},
                                 TradeRow{.Ticket = "3",
                                          .OpenTime = "2024.03.01 08:00",
                                          .Type = "buy",
                                          .Item = "eurusd",
                                          .Price = "1.10500",
                                          .CloseTime = "2024.03.02 09:00",
                                          .ClosePrice = "1.10560",
                                          .Comm = Cash("-3.00"),
                                          .Swap = Cash("0.00"),
                                          .Profit = Pl("60.00")},
                             });
}

const Cells kThreeTradesSummary = {
    "Statement: 42 - Test, /reports/march.htm",
    "",
    "Net profit                  154.25              Initial deposit            5000.00",
    "Gross profit                260.00              Interest earned               0.25",
    "Gross loss                  100.00              Commission paid               6.00",
    "",
    "Total number of trades           3              Percentage profitable         66.7%",
    "Total number of pips            16              Average pips per trade           5",
    "",
    "Number of winning trades         2              Number of losing trades          1",
    "Average winning trade       130.00              Average losing trade        100.00",
    "Average winning pips            13              Average losing pips             10",
    "",
    "Return (   4 days)             3.1%             Maximum drawdown               1.9%",
};

const Cells kThreeTradesBalances = {"       5198.50", "       5097.25 *", "       5154.25"};

void ExpectLines(const Cells& actual, const Cells& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

TEST(SummaryText, FourteenLinesOfASmallStatement)
{
    Session session = ThreeTradesOverTheLeapDay();
    ApplyFilters(session);
    ExpectLines(session.Memo, kThreeTradesSummary);
    EXPECT_EQ(ColumnOf(session.Grid, kPips), (Cells{"    20", "   -10", "     6"}));
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), kThreeTradesBalances);
}

TEST(SummaryText, SeparatorLinesAreEmptyAndFigureLinesEndAtTheirLastColumn)
{
    Session session = ThreeTradesOverTheLeapDay();
    ApplyFilters(session);
    ASSERT_EQ(session.Memo.size(), 14u);
    for (const std::size_t line : {2u, 6u, 9u, 13u})
        EXPECT_EQ(session.Memo[line - 1], "") << "line " << line << " is empty, not blanks";
    for (const std::size_t line : {3u, 4u, 5u, 8u, 10u, 11u, 12u})
        EXPECT_EQ(session.Memo[line - 1].size(), 82u) << "line " << line;
    for (const std::size_t line : {7u, 14u})
        EXPECT_EQ(session.Memo[line - 1].size(), 83u) << "line " << line << " ends in a percent sign";
}

TEST(SummaryText, HeadingWithoutTitleIsThePathAlone)
{
    Session session = ThreeTradesOverTheLeapDay();
    session.Report.Title.clear();
    ApplyFilters(session);
    EXPECT_EQ(session.Memo.at(0), "/reports/march.htm");
}

TEST(SummaryText, PercentageRoundsToOneDecimalBeforeItsSign)
{
    SummaryFigures figures;
    figures.Trades = 3;
    figures.PercentProfitable = 200.0 / 3;
    EXPECT_EQ(SummaryFigureLines(figures).at(4),
              "Total number of trades           3              Percentage profitable         66.7%");
}

TEST(SummaryText, FiveDigitDayCountWidensTheReturnLine)
{
    Session session = SessionWith(
        10000,
        {TradeRow{.OpenTime = "1990.01.01 00:00", .CloseTime = "2024.01.01 00:00", .Profit = Pl("150.00")}});
    ApplyFilters(session);
    ASSERT_EQ(session.Memo.size(), 14u);
    EXPECT_EQ(session.Memo[13],
              "Return (12418 days)             1.5%             Maximum drawdown               0.0%");
    EXPECT_EQ(session.Memo[13].size(), 84u);
}

TEST(SummaryText, NoFigurePrintsANegativeZero)
{
    // Net -0.004, interest -0.001, return -0.0004 %, and a gross loss of minus nothing.
    Session session = SessionWith(1000, {TradeRow{.Comm = "-0.003", .Swap = "-0.001", .Profit = Pl("0.00")}});
    ApplyFilters(session);
    ASSERT_EQ(session.Memo.size(), 14u);
    EXPECT_EQ(session.Memo[2],
              "Net profit                    0.00              Initial deposit            1000.00");
    EXPECT_EQ(session.Memo[3],
              "Gross profit                  0.00              Interest earned               0.00");
    EXPECT_EQ(session.Memo[4],
              "Gross loss                    0.00              Commission paid               0.00");
    EXPECT_EQ(session.Memo[10],
              "Average winning trade         0.00              Average losing trade          0.00");
    EXPECT_EQ(session.Memo[13],
              "Return (   0 days)             0.0%             Maximum drawdown               0.0%");
}

TEST(SummaryText, NegativeFiguresKeepTheirSign)
{
    Session session = SessionWith(1000, {TradeRow{.Swap = Cash("-2.50"), .Profit = Pl("-40.00")}});
    ApplyFilters(session);
    ASSERT_EQ(session.Memo.size(), 14u);
    EXPECT_EQ(session.Memo[2],
              "Net profit                  -42.50              Initial deposit            1000.00");
    EXPECT_EQ(session.Memo[3],
              "Gross profit                  0.00              Interest earned              -2.50");
    EXPECT_EQ(session.Memo[13],
              "Return (   0 days)            -4.2%             Maximum drawdown               4.2%");
}

TEST(SummaryText, CellThatIsNotANumberLeavesHeadingAndEmptyLine)
{
    Session session = ThreeTradesOverTheLeapDay();
    ApplyFilters(session);
    session.Grid.SetCell(kComm, 2, "abc");
    try {
        ShowSummary(session);
        FAIL() << "expected ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_EQ(session.Memo, (Cells{"Statement: 42 - Test, /reports/march.htm", ""}));
}

TEST(SummaryText, CommissionNamedAbcStopsTheFilterPassBeforeTheSummary)
{
    Session session = ThreeTradesOverTheLeapDay();
    ApplyFilters(session);
    session.Full.SetCell(kComm, 3, "abc");
    try {
        ApplyFilters(session);
        FAIL() << "expected ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    ExpectLines(session.Memo, kThreeTradesSummary);
}

// --- the process locale --------------------------------------------------------------------------------


std::string StatementWithThousands()
{
    test::StatementTrade win;
    win.Ticket = "11";
    win.Commission = "-1.50";
    win.Swap = "0.25";
    win.Profit = "1 234.50";
    test::StatementTrade loss;
    loss.Ticket = "12";
    loss.Type = "sell";
    loss.Price = "1.10100";
    loss.ClosePrice = "1.10250";
    loss.Commission = "-1.50";
    loss.Swap = "-0.75";
    loss.Profit = "-150.00";
    return test::StatementBuilder().Deposit("10 000.00").Closed(win).Closed(loss).Text();
}

TEST(SummaryText, CommaNumericLocaleChangesNoFigure)
{
    test::TempDir dir;
    const std::string path = dir.Write("statement.htm", StatementWithThousands());
    Session plain;
    ASSERT_EQ(LoadAndFilter(plain, path), LoadOutcome::Loaded);
    Session hand = ThreeTradesOverTheLeapDay();

    test::CommaNumericLocale comma;
    if (comma.Name().empty()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 1.5);
    ASSERT_STREQ(probe, "1,50") << "the locale " << comma.Name() << " should write a decimal comma";

    Session localized;
    ASSERT_EQ(LoadAndFilter(localized, path), LoadOutcome::Loaded);
    ExpectLines(localized.Memo, plain.Memo);
    for (int column = 0; column < kGridColumns; ++column)
        EXPECT_EQ(ColumnOf(localized.Grid, column), ColumnOf(plain.Grid, column)) << "column " << column;

    ApplyFilters(hand);
    ExpectLines(hand.Memo, kThreeTradesSummary);
    EXPECT_EQ(ColumnOf(hand.Grid, kBalance), kThreeTradesBalances);
}

} // namespace
} // namespace corvane
