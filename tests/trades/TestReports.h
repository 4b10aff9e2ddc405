#pragma once

#include "LoadReport.h"
#include "CommaLocale.h"
#include "Session.h"
#include "TempDir.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

// The given lines, each followed by CR LF, as the terminal writes its template lines.
std::string CrLfLines(const std::vector<std::string>& lines);

/**
 * A report head of five lines whose fourth line holds `title` and whose fifth line is `fifth`,
 * followed by `more` lines. The generator line is the terminal's own unless given otherwise.
 */
inline constexpr std::string_view kGeneratorLine =
    "    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">";
std::vector<std::string> HeadLines(const std::string& titleLine,
                                   std::string fifth = std::string(kGeneratorLine));

// A line that registers a pending order: its third "align=right>" cell holds the order's ticket.
std::string PendingOrderLine(const std::string& type, const std::string& ticket);

// `before`, one NUL byte, `after`.
std::string WithNul(std::string_view before, std::string_view after);

// All cells of one row of a grid, column 0 first.
std::vector<std::string> RowCells(const TextGrid& grid, int row);
// One column of the trade rows (row 1 to the last row).
std::vector<std::string> ColumnCells(const TextGrid& grid, int column);
// The entries of a list, in order.
std::vector<std::string> Entries(const SelectionList& list);
bool AllSelected(const SelectionList& list);

// Writes `bytes` as a file of `dir` and loads it into `session`.
LoadOutcome LoadBytes(Session& session, const TempDir& dir, std::string_view bytes,
                      const std::string& name = "report.htm", const TradeLineCallback& onTradeLine = {});


} // namespace corvane::test
