#include "charts/Chart.h"

#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"

namespace corvane {

bool DrawChart(Canvas& canvas, const Session& session, ViewMode view, int width)
{
    switch (view) {
    case ViewMode::Summary:
        return false;
    case ViewMode::EquityCurve:
        return DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, width);
    case ViewMode::TimeByOpen:
    case ViewMode::TimeByClose:
        return DrawTimeOfWeekChart(canvas, session.Grid, view == ViewMode::TimeByClose, width);
    }
    return false;
}

} // namespace corvane
