#pragma once

#include "trades/Session.h"

#include <string>
#include <string_view>

namespace corvane {

/**
 * The account currency a report names, read from its head where the terminal writes it:
 * - a MetaTrader 4 statement: the third cell of its head row, "Currency: USD" (localized labels too:
 *   "基準通貨: JPY"), the text after the label;
 * - a MetaTrader 5 account history: the account cell "12345 (USD, Server, demo, Hedge)", the first word in
 *   the brackets;
 * - a MetaTrader 5 tester report: the Currency row of its settings, the third of their last four rows
 *   (Company, Currency, Initial Deposit, Leverage), as written ("USD", or "profit in pips").
 * "" where the report names none: a MetaTrader 4 tester report, a text import, a head of another shape.
 */
std::string AccountCurrencyOf(std::string_view head, const ReportState& report);

// The same, from the first 256 KB of the report file at `path` (UTF-16 decoded); "" when it cannot be read.
std::string ReadAccountCurrency(const std::string& path, const ReportState& report);

} // namespace corvane
