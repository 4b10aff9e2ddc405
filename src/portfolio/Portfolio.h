#pragma once

#include "portfolio/DailyResults.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

// The worth of one unit of an account currency in the currency strategies are combined in.
struct CurrencyRate
{
    std::string Currency; // as the reports name it; "unknown" for strategies whose report names none
    double Rate = 1.0;
};

// Weights or rates that cannot be applied; the message says which and why.
class CombineError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * Strategies combined into one portfolio: on the calendar their days share, each day the strategies'
 * daily results (in cents), each times its factor (its weight, times its currency's rate when rates were
 * given), added up and rounded to the cent half away from zero. The combined curve runs from 0; its
 * drawdown is the deepest fall of the curve from a peak (0 counts as the first), day by day.
 */
struct Combination
{
    std::string Currency;             // the currency its money is in; "" when the reports name none
    std::vector<std::size_t> Members; // the strategies combined, by place in the comparison
    std::vector<double> Factors;      // each member's weight times its rate
    std::vector<long long> Days;      // the members' shared calendar (SharedCalendar)
    std::vector<long long> Cents;     // the combined result of each of those days

    long long NetCents = 0;
    long long MaxDrawdownCents = 0;
    std::optional<std::size_t> DrawdownPeak; // the day of the peak the drawdown fell from; none: from the start
    std::size_t DrawdownTrough = 0;          // the day it reached its bottom
    // The members' own drawdowns, each measured the same way on its weighted daily results (each day
    // rounded to the cent), added up: what the drawdown would be if the strategies fell at the same time.
    long long SumOfSingleDrawdownsCents = 0;
    long long DaysTraded = 0; // days some member closed a trade on
    long long WinningDays = 0;
    long long LosingDays = 0;
    long long BestDayCents = 0;
    long long WorstDayCents = 0;
    std::optional<double> RecoveryFactor; // net result / drawdown; none without a drawdown
    // The mean of the days' results over their standard deviation (n - 1), times the root of 252; none
    // for fewer than two days or no deviation.
    std::optional<double> SharpeRatioAnnual;
};

/**
 * Combines the strategies of `daily` (one each, in order) with their weights and account currencies. Without
 * rates, strategies of different currencies are combined per currency, strategies whose reports name no
 * currency among themselves, and `notes` says so. With rates, every strategy is converted into the one
 * currency left without a rate (or the one whose rate is 1); throws CombineError when two currencies have
 * no rate, or a weight or rate is not a finite number.
 */
std::vector<Combination> Combine(const std::vector<DailyResults>& daily, const std::vector<std::string>& currencies,
                                 const std::vector<double>& weights, const std::vector<CurrencyRate>& rates,
                                 std::vector<std::string>& notes);

// The deepest fall of a running sum of daily results from its peak (0 counts as the first peak), in cents.
long long MaxDrawdownOf(const std::vector<long long>& cents);

} // namespace corvane
