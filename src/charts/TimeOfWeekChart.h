#pragma once

#include "charts/Canvas.h"
#include "text/ClockShift.h"
#include "trades/TextGrid.h"

#include <string_view>

namespace corvane {

// Day of the week of a date, 0 for Sunday to 6 for Saturday (proleptic Gregorian calendar).
int DayOfWeek(int year, int month, int day);

/**
 * The hour-of-week bin (day of week x 24 + hour, 0 to 167) of a time text "yyyy.mm.dd hh:mm", its
 * fields as ReadTimeFields takes them. -1 for a text that holds no full date and hour, or a month, day
 * or hour outside its range: such a trade is left out of the chart.
 */
int HourOfWeekBin(std::string_view time);
// The bin of a time given as seconds since 1970.
int HourOfWeekBin(long long seconds);

/**
 * The time-of-week chart: for each of the 168 hours of the week, the sum of the pips of the visible
 * trades opened (or, with `closeTimes`, closed) in that hour (of the trader's clock with a `clock` that
 * shifts: a time it cannot read is left out), gains as green bars upwards from the
 * middle and losses as red bars downwards, all scaled to the largest sum (at least 10); day names,
 * day separators, the zero axis and a title. Draws nothing and returns false when the table has no
 * trades. A Pips cell that is not a whole number throws ConversionError once the frame, the title
 * and the day names are drawn, before any bar.
 */
bool DrawTimeOfWeekChart(Canvas& canvas, const TextGrid& grid, bool closeTimes, int width, int height = kSurfaceHeight,
                         const ClockShift* clock = nullptr);

} // namespace corvane
