#pragma once

#include "charts/Canvas.h"
#include "charts/ViewMode.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

namespace corvane {

/**
 * Draws the chart of `view` for the session's visible table on `canvas`, `width` by `height` pixels:
 * the equity curve from the initial deposit (in table order, or by close time on a calendar axis), or the
 * time-of-week chart by open or by close times. Draws nothing for the summary and the Monte Carlo view
 * (its run draws it), nor when the visible table has no trades. Returns whether a chart was drawn. The
 * time charts read the times on `clock` when given.
 */
bool DrawChart(Canvas& canvas, const Session& session, ViewMode view, int width, int height = kSurfaceHeight,
               const ClockShift* clock = nullptr);

} // namespace corvane
