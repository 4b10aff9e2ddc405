#include "export/HtmlExport.h"

#include "analysis/HtmlSummary.h"
#include "export/ExportNames.h"
#include "export/ReplacingFile.h"
#include "export/TextExport.h"
#include "trades/CellErrors.h"

#include <optional>

namespace corvane {

namespace {

constexpr std::string_view kHeadBeforeTitle = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                                              "\"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
                                              "<html>\r\n"
                                              "  <head>\r\n"
                                              "    <title>";

constexpr std::string_view kHeadAfterHelp =
    "\">\r\n"
    "    <style type=\"text/css\" media=\"screen\">\r\n"
    "    <!--\r\n"
    "    td { font: 8pt Tahoma,Arial; }\r\n"
    "    //-->\r\n"
    "    </style>\r\n"
    "    <style type=\"text/css\" media=\"print\">\r\n"
    "    <!--\r\n"
    "    td { font: 7pt Tahoma,Arial; }\r\n"
    "    //-->\r\n"
    "    </style>\r\n"
    "    <style type=\"text/css\">\r\n"
    "    <!--\r\n"
    "    .msdate { mso-number-format:\"General Date\"; }\r\n"
    "    .mspt   { mso-number-format:#,##0.00;  }\r\n"
    "    //-->\r\n"
    "    </style>\r\n"
    "  </head>\r\n"
    "<body topmargin=1 marginheight=1>\r\n"
    "<div align=center>\r\n"
    "<div style=\"font: 20pt Times New Roman\"><b>Corvane4 - 1.8</b></div><br>\r\n";

constexpr std::string_view kTradeTableHead =
    "<table cellspacing=1 cellpadding=3 border=0 width=802>\r\n"
    "<tr align=left>\r\n"
    "<br>\r\n"
    "<tr align=left><td colspan=13><b></b></td></tr>\r\n"
    "<tr align=center bgcolor=\"#C0C0C0\">\r\n"
    "   <td width=45>Ticket</td><td nowrap>Open Time</td><td>Type</td><td>Lots</td><td>Item</td>\r\n"
    "   <td>Price</td><td>S / L</td><td>T / P</td><td nowrap>Close Time</td>\r\n"
    "   <td>Price</td><td>Commission</td><td>Swap</td><td>Profit</td><td>Pips</td><td width=60>Balance</td>"
    "<td>DD</TD></tr>\r\n";

constexpr std::string_view kClosing = "   </table><br><br>\r\n"
                                      "   </div></body></html>\r\n";

// Appends a text that comes from a report or an import as page text: raw "<", ">" and '"' become
// entities, so that markup in a cell is shown and never run. Entities already in the text, as the
// terminal writes them, pass unchanged.
void AppendEscaped(std::string& out, std::string_view text)
{
    std::size_t plain = 0; // the start of the text not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '<' && c != '>' && c != '"')
            continue;
        out.append(text.substr(plain, i - plain));
        out.append(c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;");
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

std::string Escaped(std::string_view text)
{
    std::string out;
    AppendEscaped(out, text);
    return out;
}

void WriteHead(std::ostream& out, const Session& session)
{
    out << kHeadBeforeTitle << Escaped(session.Report.Title) << "</title>\r\n"
        << "    <meta name=\"generator\" content=\"Corvane\">\r\n"
        << "    <link rel=\"help\" href=\"" << kHelpAddress << kHeadAfterHelp;
}

// Row i of the trade table: odd rows plain, even rows grey.
void WriteTradeRow(std::ostream& out, const Session& session, int row, std::string& line)
{
    std::string_view cells[kGridColumns];
    session.Grid.ReadCells(row, cells);
    line.assign(row % 2 ? "<tr align=right>" : "<tr bgcolor=#E0E0E0 align=right>");
    line.append("<td title=\"#");
    AppendEscaped(line, session.XGrid.Cell(kXMagic, row));
    line.append(" ");
    AppendEscaped(line, session.XGrid.Cell(kXComment, row));
    line.append("\">");
    AppendEscaped(line, cells[kTicket]);
    line.append("</td>");
    for (int column = kOpenTime; column < kBalance; ++column) {
        line.append("<td>");
        AppendEscaped(line, cells[column]);
        line.append("</td>");
    }
    const BalanceAndMark balance = SplitDrawdownMark(cells[kBalance]);
    line.append("<td>");
    AppendEscaped(line, balance.Balance);
    line.append(balance.Marked ? "</td><td>*</td>\r\n" : "</td><td></td>\r\n");
    line.append("</tr>\r\n");
    out << line;
}

} // namespace

void WriteHtmlReport(std::ostream& out, const Session& session, const std::string* picturePath)
{
    WriteHead(out, session);
    ReadingVisibleTable(session, [&] { WriteHtmlSummary(out, session.Grid, session.Report.InitialDeposit); });
    if (picturePath)
        out << "<br>\r\n<img src=" << Escaped(*picturePath) << ">\r\n";
    out << kTradeTableHead;
    std::string line;
    for (int row = 1; row < session.Grid.RowCount(); ++row)
        WriteTradeRow(out, session, row, line);
    out << kClosing;
}

bool ExportHtml(const Session& session, const std::string& path, const PictureWriter* picture)
{
    if (NothingLoaded(session))
        return false;
    std::optional<std::string> picturePath;
    if (picture)
        picturePath = PicturePath(session.ReportPath, path);
    ReplacingFile page(path);
    WriteHtmlReport(page.Stream(), session, picturePath ? &*picturePath : nullptr);
    if (picture)
        (*picture)(*picturePath);
    page.Commit();
    return true;
}

} // namespace corvane
