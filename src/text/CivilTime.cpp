#include "text/CivilTime.h"

#include <algorithm>
#include <cstdio>

namespace corvane {

namespace {

// Reads `count` digits at `at`; -1 when one is not a digit or the text ends first.
int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Writes `value` as `count` digits at `out`, with leading zeros.
void PutDigits(char* out, long long value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace

// The days of the 400-year eras since 0000-03-01, the year counted from March so that the leap day ends it.
long long DaysFromCivil(int year, int month, int day)
{
    const long long y = month <= 2 ? static_cast<long long>(year) - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.Day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.Month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.Year = static_cast<int>(yearOfEra + era * 400 + (date.Month <= 2 ? 1 : 0));
    return date;
}

std::optional<long long> TimeTextSeconds(std::string_view time)
{
    const int year = Digits(time, 0, 4), month = Digits(time, 5, 2), day = Digits(time, 8, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const int hour = std::max(Digits(time, 11, 2), 0), minute = std::max(Digits(time, 14, 2), 0);
    const int second = std::max(Digits(time, 17, 2), 0);
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600LL + minute * 60LL + second;
}

std::string TimeText(long long seconds, bool withSeconds)
{
    const long long day = DayOfSeconds(seconds);
    const long long inDay = seconds - day * 86400;
    std::string text = DateText(day);
    char clock[9] = {' ', 0, 0, ':', 0, 0, ':', 0, 0};
    PutDigits(clock + 1, inDay / 3600, 2);
    PutDigits(clock + 4, inDay / 60 % 60, 2);
    PutDigits(clock + 7, inDay % 60, 2);
    text.append(clock, withSeconds ? 9 : 6);
    return text;
}

std::string DateText(long long day)
{
    const CivilDate date = CivilFromDays(day);
    if (date.Year < 0 || date.Year > 9999) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%02d.%02d", date.Year, date.Month, date.Day);
        return text;
    }
    char text[10] = {0, 0, 0, 0, '.', 0, 0, '.', 0, 0};
    PutDigits(text, date.Year, 4);
    PutDigits(text + 5, date.Month, 2);
    PutDigits(text + 8, date.Day, 2);
    return std::string(text, sizeof text);
}

void MonthText(long long seconds, char (&out)[7])
{
    const CivilDate date = CivilFromDays(DayOfSeconds(seconds));
    PutDigits(out, date.Year < 0 ? 0 : date.Year % 10000, 4);
    out[4] = '.';
    PutDigits(out + 5, date.Month, 2);
}

} // namespace corvane
