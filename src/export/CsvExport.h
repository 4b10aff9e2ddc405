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

// Whether the cells of the report hold its HTML entities as it wrote them: a MetaTrader 4 report's
// do (its reader cuts cells out of the lines), a MetaTrader 5 report's are decoded as they are read.
bool CellsKeepEntities(const ReportState& report);

/**
 * The trade table as CSV in UTF-8 for spreadsheets and data tools: a header row of the column names
 * (Ticket to Balance, Magic, Comment), then one row per trade, every line ended by CR LF. The cells are
 * decoded from the report's code page and of its HTML entities, lose the blanks that pad them to the
 * report's widths, and a text a spreadsheet would run as a formula is written as text (SpreadsheetCell).
 */
void WriteCsvTable(std::ostream& out, const Session& session);

} // namespace corvane
