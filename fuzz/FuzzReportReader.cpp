// The report reader on arbitrary bytes: detection, deposit, preamble and body loop, as a fresh load
// and as an appending one onto a statement, then the filter pass and both charts. The same for the
// newer terminal's reader: decoding, table rows and deal pairing, and appending onto an account history.
#include "FuzzSupport.h"
#include "analysis/Commands.h"
#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"
#include "trades/Errors.h"
#include "trades/Mt5Report.h"

#include <cstdint>

namespace {

void RunCharts(const corvane::Session& session)
{
    corvane::fuzz::NullCanvas canvas;
    try {
        corvane::DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, corvane::kWideWidth);
        corvane::DrawTimeOfWeekChart(canvas, session.Grid, true, corvane::kNarrowWidth);
    } catch (const corvane::ConversionError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const corvane::fuzz::InputFile input(data, size);
    corvane::Session session;
    try {
        corvane::LoadAndFilter(session, input.Path(), corvane::LoadMode::Replace);
    } catch (const corvane::ConversionError&) {
    } catch (const corvane::FileError&) {
    }
    RunCharts(session);

    // The same bytes appended to a statement, and to a newer terminal's account history, already loaded.
    for (const int mark : {corvane::kGeneratorMark, corvane::kMt5GeneratorMark}) {
        corvane::Session appending;
        appending.Report.GeneratorMark = mark;
        appending.Full.SetRowCount(4);
        for (int row = 1; row < 4; ++row)
            appending.Full.SetCell(corvane::kTicket, row, std::to_string(row * 7));
        try {
            corvane::LoadAndFilter(appending, input.Path(), corvane::LoadMode::Append);
        } catch (const corvane::ConversionError&) {
        } catch (const corvane::FileError&) {
        }
    }
    return 0;
}
