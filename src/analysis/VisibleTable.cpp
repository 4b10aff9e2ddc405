#include "analysis/VisibleTable.h"

#include "text/Numbers.h"
#include "trades/AtOnce.h"

#include <algorithm>
#include <span>

namespace corvane {

namespace {

// Keeps `cell` as `longest` when it is longer.
void Longer(std::string& longest, std::string_view cell)
{
    if (cell.size() > longest.size())
        longest.assign(cell);
}

} // namespace

VisibleTableWriter::VisibleTableWriter(Session& session, const TableFacts& facts, std::size_t rows)
    : m_session(session)
    , m_facts(facts)
{
    m_written.BalanceLengths.reserve(rows);
}

void VisibleTableWriter::Written::Join(const Written& later)
{
    for (int column = 0; column < kGridColumns; ++column)
        Longer(GridLongest[column], later.GridLongest[column]);
    for (int column = 0; column < kXGridColumns; ++column)
        Longer(XGridLongest[column], later.XGridLongest[column]);
    BalanceLengths.insert(BalanceLengths.end(), later.BalanceLengths.begin(), later.BalanceLengths.end());
    Earliest = std::min(Earliest, later.Earliest);
    Latest = std::max(Latest, later.Latest);
}

int VisibleTableWriter::Days() const
{
    return m_written.Earliest == "3000" || m_written.Latest == "1000"
               ? 0
               : DaysBetween(m_written.Earliest, m_written.Latest);
}

void VisibleTableWriter::Write(const std::vector<int>& shown, const std::vector<TradeValues>& numbers,
                               const std::vector<double>& balances)
{
    m_numbers = &numbers;
    m_balances = &balances;
    TextGrid& grid = m_session.Grid;
    TextGrid& alternate = m_session.XGrid;
    const std::size_t count = shown.size();
    if (count < static_cast<std::size_t>(kTwoPartsFrom) || grid.RowCount() > 2 || alternate.RowCount() > 2) {
        WritePart(shown, 0, count, grid, alternate, m_written);
        return;
    }
    const std::size_t middle = count / 2;
    TextGrid laterGrid(grid.ColumnCount(), 0);
    TextGrid laterAlternate(alternate.ColumnCount(), 0);
    laterGrid.ReserveRows(static_cast<int>(count - middle) + 1);
    laterAlternate.ReserveRows(static_cast<int>(count - middle) + 1);
    Written later;
    // Each part writes tables and a Written of its own; both read the trade table and the rows' numbers.
    RunAtOnce([&] { WritePart(shown, 0, middle, grid, alternate, m_written); },
              [&] { WritePart(shown, middle, count, laterGrid, laterAlternate, later); });
    const int rows = static_cast<int>(count - middle);
    grid.TakeRows(static_cast<int>(middle) + 1, std::move(laterGrid), 1, rows);
    alternate.TakeRows(static_cast<int>(middle) + 1, std::move(laterAlternate), 1, rows);
    m_written.Join(later);
}

void VisibleTableWriter::LeaveFacts(std::vector<TradeValues> values, const Statistics& statistics)
{
    VisibleTableFacts& facts = m_session.ShownFacts;
    const TextGrid& grid = m_session.Grid;
    const int rows = static_cast<int>(values.size());
    facts.Marked.assign(values.size(), 0);
    if (statistics.TroughRow > 0)
        for (int row = statistics.StretchStart + 1; row <= statistics.TroughRow && row <= rows; ++row)
            facts.Marked[static_cast<std::size_t>(row - 1)] = 1;
    if (rows > 0 && grid.Cell(kBalance, 1).find('*') != std::string_view::npos)
        facts.Marked[0] = 1;
    facts.GridLongest.assign(m_written.GridLongest, m_written.GridLongest + kGridColumns);
    // The first of the longest Balance cells, the marker counted.
    std::size_t longest = 0;
    int longestRow = 0;
    for (int row = 1; row <= rows && row <= static_cast<int>(m_written.BalanceLengths.size()); ++row) {
        const std::size_t kept = m_written.BalanceLengths[static_cast<std::size_t>(row - 1)];
        const std::size_t length =
            kept == kLongestBalanceLength
                ? grid.Cell(kBalance, row).size()
                : kept + (facts.Marked[static_cast<std::size_t>(row - 1)] ? kDrawdownMarker.size() : 0);
        if (length > longest) {
            longest = length;
            longestRow = row;
        }
    }
    facts.GridLongest[kBalance] = longestRow > 0 ? std::string(grid.Cell(kBalance, longestRow)) : std::string();
    facts.XGridLongest.assign(m_written.XGridLongest, m_written.XGridLongest + kXGridColumns);
    facts.Values = std::move(values);
    facts.GridVersion = grid.Version();
    facts.XGridVersion = m_session.XGrid.Version();
}

/**
 * Writes shown[first, end) as rows 1 on of `grid` and `alternate`: columns 0 to 12 are the trade
 * table's, copied as it holds them, and Pips and Balance those computed; rows whose Pips and Balance
 * are not computed keep the trade table's there too.
 */
void VisibleTableWriter::WritePart(const std::vector<int>& shown, std::size_t first, std::size_t end, TextGrid& grid,
                                   TextGrid& alternate, Written& written) const
{
    const TextGrid& full = m_session.Full;
    std::string_view cells[kComment + 1];
    written.BalanceLengths.reserve(end - first);
    // The rows lie apart in memory: the processor is asked for those a few rows ahead.
    constexpr std::size_t kAhead = 6;
    int row = 1;
    for (std::size_t i = first; i < end; ++i, ++row) {
        const int fullRow = shown[i];
        if (i + kAhead < end)
            full.PrefetchRow(shown[i + kAhead]);
        grid.PrefetchRow(row + static_cast<int>(kAhead));
        alternate.PrefetchRow(row + static_cast<int>(kAhead));
        full.ReadCells(fullRow, cells);
        const TableFacts::Row& facts = m_facts.Rows[static_cast<std::size_t>(fullRow)];
        if (facts.Earliest != TableFacts::Date::None) {
            const std::string_view earliest = cells[facts.Earliest == TableFacts::Date::Open ? kOpenTime : kCloseTime];
            const std::string_view latest = cells[facts.Latest == TableFacts::Date::Open ? kOpenTime : kCloseTime];
            written.Earliest = std::min(written.Earliest, earliest);
            written.Latest = std::max(written.Latest, latest);
        }
        const bool computed = i < m_balances->size();
        char pips[kIntTextRoom];
        char balance[kFixedTextRoom];
        std::string_view pipsText, balanceText;
        if (computed) {
            pipsText = FormatIntTo(pips, (*m_numbers)[i].Pips, 6);
            balanceText = FormatFixedTo(balance, (*m_balances)[i], 14, 2);
            const std::string_view computedCells[] = {pipsText, balanceText};
            grid.CopyRowPrefix(row, full, fullRow, kPips, computedCells);
        } else {
            grid.CopyRowPrefix(row, full, fullRow, kGridColumns, std::span<const std::string_view>());
        }
        std::string_view alternateCells[kXGridColumns];
        alternateCells[kXTicket] = cells[kTicket];
        alternateCells[kXMagic] = cells[kMagic];
        alternateCells[kXComment] = cells[kComment];
        alternate.SetRow(row, alternateCells);

        for (int column = 0; column < kPips; ++column)
            Longer(written.GridLongest[column], cells[column]);
        Longer(written.GridLongest[kPips], computed ? pipsText : cells[kPips]);
        written.BalanceLengths.push_back(static_cast<std::uint16_t>(
            std::min<std::size_t>(computed ? balanceText.size() : cells[kBalance].size(), kLongestBalanceLength)));
        for (int column = 0; column < kXGridColumns; ++column)
            Longer(written.XGridLongest[column], alternateCells[column]);
    }
}

} // namespace corvane
