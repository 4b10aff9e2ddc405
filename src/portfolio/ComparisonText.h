#pragma once

#include "portfolio/Comparison.h"

#include <string>
#include <vector>

namespace corvane {

/**
 * The comparison as text, for the tool and the window:
 * - the strategies, numbered, with their report, currency, clock and weight;
 * - their figures side by side, one column a strategy: trades, net profit, gain, profit factor, expected
 *   payoff, maximal drawdown in money and %, recovery factor, the Sharpe ratios, won %, average holding
 *   time, first and last trade (money with each report's digits);
 * - each combination: its days, net result, drawdown and the sum of the single drawdowns beside it;
 * - the correlation matrix, and the days each pair traded together and counted;
 * - the notes.
 */
std::vector<std::string> ComparisonLines(const Comparison& comparison);

// The money of a combination in its text: with no decimals when every member's report prints none.
int CombinationDigits(const Comparison& comparison, const Combination& combination);

// A strategy's first trade (the earliest open time of its trades) and last trade (the latest close time), on
// its clock, as the report writes its times; "" without trades.
std::string FirstTradeText(const Strategy& strategy);
std::string LastTradeText(const Strategy& strategy);

} // namespace corvane
