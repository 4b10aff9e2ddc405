#pragma once

#include <optional>
#include <string_view>

namespace corvane {

/**
 * The fields of a time cell "yyyy.mm.dd hh:mm" as every reader of dates takes them: up to four digits
 * of the year from character 0, up to two digits each of the month, the day and the hour from
 * characters 5, 8 and 11, each read up to its first byte that is not a digit. A field that does not
 * start with a digit (or lies beyond the text) is missing. Nothing is checked against the calendar.
 */
struct TimeFields
{
    std::optional<int> Year;
    std::optional<int> Month;
    std::optional<int> Day;
    std::optional<int> Hour;
};

TimeFields ReadTimeFields(std::string_view time);

} // namespace corvane
