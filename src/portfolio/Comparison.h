#pragma once

#include "portfolio/Correlation.h"
#include "portfolio/DailyResults.h"
#include "portfolio/Portfolio.h"
#include "portfolio/Strategy.h"

#include <string>
#include <vector>

namespace corvane {

// What the user sets for a comparison besides its strategies.
struct ComparisonSettings
{
    std::vector<double> Weights;     // one a strategy, as lot multipliers; empty: 1 each
    std::vector<CurrencyRate> Rates; // empty: strategies of different currencies are combined per currency
};

/**
 * Several strategies side by side: each one's figures and daily results, their shared calendar, the
 * portfolio they make together (one combination, or one per currency) and the correlation of their days.
 */
struct Comparison
{
    std::vector<Strategy> Strategies;
    std::vector<double> Weights;
    std::vector<DailyResults> Daily; // of each strategy
    std::vector<long long> Calendar; // the calendar all of them share
    std::vector<Combination> Combinations;
    CorrelationMatrix Correlation;
    std::vector<std::string> Notes; // what the reader must know: currencies, days left out
};

// Throws CombineError when the weights do not match the strategies, or as Combine does.
Comparison Compare(std::vector<Strategy> strategies, const ComparisonSettings& settings);

// A strategy's equity curve on the trader's clock: its running result after each trade, at the trade's close
// time, from 0 just before the first; or, with `percent`, the same in % of its deposit (none without one).
struct CurvePoint
{
    long long Seconds;
    double Value;
};
std::vector<CurvePoint> EquityCurveOf(const Strategy& strategy, bool percent);

} // namespace corvane
