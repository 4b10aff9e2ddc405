#pragma once

#include "ReportGenerator.h"

#include <cstdint>
#include <string>

namespace corvane::bench {

// The positions an account history leaves open at its end, listed under Open Positions.
inline constexpr long long kMt5HistoryOpenPositions = 3;

/**
 * Large reports in the MetaTrader 5 terminal's format: UTF-16LE with a byte-order mark and CR LF line
 * ends, rows laid out as the terminal lays them out (a Positions row over several lines, Orders and
 * Deals rows on one line each). Deterministic for a given trade count and seed.
 *
 * Positions on five symbols overlap (hedging), most close in one deal and about one in seven in two;
 * opening and closing deals are charged commission, some a fee and some swap, so that the money of
 * opening deals has to follow the volume closed. Balances of a thousand and more are written with a
 * blank between thousands. `trades` counts closing deals, the rows the reader makes of them.
 */

// An account history with `trades` closing deals and kMt5HistoryOpenPositions positions still open,
// then two working orders and the account summary. Its Positions table comes first.
GeneratedReport WriteMt5History(const std::string& path, long long trades, std::uint64_t seed = kDefaultSeed);

// A strategy-tester report with `trades` closing deals: settings, Orders (with stop orders that are
// cancelled) and Deals; every position is closed by the end of the test.
GeneratedReport WriteMt5TesterReport(const std::string& path, long long trades, std::uint64_t seed = kDefaultSeed);

} // namespace corvane::bench
