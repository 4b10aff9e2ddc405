#include "Filters.h"

#include "Numbers.h"
#include "ReportReader.h"
#include "Statistics.h"
#include "SummaryText.h"

#include <cmath>
#include <vector>

namespace corvane {

namespace {

// Room kept in a visible row for its Pips and Balance cells and a drawdown marker.
constexpr std::size_t kComputedCellsRoom = 32;

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Remembers the entries found for the last few distinct cells: a report has few symbols and magic
// numbers, so most rows skip the search. `key` turns a cell into the text the list holds.
template <typename Key>
class CachedFind
{
public:
    CachedFind(const SelectionList& list, Key key) : m_list(list), m_key(key) {}

    int operator()(std::string_view cell)
    {
        for (const Entry& entry : m_entries)
            if (entry.Cell == cell)
                return entry.Index;
        const int index = m_list.Find(m_key(cell));
        if (m_entries.size() < kKept)
            m_entries.push_back({std::string(cell), index});
        else
            m_entries[m_next++ % kKept] = {std::string(cell), index};
        return index;
    }

private:
    static constexpr std::size_t kKept = 16;
    struct Entry
    {
        std::string Cell;
        int Index;
    };

    const SelectionList& m_list;
    Key m_key;
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
};

std::string_view SameText(std::string_view cell)
{
    return cell;
}

long long FivePlacePrice(std::string_view price)
{
    char field[5] = {'0', '0', '0', '0', '0'};
    std::size_t pos = price.size() == 5 ? 1 : 0;
    for (char c : price) {
        if (c == '.')
            continue;
        if (pos >= sizeof field)
            break;
        field[pos++] = c;
    }
    return LeadingInteger(std::string_view(field, sizeof field));
}

/**
 * The Balance and Pips columns of the visible table, row by row: the balance starts from the initial
 * deposit and takes each row's P/L, minus its absolute Comm, plus its Swap; the pips are TradePips,
 * or 0 when the P/L is exactly 0. Returns the numbers read, for the statistics. A cell that is not a
 * number stops the pass there, the rows before it done.
 */
std::vector<TradeValues> ComputeBalanceAndPips(Session& session)
{
    TextGrid& grid = session.Grid;
    std::vector<TradeValues> trades;
    trades.reserve(grid.RowCount() - 1);
    double balance = session.Report.InitialDeposit;
    std::string_view cells[kProfit + 1];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells, kProfit + 1);
        TradeValues trade;
        trade.Profit = ParseProfitCell(cells[kProfit]);
        trade.HasComm = !IsBlankCell(cells[kComm]);
        trade.HasSwap = !IsBlankCell(cells[kSwap]);
        trade.Comm = trade.HasComm ? ParseMoneyCell(cells[kComm]) : 0.0;
        trade.Swap = trade.HasSwap ? ParseMoneyCell(cells[kSwap]) : 0.0;
        balance += trade.Profit;
        if (trade.HasComm)
            balance -= std::fabs(trade.Comm);
        if (trade.HasSwap)
            balance += trade.Swap;
        trade.Pips = trade.Profit == 0 ? 0 : TradePips(cells[kType], cells[kOpenPrice], cells[kClosePrice]);
        char pips[64];
        char balanceText[400];
        const std::string_view computed[] = {FormatIntTo(pips, trade.Pips, 6),
                                             FormatFixedTo(balanceText, balance, 14, 2)};
        grid.ReplaceTail(row, kPips, computed, 2);
        trades.push_back(trade);
    }
    return trades;
}

} // namespace

std::string MagicKeyOfCell(std::string_view magicCell)
{
    while (!magicCell.empty() && IsWhiteSpace(magicCell.front()))
        magicCell.remove_prefix(1);
    while (!magicCell.empty() && IsWhiteSpace(magicCell.back()))
        magicCell.remove_suffix(1);
    return MagicKeyOf(magicCell);
}

long long TradePips(std::string_view type, std::string_view openPrice, std::string_view closePrice)
{
    const long long open = FivePlacePrice(openPrice);
    const long long close = FivePlacePrice(closePrice);
    return (!type.empty() && type.front() == 'b') ? close - open : open - close;
}

void ApplyFilters(Session& session)
{
    SelectionList& pairs = session.Pairs;
    SelectionList& magic = session.Magic;
    if (!pairs.AnySelected())
        pairs.SelectAll();
    if (!magic.AnySelected())
        magic.SelectAll();

    const TextGrid& full = session.Full;
    TextGrid& grid = session.Grid;
    TextGrid& xgrid = session.XGrid;
    CachedFind findPair(pairs, SameText);
    CachedFind findMagic(magic, MagicKeyOfCell);
    const bool magicShown = session.MagicListShown;
    std::string_view cells[kFullColumns];
    // Rows are written over the previous ones, reusing their room; the row count drops the rest.
    int next = 1;
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells, kFullColumns);
        const int pair = findPair(cells[kItem]);
        if (pair < 0)
            continue;
        int key = -1;
        if (magicShown) {
            key = findMagic(cells[kMagic]);
            if (key < 0)
                continue;
        }
        if (!pairs.Selected(pair) || (magicShown && !magic.Selected(key)))
            continue;
        // The Pips and Balance cells are computed below, after the trade's own columns.
        grid.CopyRowPrefix(next, full, row, kPips, kComputedCellsRoom);
        const std::string_view alternate[kXGridColumns] = {cells[kTicket], cells[kMagic], cells[kComment]};
        xgrid.SetRow(next, alternate, kXGridColumns);
        ++next;
    }
    grid.SetRowCount(next);
    xgrid.SetRowCount(next);
    if (next == 1)
        return;
    ShowSummary(session, ComputeBalanceAndPips(session));
}

void RebuildMagicList(Session& session)
{
    SelectionList& pairs = session.Pairs;
    SelectionList& magic = session.Magic;
    if (!pairs.AnySelected())
        pairs.SelectAll();
    std::vector<char> remembered(magic.Count());
    for (int i = 0; i < magic.Count(); ++i)
        remembered[i] = magic.Selected(i);
    magic.Clear();

    const TextGrid& full = session.Full;
    CachedFind findPair(pairs, SameText);
    std::string previousCell = "\x01"; // no Magic cell holds it
    std::string_view cells[kMagic + 1];
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells, kMagic + 1);
        const int pair = findPair(cells[kItem]);
        if (pair < 0 || !pairs.Selected(pair))
            continue;
        if (cells[kMagic] != previousCell) {
            magic.AddIfAbsent(MagicKeyOfCell(cells[kMagic]));
            previousCell.assign(cells[kMagic]);
        }
    }
    if (magic.Count() == static_cast<int>(remembered.size()))
        for (int i = 0; i < magic.Count(); ++i)
            magic.SetSelected(i, remembered[i] != 0);
}

} // namespace corvane
