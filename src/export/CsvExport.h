#pragma once

#include "trades/Session.h"

#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

/**
 * One CSV field (RFC 4180): the text as it is when it holds no comma, double quote, CR or LF;
 * otherwise in double quotes, each double quote doubled.
 */
std::string CsvField(std::string_view text);

/**
 * The trade table as CSV in UTF-8 for spreadsheets and data tools: a header row of the column names
 * (Ticket to Balance, Magic, Comment), then one row per trade, every line ended by CR LF. The cells are
 * decoded from the report's code page and lose the blanks that pad them to the report's widths.
 */
void WriteCsvTable(std::ostream& out, const Session& session);

} // namespace corvane
