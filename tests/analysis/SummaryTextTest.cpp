#include "SummaryText.h"

#include "CommaLocale.h"
#include "Commands.h"
#include "Errors.h"
#include "Filters.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace corvane {
namespace {

using test::Cash;
using test::Cells;
using test::ColumnCells;
using test::Pl;
using test::SessionWith;
using test::TradeRow;

// The lines of a text box, one a line, so that a failure shows the lines that differ.
std::string Text(const Cells& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST(SummaryText, TheHeadingJoinsTitleAndPath)
{
    EXPECT_EQ(SummaryHeading("Statement: 1", "/r/a.htm"), "Statement: 1, /r/a.htm");
    EXPECT_EQ(SummaryHeading("", "/r/a.htm"), "/r/a.htm");
}

// Three trades over the leap day of 2024, deposit 5000:
//   buy  eurusd 1.10000 -> 1.10200  P/L 200.00  Comm -2.00  Swap  0.50   20 pips  balance 5198.50
//   sell gbpusd 1.25000 -> 1.25100  P/L -100.00 Comm -1.00  Swap -0.25  -10 pips  balance 5097.25
//   buy  eurusd 1.10500 -> 1.10560  P/L 60.00   Comm -3.00  Swap  0.00    6 pips  balance 5154.25
// Net 154.25 (3.085 % of the deposit); the fall of 101.25 from 5198.50 is 1.95 %; 27 February to
// 2 March 2024 is 4 days.
Session ThreeTradesOverTheLeapDay()
{
    // clang-format off
    Session session = SessionWith(5000, {
        {.Ticket = "1", .OpenTime = "2024.02.27 10:00", .Price = "1.10000", .CloseTime = "2024.02.28 09:00",
         .ClosePrice = "1.10200", .Comm = Cash("-2.00"), .Swap = Cash("0.50"), .Profit = Pl("200.00")},
        {.Ticket = "2", .OpenTime = "2024.02.28 11:00", .Type = "sell", .Item = "gbpusd", .Price = "1.25000",
         .CloseTime = "2024.02.29 15:00", .ClosePrice = "1.25100", .Comm = Cash("-1.00"),
         .Swap = Cash("-0.25"), .Profit = Pl("-100.00")},
        {.Ticket = "3", .OpenTime = "2024.03.01 08:00", .Price = "1.10500", .CloseTime = "2024.03.02 09:00",
         .ClosePrice = "1.10560", .Comm = Cash("-3.00"), .Swap = Cash("0.00"), .Profit = Pl("60.00")}});
    // clang-format on
    ApplyFilters(session);
    return session;
}

const std::string kThreeTradesSummary =
    "Statement: 42 - Test, /reports/march.htm\n"
    "\n"
    "Net profit                  154.25              Initial deposit            5000.00\n"
    "Gross profit                260.00              Interest earned               0.25\n"
    "Gross loss                  100.00              Commission paid               6.00\n"
    "\n"
    "Total number of trades           3              Percentage profitable         66.7%\n"
    "Total number of pips            16              Average pips per trade           5\n"
    "\n"
    "Number of winning trades         2              Number of losing trades          1\n"
    "Average winning trade       130.00              Average losing trade        100.00\n"
    "Average winning pips            13              Average losing pips             10\n"
    "\n"
    "Return (   4 days)             3.1%             Maximum drawdown               1.9%\n";

TEST(SummaryText, FourteenLinesOfASmallStatement)
{
    const Session session = ThreeTradesOverTheLeapDay();
    EXPECT_EQ(Text(session.Memo), kThreeTradesSummary);
    EXPECT_EQ(ColumnCells(session.Grid, kPips), (Cells{"    20", "   -10", "     6"}));
    EXPECT_EQ(ColumnCells(session.Grid, kBalance),
              (Cells{"       5198.50", "       5097.25 *", "       5154.25"}));
}

TEST(SummaryText, FigureLinesOfOneTrade)
{
    struct Case
    {
        const char* name;
        TradeRow trade;
        std::map<std::size_t, std::string> lines; // by index
    };
    // clang-format off
    const Case cases[] = {
        {"a five-digit day count widens the return line",
         {.OpenTime = "1990.01.01 00:00", .CloseTime = "2024.01.01 00:00", .Profit = Pl("150.00")},
         {{13, "Return (12418 days)             1.5%             Maximum drawdown               0.0%"}}},
        // Net -0.004, interest -0.001, return -0.0004 %, and a gross loss of minus nothing.
        {"no figure prints a negative zero", {.Comm = "-0.003", .Swap = "-0.001", .Profit = Pl("0.00")},
         {{2, "Net profit                    0.00              Initial deposit           10000.00"},
          {3, "Gross profit                  0.00              Interest earned               0.00"},
          {4, "Gross loss                    0.00              Commission paid               0.00"},
          {10, "Average winning trade         0.00              Average losing trade          0.00"},
          {13, "Return (   0 days)             0.0%             Maximum drawdown               0.0%"}}},
        {"negative figures keep their sign", {.Swap = Cash("-2.50"), .Profit = Pl("-400.00")},
         {{2, "Net profit                 -402.50              Initial deposit           10000.00"},
          {3, "Gross profit                  0.00              Interest earned              -2.50"},
          {13, "Return (   0 days)            -4.0%             Maximum drawdown               4.0%"}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session = SessionWith(10000, {c.trade});
        ApplyFilters(session);
        ASSERT_EQ(session.Memo.size(), 14u);
        for (const auto& [index, line] : c.lines)
            EXPECT_EQ(session.Memo[index], line);
    }
}

TEST(SummaryText, ACellThatIsNotANumberLeavesHeadingAndEmptyLine)
{
    Session session = ThreeTradesOverTheLeapDay();
    session.Grid.SetCell(kComm, 2, "abc");
    try {
        ShowSummary(session);
        FAIL() << "expected ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_EQ(session.Memo, (Cells{"Statement: 42 - Test, /reports/march.htm", ""}));
}

// --- the process locale --------------------------------------------------------------------------------

TEST(SummaryText, ACommaNumericLocaleChangesNoCellOrFigure)
{
    const test::TempDir dir;
    const std::string path = dir.Write(
        "statement.htm",
        test::Statement({{.Ticket = "11", .Commission = "-1.50", .Swap = "0.25", .Profit = "1 234.50"},
                         {.Ticket = "12",
                          .Type = "sell",
                          .Price = "1.10100",
                          .ClosePrice = "1.10250",
                          .Commission = "-1.50",
                          .Swap = "-0.75",
                          .Profit = "-150.00"}},
                        "10 000.00"));
    Session plain;
    ASSERT_EQ(LoadAndFilter(plain, path), LoadOutcome::Loaded);

    const test::CommaNumericLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 1.5);
    ASSERT_STREQ(probe, "1,50") << "the locale " << comma.Name() << " should write a decimal comma";

    Session localized;
    ASSERT_EQ(LoadAndFilter(localized, path), LoadOutcome::Loaded);
    EXPECT_EQ(Text(localized.Memo), Text(plain.Memo));
    for (int row = 1; row < plain.Full.RowCount(); ++row) {
        EXPECT_EQ(test::RowText(localized.Full, row), test::RowText(plain.Full, row));
        EXPECT_EQ(test::RowText(localized.Grid, row), test::RowText(plain.Grid, row));
    }
    EXPECT_EQ(plain.Full.Cell(kProfit, 1), "   1234.50");
    EXPECT_EQ(Text(ThreeTradesOverTheLeapDay().Memo), kThreeTradesSummary);
}

} // namespace
} // namespace corvane
