#pragma once

#include "analysis/Filters.h"
#include "reports/LoadReport.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

/**
 * The core of the commands that the window and the command-line tool share. Each runs what the
 * window's handler runs between its busy check and its chart refresh.
 */

// Load File: loads the report and, when it was loaded, runs the filter pass. The load hides the magic
// list, so the magic number plays no part in that pass.
LoadOutcome LoadAndFilter(Session& session, const std::string& path, LoadMode mode,
                          const TradeLineCallback& onTradeLine = {});

// A change of the symbol list's selection: rebuilds the magic list, then filters.
void PairsListChanged(Session& session, MagicFilter magicFilter);

// A change of the magic list's selection: filters.
void MagicListChanged(Session& session, MagicFilter magicFilter);

// Whether a switch held on Load File (append) or on Normalize (ten times) counts: only while at least
// two trades are loaded.
bool SwitchApplies(const Session& session, bool held);

} // namespace corvane
