#include "TestReports.h"

#include <clocale>

namespace corvane::test {

std::string CrLfLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

std::vector<std::string> HeadLines(const std::string& titleLine, std::string fifth)
{
    return {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", "<html>", "  <head>", titleLine,
            std::move(fifth)};
}

std::string PendingOrderLine(const std::string& type, const std::string& ticket)
{
    return "<tr align=right><td>9</td><td class=msdate>2024.01.02 09:00</td><td>" + type +
           "</td><td align=right>0.10</td><td align=right>" + ticket + "</td></tr>";
}

std::string WithNul(std::string_view before, std::string_view after)
{
    std::string out(before);
    out.push_back('\0');
    out.append(after);
    return out;
}

std::vector<std::string> RowCells(const TextGrid& grid, int row)
{
    std::vector<std::string> cells;
    for (int column = 0; column < grid.ColumnCount(); ++column)
        cells.emplace_back(grid.Cell(column, row));
    return cells;
}

std::vector<std::string> ColumnCells(const TextGrid& grid, int column)
{
    std::vector<std::string> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.emplace_back(grid.Cell(column, row));
    return cells;
}

std::vector<std::string> Entries(const SelectionList& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back(list.Text(i));
    return entries;
}

bool AllSelected(const SelectionList& list)
{
    for (int i = 0; i < list.Count(); ++i)
        if (!list.Selected(i)) return false;
    return true;
}

LoadOutcome LoadBytes(Session& session, const TempDir& dir, std::string_view bytes, const std::string& name,
                      const TradeLineCallback& onTradeLine)
{
    return LoadReport(session, dir.Write(name, bytes), onTradeLine);
}

} // namespace corvane::test
