#include "analysis/TraderClock.h"

#include "TradeRows.h"
#include "analysis/Filters.h"
#include "analysis/MoreStatistics.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Pl;
using test::SessionWith;

// A trade opened before the server's clock went forward and closed after, and one on the last evening of
// January: the clock moves the second into February and holds the first for the time that passed.
Session AcrossTheChange()
{
    Session session = SessionWith(
        1000, {{.Ticket = "1", .OpenTime = "2024.01.31 20:00", .CloseTime = "2024.01.31 23:30", .Profit = Pl("10.00")},
               {.Ticket = "2",
                .OpenTime = "2024.03.31 02:00:00",
                .CloseTime = "2024.03.31 05:00:00",
                .Profit = Pl("-5.00")}});
    session.Report.Writer = Terminal::Mt4;
    ApplyFilters(session, MagicFilter::Off);
    return session;
}

TEST(TraderClock, MonthsDaysAndHoldingTimesFollowTheClock)
{
    Session session = AcrossTheChange();
    const MoreFigures own = *session.ShownMore;
    ASSERT_EQ(own.Months.size(), 2u);
    EXPECT_EQ(own.Months[0].Month, "2024.01");
    EXPECT_EQ(*own.AverageHoldingSeconds, (3.5 + 3) * 3600 / 2);

    // The server keeps Eastern European time, the trader London's, two hours behind it all year; on the night
    // of 31 March the server's clock goes forward at 03:00, so two hours pass between its 02:00 and 05:00.
    ShowMoreStatisticsOnClock(session, ClockShift::Zones(FindTimeZone("EET"), FindTimeZone("Europe/London")));
    const MoreFigures london = *session.ShownMore;
    EXPECT_EQ(london.Months[0].Month, "2024.01");
    EXPECT_EQ(*london.AverageHoldingSeconds, (3.5 + 2) * 3600 / 2);
    EXPECT_EQ(london.NetProfit, own.NetProfit);

    ShowMoreStatisticsOnClock(session, ClockShift::Seconds(3600));
    const MoreFigures later = *session.ShownMore;
    ASSERT_EQ(later.Months.size(), 2u);
    EXPECT_EQ(later.Months[0].Month, "2024.02");
    EXPECT_EQ(*later.AverageHoldingSeconds, *own.AverageHoldingSeconds);
}

TEST(TraderClock, TheTableShowsShiftedTimesOnlyWhenAsked)
{
    Session session = AcrossTheChange();
    EXPECT_EQ(ShiftedTimeCell("2024.01.31 23:30", ClockShift::Seconds(3600)), "2024.02.01 00:30");
    EXPECT_EQ(ShiftedTimeCell("2024.03.31 05:00:00", ClockShift::Seconds(-1800)), "2024.03.31 04:30:00");
    EXPECT_EQ(ShiftedTimeCell("", ClockShift::Seconds(3600)), "");
    ShiftTableTimes(session.Full, ClockShift());
    EXPECT_EQ(session.Full.Cell(kCloseTime, 1), "2024.01.31 23:30");
    ShiftTableTimes(session.Full, ClockShift::Seconds(3600));
    EXPECT_EQ(session.Full.Cell(kOpenTime, 1), "2024.01.31 21:00");
    EXPECT_EQ(session.Full.Cell(kCloseTime, 1), "2024.02.01 00:30");
}

} // namespace
} // namespace corvane
