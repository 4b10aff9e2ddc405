#include "analysis/Filters.h"

#include "analysis/Statistics.h"
#include "analysis/SummaryText.h"
#include "analysis/TableFacts.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "trades/AtOnce.h"
#include "trades/CellErrors.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

namespace corvane {

namespace {

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
    trade.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
    trade.HasComm = !IsBlankCell(cells[kComm]);
    trade.HasSwap = !IsBlankCell(cells[kSwap]);
    trade.Comm = trade.HasComm ? ParseCellOf(kComm, cells[kComm], ParseMoneyCell) : 0.0;
    trade.Swap = trade.HasSwap ? ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell) : 0.0;
    trade.Pips = trade.Profit == 0 ? 0 : TradePips(cells[kType], cells[kOpenPrice], cells[kClosePrice]);
    return trade;
}

TradeValuesCache::Entry EntryOf(const TradeValues& read)
{
    TradeValuesCache::Entry entry;
    entry.Profit = read.Profit;
    entry.Comm = read.Comm;
    entry.Swap = read.Swap;
    entry.Pips = static_cast<std::int32_t>(read.Pips);
    entry.HasComm = read.HasComm;
    entry.HasSwap = read.HasSwap;
    entry.Known = true;
    return entry;
}

// Reads the numbers of a row of the trade table; a row with a cell that is not a number stays unread,
// for the pass to meet its error in its place.
void ReadValue(int row, const std::string_view* cells, std::vector<TradeValuesCache::Entry>& values)
{
    try {
        values[static_cast<std::size_t>(row)] = EntryOf(ReadTrade(cells));
    } catch (const ConversionError&) {
    }
}

void ReadValues(const TextGrid& full, int first, int end, std::vector<TradeValuesCache::Entry>& values)
{
    std::string_view cells[kProfit + 1];
    for (int row = first; row < end; ++row) {
        full.ReadCells(row, cells);
        ReadValue(row, cells, values);
    }
}

// Leaves the session's number cache empty for the trade table as it now stands, a place for each row.
void StartValues(Session& session)
{
    TradeValuesCache& cache = session.FullValues;
    cache.Version = session.Full.Version();
    cache.Values.assign(session.Full.RowCount(), TradeValuesCache::Entry());
}

// The numbers of every row of a large trade table, read in the walk that reads its facts anew.
class ValuesWithFacts final : public RowVisitor
{
public:
    explicit ValuesWithFacts(Session& session) : m_session(session) {}

    // Whether the walk reads the facts while the numbers are wanted: then they are read in it.
    bool Wanted() const
    {
        return m_session.Full.RowCount() >= kTwoPartsFrom && m_session.FullValues.Version != m_session.Full.Version()
               && !FactsCurrent(m_session);
    }

    // Makes room for the numbers the walk reads.
    void Prepare() { StartValues(m_session); }

    // On either thread of the walk: writes the cache entry of its own row only.
    void Visit(int row, const std::string_view* cells) override { ReadValue(row, cells, m_session.FullValues.Values); }

private:
    Session& m_session;
};

// The numbers of every row of a large trade table, read in two parts at once before the pass needs
// them (the second on a thread of its own); a small table's rows are read as the pass meets them.
void ReadAllValues(const TextGrid& full, std::vector<TradeValuesCache::Entry>& values)
{
    const int rows = std::min(full.RowCount(), static_cast<int>(values.size()));
    if (rows < kTwoPartsFrom)
        return;
    const int middle = rows / 2;
    // Each part writes the cache entries of its own rows; both read the table.
    RunAtOnce([&] { ReadValues(full, 1, middle, values); }, [&] { ReadValues(full, middle, rows, values); });
}

// Keeps `cell` as `longest` when it is longer.
void Longer(std::string& longest, std::string_view cell)
{
    if (cell.size() > longest.size())
        longest.assign(cell);
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
    VisibleRows(Session& session, TableFacts& facts, int rows)
        : m_session(session)
        , m_facts(facts)
        , m_balance(session.Report.InitialDeposit)
        , m_visible(facts.Rows.size(), 0)
    {
        // The numbers of the rows the last pass left for the views are written over: the tables change.
        m_trades = std::move(session.ShownFacts.Values);
        m_trades.clear();
        m_trades.reserve(static_cast<std::size_t>(rows));
        m_written.BalanceLengths.reserve(static_cast<std::size_t>(rows));
        if (m_session.FullValues.Version != m_session.Full.Version()) {
            StartValues(m_session);
            ReadAllValues(m_session.Full, m_session.FullValues.Values);
        }
    }

    // The numbers of a row of Full, read once for each version of the table.
    TradeValues Trade(int fullRow, const std::string_view* cells)
    {
        TradeValuesCache::Entry& entry = m_session.FullValues.Values[static_cast<std::size_t>(fullRow)];
        if (!entry.Known) {
            const TradeValues read = ReadTrade(cells);
            entry = EntryOf(read);
            return read;
        }
        TradeValues trade;
        trade.Profit = entry.Profit;
        trade.Comm = entry.Comm;
        trade.Swap = entry.Swap;
        trade.Pips = entry.Pips;
        trade.HasComm = entry.HasComm;
        trade.HasSwap = entry.HasSwap;
        return trade;
    }

    /**
     * Works out the numbers and the running Balance of the rows to show (rows of the trade table, in
     * order), up to the first row with a cell that is not a number. The more statistics of a large
     * table's rows to show are worked out at the same time, on a thread of their own: they need the
     * rows' numbers, not their balances.
     */
    void Compute(const std::vector<int>& shown)
    {
        for (const int row : shown)
            m_visible[static_cast<std::size_t>(row)] = 1;
        if (shown.size() < static_cast<std::size_t>(kTwoPartsFrom)) {
            ComputeBalances(shown);
            return;
        }
        // The caller's part writes the balances and the numbers of the rows to show (m_balances, m_trades);
        // the other the facts' closed trades' Result and Pips and the more statistics (m_moreVisible,
        // m_more). Both read the trade table and the number cache, which neither writes: every row of a
        // table this large was read into it before (ReadAllValues), and a row left unread holds a cell that
        // is not a number, whose reading throws before an entry is written; the other part reads such a row
        // for itself and keeps nothing (MarkVisibleTrades without `keep`).
        RunAtOnce([&] { ComputeBalances(shown); },
                  [&] {
                      MarkVisibleTrades(m_moreVisible, false);
                      m_more = ComputeMoreStatistics(m_facts.Trades, &m_moreVisible, m_facts.Symbols,
                                                     m_facts.MagicNames, m_session.Report);
                  });
    }

    void ComputeBalances(const std::vector<int>& shown)
    {
        m_balances.reserve(shown.size());
        std::string_view cells[kComment + 1];
        for (const int fullRow : shown) {
            try {
                if (!m_session.FullValues.Values[static_cast<std::size_t>(fullRow)].Known)
                    m_session.Full.ReadCells(fullRow, cells);
                const TradeValues trade = Trade(fullRow, cells);
                m_balance = AddNetResult(m_balance, trade, NetOrder::ProfitCommSwap);
                m_balances.push_back(m_balance);
                m_trades.push_back(trade);
            } catch (const ConversionError& error) {
                m_error = std::make_exception_ptr(
                    InTradeTable(m_session, error.InRow(fullRow, m_session.Full.Cell(kTicket, fullRow))));
                break;
            }
        }
    }

    // Writes the rows to show as rows 1 on of the visible table and the alternate view: a large table's
    // rows, when both tables are fresh, in two parts at once (the second on a thread of its own).
    void Write(const std::vector<int>& shown)
    {
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

    /**
     * Leaves with the session what the views need of the tables, once the summary has marked the
     * drawdown stretch: the numbers of the rows, their marks and the longest text of each column.
     */
    void LeaveFacts(std::vector<TradeValues> values, const Statistics& statistics)
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
     * What the summary needs of the rows added, once every row held numbers; else the first row's
     * conversion error. The closed trades run in the terminal's order: the facts' order of the whole
     * table, less the rows that did not pass.
     */
    VisibleTrades Trades()
    {
        if (m_error)
            std::rethrow_exception(m_error);
        VisibleTrades visible;
        visible.Values = std::move(m_trades);
        if (m_more) {
            visible.Visible = std::move(m_moreVisible);
            visible.More = std::move(m_more);
        } else {
            MarkVisibleTrades(visible.Visible, true);
        }
        visible.All = &m_facts.Trades;
        visible.Symbols = &m_facts.Symbols;
        visible.Magics = &m_facts.MagicNames;
        visible.Days = m_written.Earliest == "3000" || m_written.Latest == "1000"
                           ? 0
                           : DaysBetween(m_written.Earliest, m_written.Latest);
        return visible;
    }

private:
    /**
     * Flags the closed trades of the rows to show, by position in the facts, and gives every closed trade
     * its Result and Pips: the ones not shown still move the account's balance. A row read for the first
     * time is kept in the number cache when `keep` says the caller's thread is the only one at the cache;
     * a row whose cells are not numbers has no Result (not a number).
     */
    void MarkVisibleTrades(std::vector<char>& visible, bool keep)
    {
        std::vector<TradeValuesCache::Entry>& cache = m_session.FullValues.Values;
        visible.assign(m_facts.Trades.size(), 0);
        std::string_view cells[kProfit + 1];
        for (std::size_t i = 0; i < m_facts.Trades.size(); ++i) {
            const auto row = static_cast<std::size_t>(m_facts.CloseOrder[i]);
            // A row's numbers are the same for as long as the facts hold: the trade keeps them.
            ClosedTrade& trade = m_facts.Trades[i];
            TradeValuesCache::Entry read = cache[row];
            if (!read.Known) {
                m_session.Full.ReadCells(static_cast<int>(row), cells);
                try {
                    read = EntryOf(ReadTrade(cells));
                } catch (const ConversionError&) {
                    trade.Result = std::numeric_limits<double>::quiet_NaN();
                    continue;
                }
                if (keep)
                    cache[row] = read;
            }
            trade.Result = TerminalResult(read);
            trade.Pips = read.Pips;
            visible[i] = m_visible[row];
        }
    }

    // The lengths of the Balance cells as written, without the drawdown marker; a cell of this length or
    // longer is measured in the table.
    static constexpr std::size_t kLongestBalanceLength = 0xffff;

    // What writing rows gathers, for a part of them or for all.
    struct Written
    {
        std::string GridLongest[kGridColumns]; // the first of the longest texts of each column
        std::string XGridLongest[kXGridColumns];
        std::vector<std::uint16_t> BalanceLengths;
        // The dates the Return counts its days between, as ReportDays finds them.
        std::string_view Earliest = "3000";
        std::string_view Latest = "1000";

        // Takes in what the rows after these gathered.
        void Join(const Written& later)
        {
            for (int column = 0; column < kGridColumns; ++column)
                Longer(GridLongest[column], later.GridLongest[column]);
            for (int column = 0; column < kXGridColumns; ++column)
                Longer(XGridLongest[column], later.XGridLongest[column]);
            BalanceLengths.insert(BalanceLengths.end(), later.BalanceLengths.begin(), later.BalanceLengths.end());
            Earliest = std::min(Earliest, later.Earliest);
            Latest = std::max(Latest, later.Latest);
        }
    };

    /**
     * Writes shown[first, end) as rows 1 on of `grid` and `alternate`: columns 0 to 12 are the trade
     * table's, copied as it holds them, and Pips and Balance those computed; rows whose Pips and Balance
     * are not computed keep the trade table's there too.
     */
    void WritePart(const std::vector<int>& shown, std::size_t first, std::size_t end, TextGrid& grid,
                   TextGrid& alternate, Written& written)
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
                const std::string_view earliest =
                    cells[facts.Earliest == TableFacts::Date::Open ? kOpenTime : kCloseTime];
                const std::string_view latest = cells[facts.Latest == TableFacts::Date::Open ? kOpenTime : kCloseTime];
                written.Earliest = std::min(written.Earliest, earliest);
                written.Latest = std::max(written.Latest, latest);
            }
            const bool computed = i < m_balances.size();
            char pips[kIntTextRoom];
            char balance[kFixedTextRoom];
            std::string_view pipsText, balanceText;
            if (computed) {
                pipsText = FormatIntTo(pips, m_trades[i].Pips, 6);
                balanceText = FormatFixedTo(balance, m_balances[i], 14, 2);
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

    Session& m_session;
    TableFacts& m_facts;
    double m_balance;
    std::vector<TradeValues> m_trades; // of the rows computed, in order
    std::vector<double> m_balances;    // the same rows' balances
    std::vector<char> m_visible;       // by row of the trade table: the row is to show
    std::optional<MoreFigures> m_more; // the more statistics of the rows to show, worked out with them
    std::vector<char> m_moreVisible;   // ... over these of the facts' closed trades
    Written m_written;
    std::exception_ptr m_error;
};

// Whether each symbol and each magic number of the facts passes the lists' selection.
struct Passing
{
    std::vector<char> Symbols;
    std::vector<char> Magics;
};

Passing PassingIds(const Session& session, const TableFacts& facts, bool magicShown)
{
    Passing passing;
    for (const std::string& symbol : facts.Symbols) {
        const int entry = session.Pairs.Find(symbol);
        passing.Symbols.push_back(entry >= 0 && session.Pairs.Selected(entry) ? 1 : 0);
    }
    for (const std::string& magic : facts.MagicTexts) {
        const int entry = magicShown ? session.Magic.Find(MagicKeyOf(magic)) : 0;
        passing.Magics.push_back(!magicShown || (entry >= 0 && session.Magic.Selected(entry)) ? 1 : 0);
    }
    return passing;
}

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

    ValuesWithFacts values(session);
    const bool valuesWithFacts = values.Wanted();
    if (valuesWithFacts)
        values.Prepare();
    TableFacts& facts = TableFactsOf(session, valuesWithFacts ? &values : nullptr);
    const Passing passing = PassingIds(session, facts, magicFilter == MagicFilter::On);
    const auto passes = [&facts, &passing](int row) {
        const TableFacts::Row& ids = facts.Rows[static_cast<std::size_t>(row)];
        return passing.Symbols[static_cast<std::size_t>(ids.Symbol)] != 0
               && passing.Magics[static_cast<std::size_t>(ids.Magic)] != 0;
    };
    std::vector<int> shown;
    shown.reserve(facts.Rows.size());
    for (int row = 1; row < session.Full.RowCount(); ++row)
        if (passes(row))
            shown.push_back(row);
    // The tables are given their rows at once, not by doubling as they grow. Rows are written over the
    // previous ones, reusing their room; the row count drops the rest.
    const int next = static_cast<int>(shown.size()) + 1;
    session.Grid.ReserveRows(next);
    session.XGrid.ReserveRows(next);
    VisibleRows visible(session, facts, next - 1);
    visible.Compute(shown);
    visible.Write(shown);
    session.Grid.SetRowCount(next);
    session.XGrid.SetRowCount(next);
    if (next == 1) {
        session.ShownKept.assign(facts.Trades.size(), 0);
        session.ShownMore =
            std::make_shared<const MoreFigures>(ComputeMoreStatistics({}, nullptr, {}, {}, session.Report));
        return;
    }
    VisibleTrades trades = visible.Trades();
    const Statistics statistics = ShowSummary(session, trades);
    visible.LeaveFacts(std::move(trades.Values), statistics);
    session.ShownKept = std::move(trades.Visible);
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

    const TableFacts& facts = TableFactsOf(session);
    const Passing passing = PassingIds(session, facts, false);
    std::vector<char> listed(facts.MagicTexts.size(), 0);
    for (int row = 1; row < session.Full.RowCount(); ++row) {
        const TableFacts::Row& ids = facts.Rows[static_cast<std::size_t>(row)];
        if (!passing.Symbols[static_cast<std::size_t>(ids.Symbol)] || listed[static_cast<std::size_t>(ids.Magic)])
            continue;
        listed[static_cast<std::size_t>(ids.Magic)] = 1;
        magic.AddIfAbsent(MagicKeyOf(facts.MagicTexts[static_cast<std::size_t>(ids.Magic)]));
    }
    if (magic.Count() == static_cast<int>(remembered.size()))
        for (int i = 0; i < magic.Count(); ++i)
            magic.SetSelected(i, remembered[i] != 0);
}

} // namespace corvane
