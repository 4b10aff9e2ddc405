#include "GridText.h"

namespace corvane::test {

std::string RowText(const TextGrid& grid, int row)
{
    std::string text;
    for (int column = 0; column < grid.ColumnCount(); ++column)
        text.append(column ? "\t" : "").append(grid.Cell(column, row));
    return text;
}

Cells AllRows(const TextGrid& grid)
{
    Cells rows;
    for (int row = 0; row < grid.RowCount(); ++row)
        rows.push_back(RowText(grid, row));
    return rows;
}

Cells ColumnCells(const TextGrid& grid, int column)
{
    Cells cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.emplace_back(grid.Cell(column, row));
    return cells;
}

Cells Entries(const SelectionList& list)
{
    Cells entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back(list.Text(i));
    return entries;
}

std::vector<bool> SelectedFlags(const SelectionList& list)
{
    std::vector<bool> flags;
    for (int i = 0; i < list.Count(); ++i)
        flags.push_back(list.Selected(i));
    return flags;
}

std::string JoinCrLf(const Cells& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

Cells SplitCrLf(const std::string& text)
{
    Cells lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace corvane::test
