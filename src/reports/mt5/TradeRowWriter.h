#pragma once

#include "reports/mt5/PositionBook.h"
#include "trades/SelectionList.h"
#include "trades/Session.h"
#include "trades/TextGrid.h"

#include <string>
#include <string_view>

namespace corvane {

/**
 * Writes the trade rows of a newer terminal's report into the trade table in the cell formats of the
 * older reports' rows, so that every command reads them as it reads those:
 *  - Ticket, times, prices and Lots as the report writes them; Type "buy" or "sell";
 *  - Item the symbol as the terminal writes it, in a tester report too (the older tester's is lower-cased;
 *    the symbol list and the filters compare symbols apart from letter case);
 *  - an S/L or T/P that is not set is a zero with the open price's decimals ("0.00000"), as the older
 *    terminal writes it;
 *  - Comm and Swap "%6s" of the amount with two decimals, P/L "%10.2f", so that whole-yen amounts read
 *    as the numbers they are;
 *  - Magic 12 blanks: these reports have no magic numbers; Comment the position's comment.
 * Each row raises the row count by one, adds its symbol to the symbol list and calls the callback.
 */
class TradeRowWriter
{
public:
    TradeRowWriter(TextGrid& full, int firstRow, SelectionList& pairs, const TradeLineCallback& onTradeLine);

    // A closed trade (a close time) or an open one (none; the close price is then the market price).
    void Write(const PositionFacts& facts, std::string_view lots, std::string_view closeTime,
               std::string_view closePrice, const DealMoney& money);

private:
    TextGrid& m_full;
    int m_row;
    SelectionList& m_pairs;
    const TradeLineCallback& m_onTradeLine;
};

// An amount in cents with two decimals, right-aligned to `width`.
std::string MoneyText(long long cents, int width);

} // namespace corvane
