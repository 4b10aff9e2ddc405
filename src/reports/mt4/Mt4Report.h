#pragma once

#include "trades/Session.h"

#include <optional>
#include <string>

namespace corvane {

class LineReader;

// What the head of a report says: its kind, whether the terminal wrote it, and its row layout.
struct ReportHead
{
    ReportKind Kind = ReportKind::Statement;
    Terminal Writer = Terminal::None;
    RowLayout Layout = RowLayout::Titled;
};

/**
 * Reads the head of a report from the start of `reader`'s file: line 4 names the kind
 * ("<title>Statement" or "<title>Strategy", the second winning), line 5 must carry the terminal's
 * generator meta tag, and a "<td>Taxes</td>" cell on one of the lines 6 to 55 selects the taxes row
 * layout. A file that cannot be opened has no writer. Leaves `reader` at the start of the file.
 */
ReportHead ReadReportHead(LineReader& reader);

/**
 * The initial deposit: a statement's first row with title="Deposit" (else its first balance row before
 * the first trade), or the number that stands 28 characters after the word "deposit" on a tester
 * report's first line that has it. 0.0 when none. Leaves `reader` at the start of the file.
 */
double InitialDeposit(LineReader& reader, ReportKind kind);

// Fresh loads only: takes the report title and, for a tester report, the symbol, and sets the symbol
// list. Leaves `reader` at the line after the last one it read.
void ReadPreamble(LineReader& reader, Session& session);

/**
 * The summary a tester report prints above its trades: from the first row after the spacer row that
 * ends the settings, row 2 holds the net profit, gross profit and gross loss and row 5 the total trades,
 * in every language. Reads the head only, up to the first trade row; leaves `reader` at the start of
 * the file. Nothing when the rows are not there.
 */
std::optional<PrintedSummary> ReadTesterSummary(LineReader& reader);

/**
 * A statement's summary, read from where the body loop stopped ("Working Orders") to the end: the rows
 * of bold money cells in order are Deposit/Withdrawal, Closed Trade P/L, Balance, then the Details
 * block with Gross Profit, Gross Loss, Total Net Profit in its first row and Total Trades in its fourth.
 * A statement that stops after its Summary block gives only the first three.
 */
std::optional<PrintedSummary> ReadStatementSummary(LineReader& reader);

// The symbol a tester report names in its head, from the marker line's text after the marker.
inline constexpr std::string_view kSymbolMarker = "<tr align=left><td colspan=2>Symbol</td><td colspan=4>";

} // namespace corvane
