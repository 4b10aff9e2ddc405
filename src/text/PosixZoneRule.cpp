#include "text/PosixZoneRule.h"

#include "text/CivilTime.h"

#include <cctype>

namespace corvane {

namespace {

// Reads a POSIX TZ string from the front.
class RuleReader
{
public:
    explicit RuleReader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_at == m_text.size(); }
    bool Take(char c)
    {
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    // A zone's abbreviation: three letters or more, or any letters, digits and signs between < and >.
    std::optional<std::string> Name()
    {
        const std::size_t start = m_at;
        if (Take('<')) {
            while (m_at < m_text.size() && m_text[m_at] != '>')
                ++m_at;
            if (!Take('>') || m_at - start < 5)
                return std::nullopt;
            return std::string(m_text.substr(start + 1, m_at - start - 2));
        }
        while (m_at < m_text.size() && std::isalpha(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
        if (m_at - start < 3)
            return std::nullopt;
        return std::string(m_text.substr(start, m_at - start));
    }

    // [+-]hh[:mm[:ss]] in seconds, the hours up to `maxHours`.
    std::optional<int> Clock(int maxHours)
    {
        const bool negative = Take('-');
        if (!negative)
            Take('+');
        const std::optional<int> hours = Number(0, maxHours);
        if (!hours)
            return std::nullopt;
        int seconds = *hours * 3600;
        for (const int unit : {60, 1}) {
            if (!Take(':'))
                break;
            const std::optional<int> part = Number(0, 59);
            if (!part)
                return std::nullopt;
            seconds += *part * unit;
        }
        return negative ? -seconds : seconds;
    }

    // A whole number from `low` to `high`.
    std::optional<int> Number(int low, int high)
    {
        const std::size_t start = m_at;
        long value = 0;
        while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at])) && m_at - start < 4)
            value = value * 10 + (m_text[m_at++] - '0');
        if (m_at == start || value < low || value > high)
            return std::nullopt;
        return static_cast<int>(value);
    }

    std::optional<PosixZoneRule::Day> Day()
    {
        PosixZoneRule::Day day;
        if (Take('M')) {
            const auto month = Number(1, 12);
            const auto week = month && Take('.') ? Number(1, 5) : std::nullopt;
            const auto weekday = week && Take('.') ? Number(0, 6) : std::nullopt;
            if (!weekday)
                return std::nullopt;
            day.Month = *month;
            day.Week = *week;
            day.Weekday = *weekday;
        } else {
            day.Form = Take('J') ? PosixZoneRule::Day::Kind::Julian : PosixZoneRule::Day::Kind::ZeroBased;
            const bool julian = day.Form == PosixZoneRule::Day::Kind::Julian;
            const auto number = Number(julian ? 1 : 0, 365);
            if (!number)
                return std::nullopt;
            day.Number = *number;
        }
        if (Take('/')) {
            const auto time = Clock(167);
            if (!time)
                return std::nullopt;
            day.Time = *time;
        }
        return day;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The day since 1970 a rule's day falls on in `year`.
long long DayIn(const PosixZoneRule::Day& day, int year)
{
    using Kind = PosixZoneRule::Day::Kind;
    const long long first = DaysFromCivil(year, 1, 1);
    if (day.Form == Kind::ZeroBased)
        return first + day.Number;
    if (day.Form == Kind::Julian)
        return first + day.Number - 1 + (IsLeap(year) && day.Number >= 60 ? 1 : 0);
    const long long monthStart = DaysFromCivil(year, day.Month, 1);
    const long long nextMonth = DaysFromCivil(year, day.Month + 1, 1);
    long long found = monthStart + (day.Weekday - WeekdayOfDay(monthStart) + 7) % 7 + 7LL * (day.Week - 1);
    while (found >= nextMonth)
        found -= 7;
    return found;
}

} // namespace

std::vector<std::pair<long long, int>> PosixZoneRule::ChangesIn(int year) const
{
    if (!Summer)
        return {};
    // Summer time starts at a standard time and ends at a summer time.
    const long long start = DayIn(Start, year) * 86400 + Start.Time - StandardOffset;
    const long long end = DayIn(End, year) * 86400 + End.Time - SummerOffset;
    if (start < end)
        return {{start, SummerOffset}, {end, StandardOffset}};
    return {{end, StandardOffset}, {start, SummerOffset}};
}

int PosixZoneRule::OffsetAt(long long utc) const
{
    if (!Summer)
        return StandardOffset;
    const int year = CivilFromDays(DayOfSeconds(utc + StandardOffset)).Year;
    const auto changes = ChangesIn(year);
    // Before the year's first change the offset is the one its second change returns to.
    int offset = changes[1].second;
    for (const auto& [at, after] : changes)
        if (utc >= at)
            offset = after;
    return offset;
}

std::optional<PosixZoneRule> ParsePosixZoneRule(std::string_view text)
{
    RuleReader reader(text);
    PosixZoneRule rule;
    const auto standardName = reader.Name();
    const auto standardOffset = standardName ? reader.Clock(24) : std::nullopt;
    if (!standardOffset)
        return std::nullopt;
    rule.StandardName = *standardName;
    rule.StandardOffset = -*standardOffset;
    if (reader.AtEnd())
        return rule;
    const auto summerName = reader.Name();
    if (!summerName)
        return std::nullopt;
    rule.Summer = true;
    rule.SummerName = *summerName;
    rule.SummerOffset = rule.StandardOffset + 3600;
    bool days = reader.Take(',');
    if (!days && !reader.AtEnd()) {
        const auto summerOffset = reader.Clock(24);
        if (!summerOffset)
            return std::nullopt;
        rule.SummerOffset = -*summerOffset;
        days = reader.Take(',');
    }
    if (!days) {
        if (!reader.AtEnd())
            return std::nullopt;
        // No days: the C library's default, the United States' rule.
        rule.Start.Month = 3;
        rule.Start.Week = 2;
        rule.End.Month = 11;
        rule.End.Week = 1;
        return rule;
    }
    const auto start = reader.Day();
    const auto end = start && reader.Take(',') ? reader.Day() : std::nullopt;
    if (!end || !reader.AtEnd())
        return std::nullopt;
    rule.Start = *start;
    rule.End = *end;
    return rule;
}

} // namespace corvane
