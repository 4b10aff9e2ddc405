// The filter pass, the statistics and both charts over a trade table of arbitrary cell texts: each
// input line is a trade row, its tab-separated fields the row's cells.
#include "FuzzSupport.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "analysis/Statistics.h"
#include "analysis/SummaryText.h"
#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"
#include "text/Errors.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = corvane::fuzz::SplitCells(text);
    corvane::Session session;
    session.Report.InitialDeposit = size % 3 == 0 ? 0.0 : 1000.0;
    session.Full.SetRowCount(static_cast<int>(lines.size()) + 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t c = 0; c < lines[i].size(); ++c)
            session.Full.SetCell(static_cast<int>(c), static_cast<int>(i) + 1, lines[i][c]);
        session.Pairs.AddIfAbsent(session.Full.Cell(corvane::kItem, static_cast<int>(i) + 1));
        session.Magic.AddIfAbsent(corvane::MagicKeyOfCell(session.Full.Cell(corvane::kMagic, static_cast<int>(i) + 1)));
    }
    session.Pairs.SelectAll();
    corvane::fuzz::NullCanvas canvas;
    try {
        corvane::PairsListChanged(session, corvane::MagicFilterFor(session));
    } catch (const corvane::ConversionError&) {
    }
    // The visible table as given, without the filter pass's own columns.
    session.Grid.SetRowCount(static_cast<int>(lines.size()) + 1);
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t c = 0; c < lines[i].size(); ++c)
            session.Grid.SetCell(static_cast<int>(c), static_cast<int>(i) + 1, lines[i][c]);
    try {
        corvane::ShowSummary(session);
    } catch (const corvane::ConversionError&) {
    }
    try {
        corvane::DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, corvane::kNarrowWidth);
    } catch (const corvane::ConversionError&) {
    }
    try {
        corvane::DrawTimeOfWeekChart(canvas, session.Grid, size % 2 == 0, corvane::kWideWidth);
    } catch (const corvane::ConversionError&) {
    }
    return 0;
}
