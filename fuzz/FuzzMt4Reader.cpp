// The report reader on arbitrary bytes: detection, deposit, preamble and body loop, as a fresh load
// and as an appending one onto a statement, then the filter pass and both charts. The same for the
// newer terminal's reader: decoding, table rows and deal pairing, and appending onto an account history.
// The body read in two halves at once must come out as the body read line by line.
#include "FuzzSupport.h"
#include "analysis/Commands.h"
#include "charts/EquityCurve.h"
#include "charts/TimeOfWeekChart.h"
#include "reports/mt4/Mt4Body.h"
#include "reports/mt4/Mt4Report.h"
#include "reports/mt5/Mt5Report.h"
#include "text/Errors.h"
#include "text/LineReader.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

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

// Everything the body loop leaves: the rows, the lists, the balance rows, the layout, the places of the
// trade lines and the rest of the file.
std::string BodyOutcome(const std::string& path, std::size_t halvesFrom)
{
    corvane::LineReader reader(path);
    corvane::Session session;
    const corvane::ReportHead head = corvane::ReadReportHead(reader);
    session.Report.Kind = head.Kind;
    session.Report.Layout = head.Layout;
    corvane::ReadPreamble(reader, session);
    std::string outcome;
    const auto tradeLine = [&] { outcome += std::to_string(reader.Fraction()) + "\n"; };
    const int rows = corvane::ReadBody(reader, session, 1, tradeLine, halvesFrom);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < corvane::kFullColumns; ++column)
            outcome.append(session.Full.Cell(column, row)).append("\t");
    for (const corvane::SelectionList* list : {&session.Pairs, &session.Magic})
        for (int i = 0; i < list->Count(); ++i)
            outcome.append(list->Text(i)).append("\n");
    for (const corvane::BalanceRow& row : session.Report.BalanceRows)
        outcome += row.Time + row.Comment + std::to_string(row.Amount) + std::to_string(row.Ticket);
    outcome += std::to_string(static_cast<int>(session.Report.Layout));
    std::string_view piece;
    while (reader.Next(piece))
        outcome.append(piece);
    return outcome;
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
    for (const corvane::Terminal mark : {corvane::Terminal::Mt4, corvane::Terminal::Mt5}) {
        corvane::Session appending;
        appending.Report.Writer = mark;
        appending.Full.SetRowCount(4);
        for (int row = 1; row < 4; ++row)
            appending.Full.SetCell(corvane::kTicket, row, std::to_string(row * 7));
        try {
            corvane::LoadAndFilter(appending, input.Path(), corvane::LoadMode::Append);
        } catch (const corvane::ConversionError&) {
        } catch (const corvane::FileError&) {
        }
    }
    if (BodyOutcome(input.Path(), std::numeric_limits<std::size_t>::max()) != BodyOutcome(input.Path(), 0))
        std::abort();
    return 0;
}
