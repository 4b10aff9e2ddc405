#pragma once

#include <charconv>
#include <cstdint>
#include <span>
#include <string_view>

namespace corvane::bench {

/**
 * splitmix64: small, fast and the same on every platform, unlike the standard distributions. Both
 * report generators draw from it, so a report of a given size is the same file on every machine.
 */
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound) for 0 < bound < 2^32.
    long long Below(long long bound)
    {
        return static_cast<long long>(((Next() >> 32) * static_cast<std::uint64_t>(bound)) >> 32);
    }

    long long Between(long long low, long long high) { return low + Below(high - low + 1); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    std::uint64_t m_state;
};

// Room for the text of any number the generators write.
using NumberRoom = std::span<char, 48>;

// `value` in decimal digits, written into `room`.
inline std::string_view IntText(NumberRoom room, long long value)
{
    const auto result = std::to_chars(room.data(), room.data() + room.size(), value);
    return {room.data(), static_cast<std::size_t>(result.ptr - room.data())};
}

// `scaled` / 10^decimals with exactly `decimals` decimals; with `grouped`, a blank between thousands,
// as the terminals write money.
inline std::string_view FixedText(NumberRoom room, long long scaled, int decimals, bool grouped)
{
    char* const end = room.data() + room.size();
    char* p = end;
    const bool negative = scaled < 0;
    const auto magnitude = static_cast<unsigned long long>(scaled);
    unsigned long long value = negative ? 0ULL - magnitude : magnitude;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    int digits = 0;
    do {
        if (grouped && digits > 0 && digits % 3 == 0)
            *--p = ' ';
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
        ++digits;
    } while (value != 0);
    if (negative)
        *--p = '-';
    return {p, static_cast<std::size_t>(end - p)};
}

struct CivilDate
{
    long long Year;
    long long Month;
    long long Day;
};

// The date of a day counted from 1970.01.01 (day 0), on the proleptic Gregorian calendar.
inline CivilDate DateOfDay(long long dayNumber)
{
    const long long z = dayNumber + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// The day number of a date (1970.01.01 is day 0): DateOfDay's inverse.
inline long long DayOfDate(const CivilDate& date)
{
    const long long year = date.Year - (date.Month <= 2 ? 1 : 0);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (date.Month > 2 ? date.Month - 3 : date.Month + 9) + 2) / 5 + date.Day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace corvane::bench
