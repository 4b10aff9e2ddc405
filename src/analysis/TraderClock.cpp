#include "analysis/TraderClock.h"

#include "analysis/MoreStatistics.h"
#include "analysis/TableFacts.h"
#include "text/CivilTime.h"

namespace corvane {

void ShowMoreStatisticsOnClock(Session& session, const ClockShift& clock)
{
    if (!FactsCurrent(session) || session.ShownKept.size() != session.FullFacts->Trades.size())
        return;
    const TableFacts& facts = *session.FullFacts;
    ShowMoreStatistics(session, ComputeMoreStatistics(facts.Trades, &session.ShownKept, facts.Symbols, facts.MagicNames,
                                                      session.Report, &clock));
}

std::string ShiftedTimeCell(std::string_view cell, const ClockShift& clock)
{
    const std::optional<long long> seconds = TimeTextSeconds(cell);
    if (!seconds)
        return std::string(cell);
    return TimeText(clock.ToTrader(*seconds), cell.size() >= 19);
}

void ShiftTableTimes(TextGrid& grid, const ClockShift& clock)
{
    if (!clock.Shifts())
        return;
    for (int row = 1; row < grid.RowCount(); ++row)
        for (const int column : {static_cast<int>(kOpenTime), static_cast<int>(kCloseTime)})
            grid.SetCell(column, row, ShiftedTimeCell(grid.Cell(column, row), clock));
}

} // namespace corvane
