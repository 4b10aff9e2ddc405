#pragma once

#include "trades/Session.h"

#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

/**
 * The text export: the visible table as tab-separated lines ending in CR LF, the line ends the
 * program's own text files have always had. A header line of 18 fields (the 16th empty), then one line
 * per visible row: the 14 cells Ticket to Pips, the Balance without its drawdown marker, "*" for a
 * row of the drawdown stretch or an empty field, and the Magic and Comment of the alternate view's row
 * of the same number. Cells are written exactly as held: leading blanks stay, nothing is quoted.
 */
void WriteTextExport(std::ostream& out, const Session& session);

/**
 * Writes the text export to `path` (ReplacingFile: complete or not at all). Returns false and writes
 * nothing when no trade is loaded. A file that cannot be written throws FileError.
 */
bool ExportText(const Session& session, const std::string& path);

// A Balance cell split at its first drawdown marker: the balance, and whether the marker was there.
struct BalanceAndMark
{
    std::string_view Balance;
    bool Marked = false;
};
BalanceAndMark SplitDrawdownMark(std::string_view balanceCell);

} // namespace corvane
