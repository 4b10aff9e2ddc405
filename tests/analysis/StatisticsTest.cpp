#include "analysis/Statistics.h"
#include "analysis/SummaryText.h"

#include "CommaLocale.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "TradeRows.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "text/Errors.h"

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

// Line n (counted from 1) of the summary text.
std::string SummaryLine(const Session& session, std::size_t n)
{
    return n - 1 < session.Memo.size() ? session.Memo[n - 1] : "<no line " + std::to_string(n) + ">";
}

// Trades with the given P/L texts, all on one day, filtered with the deposit.
Session FilteredProfits(double deposit, const Cells& profits)
{
    Session session;
    session.Report.InitialDeposit = deposit;
    session.Full.SetRowCount(static_cast<int>(profits.size()) + 1);
    for (int row = 1; row <= static_cast<int>(profits.size()); ++row)
        test::WriteTrade(session.Full, row, {.Ticket = std::to_string(row), .Profit = Pl(profits[row - 1])});
    session.Pairs.AddIfAbsent("eurusd");
    ApplyFilters(session, MagicFilterFor(session));
    return session;
}

Session Filtered(double deposit, std::initializer_list<TradeRow> trades)
{
    Session session = SessionWith(deposit, trades);
    ApplyFilters(session, MagicFilterFor(session));
    return session;
}

// --- counts, sums and averages -----------------------------------------------------------------------

TEST(Statistics, TradeWithZeroProfitIsOneWinner)
{
    const Session session = FilteredProfits(1000, {"0.00"});
    EXPECT_EQ(SummaryLine(session, 7),
              "Total number of trades           1              Percentage profitable        100.0%");
    EXPECT_EQ(SummaryLine(session, 10),
              "Number of winning trades         1              Number of losing trades          0");
    EXPECT_EQ(SummaryLine(session, 11),
              "Average winning trade         0.00              Average losing trade          0.00");
    const Session empty = Filtered(1000, {{.Profit = Pl("-10.00")}, {.Comm = "", .Swap = "", .Profit = ""}});
    EXPECT_EQ(SummaryLine(empty, 10),
              "Number of winning trades         1              Number of losing trades          1")
        << "an empty P/L cell is a winner of zero";
    EXPECT_EQ(SummaryLine(empty, 3),
              "Net profit                  -10.00              Initial deposit            1000.00");
}

TEST(Statistics, PipTotalsAndAveragesTruncateTowardZero)
{
    // Pips 10, -3 and -4 from the prices: buy +10, sell against a rise of 3, buy against a fall of 4.
    const Session session =
        Filtered(1000, {{.Type = "buy", .Price = "1.10000", .ClosePrice = "1.10100", .Profit = Pl("100.00")},
                        {.Type = "sell", .Price = "1.10000", .ClosePrice = "1.10030", .Profit = Pl("-30.00")},
                        {.Type = "buy", .Price = "1.10040", .ClosePrice = "1.10000", .Profit = Pl("-40.00")}});
    ASSERT_EQ(ColumnCells(session.Grid, kPips), (Cells{"    10", "    -3", "    -4"}));
    EXPECT_EQ(SummaryLine(session, 8),
              "Total number of pips             3              Average pips per trade           1");
    EXPECT_EQ(SummaryLine(session, 12),
              "Average winning pips            10              Average losing pips              3")
        << "7 losing pips over 2 losing trades";
}

TEST(Statistics, CommissionPaidIsTheSumWhileNetProfitTakesEachCommissionAway)
{
    const Session session = Filtered(
        1000, {{.Comm = Cash("-5.00"), .Profit = Pl("100.00")}, {.Comm = Cash("3.00"), .Profit = Pl("100.00")}});
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                  192.00              Initial deposit            1000.00");
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                    0.00              Commission paid               2.00");
    const Session thousands = Filtered(10000, {{.Comm = "-1 234.56", .Profit = Pl("2000.00")}});
    EXPECT_EQ(SummaryLine(thousands, 3),
              "Net profit                  765.44              Initial deposit           10000.00");
    EXPECT_EQ(SummaryLine(thousands, 5),
              "Gross loss                    0.00              Commission paid            1234.56");
}

TEST(Statistics, BlankCommissionCountsFullyInNetBalanceAndDrawdown)
{
    const Session session =
        Filtered(1000, {{.Comm = test::kBlankCell, .Profit = Pl("100.00")},
                        {.Comm = test::kBlankCell, .Swap = Cash("-10.00"), .Profit = Pl("-300.00")}});
    EXPECT_EQ(ColumnCells(session.Grid, kBalance), (Cells{"       1100.00", "        790.00 *"}));
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                 -210.00              Initial deposit            1000.00");
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                  300.00              Commission paid               0.00");
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)           -21.0%             Maximum drawdown              28.2%");
}

// --- the maximum drawdown and its marks ----------------------------------------------------------------

TEST(Drawdown, MarksTheTradesFromThePeakToTheTrough)
{
    struct Case
    {
        const char* name;
        double deposit;
        Cells profits;
        Cells balances;
        std::string returnLine; // line 14, when the case names one
    };
    // clang-format off
    const Case cases[] = {
        {"a fall after a peak", 1000, {"100.00", "-300.00", "50.00"},
         {"       1100.00", "        800.00 *", "        850.00"},
         "Return (   0 days)           -15.0%             Maximum drawdown              27.3%"},
        {"a fall from the deposit marks the first trade", 1000, {"-100.00", "50.00"},
         {"        900.00 *", "        950.00"},
         "Return (   0 days)            -5.0%             Maximum drawdown              10.0%"},
        {"only winners mark nothing", 1000, {"10.00", "20.00"}, {"       1010.00", "       1030.00"},
         "Return (   0 days)             3.0%             Maximum drawdown               0.0%"},
        // 1100, 1050, 1100 again, 1000: the peak stays at row 1, so the stretch covers rows 2 to 4.
        {"an equal balance keeps the earlier peak", 1000, {"100.00", "-50.00", "50.00", "-100.00"},
         {"       1100.00", "       1050.00 *", "       1100.00 *", "       1000.00 *"}, ""},
        // 1100, 1000, 1100, 1000: both falls are 100 from 1100; the first one stays the maximum.
        {"an equal drawdown keeps the earlier trough", 1000, {"100.00", "-100.00", "100.00", "-100.00"},
         {"       1100.00", "       1000.00 *", "       1100.00", "       1000.00"}, ""},
        // -50, 50, 20: no drawdown while the peak is 0; then 30 down from 50.
        {"without a deposit only once the balance rose above zero", 0, {"-50.00", "100.00", "-30.00"},
         {"        -50.00", "         50.00", "         20.00 *"},
         "Return (   0 days)             0.0%             Maximum drawdown              60.0%"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Session session = FilteredProfits(c.deposit, c.profits);
        EXPECT_EQ(ColumnCells(session.Grid, kBalance), c.balances);
        if (!c.returnLine.empty()) {
            EXPECT_EQ(SummaryLine(session, 14), c.returnLine);
        }
    }
    EXPECT_NEAR(ComputeStatistics(FilteredProfits(1000, {"100.00", "-300.00"}).Grid, 1000).Figures.MaximumDrawdown,
                300.0 * 100 / 1100, 1e-9);
}

TEST(Drawdown, FirstRowIsMarkedOnlyWhenItsTwoDecimalBalanceIsBelowTheDeposit)
{
    // The balance 999.996 falls below the deposit but reads back from its cell as 1000.00.
    const Session session = Filtered(1000, {{.Comm = "-0.003", .Swap = "-0.001", .Profit = Pl("0.00")}});
    EXPECT_EQ(ColumnCells(session.Grid, kBalance), (Cells{"       1000.00"}));
}

// --- days covered ------------------------------------------------------------------------------------

TEST(ReportDays, SpansEarliestToLatestOfOpenAndCloseTimesStartingWithADigit)
{
    // The filter pass counts them as the table's own reading does, a close time before its open time too.
    Session session = Filtered(1000, {{.OpenTime = "2024.03.05 10:00", .CloseTime = "2024.03.09 10:00"},
                                      {.OpenTime = "2024.03.01 23:00", .CloseTime = ""},
                                      {.OpenTime = "2024.03.02 10:00", .CloseTime = "2024.03.04 10:00"},
                                      {.OpenTime = " 2024.02.01 10:00", .CloseTime = "n/a"}});
    EXPECT_EQ(ReportDays(session.Grid), 8);
    EXPECT_EQ(SummaryLine(session, 14).substr(0, 18), "Return (   8 days)");
    session = Filtered(1000, {{.OpenTime = "2024.03.05 10:00", .CloseTime = "2024.03.09 10:00"},
                              {.OpenTime = "2024.03.12 10:00", .CloseTime = "2024.02.28 10:00"}});
    EXPECT_EQ(ReportDays(session.Grid), 13);
    EXPECT_EQ(SummaryLine(session, 14).substr(0, 18), "Return (  13 days)");
    session =
        Filtered(1000, {{.OpenTime = "n/a", .CloseTime = ""}, {.OpenTime = " 2024.01.02 10:00", .CloseTime = ""}});
    EXPECT_EQ(ReportDays(session.Grid), 0);
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)            20.0%             Maximum drawdown               0.0%");
}

TEST(DaysBetween, CountsCalendarDays)
{
    struct Case
    {
        const char* first;
        const char* last;
        int days;
    };
    // clang-format off
    const Case cases[] = {
        {"2024.05.06 01:00", "2024.05.06 23:59", 0}, {"2024.01.02 10:00", "2024.01.05 09:00", 3},
        {"2024.01.02 23:59", "2024.01.03 00:00", 1}, // the time of day is not read
        {"2008.02.27 10:00", "2008.03.02 09:00", 4}, // over the leap day
        {"2007.02.27 10:00", "2007.03.02 09:00", 3}, {"1900.02.28", "1900.03.01", 1}, // a century is common
        {"1900.02.29", "1900.03.01", 1},             // so its 29 February is the 28th
        {"2000.02.28", "2000.03.01", 2}, {"2000.02.29", "2000.03.01", 1}, // every fourth century is leap
        {"2023.12.30", "2024.01.02", 3},             {"2024.01.01", "2025.01.01", 366},
        {"2023.01.01", "2024.01.01", 365},
        {"2024.12.01", "2024.13.05", 4}, {"2024.13.05", "2024.12.31", 26}, // month 13 is December
        {"2024.00.10", "2024.01.15", 5},             // month 0 is January
        {"2024.03.00", "2024.03.05", 4},             // day 0 is the first
        {"2024.04.31", "2024.05.01", 1}, {"2024.04.01", "2024.04.31", 29}, // 31 April is the 30th
        {"2023.02.29", "2023.03.01", 1}, {"2023.02.01", "2023.02.29", 27}, // 29 February of a common year
        {"2024.02.01", "2024.02.29", 28},            {"2024.01.99", "2024.02.01", 1},
        {"2024.03.05 10:00", "2024.03.01 10:00", 0}, {"2025.01.01", "2024.12.31", 0}, // later before earlier
        {"0000.12.31", "0001.01.01", 1}, {"0000.02.28", "0000.03.01", 2}, // year 0 is leap
        {"0000.01.01", "2000.01.01", 730485}, {"2024.01.01", "0000.01.01", 0},
        {"2024.03", "2024.03.05 10:00", 4}, {"2024", "2024.01.03", 2}, {"2024.03.1", "2024.03.05", 4},
        {"", "", 0}, {"2024.05.06", "", 0}, {"", "0000.01.31", 30},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(DaysBetween(c.first, c.last), c.days) << "from '" << c.first << "' to '" << c.last << "'";
}

// --- the summary text ------------------------------------------------------------------------------

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
    ApplyFilters(session, MagicFilterFor(session));
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
    EXPECT_EQ(ColumnCells(session.Grid, kBalance), (Cells{"       5198.50", "       5097.25 *", "       5154.25"}));
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
        ApplyFilters(session, MagicFilterFor(session));
        ASSERT_EQ(session.Memo.size(), 14u);
        for (const auto& [index, line] : c.lines)
            EXPECT_EQ(session.Memo[index], line);
    }
}

// The error names the trade table's row, also when the summary meets it in another row of the visible table.
TEST(SummaryText, ACellThatIsNotANumberLeavesHeadingAndEmptyLine)
{
    Session session = ThreeTradesOverTheLeapDay();
    session.Full.SetCell(kComm, 3, "abc");
    session.Pairs.SetSelected(1, false); // gbpusd: the third trade is the second row shown
    EXPECT_THROW(ApplyFilters(session, MagicFilterFor(session)), ConversionError);
    try {
        ShowSummary(session);
        FAIL() << "expected ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "/reports/march.htm: trade 3 (ticket 3), column Pips: '' is not a valid floating point "
                               "value")
            << "the pass stopped before the row's Pips";
    }
    EXPECT_EQ(session.Memo, (Cells{"Statement: 42 - Test, /reports/march.htm", ""}));
}

// --- the process locale --------------------------------------------------------------------------------

TEST(SummaryText, ACommaNumericLocaleChangesNoCellOrFigure)
{
    const test::TempDir dir;
    // clang-format off
    const std::string path = dir.Write("statement.htm", test::Statement(
        {{.Ticket = "11", .Commission = "-1.50", .Swap = "0.25", .Profit = "1 234.50"},
         {.Ticket = "12", .Type = "sell", .Price = "1.10100", .ClosePrice = "1.10250", .Commission = "-1.50",
          .Swap = "-0.75", .Profit = "-150.00"}}, "10 000.00"));
    // clang-format on
    Session plain;
    ASSERT_EQ(LoadAndFilter(plain, path, LoadMode::Replace), LoadOutcome::Loaded);

    const test::CommaNumericLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 1.5);
    ASSERT_STREQ(probe, "1,50") << "the locale " << comma.Name() << " should write a decimal comma";

    Session localized;
    ASSERT_EQ(LoadAndFilter(localized, path, LoadMode::Replace), LoadOutcome::Loaded);
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
