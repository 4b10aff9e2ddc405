#include "charts/Chart.h"

#include "charts/CalendarCurve.h"
#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"
#include "trades/CellErrors.h"

namespace corvane {

namespace {

bool DrawView(Canvas& canvas, const Session& session, ViewMode view, int width, int height, const ClockShift* clock)
{
    switch (view) {
    case ViewMode::Summary:
    case ViewMode::MonteCarlo:
        return false;
    case ViewMode::EquityCurve:
        // The filter pass has left the numbers of the visible table as it now stands.
        if (const VisibleTableFacts& facts = session.ShownFacts;
            facts.GridVersion == session.Grid.Version() && !facts.Values.empty()) {
            DrawEquityCurve(canvas, facts.Values, facts.Marked, session.Report.InitialDeposit, width, height);
            return true;
        }
        return DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, width, height);
    case ViewMode::TimeByOpen:
    case ViewMode::TimeByClose:
        return DrawTimeOfWeekChart(canvas, session.Grid, view == ViewMode::TimeByClose, width, height, clock);
    case ViewMode::EquityByCloseTime:
        return DrawCalendarCurve(canvas, session, width, clock);
    }
    return false;
}

} // namespace

bool DrawChart(Canvas& canvas, const Session& session, ViewMode view, int width, int height, const ClockShift* clock)
{
    return ReadingVisibleTable(session, [&] { return DrawView(canvas, session, view, width, height, clock); });
}

} // namespace corvane
