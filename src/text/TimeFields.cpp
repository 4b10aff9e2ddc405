#include "text/TimeFields.h"

namespace corvane {

namespace {

// Up to `count` digits at `pos`; nothing when none is there.
std::optional<int> DigitsAt(std::string_view text, std::size_t pos, int count)
{
    int value = 0;
    int digits = 0;
    for (; digits < count && pos + digits < text.size(); ++digits) {
        const char c = text[pos + digits];
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

} // namespace

TimeFields ReadTimeFields(std::string_view time)
{
    return {DigitsAt(time, 0, 4), DigitsAt(time, 5, 2), DigitsAt(time, 8, 2), DigitsAt(time, 11, 2)};
}

} // namespace corvane
