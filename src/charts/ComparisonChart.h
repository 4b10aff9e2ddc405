#pragma once

#include "charts/Canvas.h"
#include "portfolio/Comparison.h"

#include <QImage>

namespace corvane {

/**
 * The picture of a comparison, the same in the window and in the tool's PNG, `width` pixels wide and
 * panels one under the other:
 * - the strategies' equity curves on one calendar axis of the trader's clock, each from 0 or in % of its
 *   deposit (a strategy without a deposit is then left out), in its colour (dashed from the eleventh on),
 *   with the zero line, the highest and lowest value and the first and last date;
 * - the legend: each strategy's number, colour and name;
 * - for each combination, its curve of the combined daily results with the drawdown stretch in red, and
 *   under it how far each day stood below the peak before it;
 * - the correlation matrix: a cell a pair, red for results that go together, blue for opposite ones, with
 *   the coefficient and the days both traded.
 */
int ComparisonPictureHeight(const Comparison& comparison, int width = kSurfaceWidth);
void DrawComparison(Canvas& canvas, const Comparison& comparison, bool percent, int width = kSurfaceWidth);

// The picture on an image of its own; needs a running QGuiApplication for the text.
QImage DrawComparisonPicture(const Comparison& comparison, bool percent, int width = kSurfaceWidth);

// The colour of the strategy at `index` (0 on) in the curves and the legend, and whether it is dashed.
Rgb StrategyColour(std::size_t index);
PenStyle StrategyPen(std::size_t index);

} // namespace corvane
