#pragma once

#include "analysis/MonteCarlo.h"

#include <string>

namespace corvane {

/**
 * The Monte Carlo analysis as one JSON object: what was run (method, its parameter, runs, seed, trades,
 * start, the ruin and confidence levels), each figure's percentiles, its value at the confidence level,
 * the report's own value and its rank, and the two probabilities. Money and percentages to the cent, null
 * for a value there is none of (a ratio without a drawdown, a percentage of a start at or below zero).
 * docs/statistics.md lists the keys.
 */
std::string MonteCarloJson(const MonteCarloResult& result);

} // namespace corvane
