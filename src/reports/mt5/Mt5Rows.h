#pragma once

#include "reports/html/HtmlRowScanner.h"
#include "reports/html/RowReadAhead.h"
#include "reports/mt5/HistoryPositions.h"
#include "reports/mt5/KeyIndex.h"
#include "reports/mt5/PositionBook.h"
#include "reports/mt5/TradeRowWriter.h"
#include "trades/SelectionList.h"
#include "trades/Session.h"
#include "trades/TextArena.h"
#include "trades/TextGrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

/**
 * The rows of a MetaTrader 5 report, read in turn by the position of their table and cells (see
 * ReadMt5Report). Tables are told apart by their order: an account history has Positions, Orders and
 * Deals, then Open Positions and Working Orders when there are any; a tester report has Orders and
 * Deals. A table starts at its column-header row and ends at the next section title; the Deals table
 * also at its totals row (which a page saved again may have lost), the next column-header row or
 * "</table>". Only a file that ends before any of them ends inside the Deals table.
 *
 * A tester report's deals are paired as they come. A history's are kept until its Deals table ends,
 * when the last close of each position is known (HistoryPositions), and paired then.
 */
class Mt5Rows final : public HtmlRowSink
{
public:
    Mt5Rows(ReportKind kind, TextGrid& full, int firstRow, SelectionList& pairs, const TradeLineCallback& onTradeLine);

    void OnRow(const HtmlRow& row) override;
    void OnTableEnd() override;
    // The history's Orders table, its second, tells nothing the reader needs: the read-ahead passes over its
    // rows (RowReadAhead's rule), and they never reach the reader.
    static int SkippedTable(ReportKind kind) { return kind == ReportKind::Statement ? 2 : RowReadAhead::kNoTable; }

    bool DealsStarted() const { return m_dealsStarted; }
    // After the last row: the report's state, with what could not be read in ReadWarning.
    ReportState Finish(const std::string& title, bool endSeen);

private:
    enum class Table
    {
        None,
        Positions,
        Orders,
        Deals,
        Trailing, // the history's tables after Deals: open positions and working orders
    };

    // The cells a row shows, in order, and the first hidden one (the history's position comment).
    class Visible
    {
    public:
        explicit Visible(const HtmlRow& row);
        std::string_view Text(int i) const { return m_row[m_index[i]].Text; }

        int Count = 0;
        std::string_view Hidden;

    private:
        const HtmlRow& m_row;
        unsigned char m_index[64];
    };

    // Deals of one kind that went wrong: how many, the first few tickets and their money in cents.
    struct Tally
    {
        int Count = 0;
        long long Cents = 0;
        std::string Tickets;
        void Add(std::string_view ticket, long long cents);
    };

    struct Deal
    {
        std::string_view Time, Ticket, Symbol, Direction, VolumeText, Price, Order, Comment;
        bool Buy = true;
        long long Volume = 0;
        DealMoney Money;
        std::string_view LastCloseOf; // the history's position whose last close this deal is
    };

    // A history's deal kept until its Deals table ends.
    struct KeptDeal
    {
        ArenaRecord<8> Text; // as Deal's texts, in order
        bool Buy = true;
        long long Volume = 0;
        DealMoney Money;
        int LastCloseOf = -1; // the history's position whose last close the deal is
    };

    Table TableAt(int index) const;
    // A row the trades are made of, as messages name it ("deal 5001"); "" for a row of no use to them.
    std::string RowName(const Visible& cells) const;
    void ReadTableRow(const HtmlRow& row, const Visible& cells);
    // The Deals table is over: its end was read, so the deals after its last row are none.
    void EndDeals();
    void ReadHeadRow(const Visible& cells);
    void ReadSettingsRow(const HtmlRow& row, const Visible& cells);
    void ReadBlockRow(const Visible& cells);
    void EndBlock();
    std::optional<PrintedSummary> PrintedResults() const;
    void ReadPositionRow(const Visible& cells);
    void ReadOrderRow(const Visible& cells);
    void ReadDealRow(const HtmlRow& row, const Visible& cells);
    void ReadBalanceDeal(const Visible& cells);
    void ReadOpenPositionRow(const Visible& cells);
    void PairHistoryDeals();
    void ReadDeal(const Deal& deal);
    void OpenDeal(const Deal& deal, long long volume, const DealMoney& entry);
    void CloseDeal(const Deal& deal);
    void ReverseDeal(const Deal& deal);
    // What could not be read; takes the positions still open off the book.
    std::string Warning(bool endSeen);

    const ReportKind m_kind;
    TradeRowWriter m_rows;
    SelectionList& m_pairs;
    PositionBook m_book{false};

    int m_tables = 0;
    Table m_table = Table::None;
    bool m_dealsStarted = false;
    bool m_dealsComplete = false;
    std::string m_lastDealTime;
    int m_headRows = 0;
    bool m_netting = false;
    std::vector<std::string> m_settings; // the tester's settings values, in order
    bool m_settingsDone = false;

    HistoryPositions m_positions;
    TextArena m_keptText;
    std::vector<KeptDeal> m_kept;
    std::size_t m_keptOpenings = 0; // kept deals that open a position
    bool m_paired = false;
    // The tester's orders that set a stop loss or a take profit, in the table's order: their tickets,
    // S/L and T/P end to end in m_orderText. A ticket listed twice has the stops of its last row.
    struct OrderStops
    {
        std::size_t TextAt = 0;
        std::array<std::uint32_t, 3> Length{};
        bool Last = true; // no later row has its ticket
    };
    std::string_view OrderText(std::size_t order, int field) const;
    void IndexOrders();
    // The last row of the order with this ticket, or -1.
    int FindOrder(std::string_view ticket);
    std::string m_orderText;
    std::vector<OrderStops> m_orderStops;
    KeyIndex m_ordersByTicket;
    std::size_t m_nextOrder = 0; // the row after the one found last: deals mostly open in the table's order

    std::optional<long long> m_titledDeposit; // cents of the first balance deal commented "Deposit"
    std::optional<long long> m_firstBalance;  // ... of the first balance deal
    std::optional<long long> m_balanceBeforeTrades;
    bool m_tradeSeen = false;

    std::vector<BalanceRow> m_balanceRows;
    std::optional<long long> m_startBalance;         // cents before the first deal
    std::vector<std::vector<std::string>> m_block;   // value rows since the last section title
    std::vector<std::vector<std::string>> m_results; // the Results block's value rows

    Tally m_unpaired;
    Tally m_excess;
    Tally m_unread;
    Tally m_cut; // rows with a cell cut at the scanner's limit
};

} // namespace corvane
