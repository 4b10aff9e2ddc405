#pragma once

#include "portfolio/Strategy.h"

#include <vector>

namespace corvane {

/**
 * A strategy's daily results: for each day it closed a trade on, the sum of those trades' results (P/L +
 * Swap + Comm, as the trade table's CSV gives them), rounded to the cent half away from zero. The day of a
 * trade is the day of its close time on the strategy's clock (the report's own time without a shift).
 */
struct DailyResults
{
    std::vector<long long> Days;  // days since 1970, ascending
    std::vector<long long> Cents; // the result of each day, in cents (whole units times 100 in any currency)
};

DailyResults DailyResultsOf(const Strategy& strategy);

/**
 * The calendar the strategies share: every Monday to Friday from the first day any of them closed a trade
 * on to the last, and every Saturday and Sunday one of them closed a trade on. Empty without trades.
 */
std::vector<long long> SharedCalendar(const std::vector<const DailyResults*>& strategies);

// A strategy's results on a calendar that holds all its days: 0 on a day it closed no trade.
std::vector<long long> OnCalendar(const DailyResults& daily, const std::vector<long long>& calendar);

// An amount in whole cents, the binary value rounded half away from zero.
long long ToCents(double amount);

} // namespace corvane
