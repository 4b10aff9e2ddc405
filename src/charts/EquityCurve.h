#pragma once

#include "charts/Canvas.h"
#include "trades/TextGrid.h"
#include "trades/TradeValues.h"

#include <string_view>
#include <vector>

namespace corvane {

// The amounts of a row of the visible table as the curves read them, Swap first, then Comm, then P/L: the
// first that is not a number names the error (ConversionError).
TradeValues ReadAmounts(const std::string_view* cells);

/**
 * The sunken two-tone frame of the chart area of width `width`: white inside, the top and left edges
 * two pixels dark grey, the bottom and right edges one light grey line one pixel inside the picture's
 * edge. Charts clear only the inside, (2, 2)-(width - 3, height - 2).
 */
void DrawChartFrame(Canvas& canvas, int width, int height = kSurfaceHeight);

/**
 * The equity curve of the visible table: the running balance from the deposit through every trade
 * in grid order, scaled between its lowest and highest value; a dashed reference line at the deposit,
 * each segment grey or, when it leads into a trade of the drawdown stretch (Balance cell holding "*"),
 * dark red; the highest and lowest balance written at the left edge ("%0.f").
 * Draws nothing and returns false when the table has no trades (its first Pips cell is empty).
 * A flat curve (every balance equal to the deposit) is drawn at mid-height. A money cell that is not
 * a number throws ConversionError before anything is drawn.
 */
bool DrawEquityCurve(Canvas& canvas, const TextGrid& grid, double deposit, int width, int height = kSurfaceHeight);

// The same curve of trades whose numbers are already read, row r at r - 1, and marked when they lie in
// the drawdown stretch; at least one trade.
void DrawEquityCurve(Canvas& canvas, const std::vector<TradeValues>& values, const std::vector<char>& inDrawdown,
                     double deposit, int width, int height = kSurfaceHeight);

} // namespace corvane
