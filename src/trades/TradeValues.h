#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

// The numbers of one trade row that the filter pass and the statistics use. A blank Comm or Swap
// cell has no value.
struct TradeValues
{
    double Profit = 0.0;
    double Comm = 0.0;
    double Swap = 0.0;
    bool HasComm = false;
    bool HasSwap = false;
    long long Pips = 0;
};

/**
 * The numbers of the trade table's rows as far as they have been read, for the table as it stood at
 * one version: a click in a list filters the same rows again, and their cells need not be read as
 * numbers again until the table changes.
 */
struct TradeValuesCache
{
    std::uint64_t Version = ~std::uint64_t{0};
    std::vector<TradeValues> Values;
    std::vector<char> Known;
};

} // namespace corvane
