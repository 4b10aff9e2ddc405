#include "Statistics.h"

#include "Filters.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cash;
using test::ColumnOf;
using test::Pl;
using test::SessionWith;
using test::TradeRow;

using Cells = std::vector<std::string>;

// Line n (counted from 1) of the summary text.
std::string SummaryLine(const Session& session, std::size_t n)
{
    return n - 1 < session.Memo.size() ? session.Memo[n - 1] : "<no line " + std::to_string(n) + ">";
}

// Trades with the given P/L texts, all on one day, filtered with the deposit.
Session FilteredProfits(double deposit, std::initializer_list<const char*> profits)
{
    Session session;
    session.Report.InitialDeposit = deposit;
    session.Full.SetRowCount(static_cast<int>(profits.size()) + 1);
    int row = 1;
    for (const char* profit : profits) {
        test::WriteTrade(session.Full, row, TradeRow{.Ticket = std::to_string(row), .Profit = Pl(profit)});
        ++row;
    }
    session.Pairs.AddIfAbsent("eurusd");
    session.Pairs.SelectAll();
    ApplyFilters(session);
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
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                    0.00              Commission paid               0.00");
}

TEST(Statistics, PipTotalsAndAveragesTruncateTowardZero)
{
    // Pips 10, -3 and -4 from the prices: buy +10, sell against a rise of 3, buy against a fall of 4.
    Session session = SessionWith(
        1000,
        {
            TradeRow{.Type = "buy", .Price = "1.10000", .ClosePrice = "1.10100", .Profit = Pl("100.00")},
            TradeRow{.Type = "sell", .Price = "1.10000", .ClosePrice = "1.10030", .Profit = Pl("-30.00")},
            TradeRow{.Type = "buy", .Price = "1.10040", .ClosePrice = "1.10000", .Profit = Pl("-40.00")},
        });
    ApplyFilters(session);
    ASSERT_EQ(ColumnOf(session.Grid, kPips), (Cells{"    10", "    -3", "    -4"}));
    EXPECT_EQ(SummaryLine(session, 8),
              "Total number of pips             3              Average pips per trade           1");
    EXPECT_EQ(SummaryLine(session, 12),
              "Average winning pips            10              Average losing pips              3")
        << "7 losing pips over 2 losing trades";
}

TEST(Statistics, CommissionPaidIsTheSumWhileNetProfitTakesEachCommissionAway)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.Comm = Cash("-5.00"), .Profit = Pl("100.00")},
                                            TradeRow{.Comm = Cash("3.00"), .Profit = Pl("100.00")},
                                        });
    ApplyFilters(session);
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                  192.00              Initial deposit            1000.00");
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                    0.00              Commission paid               2.00");
}

TEST(Statistics, BlankCommissionCountsFullyInNetBalanceAndDrawdown)
{
    Session session = SessionWith(
        1000, {
                  TradeRow{.Comm = test::kBlankCell, .Profit = Pl("100.00")},
                  TradeRow{.Comm = test::kBlankCell, .Swap = Cash("-10.00"), .Profit = Pl("-300.00")},
              });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"       1100.00", "        790.00 *"}));
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                 -210.00              Initial deposit            1000.00");
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                  300.00              Commission paid               0.00");
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)           -21.0%             Maximum drawdown              28.2%");
}

TEST(Statistics, ThousandsSeparatedCommissionReadsAsItsNumber)
{
    Session session = SessionWith(10000, {TradeRow{.Comm = "-1 234.56", .Profit = Pl("2000.00")}});
    ApplyFilters(session);
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                  765.44              Initial deposit           10000.00");
    EXPECT_EQ(SummaryLine(session, 5),
              "Gross loss                    0.00              Commission paid            1234.56");
}

TEST(Statistics, EmptyProfitCellIsAWinnerOfZero)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.Profit = Pl("-10.00")},
                                            TradeRow{.Comm = "", .Swap = "", .Profit = ""},
                                        });
    ApplyFilters(session);
    EXPECT_EQ(SummaryLine(session, 10),
              "Number of winning trades         1              Number of losing trades          1");
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                  -10.00              Initial deposit            1000.00");
}

// --- the maximum drawdown and its marks ----------------------------------------------------------------

TEST(Drawdown, FallAfterAPeakMarksTheTradesFromThePeakToTheTrough)
{
    const Session session = FilteredProfits(1000, {"100.00", "-300.00", "50.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance),
              (Cells{"       1100.00", "        800.00 *", "        850.00"}));
    EXPECT_NEAR(ComputeStatistics(session.Grid, 1000).Figures.MaximumDrawdown, 300.0 * 100 / 1100, 1e-9);
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)           -15.0%             Maximum drawdown              27.3%");
}

TEST(Drawdown, FallFromTheDepositMarksTheFirstTrade)
{
    const Session session = FilteredProfits(1000, {"-100.00", "50.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"        900.00 *", "        950.00"}));
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)            -5.0%             Maximum drawdown              10.0%");
}

TEST(Drawdown, OnlyWinnersMarkNothing)
{
    const Session session = FilteredProfits(1000, {"10.00", "20.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"       1010.00", "       1030.00"}));
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)             3.0%             Maximum drawdown               0.0%");
}

TEST(Drawdown, EqualBalanceKeepsTheEarlierPeak)
{
    // 1100, 1050, 1100 again, 1000: the peak stays at row 1, so the stretch covers rows 2 to 4.
    const Session session = FilteredProfits(1000, {"100.00", "-50.00", "50.00", "-100.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance),
              (Cells{"       1100.00", "       1050.00 *", "       1100.00 *", "       1000.00 *"}));
}

TEST(Drawdown, EqualDrawdownKeepsTheEarlierTrough)
{
    // 1100, 1000, 1100, 1000: both falls are 100 from 1100; the first one stays the maximum.
    const Session session = FilteredProfits(1000, {"100.00", "-100.00", "100.00", "-100.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance),
              (Cells{"       1100.00", "       1000.00 *", "       1100.00", "       1000.00"}));
}

TEST(Drawdown, WithoutDepositCountsOnlyOnceTheBalanceRoseAboveZero)
{
    // -50, 50, 20: no drawdown while the peak is 0; then 30 down from 50.
    const Session session = FilteredProfits(0, {"-50.00", "100.00", "-30.00"});
    EXPECT_EQ(ColumnOf(session.Grid, kBalance),
              (Cells{"        -50.00", "         50.00", "         20.00 *"}));
    EXPECT_EQ(SummaryLine(session, 3),
              "Net profit                   20.00              Initial deposit               0.00");
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)             0.0%             Maximum drawdown              60.0%");
}

TEST(Drawdown, FirstRowIsMarkedOnlyWhenItsTwoDecimalBalanceIsBelowTheDeposit)
{
    // The balance 999.996 falls below the deposit but reads back from its cell as 1000.00.
    Session session = SessionWith(1000, {TradeRow{.Comm = "-0.003", .Swap = "-0.001", .Profit = Pl("0.00")}});
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"       1000.00"}));
}

// --- days covered ------------------------------------------------------------------------------------

TEST(ReportDays, NoDateStartingWithADigitGivesZero)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.OpenTime = "n/a", .CloseTime = ""},
                                            TradeRow{.OpenTime = " 2024.01.02 10:00", .CloseTime = ""},
                                        });
    ApplyFilters(session);
    EXPECT_EQ(ReportDays(session.Grid), 0);
    EXPECT_EQ(SummaryLine(session, 14),
              "Return (   0 days)            20.0%             Maximum drawdown               0.0%");
}

TEST(ReportDays, SpansEarliestToLatestOfOpenAndCloseTimes)
{
    Session session =
        SessionWith(1000, {
                              TradeRow{.OpenTime = "2024.03.05 10:00", .CloseTime = "2024.03.09 10:00"},
                              TradeRow{.OpenTime = "2024.03.01 23:00", .CloseTime = ""},
                              TradeRow{.OpenTime = "2024.03.02 10:00", .CloseTime = "2024.03.04 10:00"},
                          });
    ApplyFilters(session);
    EXPECT_EQ(ReportDays(session.Grid), 8);
}

TEST(ReportDays, LeapDayCounts)
{
    Session session =
        SessionWith(1000, {
                              TradeRow{.OpenTime = "2008.02.27 10:00", .CloseTime = "2008.02.28 10:00"},
                              TradeRow{.OpenTime = "2008.03.01 10:00", .CloseTime = "2008.03.02 09:00"},
                          });
    ApplyFilters(session);
    EXPECT_EQ(ReportDays(session.Grid), 4) << "28 February, 29 February, 1 March, 2 March";
}

struct DaysCase
{
    const char* name;
    const char* first;
    const char* last;
    int days;
};

class DaysBetweenTest : public ::testing::TestWithParam<DaysCase>
{
};

TEST_P(DaysBetweenTest, CountsCalendarDays)
{
    const DaysCase& c = GetParam();
    EXPECT_EQ(DaysBetween(c.first, c.last), c.days) << "from '" << c.first << "' to '" << c.last << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DaysBetweenTest,
    ::testing::Values(DaysCase{"SameDay", "2024.05.06 01:00", "2024.05.06 23:59", 0},
                      DaysCase{"SecondToFifthJanuary", "2024.01.02 10:00", "2024.01.05 09:00", 3},
                      DaysCase{"TimeOfDayIsNotRead", "2024.01.02 23:59", "2024.01.03 00:00", 1},
                      DaysCase{"OverLeapDay", "2008.02.27 10:00", "2008.03.02 09:00", 4},
                      DaysCase{"OverCommonFebruary", "2007.02.27 10:00", "2007.03.02 09:00", 3},
                      DaysCase{"CenturyIsCommon", "1900.02.28", "1900.03.01", 1},
                      DaysCase{"FourthCenturyIsLeap", "2000.02.28", "2000.03.01", 2},
                      DaysCase{"OverYearEnd", "2023.12.30", "2024.01.02", 3},
                      DaysCase{"WholeLeapYear", "2024.01.01", "2025.01.01", 366},
                      DaysCase{"WholeCommonYear", "2023.01.01", "2024.01.01", 365},
                      DaysCase{"MonthThirteenIsDecember", "2024.12.01", "2024.13.05", 4},
                      DaysCase{"MonthThirteenAsFirst", "2024.13.05", "2024.12.31", 26},
                      DaysCase{"MonthZeroIsJanuary", "2024.00.10", "2024.01.15", 5},
                      DaysCase{"DayZeroIsTheFirst", "2024.03.00", "2024.03.05", 4},
                      DaysCase{"ThirtyFirstAprilIsThirtieth", "2024.04.31", "2024.05.01", 1},
                      DaysCase{"ThirtyFirstAprilAsLast", "2024.04.01", "2024.04.31", 29},
                      DaysCase{"LeapDayOfCommonYearIsTwentyEighth", "2023.02.29", "2023.03.01", 1},
                      DaysCase{"LeapDayOfCommonYearAsLast", "2023.02.01", "2023.02.29", 27},
                      DaysCase{"LeapDayOfLeapYear", "2024.02.01", "2024.02.29", 28},
                      DaysCase{"DayNinetyNine", "2024.01.99", "2024.02.01", 1},
                      DaysCase{"LaterBeforeEarlier", "2024.03.05 10:00", "2024.03.01 10:00", 0},
                      DaysCase{"YearBeforeEarlier", "2025.01.01", "2024.12.31", 0},
                      DaysCase{"YearZeroEndsInYearOne", "0000.12.31", "0001.01.01", 1},
                      DaysCase{"YearZeroIsLeap", "0000.02.28", "0000.03.01", 2},
                      DaysCase{"FiveFourHundredYearCycles", "0000.01.01", "2000.01.01", 730485},
                      DaysCase{"LastInYearZero", "2024.01.01", "0000.01.01", 0},
                      DaysCase{"YearMonthOnly", "2024.03", "2024.03.05 10:00", 4},
                      DaysCase{"YearOnly", "2024", "2024.01.03", 2},
                      DaysCase{"SingleDigitDay", "2024.03.1", "2024.03.05", 4},
                      DaysCase{"BothEmpty", "", "", 0}, DaysCase{"EmptyLast", "2024.05.06", "", 0},
                      DaysCase{"EmptyFirst", "", "0000.01.31", 30}),
    [](const ::testing::TestParamInfo<DaysCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace corvane
