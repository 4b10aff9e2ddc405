#include "edit/DeleteTrades.h"

#include "analysis/Filters.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace corvane {

namespace {

/**
 * Marks the trade rows that the walk over the selected rows deletes. Deleting a row and moving the
 * rows below it up keeps the order of the others, so "the first remaining row with this ticket" is
 * the uppermost row with that ticket not yet marked: the rows of each ticket are chained from the top
 * down, and every deletion takes the head of its chain.
 */
std::vector<char> MarkDeletedRows(const Session& session, int firstGridRow, int lastGridRow, int& deleted)
{
    const TextGrid& full = session.Full;
    const int rows = full.RowCount();
    std::unordered_map<std::string_view, int> uppermost; // 0 once every row of the ticket is marked
    uppermost.reserve(static_cast<std::size_t>(rows));
    std::vector<int> nextWithSameTicket(static_cast<std::size_t>(std::max(rows, 1)), 0);
    for (int row = rows - 1; row >= 1; --row) {
        const auto [entry, inserted] = uppermost.try_emplace(full.Cell(kTicket, row), row);
        if (!inserted) {
            nextWithSameTicket[row] = entry->second;
            entry->second = row;
        }
    }

    std::vector<char> marked(nextWithSameTicket.size(), 0);
    int trades = rows - 1;
    deleted = 0;
    for (int gridRow = firstGridRow; gridRow <= lastGridRow && trades > 1; ++gridRow) {
        const auto entry = uppermost.find(session.Grid.Cell(kTicket, gridRow));
        if (entry == uppermost.end() || entry->second == 0)
            continue;
        marked[entry->second] = 1;
        entry->second = nextWithSameTicket[entry->second];
        --trades;
        ++deleted;
    }
    return marked;
}

// Rebuilds the trade table without the marked rows, the others moved up in their order.
void RemoveMarkedRows(TextGrid& full, const std::vector<char>& marked, int deleted)
{
    TextGrid kept(full.ColumnCount(), full.RowCount() - deleted);
    kept.CopyRowPrefix(0, full, 0, full.ColumnCount());
    int next = 1;
    for (int row = 1; row < full.RowCount(); ++row)
        if (!marked[row])
            kept.CopyRowPrefix(next++, full, row, full.ColumnCount());
    full = std::move(kept);
}

// Removes the symbol entries whose exact text no Item cell holds any more; the rest keep their flags.
void PruneSymbolList(Session& session)
{
    std::unordered_set<std::string_view> items;
    for (int row = 1; row < session.Full.RowCount(); ++row)
        items.insert(session.Full.Cell(kItem, row));
    std::vector<std::pair<std::string, bool>> kept;
    SelectionList& pairs = session.Pairs;
    for (int i = 0; i < pairs.Count(); ++i)
        if (items.count(pairs.Text(i)))
            kept.emplace_back(pairs.Text(i), pairs.Selected(i));
    if (static_cast<int>(kept.size()) == pairs.Count())
        return;
    pairs.Clear();
    for (const auto& [text, selected] : kept)
        pairs.SetSelected(pairs.Append(text), selected);
}

} // namespace

int DeleteTrades(Session& session, int firstGridRow, int lastGridRow, MagicFilter magicFilter)
{
    firstGridRow = std::max(firstGridRow, 1);
    lastGridRow = std::min(lastGridRow, session.Grid.RowCount() - 1);
    int deleted = 0;
    if (firstGridRow <= lastGridRow && session.Full.RowCount() > 2) {
        const std::vector<char> marked = MarkDeletedRows(session, firstGridRow, lastGridRow, deleted);
        if (deleted > 0) {
            RemoveMarkedRows(session.Full, marked, deleted);
            PruneSymbolList(session);
        }
    }
    RebuildMagicList(session);
    ApplyFilters(session, magicFilter);
    return deleted;
}

} // namespace corvane
