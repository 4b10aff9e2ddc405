#pragma once

namespace corvane {

// What the chart area shows: the summary text, or a chart drawn on the chart surface. Kept apart from the
// drawing so that the tool built without Qt still parses --view.
enum class ViewMode
{
    Summary,
    EquityCurve,
    TimeByOpen,
    TimeByClose,
    MonteCarlo,        // the fan chart and the drawdown histogram of a Monte Carlo run, drawn from its result
    EquityByCloseTime, // the equity curve on a calendar axis, the trades in order of their close times
};

} // namespace corvane
