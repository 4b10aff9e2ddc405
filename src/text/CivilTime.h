#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

/**
 * Dates and times of the proleptic Gregorian calendar as seconds since 1970-01-01 00:00, without a time
 * zone: a report's times are the trade server's clock, and a shifted time is the trader's clock, both
 * counted the same way.
 */

struct CivilDate
{
    int Year = 1970;
    int Month = 1;
    int Day = 1;
};

// Days since 1970-01-01 of a date (a day beyond its month's end runs on into the next month).
long long DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(long long days);

// The day a time falls on, days since 1970 (rounded down for times before 1970).
inline long long DayOfSeconds(long long seconds)
{
    return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}

// The day of the week of a day since 1970: 0 for Sunday to 6 for Saturday (1970-01-01 was a Thursday).
inline int WeekdayOfDay(long long day)
{
    return static_cast<int>(((day + 4) % 7 + 7) % 7);
}

/**
 * Seconds since 1970 of a time cell "yyyy.mm.dd hh:mm[:ss]": four digits of the year at 0, two of the
 * month at 5 and of the day at 8, then the hour, minute and second where they are digits (0 where not).
 * None when the date cannot be read: a year or day that is not digits, a month outside 1 to 12, day 0.
 */
std::optional<long long> TimeTextSeconds(std::string_view time);

// The time cell of a time: "yyyy.mm.dd hh:mm", with ":ss" when `withSeconds`.
std::string TimeText(long long seconds, bool withSeconds);
// The date of a day since 1970: "yyyy.mm.dd".
std::string DateText(long long day);
// The month of a time: "yyyy.mm", written into `out` (7 characters, no terminating zero).
void MonthText(long long seconds, char (&out)[7]);

} // namespace corvane
