#include "export/CsvExport.h"

#include "export/SpreadsheetText.h"
#include "text/TextDecoding.h"
#include "text/TextRoutines.h"

#include <array>

namespace corvane {

namespace {

struct CsvColumn
{
    int Column;
    std::string_view Name;
};

// The visible table's columns with the two prices told apart, then the alternate view's Magic and Comment.
constexpr std::array<CsvColumn, 17> kCsvColumns = {{
    {kTicket, "Ticket"},
    {kOpenTime, "Open Time"},
    {kType, "Type"},
    {kLots, "Lots"},
    {kItem, "Item"},
    {kOpenPrice, "Open Price"},
    {kStopLoss, "S/L"},
    {kTakeProfit, "T/P"},
    {kCloseTime, "Close Time"},
    {kClosePrice, "Close Price"},
    {kComm, "Comm"},
    {kSwap, "Swap"},
    {kProfit, "P/L"},
    {kPips, "Pips"},
    {kBalance, "Balance"},
    {kMagic, "Magic"},
    {kComment, "Comment"},
}};

constexpr std::string_view kCrLf = "\r\n";

} // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    field += '"';
    return field;
}

bool CellsKeepEntities(const ReportState& report)
{
    return report.Writer != Terminal::Mt5;
}

void WriteCsvTable(std::ostream& out, const Session& session)
{
    const bool entitiesKept = CellsKeepEntities(session.Report);
    for (std::size_t i = 0; i < kCsvColumns.size(); ++i)
        out << (i ? "," : "") << CsvField(kCsvColumns[i].Name);
    out << kCrLf;
    const TextGrid& table = session.Full;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (Trimmed(table.Cell(kTicket, row)).empty())
            continue; // the blank row of an empty table
        for (std::size_t i = 0; i < kCsvColumns.size(); ++i) {
            const std::string text =
                ReportTextToUtf8(Trimmed(table.Cell(kCsvColumns[i].Column, row)), session.Report.CodePage);
            out << (i ? "," : "") << CsvField(SpreadsheetCell(text, entitiesKept));
        }
        out << kCrLf;
    }
}

} // namespace corvane
