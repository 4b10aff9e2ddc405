#pragma once

#include "portfolio/DailyResults.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace corvane {

/**
 * The correlation of the strategies' daily results, pair by pair: Pearson's coefficient over the days on
 * which at least one of the two closed a trade (a day only one of them traded counts 0 for the other; the
 * days neither traded are left out), of the results in cents without weights. A strategy with itself has 1;
 * a pair has none when fewer than two days count or one of them has the same result every day. The matrix
 * is symmetric.
 */
struct CorrelationMatrix
{
    std::size_t Size = 0;
    std::vector<std::optional<double>> Values; // row by row, Size x Size
    std::vector<long long> DaysTogether;       // days both closed a trade on
    std::vector<long long> DaysCounted;        // days either closed a trade on: the days of the coefficient

    const std::optional<double>& Value(std::size_t row, std::size_t column) const
    {
        return Values[row * Size + column];
    }
    long long Together(std::size_t row, std::size_t column) const { return DaysTogether[row * Size + column]; }
    long long Counted(std::size_t row, std::size_t column) const { return DaysCounted[row * Size + column]; }
};

CorrelationMatrix Correlate(const std::vector<DailyResults>& daily);

} // namespace corvane
