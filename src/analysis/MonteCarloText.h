#pragma once

#include "analysis/MonteCarlo.h"

#include <string>
#include <vector>

namespace corvane {

// What a run of the analysis did, in a line: the method with its parameter, the trades, the runs, the seed.
std::string MonteCarloHeading(const MonteCarloResult& result);

/**
 * The analysis as text: the heading, the start and how results are applied, the ruin and confidence
 * levels, then a table of the figures (percentiles 5 to 95, the value at the confidence level, the
 * report's own value and its rank among the runs) and the two probabilities. Money with the report's
 * digits; a ratio without a drawdown, and a figure without a value, as "n/a".
 */
std::vector<std::string> MonteCarloLines(const MonteCarloResult& result);

} // namespace corvane
