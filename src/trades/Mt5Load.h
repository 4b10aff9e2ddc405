#pragma once

#include "trades/LoadReport.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

/**
 * LoadReport for a MetaTrader 5 report of the kind DetectMt5Report found, read from the opened `file`: afresh,
 * replacing the tables, lists and report state when the whole file has been read, or, in Append mode, an account
 * history after the trades of another account history, sorted by ticket afterwards.
 * Appending any other report (a tester report, or onto a report of the older terminal) is ignored,
 * leaving the magic list empty as every load does. Every list entry is selected at the end; the
 * magic list stays empty, these reports having no magic numbers.
 *
 * What the load could not read stands in the report state's ReadWarning; the rows it could read are
 * loaded. A load that throws (FileError, ConversionError) leaves the session as it was.
 */
LoadOutcome LoadMt5Report(Session& session, LineReader& file, const std::string& path, LoadMode mode, ReportKind kind,
                          const TradeLineCallback& onTradeLine = {});

} // namespace corvane
