#pragma once

#include "charts/Canvas.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

namespace corvane {

/**
 * The equity curve on a calendar axis: the running balance from the initial deposit through the closed
 * trades of the visible table in order of their close times (the same second in table order), each point
 * at its close time (on `clock`'s trader's clock when given) between the first close at the left and the
 * last at the right; open positions, without a close time, are left out. It ends where the equity curve in
 * table order ends when no position is open. The same scale, reference line, drawdown colour and labels as
 * that curve, short ticks on the bottom line where months begin, and the first and last close dates.
 * Draws nothing and returns false when the table has no closed trade.
 */
bool DrawCalendarCurve(Canvas& canvas, const Session& session, int width, const ClockShift* clock = nullptr,
                       int height = kSurfaceHeight);

} // namespace corvane
