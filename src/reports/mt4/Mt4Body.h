#pragma once

#include "trades/Session.h"

#include <cstddef>

namespace corvane {

class LineReader;

// A body of this many bytes or more is read in two halves at once, the second on a thread of its own.
constexpr std::size_t kBodyHalvesFrom = 4 << 20;

/**
 * Reads trade lines into the trade table from `currentRow` on until "Working Orders" or the end of the
 * file, raising the row count after every trade and adding symbols and magic keys to the lists.
 * Returns the row the next trade would have been written to. A body of `halvesFrom` bytes or more is
 * read in two halves at the same time; the outcome is the same in every respect as reading it line by
 * line (the second half is read again after the first when the first would have changed it), but that
 * the pending events run for the second half's trade lines once the first half is read.
 */
int ReadBody(LineReader& reader, Session& session, int currentRow, const TradeLineCallback& onTradeLine,
             std::size_t halvesFrom = kBodyHalvesFrom);

} // namespace corvane
