#pragma once

#include "analysis/TableFacts.h"
#include "trades/Session.h"
#include "trades/TradeValues.h"

#include <optional>
#include <string_view>

namespace corvane {

/**
 * The numbers of the trade table's rows as the filter pass reads them (P/L, Comm, Swap and the pips of
 * the prices), kept in the session's cache for each version of the table: a click in a list filters the
 * same rows again without reading their cells as numbers again.
 */

/**
 * Pips of a trade from its type and its open and close price texts. Each price is fitted into five
 * digits: its characters without "." are copied into "00000" from position 1 when the text is exactly
 * five characters long, else from 0; extra characters are dropped. A buy (type starting with "b") gains
 * close minus open; a sell, open minus close.
 */
long long TradePips(std::string_view type, std::string_view openPrice, std::string_view closePrice);

// The numbers of one row from its cells up to P/L; a cell that is not a number throws ConversionError
// naming its column.
TradeValues ReadRowNumbers(const std::string_view* cells);

// Makes the session's cache the one of the trade table as it now stands: when the table has changed, empty,
// a place for each row, a large table's rows read at once in two parts (the second on a thread of its own).
void MakeRowNumbersCurrent(Session& session);

// The numbers of a row of the trade table, read from `cells` and kept when the cache does not hold them yet.
// On the only thread at the cache.
TradeValues RowNumbers(Session& session, int fullRow, const std::string_view* cells);

// The numbers the cache holds of a row, else those read from the table (kept when `keep` says the caller's
// thread is the only one at the cache); nothing for a row whose cells are not numbers.
std::optional<TradeValuesCache::Entry> RowNumbersOf(Session& session, int fullRow, bool keep);

// The numbers of every row of a large trade table, read in the walk that reads its facts anew.
class NumbersWithFacts final : public RowVisitor
{
public:
    explicit NumbersWithFacts(Session& session) : m_session(session) {}

    // Whether the walk reads the facts while the numbers are wanted: then they are read in it.
    bool Wanted() const;

    // Makes room for the numbers the walk reads.
    void Prepare();

    // On either thread of the walk: writes the cache entry of its own row only.
    void Visit(int row, const std::string_view* cells) override;

private:
    Session& m_session;
};

} // namespace corvane
