#pragma once

#include "trades/Session.h"

#include <string>

namespace corvane {

/**
 * Import: makes the trades of a tab-separated text file, as the text export writes it, the new trade
 * table. The file is read as the reports are (LineReader: pieces of at most 1023 bytes, a CR LF line
 * end reading as one newline, so a longer line arrives as two records). A line whose first six
 * characters are "Ticket" is a header and is skipped. Every other line is a record whose first 15
 * tab-separated fields, its line end left out, become columns 0 to 14 of a trade row as they stand;
 * fields a short line lacks are empty and further fields (drawdown mark, magic number, comment) are
 * ignored. Each record's Item joins the symbol list unless an entry equals it apart from letter case.
 *
 * Afterwards: the report title and the file of the trades are `path`, the initial deposit 10000.0,
 * the visible table and the alternate view are reset, the summary text is cleared, the magic list is
 * cleared and hidden, and every symbol entry is selected. Report kind, generator mark, row layout,
 * report symbol and the path of the report last loaded stay. The caller runs the filter pass.
 *
 * A file that cannot be opened throws FileError and leaves the session as it was.
 */
void ImportText(Session& session, const std::string& path);

} // namespace corvane
