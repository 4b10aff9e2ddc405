#include "export/TextExport.h"

#include "analysis/Statistics.h"
#include "export/ReplacingFile.h"

namespace corvane {

namespace {

constexpr std::string_view kHeader = "Ticket\tOpen Time\tType\tLots\tItem\tPrice\tS/L\tT/P\tClose Time\tPrice\t"
                                     "Comm\tSwap\tP/L\tPips\tBalance\t\tMagic\tComment\r\n";

// A cell of a report may hold a tab; written as it stands it would split the record, and the file
// would read back with its fields shifted. It is written as a blank.
void AppendField(std::string& line, std::string_view cell)
{
    const std::size_t start = line.size();
    line.append(cell);
    for (std::size_t i = start; i < line.size(); ++i)
        if (line[i] == '\t')
            line[i] = ' ';
}

} // namespace

BalanceAndMark SplitDrawdownMark(std::string_view balanceCell)
{
    const std::size_t mark = balanceCell.find(kDrawdownMarker);
    if (mark == std::string_view::npos)
        return {balanceCell, false};
    return {balanceCell.substr(0, mark), true};
}

void WriteTextExport(std::ostream& out, const Session& session)
{
    out << kHeader;
    const TextGrid& grid = session.Grid;
    std::string_view cells[kGridColumns];
    std::string line;
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        line.clear();
        for (int column = 0; column < kBalance; ++column) {
            AppendField(line, cells[column]);
            line.push_back('\t');
        }
        const BalanceAndMark balance = SplitDrawdownMark(cells[kBalance]);
        AppendField(line, balance.Balance);
        line.append(balance.Marked ? "\t*\t" : "\t\t");
        AppendField(line, session.XGrid.Cell(kXMagic, row));
        line.push_back('\t');
        AppendField(line, session.XGrid.Cell(kXComment, row));
        line.append("\r\n");
        out << line;
    }
}

bool ExportText(const Session& session, const std::string& path)
{
    if (NothingLoaded(session))
        return false;
    ReplacingFile file(path);
    WriteTextExport(file.Stream(), session);
    file.Commit();
    return true;
}

} // namespace corvane
