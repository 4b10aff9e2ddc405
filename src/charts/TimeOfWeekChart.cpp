#include "charts/TimeOfWeekChart.h"

#include "text/CivilTime.h"
#include "text/Numbers.h"
#include "text/TimeFields.h"
#include "trades/CellErrors.h"
#include "trades/Session.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace corvane {

namespace {

constexpr Rgb kGrey = 0x808080;
constexpr Rgb kGain = 0x00c000;
constexpr Rgb kLoss = 0xc00000;
constexpr int kBins = 168;
constexpr int kFirstX = 65;
constexpr int kDayWidth = 96;
constexpr int kBinWidth = 4;
constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

} // namespace

int DayOfWeek(int year, int month, int day)
{
    const int a = (14 - month) / 12;
    const long long y = static_cast<long long>(year) - a;
    const int m = month + 12 * a - 2;
    const long long t = day + y + y / 4 - y / 100 + y / 400 + (31 * m) / 12;
    // The remainder is taken upwards so that a date before the year 0 still names a day.
    return static_cast<int>((((t - 1) % 7 + 7) % 7 + 1) % 7);
}

int HourOfWeekBin(std::string_view time)
{
    const TimeFields fields = ReadTimeFields(time);
    if (!fields.Year || !fields.Month || !fields.Day || !fields.Hour)
        return -1;
    const int month = *fields.Month, day = *fields.Day, hour = *fields.Hour;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23)
        return -1;
    const int bin = DayOfWeek(*fields.Year, month, day) * 24 + hour;
    return bin >= 0 && bin < kBins ? bin : -1;
}

int HourOfWeekBin(long long seconds)
{
    const long long day = DayOfSeconds(seconds);
    return WeekdayOfDay(day) * 24 + static_cast<int>((seconds - day * 86400) / 3600);
}

bool DrawTimeOfWeekChart(Canvas& canvas, const TextGrid& grid, bool closeTimes, int width, int height,
                         const ClockShift* clock)
{
    if (clock && !clock->Shifts())
        clock = nullptr;
    if (grid.Cell(kPips, 1).empty())
        return false;
    // The frame, title and days come first: a Pips cell that is not a number stops only the bars.
    const int middle = height / 2;
    canvas.FillRect(2, 2, width - 3, height - 2, kWhite);
    canvas.TextOut(12, height - 16,
                   closeTimes ? "Average pip results based on close times" : "Average pip results based on open times");
    canvas.SetPen(kGrey, PenStyle::Solid);
    for (int d = 0; d < 7; ++d) {
        const int x = kFirstX + d * kDayWidth;
        canvas.TextOut(x + 2, middle + 55, kDays[d]);
        canvas.MoveTo(x, middle - 70);
        canvas.LineTo(x, middle + 70);
    }
    canvas.MoveTo(kFirstX + 7 * kDayWidth, middle - 70);
    canvas.LineTo(kFirstX + 7 * kDayWidth, middle + 70);

    std::array<long long, kBins> gains{};
    std::array<long long, kBins> losses{};
    for (int row = 1; row < grid.RowCount(); ++row) {
        const long long pips = ReadRowOf(grid, row, [&grid, row] {
            return ParseCellOf(kPips, grid.Cell(kPips, row), ParsePipsCell, BlankPips::NotANumber);
        });
        const std::string_view time = grid.Cell(closeTimes ? kCloseTime : kOpenTime, row);
        const std::optional<long long> seconds = clock ? TimeTextSeconds(time) : std::nullopt;
        const int bin = !clock ? HourOfWeekBin(time) : seconds ? HourOfWeekBin(clock->ToTrader(*seconds)) : -1;
        if (bin < 0)
            continue;
        (pips > 0 ? gains : losses)[bin] += pips;
    }

    long long scale = 10;
    for (int b = 0; b < kBins; ++b)
        scale = std::max({scale, gains[b], -losses[b]});
    const auto barEnd = [&](long long sum) {
        return static_cast<int>(height * 0.5
                                - (static_cast<double>(sum) / static_cast<double>(scale)) * (height * (1.0 / 3)));
    };
    for (int b = 0; b < kBins; ++b)
        canvas.FillRect(kFirstX + kBinWidth * b, middle, kFirstX + kBinWidth * b + kBinWidth, barEnd(gains[b]), kGain);
    for (int b = 0; b < kBins; ++b)
        canvas.FillRect(kFirstX + kBinWidth * b, middle, kFirstX + kBinWidth * b + kBinWidth, barEnd(losses[b]), kLoss);
    canvas.SetPen(kGrey, PenStyle::Solid);
    canvas.MoveTo(kFirstX, middle);
    canvas.LineTo(kFirstX + 7 * kDayWidth, middle);
    return true;
}

} // namespace corvane
