#pragma once

#include "text/ClockShift.h"
#include "trades/Session.h"
#include "trades/TextGrid.h"

#include <string>
#include <string_view>

namespace corvane {

/**
 * What the trader's clock changes in a session: the more statistics read their months, days and holding
 * times on it; the trade table keeps the report's own times, and shows shifted ones only when asked.
 */

// Rewrites the more statistics of the last filter pass (session.MoreMemo and ShownMore) with the times of the
// visible trades read on `clock`. Nothing before a pass.
void ShowMoreStatisticsOnClock(Session& session, const ClockShift& clock);

// A time cell read on `clock`, written as the report writes its times (with seconds when the cell has them);
// a cell that holds no date stays as it is.
std::string ShiftedTimeCell(std::string_view cell, const ClockShift& clock);

// Every Open Time and Close Time cell of rows 1 and on of `grid` (the trade table or the visible table)
// read on `clock`.
void ShiftTableTimes(TextGrid& grid, const ClockShift& clock);

} // namespace corvane
