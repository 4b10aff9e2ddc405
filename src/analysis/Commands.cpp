#include "analysis/Commands.h"

#include "analysis/Filters.h"
#include "analysis/MoreStatistics.h"

namespace corvane {

LoadOutcome LoadAndFilter(Session& session, const std::string& path, LoadMode mode,
                          const TradeLineCallback& onTradeLine)
{
    const LoadOutcome outcome = LoadReport(session, path, mode, onTradeLine);
    if (outcome == LoadOutcome::Loaded) {
        ApplyFilters(session, MagicFilter::Off);
        // A report without a closed trade has no summary to show, but its own figures are still checked.
        if (session.Grid.RowCount() <= 1 && session.Report.Printed)
            CheckEmptyTable(session);
    }
    return outcome;
}

void PairsListChanged(Session& session, MagicFilter magicFilter)
{
    RebuildMagicList(session);
    ApplyFilters(session, magicFilter);
}

void MagicListChanged(Session& session, MagicFilter magicFilter)
{
    ApplyFilters(session, magicFilter);
}

bool SwitchApplies(const Session& session, bool held)
{
    return held && session.Full.RowCount() > 2;
}

} // namespace corvane
