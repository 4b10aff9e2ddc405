#include "text/TimeZone.h"
#include "text/CivilTime.h"
#include "text/ClockShift.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

long long At(const char* time)
{
    return *TimeTextSeconds(time);
}

// The built-in rules, whatever zone files the machine has: what a Windows build sees.
class BuiltInZones : public ::testing::Test
{
protected:
    void SetUp() override { UseSystemZoneFiles(false); }
    void TearDown() override { UseSystemZoneFiles(true); }
};

TEST(CivilTime, ReadsAndWritesTheReportsTimeCells)
{
    EXPECT_EQ(At("1970.01.01 00:00"), 0);
    EXPECT_EQ(At("2024.03.31 03:00:15"), 1711854015);
    EXPECT_EQ(TimeText(1711854015, true), "2024.03.31 03:00:15");
    EXPECT_EQ(TimeText(1711854015, false), "2024.03.31 03:00");
    EXPECT_EQ(DateText(DayOfSeconds(-1)), "1969.12.31");
    EXPECT_FALSE(TimeTextSeconds("2024.13.01 00:00"));
    EXPECT_FALSE(TimeTextSeconds(""));
    EXPECT_EQ(WeekdayOfDay(DayOfSeconds(At("2005.01.03 10:15"))), 1); // a Monday
}

TEST_F(BuiltInZones, EasternEuropeanSummerTimeStartsAndEnds)
{
    const TimeZone eet = FindTimeZone("EET");
    // 2024: from the last Sunday of March, 01:00 UTC, to the last Sunday of October, 01:00 UTC.
    EXPECT_EQ(eet.OffsetAt(At("2024.03.31 00:59:59")), 7200);
    EXPECT_EQ(eet.OffsetAt(At("2024.03.31 01:00")), 10800);
    EXPECT_EQ(eet.OffsetAt(At("2024.10.27 00:59:59")), 10800);
    EXPECT_EQ(eet.OffsetAt(At("2024.10.27 01:00")), 7200);
    // A reading the clock skips is taken before the change; one it shows twice, the first time.
    EXPECT_EQ(eet.ToUtc(At("2024.03.31 03:30")), At("2024.03.31 01:30"));
    EXPECT_EQ(eet.ToUtc(At("2024.03.31 04:30")), At("2024.03.31 01:30"));
    EXPECT_EQ(eet.ToUtc(At("2024.10.27 03:30")), At("2024.10.27 00:30"));
    EXPECT_EQ(eet.ToUtc(At("2024.10.27 04:30")), At("2024.10.27 02:30"));
}

TEST_F(BuiltInZones, NamesOfTheTradersZones)
{
    EXPECT_EQ(FindTimeZone("America/New_York").OffsetAt(At("2024.03.10 06:59")), -5 * 3600);
    EXPECT_EQ(FindTimeZone("America/New_York").OffsetAt(At("2024.03.10 07:00")), -4 * 3600);
    EXPECT_EQ(FindTimeZone("Asia/Tokyo").OffsetAt(At("2024.07.01 00:00")), 9 * 3600);
    EXPECT_EQ(FindTimeZone("Europe/London").OffsetAt(At("2024.07.01 00:00")), 3600);
    EXPECT_EQ(FindTimeZone("Australia/Sydney").OffsetAt(At("2024.01.15 00:00")), 11 * 3600);
    EXPECT_EQ(FindTimeZone("Australia/Sydney").OffsetAt(At("2024.07.15 00:00")), 10 * 3600);
    EXPECT_EQ(FindTimeZone("Etc/GMT-2").OffsetAt(0), 7200);
    EXPECT_EQ(FindTimeZone("EET-2EEST,M3.5.0/3,M10.5.0/4").OffsetAt(At("2024.07.01 00:00")), 10800);
    EXPECT_THROW(FindTimeZone("UTC+2"), ZoneError);
    EXPECT_THROW(FindTimeZone("Mars/Olympus"), ZoneError);
}

TEST(PosixZoneRule, ReadsWhatTheCLibraryReads)
{
    const auto rule = ParsePosixZoneRule("<+0530>-5:30");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->StandardName, "+0530");
    EXPECT_EQ(rule->StandardOffset, 5 * 3600 + 1800);
    const auto us = ParsePosixZoneRule("EST5EDT");
    ASSERT_TRUE(us);
    EXPECT_EQ(us->OffsetAt(At("2024.07.01 00:00")), -4 * 3600);
    EXPECT_FALSE(ParsePosixZoneRule("EET"));
    EXPECT_FALSE(ParsePosixZoneRule("EET-2EEST,M13.5.0,M10.5.0"));
    EXPECT_FALSE(ParsePosixZoneRule("EET-2EEST,M3.5.0/3"));
}

// Where the machine has zone files, they agree with the built-in rules in the years both hold.
TEST(TimeZone, TheSystemsZoneFilesAgreeWithTheBuiltInRules)
{
    if (!std::filesystem::exists("/usr/share/zoneinfo/Europe/Athens"))
        GTEST_SKIP() << "no zone files on this machine";
    for (const char* name : {"EET", "Europe/Athens", "America/New_York", "Europe/London", "Asia/Tokyo"}) {
        const TimeZone file = FindTimeZone(name);
        const TimeZone builtIn = *TimeZone::FromRule(name, *BuiltInZoneRule(name));
        for (long long t = At("2010.01.01 00:00"); t < At("2040.01.01 00:00"); t += 3 * 3600)
            ASSERT_EQ(file.OffsetAt(t), builtIn.OffsetAt(t)) << name << " at " << TimeText(t, true);
    }
}

TEST_F(BuiltInZones, ShiftsAReportsTimesOntoTheTradersClock)
{
    const ClockShift clock = ClockShift::Zones(FindTimeZone("EET"), FindTimeZone("Asia/Tokyo"));
    EXPECT_EQ(ClockShift::Seconds(3 * 3600).ToTrader(At("2024.01.05 22:00")), At("2024.01.06 01:00"));
    EXPECT_EQ(clock.ToTrader(At("2024.01.05 22:00")), At("2024.01.06 05:00"));
    EXPECT_EQ(clock.ToTrader(At("2024.07.05 22:00")), At("2024.07.06 04:00"));
    // Opened at 02:00 and closed at 05:00 of the server the night summer time started: two hours held.
    EXPECT_EQ(clock.Elapsed(At("2024.03.31 02:00"), At("2024.03.31 05:00")), 2 * 3600);
    EXPECT_EQ(ClockShift::Seconds(3600).Elapsed(At("2024.03.31 02:00"), At("2024.03.31 05:00")), 3 * 3600);
    EXPECT_EQ(clock.Describe(), "EET to Asia/Tokyo");
    EXPECT_EQ(ClockShift::Seconds(-5400).Describe(), "-1.5 h");
    EXPECT_EQ(ShiftHoursSeconds("+2"), 7200);
    EXPECT_EQ(ShiftHoursSeconds("-0.5"), -1800);
    EXPECT_FALSE(ShiftHoursSeconds("25"));
    EXPECT_FALSE(ShiftHoursSeconds("two"));
}

} // namespace
} // namespace corvane
