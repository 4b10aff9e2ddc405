#pragma once

#include "analysis/MonteCarlo.h"
#include "charts/Canvas.h"

#include <string_view>

namespace corvane {

/**
 * The Monte Carlo view on the chart surface, inside the frame, `width` pixels wide:
 *
 * - at the left, five eighths of the width, the fan chart of the equity by trade number: the balances
 *   of 5 to 95% of the runs as a light band, 25 to 75% as a darker one, the median as a dark line and
 *   the report's own curve in dark red over them, a dashed line at the start; scaled between the lowest
 *   and highest of them, the highest and lowest written at the left edge ("%0.f") as the equity curve's;
 * - at the right, the histogram of the runs' maximal drawdowns in 40 bins from 0 to the deepest (the
 *   report's included), the report's own marked by a dark red line, the ruin level by a dashed one
 *   when it lies in the range; the probabilities of ruin and of ending below the start, and the report's
 *   drawdown with its rank among the runs, above it.
 *
 * A result without trades shows a line that says so.
 */
void DrawMonteCarloChart(Canvas& canvas, const MonteCarloResult& result, int width, int height = kSurfaceHeight);

// A line alone on the cleared chart surface: how far a run has come, or why there is no chart.
void DrawMonteCarloMessage(Canvas& canvas, std::string_view text, int width, int height = kSurfaceHeight);

} // namespace corvane
