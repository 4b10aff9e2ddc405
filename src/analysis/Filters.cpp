#include "analysis/Filters.h"

#include "analysis/RowNumbers.h"
#include "analysis/Statistics.h"
#include "analysis/SummaryText.h"
#include "analysis/TableFacts.h"
#include "analysis/VisibleTable.h"
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

/**
 * The numbers of the rows to show, worked out anew in one pass: while every row so far held numbers, its
 * Pips and its running Balance, the initial deposit plus each row's P/L, minus its absolute Comm, plus its
 * Swap; and the more statistics of their closed trades. A row with a cell that is not a number ends the
 * computed rows there (the rows from it on keep the trade table's Pips and Balance), and its error is
 * raised once the tables are written.
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
        MakeRowNumbersCurrent(m_session);
    }

    // The numbers and the balances of the rows worked out, in order.
    const std::vector<TradeValues>& Numbers() const { return m_trades; }
    const std::vector<double>& Balances() const { return m_balances; }

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
        // table this large was read into it before (MakeRowNumbersCurrent), and a row left unread holds a cell that
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
                const TradeValues trade = RowNumbers(m_session, fullRow, cells);
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

    /**
     * What the summary needs of the rows added, which span `days`, once every row held numbers; else the
     * first row's conversion error. The closed trades run in the terminal's order: the facts' order of the
     * whole table, less the rows that did not pass.
     */
    VisibleTrades Trades(int days)
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
        visible.Days = days;
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
        visible.assign(m_facts.Trades.size(), 0);
        for (std::size_t i = 0; i < m_facts.Trades.size(); ++i) {
            const int row = m_facts.CloseOrder[i];
            // A row's numbers are the same for as long as the facts hold: the trade keeps them.
            ClosedTrade& trade = m_facts.Trades[i];
            const std::optional<TradeValuesCache::Entry> read = RowNumbersOf(m_session, row, keep);
            if (!read) {
                trade.Result = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            trade.Result = TerminalResult(*read);
            trade.Pips = read->Pips;
            visible[i] = m_visible[static_cast<std::size_t>(row)];
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

void ApplyFilters(Session& session, MagicFilter magicFilter)
{
    SelectionList& pairs = session.Pairs;
    SelectionList& magic = session.Magic;
    if (!pairs.AnySelected())
        pairs.SelectAll();
    if (!magic.AnySelected())
        magic.SelectAll();

    NumbersWithFacts values(session);
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
    VisibleTableWriter writer(session, facts, shown.size());
    writer.Write(shown, visible.Numbers(), visible.Balances());
    session.Grid.SetRowCount(next);
    session.XGrid.SetRowCount(next);
    if (next == 1) {
        session.ShownKept.assign(facts.Trades.size(), 0);
        session.ShownMore =
            std::make_shared<const MoreFigures>(ComputeMoreStatistics({}, nullptr, {}, {}, session.Report));
        return;
    }
    VisibleTrades trades = visible.Trades(writer.Days());
    const Statistics statistics = ShowSummary(session, trades);
    writer.LeaveFacts(std::move(trades.Values), statistics);
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
