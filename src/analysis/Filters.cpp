#include "analysis/Filters.h"

#include "analysis/Statistics.h"
#include "analysis/SummaryText.h"
#include "trades/Numbers.h"
#include "trades/ReportReader.h"
#include "trades/TextRoutines.h"

#include "trades/Errors.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace corvane {

namespace {

// Remembers the entries found for the last few distinct cells: a report has few symbols and magic
// numbers, so most rows skip the search. `key` turns a cell into the text the list holds.
template <typename Key> class CachedFind
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

// Reads the numbers of one visible trade from its cells; a cell that is not a number throws.
TradeValues ReadTrade(const std::string_view* cells)
{
    TradeValues trade;
    trade.Profit = ParseProfitCell(cells[kProfit]);
    trade.HasComm = !IsBlankCell(cells[kComm]);
    trade.HasSwap = !IsBlankCell(cells[kSwap]);
    trade.Comm = trade.HasComm ? ParseMoneyCell(cells[kComm]) : 0.0;
    trade.Swap = trade.HasSwap ? ParseMoneyCell(cells[kSwap]) : 0.0;
    trade.Pips = trade.Profit == 0 ? 0 : TradePips(cells[kType], cells[kOpenPrice], cells[kClosePrice]);
    return trade;
}

/**
 * Builds the visible rows in one pass: each passing trade's columns 0 to 14 and, while every row so
 * far held numbers, its Pips and its running Balance computed anew: the initial deposit plus each
 * row's P/L, minus its absolute Comm, plus its Swap. A row with a cell that is not a number ends the
 * computed columns there: it and the rows after it keep the trade table's Pips and Balance cells, and
 * its error is raised once the tables are complete.
 */
class VisibleRows
{
public:
    explicit VisibleRows(Session& session) : m_session(session), m_balance(session.Report.InitialDeposit)
    {
        TradeValuesCache& cache = m_session.FullValues;
        if (cache.Version != m_session.Full.Version()) {
            cache.Version = m_session.Full.Version();
            cache.Values.assign(m_session.Full.RowCount(), TradeValues());
            cache.Known.assign(m_session.Full.RowCount(), 0);
        }
    }

    // The numbers of a row of Full, read once for each version of the table.
    const TradeValues& Trade(int fullRow, const std::string_view* cells)
    {
        TradeValuesCache& cache = m_session.FullValues;
        if (!cache.Known[fullRow]) {
            cache.Values[fullRow] = ReadTrade(cells);
            cache.Known[fullRow] = 1;
        }
        return cache.Values[fullRow];
    }

    void Add(int row, int fullRow, const std::string_view* cells)
    {
        // Rows whose Pips and Balance are not computed keep what the trade table holds.
        std::string_view gridCells[kGridColumns];
        std::copy(cells, cells + kGridColumns, gridCells);
        char pips[kIntTextRoom];
        char balance[kFixedTextRoom];
        if (!m_error) {
            try {
                const TradeValues& trade = Trade(fullRow, cells);
                m_balance = AddNetResult(m_balance, trade, NetOrder::ProfitCommSwap);
                gridCells[kPips] = FormatIntTo(pips, trade.Pips, 6);
                gridCells[kBalance] = FormatFixedTo(balance, m_balance, 14, 2);
                m_trades.push_back(trade);
            } catch (const ConversionError&) {
                m_error = std::current_exception();
            }
        }
        m_session.Grid.SetRow(row, gridCells);
        std::string_view alternate[kXGridColumns];
        alternate[kXTicket] = cells[kTicket];
        alternate[kXMagic] = cells[kMagic];
        alternate[kXComment] = cells[kComment];
        m_session.XGrid.SetRow(row, alternate);
    }

    // The numbers read, once every row held them; else the first row's conversion error.
    const std::vector<TradeValues>& Trades() const
    {
        if (m_error)
            std::rethrow_exception(m_error);
        return m_trades;
    }

private:
    Session& m_session;
    double m_balance;
    std::vector<TradeValues> m_trades;
    std::exception_ptr m_error;
};

} // namespace

std::string MagicKeyOfCell(std::string_view magicCell)
{
    return MagicKeyOf(Trimmed(magicCell, kWhiteSpace));
}

long long TradePips(std::string_view type, std::string_view openPrice, std::string_view closePrice)
{
    const long long open = FivePlacePrice(openPrice);
    const long long close = FivePlacePrice(closePrice);
    return (!type.empty() && type.front() == 'b') ? close - open : open - close;
}

void ApplyFilters(Session& session, MagicFilter magicFilter)
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
    const bool magicShown = magicFilter == MagicFilter::On;
    std::string_view cells[kComment + 1];
    VisibleRows visible(session);
    // Rows are written over the previous ones, reusing their room; the row count drops the rest.
    int next = 1;
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells);
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
        visible.Add(next++, row, cells);
    }
    grid.SetRowCount(next);
    xgrid.SetRowCount(next);
    if (next == 1)
        return;
    ShowSummary(session, visible.Trades());
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
    // Magic cells whose key the list already holds: a report has few magic numbers.
    std::vector<std::string> listed;
    std::string_view cells[kMagic + 1];
    for (int row = 1; row < full.RowCount(); ++row) {
        full.ReadCells(row, cells);
        const int pair = findPair(cells[kItem]);
        if (pair < 0 || !pairs.Selected(pair))
            continue;
        if (std::find(listed.begin(), listed.end(), cells[kMagic]) != listed.end())
            continue;
        magic.AddIfAbsent(MagicKeyOfCell(cells[kMagic]));
        if (listed.size() < 16)
            listed.emplace_back(cells[kMagic]);
    }
    if (magic.Count() == static_cast<int>(remembered.size()))
        for (int i = 0; i < magic.Count(); ++i)
            magic.SetSelected(i, remembered[i] != 0);
}

} // namespace corvane
