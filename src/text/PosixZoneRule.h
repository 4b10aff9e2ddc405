#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

/**
 * A time zone's rule as a POSIX TZ string writes it: a standard time, and optionally a summer time with
 * the days and hours it starts and ends, the same every year. "EET-2EEST,M3.5.0/3,M10.5.0/4" is two hours
 * east of Greenwich (POSIX counts offsets westward, so east is negative), three in summer, from the last
 * Sunday of March at 03:00 standard time to the last Sunday of October at 04:00 summer time. The zone
 * files end with such a rule for the years after their table.
 */
struct PosixZoneRule
{
    // A day of the year as the rule gives it.
    struct Day
    {
        enum class Kind
        {
            MonthWeekDay, // Mm.w.d: weekday d (0 Sunday) of week w (5: the last) of month m
            Julian,       // Jn: day n of 1 to 365, 29 February never counted
            ZeroBased,    // n: day n of 0 to 365, 29 February counted
        };
        Kind Form = Kind::MonthWeekDay;
        int Month = 0;
        int Week = 0;
        int Weekday = 0;
        int Number = 0;
        int Time = 7200; // seconds after midnight of the local time in force before the change
    };

    std::string StandardName;
    int StandardOffset = 0; // seconds east of Greenwich
    bool Summer = false;    // the rule has a summer time
    std::string SummerName;
    int SummerOffset = 0;
    Day Start; // summer time starts
    Day End;   // summer time ends

    // Seconds east of Greenwich at a moment, seconds since 1970 in UTC.
    int OffsetAt(long long utc) const;
    // The moments (UTC) summer time starts and ends in `year`, and the offset from each on.
    std::vector<std::pair<long long, int>> ChangesIn(int year) const;
};

// Reads a POSIX TZ string; none when it is not one. Without days, a summer time runs from the second
// Sunday of March to the first Sunday of November, as the C library takes it.
std::optional<PosixZoneRule> ParsePosixZoneRule(std::string_view text);

} // namespace corvane
