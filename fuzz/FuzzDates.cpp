// The date readers over arbitrary texts: days between two dates, the report's day span, the day of
// the week and the hour-of-week bin. Each must end, with a bin inside the week or none.
#include "analysis/Statistics.h"
#include "charts/TimeOfWeekChart.h"
#include "trades/Session.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('|');
    const std::string_view first = text.substr(0, split);
    const std::string_view last = split == std::string_view::npos ? text : text.substr(split + 1);
    const int days = corvane::DaysBetween(first, last);
    if (days < 0)
        std::abort();
    const int bin = corvane::HourOfWeekBin(first);
    if (bin < -1 || bin > 167)
        std::abort();
    if (size >= 6) {
        const int year = static_cast<int>(data[0] | (data[1] << 8)) - 1000;
        const int weekday = corvane::DayOfWeek(year, 1 + data[2] % 12, 1 + data[3] % 31);
        if (weekday < 0 || weekday > 6)
            std::abort();
    }
    corvane::TextGrid grid(corvane::kGridColumns, 3);
    grid.SetCell(corvane::kOpenTime, 1, first);
    grid.SetCell(corvane::kCloseTime, 1, last);
    grid.SetCell(corvane::kOpenTime, 2, last);
    if (corvane::ReportDays(grid) < 0)
        std::abort();
    return 0;
}
