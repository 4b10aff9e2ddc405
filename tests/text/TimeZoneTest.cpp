#include "text/TimeZone.h"
#include "text/CivilTime.h"
#include "text/ClockShift.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// A zone file as RFC 8536 lays it out: a header, the 32-bit block, a second header, the 64-bit block and
// the rule for the years after its table.
std::string ZoneFile(const std::vector<long long>& changes, bool withRule)
{
    std::string bytes;
    const auto put = [&bytes](long long value, int size) {
        for (int i = size - 1; i >= 0; --i)
            bytes += static_cast<char>((static_cast<unsigned long long>(value) >> (8 * i)) & 0xff);
    };
    const auto header = [&](long long changeCount, long long types, long long chars) {
        bytes += std::string("TZif2") + std::string(15, '\0');
        for (const long long count : {0LL, 0LL, 0LL, changeCount, types, chars})
            put(count, 4);
    };
    header(0, 1, 4);
    put(7200, 4);
    bytes += std::string("\0\0EET\0", 6);
    header(static_cast<long long>(changes.size()), 2, 9);
    for (const long long change : changes)
        put(change, 8);
    for (std::size_t i = 0; i < changes.size(); ++i)
        bytes += static_cast<char>(i % 2 == 0 ? 1 : 0);
    put(7200, 4);
    bytes += std::string("\0\0", 2);
    put(10800, 4);
    bytes += std::string("\1\4", 2);
    bytes += std::string("EET\0EEST\0", 9);
    if (withRule)
        bytes += "\nEET-2EEST,M3.5.0/3,M10.5.0/4\n";
    return bytes;
}

TEST(TimeZone, ReadsAZoneFileAndTheRuleAfterItsTable)
{
    const long long spring = At("2000.03.26 01:00"), autumn = At("2000.10.29 01:00");
    const auto zone = TimeZone::FromZoneFile("Test/Eastern", ZoneFile({spring, autumn}, true));
    ASSERT_TRUE(zone);
    EXPECT_EQ(zone->OffsetAt(At("1999.07.01 00:00")), 7200) << "before the table: its first type";
    EXPECT_EQ(zone->OffsetAt(spring - 1), 7200);
    EXPECT_EQ(zone->OffsetAt(spring), 10800);
    EXPECT_EQ(zone->OffsetAt(autumn), 7200);
    EXPECT_EQ(zone->OffsetAt(At("2024.07.01 00:00")), 10800) << "after the table: its rule";
    EXPECT_EQ(zone->OffsetAt(At("2301.07.01 00:00")), 10800) << "beyond the years worked out";
    const auto withoutRule = TimeZone::FromZoneFile("Test/Fixed", ZoneFile({spring}, false));
    ASSERT_TRUE(withoutRule);
    EXPECT_EQ(withoutRule->OffsetAt(At("2024.01.01 00:00")), 10800) << "the last offset stays";
    EXPECT_FALSE(TimeZone::FromZoneFile("Test/Broken", "TZif2"));
    EXPECT_FALSE(TimeZone::FromZoneFile("Test/Cut", ZoneFile({spring, autumn}, true).substr(0, 80)));
}

TEST_F(BuiltInZones, SummerTimesThatRunBackwardsOrAcrossTheYear)
{
    // Dublin keeps its winter as the "summer" of its rule, an hour behind its standard time.
    const TimeZone dublin = FindTimeZone("Europe/Dublin");
    EXPECT_EQ(dublin.OffsetAt(At("2024.01.15 12:00")), 0);
    EXPECT_EQ(dublin.OffsetAt(At("2024.07.15 12:00")), 3600);
    // Sydney's summer runs from October into April of the next year.
    const TimeZone sydney = FindTimeZone("Australia/Sydney");
    EXPECT_EQ(sydney.ToUtc(At("2024.04.07 02:30")), At("2024.04.06 15:30")) << "shown twice: the first, in summer";
    EXPECT_EQ(sydney.ToUtc(At("2024.10.06 02:30")), At("2024.10.05 16:30")) << "skipped: before the change";
    EXPECT_EQ(FindTimeZone("Asia/Kolkata").OffsetAt(0), 5 * 3600 + 1800);
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
