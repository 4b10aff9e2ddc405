// The text import on arbitrary bytes, onto a table already loaded, then the filter pass and both
// charts; an import that cannot read its file must leave that table as it was.
#include "FuzzSupport.h"
#include "analysis/Filters.h"
#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"
#include "reports/TextImport.h"
#include "text/Errors.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const corvane::fuzz::InputFile input(data, size);
    corvane::Session session;
    session.Full.SetRowCount(3);
    session.Full.SetCell(corvane::kTicket, 1, "1");
    session.Full.SetCell(corvane::kTicket, 2, "2");
    corvane::ImportText(session, input.Path());
    if (session.Report.InitialDeposit != 10000.0 || session.Report.Title != input.Path())
        std::abort();
    corvane::fuzz::NullCanvas canvas;
    try {
        corvane::ApplyFilters(session, MagicFilterFor(session));
        corvane::DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, corvane::kWideWidth);
        corvane::DrawTimeOfWeekChart(canvas, session.Grid, size % 2 == 1, corvane::kWideWidth);
    } catch (const corvane::ConversionError&) {
    }
    return 0;
}
