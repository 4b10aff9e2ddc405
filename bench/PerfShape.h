#pragma once

#include "ReportGenerator.h"

#include <string>

namespace corvane::bench {

/**
 * Large reports in the shape of real terminal output (the perf shape), grown from a report of that shape:
 * one table row a line, line ends as the source has them, titles with comments, msdate and mspt cells,
 * number-format styles, deposits, cancelled limit orders, alternating row colours. The sources are
 * statement-10k.htm and tester-10k.htm of the perf folder, ../shared/perf beside the repository
 * (CORVANE_PERF_DIR); they are read, never copied into the project.
 *
 * The source is cut in three: the head, up to the column titles of the trades; the trade rows, every line
 * after them that is a table row holding a time "yyyy.mm.dd hh:mm"; and the tail, the rest (a statement's
 * closed P/L, open trades, working orders and summary, or the end of the page). The report written is the
 * head, the trade rows again and again, and the tail. Each copy moves every date of its rows later by the
 * same whole number of weeks (so weekdays and times of day stay) past the source's last date, and adds the
 * same amount to the numbers that tie rows together, past the source's largest:
 *  - a statement row's ticket, the first cell of digits alone (a stop order's "placed" line and the
 *    "process" row that fills it keep one ticket);
 *  - a tester row's order number, its fourth cell, on the opening, modifying and closing lines alike,
 *    so each order keeps its pairing; its first cell counts the rows written, 1, 2, 3...
 * The tail's rows that hold a time (a statement's open trades and working orders) move with the last copy;
 * the summary stays as it is, so the trades no longer add up to it.
 *
 * A trade is a row whose type, the third cell, is "buy", "sell" or "process" (a filled stop order) in a
 * statement, and "buy", "sell" or "swap open" in a tester report. When `trades` is not a whole number of
 * copies, the last copy is cut short: a statement's rows up to its last trade wanted, a tester report's
 * rows of the orders of the first trades of the copy alone, so that every trade written is closed.
 */

// The source of a perf-shape report in the perf folder: statement-10k.htm for PerfStatement,
// tester-10k.htm for PerfTester; empty for the generator's own types.
std::string PerfShapeSource(ReportType type);

/**
 * Writes to `path` a report of `type` (PerfStatement or PerfTester) with `trades` trades, grown from the
 * report `source` of that shape; the trades counted as above include the tail's open trades. Throws
 * std::runtime_error when `source` cannot be read or is not of the shape, when `trades` is fewer than the
 * tail's open trades, or when the file cannot be written.
 */
GeneratedReport WritePerfShape(ReportType type, const std::string& source, const std::string& path, long long trades);

} // namespace corvane::bench
