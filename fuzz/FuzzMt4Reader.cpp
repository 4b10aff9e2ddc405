// The MetaTrader 4 reader on arbitrary bytes: detection, deposit, preamble, body loop and summary, as a
// fresh load and as an appending one onto a statement. The body read in two halves at once must come out
// as the body read line by line.
#include "FuzzSupport.h"
#include "reports/mt4/Mt4Body.h"
#include "reports/mt4/Mt4Report.h"
#include "text/Errors.h"
#include "text/LineReader.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

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
    for (const auto& [order, line] : session.Report.CloseLines)
        outcome += std::to_string(order) + ">" + std::to_string(line) + "\n";
    outcome += std::to_string(static_cast<int>(session.Report.Layout));
    std::string_view piece;
    while (reader.Next(piece))
        outcome.append(piece);
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    const fuzz::InputFile input(data, size);
    Session session;
    const bool read = fuzz::LoadInto(input.Path(), LoadMode::Replace, Terminal::Mt4, &session);
    if (BodyOutcome(input.Path(), std::numeric_limits<std::size_t>::max()) != BodyOutcome(input.Path(), 0))
        std::abort();
    // Bytes that are no statement would be ignored by an appending load onto one.
    if (!read || (session.Report.Writer == Terminal::Mt4 && session.Report.Kind == ReportKind::Statement))
        fuzz::LoadInto(input.Path(), LoadMode::Append, Terminal::Mt4);
    return 0;
}
