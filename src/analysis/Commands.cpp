#include "Commands.h"

#include "Filters.h"

namespace corvane {

LoadOutcome LoadAndFilter(Session& session, const std::string& path, const TradeLineCallback& onTradeLine)
{
    const LoadOutcome outcome = LoadReport(session, path, onTradeLine);
    if (outcome == LoadOutcome::Loaded)
        ApplyFilters(session);
    return outcome;
}

void PairsListChanged(Session& session)
{
    RebuildMagicList(session);
    ApplyFilters(session);
}

void MagicListChanged(Session& session)
{
    ApplyFilters(session);
}

bool SwitchApplies(const Session& session, bool held)
{
    return held && session.Full.RowCount() > 2;
}

} // namespace corvane
