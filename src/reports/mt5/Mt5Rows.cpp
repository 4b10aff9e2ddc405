#include "reports/mt5/Mt5Rows.h"

#include "reports/mt5/TradeRowWriter.h"
#include "text/Errors.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <cmath>

namespace corvane {

namespace {

constexpr int kDealCells = 13;     // a tester's deal; a history's adds the fee (and a hidden cost)
constexpr int kPositionCells = 13; // the history's Positions table
constexpr int kOrderCells = 11;
constexpr int kOpenPositionCells = 12;
constexpr int kMaxTickets = 5; // tickets named in a warning

bool IsSide(std::string_view type)
{
    return type == "buy" || type == "sell";
}

// A money cell in cents; an empty cell is nothing. An error names the cell's column by its English header.
long long Cents(std::string_view text, std::string_view column)
{
    if (text.empty())
        return 0;
    const auto cents = ParseScaled(text, 2);
    if (!cents)
        throw ConversionError(std::string(text)).InColumn(column);
    return *cents;
}

long long Volume(std::string_view text)
{
    const auto volume = ParseScaled(text, 8);
    if (!volume || *volume < 0)
        throw ConversionError(std::string(text)).InColumn("Volume");
    return *volume;
}

// The header of the deal's visible cell `i` between Order and Swap: Commission, then a history's Fee.
std::string_view CostColumn(int i)
{
    return i == 8 ? "Commission" : "Fee";
}

long long PriceOf(std::string_view text)
{
    return ParseScaled(text, 8).value_or(kUnknown);
}

// A volume the report does not print (the closing part of an in/out deal): at least two decimals.
std::string VolumeText(long long volume)
{
    std::string text = FormatFixed(static_cast<double>(volume) / kVolumeScale, 0, 8);
    while (text.size() > 1 && text.back() == '0' && text.find('.') + 3 < text.size())
        text.pop_back();
    return text;
}

} // namespace

Mt5Rows::Visible::Visible(const HtmlRow& row) : m_row(row)
{
    for (int i = 0; i < row.Size(); ++i) {
        if (!row[i].Hidden)
            m_index[Count++] = static_cast<unsigned char>(i);
        else if (Hidden.empty())
            Hidden = row[i].Text;
    }
}

void Mt5Rows::Tally::Add(std::string_view ticket, long long cents)
{
    if (Count < kMaxTickets)
        Tickets.append(Tickets.empty() ? "" : ", ").append(ticket);
    else if (Count == kMaxTickets)
        Tickets.append("...");
    ++Count;
    Cents += cents;
}

Mt5Rows::Mt5Rows(ReportKind kind, TextGrid& full, int firstRow, SelectionList& pairs,
                 const TradeLineCallback& onTradeLine)
    : m_kind(kind)
    , m_rows(full, firstRow, pairs, onTradeLine)
    , m_pairs(pairs)
{
}

Mt5Rows::Table Mt5Rows::TableAt(int index) const
{
    if (m_kind == ReportKind::Tester)
        return index == 1 ? Table::Orders : index == 2 ? Table::Deals : Table::None;
    return index == 1 ? Table::Positions : index == 2 ? Table::Orders : index == 3 ? Table::Deals : Table::Trailing;
}

void Mt5Rows::OnRow(const HtmlRow& row)
{
    if (!row.Complete)
        return; // the file ended inside it
    const Visible cells(row);
    if (row.HeaderColour) {
        if (m_table == Table::Deals)
            EndDeals();
        if (m_tables++ == 0)
            m_book = PositionBook(m_netting);
        m_table = TableAt(m_tables);
        // The Positions table is over: its indexes are built while the Orders table is being cut. The
        // tester's Orders table is over.
        if (m_kind == ReportKind::Statement && m_tables == 2)
            m_positions.Index();
        if (m_kind == ReportKind::Tester && m_tables == 2)
            IndexOrders();
        if (m_table == Table::Trailing)
            PairHistoryDeals();
        if (m_table == Table::Deals && !m_dealsStarted) {
            m_dealsStarted = true;
            if (m_kind == ReportKind::Tester && m_settings.size() >= 4)
                m_pairs.AddIfAbsent(m_settings[1]);
        }
        return;
    }
    // A section title: one cell across the table.
    if (row.Size() == 1 && row[0].ColSpan >= 10 && !row[0].Text.empty()) {
        if (m_table == Table::Deals)
            EndDeals();
        m_table = Table::None;
        EndBlock();
        return;
    }
    // A row across the table without text (a picture, a wide spacer) ends a block of values too.
    if (row.Size() == 1 && row[0].ColSpan >= 10)
        EndBlock();
    else if (m_table == Table::None)
        ReadBlockRow(cells);
    if (m_table == Table::None) {
        if (m_tables == 0)
            m_kind == ReportKind::Tester ? ReadSettingsRow(row, cells) : ReadHeadRow(cells);
        return;
    }
    const std::string name = RowName(cells);
    for (int i = 0; i < row.Size() && !name.empty(); ++i) {
        if (row[i].Cut) {
            m_cut.Add(name, 0);
            break;
        }
    }
    try {
        ReadTableRow(row, cells);
    } catch (const ConversionError& error) {
        throw error.InRow(name);
    }
}

void Mt5Rows::ReadTableRow(const HtmlRow& row, const Visible& cells)
{
    switch (m_table) {
    case Table::None:
        break;
    case Table::Positions:
        ReadPositionRow(cells);
        break;
    case Table::Orders:
        if (m_kind == ReportKind::Tester)
            ReadOrderRow(cells);
        break;
    case Table::Deals:
        ReadDealRow(row, cells);
        break;
    case Table::Trailing:
        ReadOpenPositionRow(cells);
        break;
    }
}

std::string Mt5Rows::RowName(const Visible& cells) const
{
    if (cells.Count < 5)
        return {};
    const std::string ticket(cells.Text(1));
    switch (m_table) {
    case Table::None:
        break;
    case Table::Positions:
        return "position " + ticket;
    case Table::Orders:
        return m_kind == ReportKind::Tester ? "order " + ticket : "";
    case Table::Deals:
        return "deal " + ticket;
    case Table::Trailing: // open positions, then working orders: these have "placed / filled" as their volume
        return IsSide(cells.Text(3)) && !Contains(cells.Text(4), "/") ? "open position " + ticket : "";
    }
    return {};
}

void Mt5Rows::OnTableEnd()
{
    if (m_table == Table::Deals)
        EndDeals();
}

void Mt5Rows::EndDeals()
{
    m_dealsComplete = true;
    m_table = Table::None;
    PairHistoryDeals();
}

// The history's head: Name, Account, Company, Date. The account names the way positions are kept.
void Mt5Rows::ReadHeadRow(const Visible& cells)
{
    if (cells.Count == 2 && ++m_headRows == 2)
        m_netting = Contains(cells.Text(1), "Netting");
}

// The tester's settings: label and value rows, Expert, Symbol, Period, the inputs, then Company,
// Currency, Initial Deposit and Leverage. A row of another shape ends them.
void Mt5Rows::ReadSettingsRow(const HtmlRow& row, const Visible& cells)
{
    if (m_settingsDone)
        return;
    if (cells.Count == 2 && row.Size() == 2 && row[1].ColSpan >= 4)
        m_settings.emplace_back(cells.Text(1));
    else if (!m_settings.empty())
        m_settingsDone = true;
}

// Rows of label and value pairs outside the tables; an odd cell count starts with an empty cell.
void Mt5Rows::ReadBlockRow(const Visible& cells)
{
    if (cells.Count < 2)
        return;
    std::vector<std::string> values;
    for (int i = cells.Count % 2 + 1; i < cells.Count; i += 2)
        values.emplace_back(cells.Text(i));
    m_block.push_back(std::move(values));
}

// The Results block is the last block of label and value rows that is long enough: the history's
// account block before it has 4 rows, the tester's settings have one value a row.
void Mt5Rows::EndBlock()
{
    constexpr std::size_t kResultsRows = 8;
    if (m_block.size() >= kResultsRows && m_block[m_block.size() / 2].size() >= 2)
        m_results = std::move(m_block);
    m_block.clear();
}

std::optional<PrintedSummary> Mt5Rows::PrintedResults() const
{
    const auto& rows = m_results;
    if (rows.size() < 8)
        return std::nullopt;
    const auto amount = [&](std::size_t row, std::size_t value) -> std::optional<double> {
        if (row >= rows.size() || value >= rows[row].size())
            return std::nullopt;
        return ScanDouble(WithoutBlanks(rows[row][value]));
    };
    PrintedSummary summary;
    // A history prints net profit, gross profit and gross loss in its first row; a tester report in
    // the first column of its rows 3 to 5. Both end with the same 7 rows, total trades first.
    const bool tester = m_kind == ReportKind::Tester;
    summary.NetProfit = tester ? amount(2, 0) : amount(0, 0);
    if (const std::size_t row = tester ? 2 : 0; row < rows.size() && !rows[row].empty())
        summary.MoneyDigits = PrintedDecimals(rows[row][0]);
    summary.GrossProfit = tester ? amount(3, 0) : amount(0, 1);
    summary.GrossLoss = tester ? amount(4, 0) : amount(0, 2);
    if (summary.GrossLoss)
        summary.GrossLoss = -std::fabs(*summary.GrossLoss);
    if (const auto trades = amount(rows.size() - 7, 0); trades && *trades >= 0)
        summary.Trades = static_cast<long long>(*trades);
    if (!summary.NetProfit || !summary.Trades)
        return std::nullopt;
    return summary;
}

void Mt5Rows::ReadPositionRow(const Visible& cells)
{
    if (cells.Count < kPositionCells || !IsSide(cells.Text(3)))
        return;
    PositionRow row;
    row.OpenTime = cells.Text(0);
    row.Id = cells.Text(1);
    row.Symbol = cells.Text(2);
    row.Buy = cells.Text(3) == "buy";
    row.Volume = ParseScaled(cells.Text(4), 8).value_or(0);
    row.Price = cells.Text(5);
    row.StopLoss = cells.Text(6);
    row.TakeProfit = cells.Text(7);
    row.CloseTime = cells.Text(8);
    row.ClosePrice = PriceOf(cells.Text(9));
    row.Profit = ParseScaled(cells.Text(cells.Count - 1), 2).value_or(0);
    row.Comment = cells.Hidden;
    m_positions.Add(row);
}

void Mt5Rows::ReadOrderRow(const Visible& cells)
{
    if (cells.Count < kOrderCells || (cells.Text(6).empty() && cells.Text(7).empty()))
        return;
    OrderStops order;
    order.TextAt = m_orderText.size();
    std::size_t field = 0;
    for (const std::string_view text : {cells.Text(1), cells.Text(6), cells.Text(7)}) {
        order.Length[field++] = static_cast<std::uint32_t>(text.size());
        m_orderText.append(text);
    }
    m_orderStops.push_back(order);
}

std::string_view Mt5Rows::OrderText(std::size_t order, int field) const
{
    const OrderStops& stops = m_orderStops[order];
    std::size_t at = stops.TextAt;
    for (int i = 0; i < field; ++i)
        at += stops.Length[static_cast<std::size_t>(i)];
    return std::string_view(m_orderText).substr(at, stops.Length[static_cast<std::size_t>(field)]);
}

void Mt5Rows::IndexOrders()
{
    for (std::size_t i = 0; i < m_orderStops.size(); ++i)
        m_ordersByTicket.Rows.emplace_back(HashText(OrderText(i, 0)), static_cast<int>(i));
    m_ordersByTicket.Build();
    const auto& rows = m_ordersByTicket.Rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t after = i + 1; after < rows.size() && rows[after].first == rows[i].first; ++after) {
            if (OrderText(static_cast<std::size_t>(rows[after].second), 0)
                == OrderText(static_cast<std::size_t>(rows[i].second), 0)) {
                m_orderStops[static_cast<std::size_t>(rows[i].second)].Last = false;
                break;
            }
        }
    }
}

int Mt5Rows::FindOrder(std::string_view ticket)
{
    if (m_nextOrder < m_orderStops.size() && m_orderStops[m_nextOrder].Last && OrderText(m_nextOrder, 0) == ticket)
        return static_cast<int>(m_nextOrder++);
    const auto [first, last] = m_ordersByTicket.Under(HashText(ticket));
    for (std::size_t i = last; i > first; --i) {
        const int order = m_ordersByTicket.Rows[i - 1].second;
        if (OrderText(static_cast<std::size_t>(order), 0) == ticket) {
            m_nextOrder = static_cast<std::size_t>(order) + 1;
            return order;
        }
    }
    return -1;
}

void Mt5Rows::ReadDealRow(const HtmlRow& row, const Visible& cells)
{
    if (row.Size() > 0 && row[0].ColSpan >= 2) { // the totals row under the deals
        EndDeals();
        return;
    }
    const int n = cells.Count;
    if (n < kDealCells) {
        if (n > 1)
            m_unread.Add(cells.Text(1), 0);
        return;
    }
    const std::string_view type = cells.Text(3);
    m_lastDealTime = cells.Text(0);
    if (!m_startBalance) {
        // Each deal prints the balance after it: a history of part of an account's life starts above 0.
        long long money = Cents(cells.Text(n - 3), "Profit") + Cents(cells.Text(n - 4), "Swap");
        for (int i = 8; i < n - 4; ++i)
            money += Cents(cells.Text(i), CostColumn(i));
        if (const auto after = ParseScaled(cells.Text(n - 2), 2))
            m_startBalance = *after - money;
    }
    if (type == "balance" || type == "credit") {
        m_balanceRows.push_back({.Time = std::string(cells.Text(0)),
                                 .Amount = static_cast<double>(Cents(cells.Text(n - 3), "Profit")) / 100.0,
                                 .Comment = std::string(cells.Text(n - 1)),
                                 .Ticket = LeadingInteger(cells.Text(1)),
                                 .Credit = type == "credit"});
    }
    if (type == "balance")
        ReadBalanceDeal(cells);
    if (!IsSide(type))
        return; // balance, credit, charges...: no trades
    Deal deal{.Time = cells.Text(0),
              .Ticket = cells.Text(1),
              .Symbol = cells.Text(2),
              .Direction = cells.Text(4),
              .VolumeText = cells.Text(5),
              .Price = cells.Text(6),
              .Order = cells.Text(7),
              .Comment = cells.Text(n - 1),
              .Buy = type == "buy",
              .Volume = Volume(cells.Text(5)),
              .Money = {},
              .LastCloseOf = {}};
    for (int i = 8; i < n - 4; ++i) // commission and, in a history, fee (its cost column is hidden)
        deal.Money.Costs += Cents(cells.Text(i), CostColumn(i));
    deal.Money.Swap = Cents(cells.Text(n - 4), "Swap");
    deal.Money.Profit = Cents(cells.Text(n - 3), "Profit");
    m_tradeSeen = true;
    if (m_kind == ReportKind::Tester) {
        ReadDeal(deal);
        return;
    }
    KeptDeal kept{m_keptText.Add<8>({deal.Time, deal.Ticket, deal.Symbol, deal.Direction, deal.VolumeText, deal.Price,
                                     deal.Order, deal.Comment}),
                  deal.Buy, deal.Volume, deal.Money, -1};
    // Which position's last close a deal is depends on the deals before it alone: it is found as they come.
    const auto text = [&](int field) { return m_keptText.Text(kept.Text, field); };
    if (text(3) == "in" || text(3) == "in/out")
        ++m_keptOpenings;
    if (text(3) != "in")
        kept.LastCloseOf =
            m_positions.TakeLastClose(text(2), !kept.Buy, text(0), PriceOf(text(5)), kept.Money.Profit, kept.Volume);
    m_kept.push_back(kept);
}

void Mt5Rows::ReadDeal(const Deal& deal)
{
    if (deal.Direction == "in")
        OpenDeal(deal, deal.Volume, deal.Money);
    else if (deal.Direction == "out" || deal.Direction == "out by")
        CloseDeal(deal);
    else if (deal.Direction == "in/out")
        ReverseDeal(deal);
    else
        m_unread.Add(deal.Ticket, deal.Money.Profit + deal.Money.Swap + deal.Money.Costs);
}

// A history does not say which position a closing deal closes, but its Positions table tells when each
// position was closed for the last time: the deal at that time on its symbol and side is its last
// close, and what it had before was closed in parts. Knowing this of every position, the deals are
// paired in turn.
void Mt5Rows::PairHistoryDeals()
{
    if (m_kind != ReportKind::Statement || m_paired)
        return;
    m_paired = true;
    m_book.Reserve(static_cast<std::size_t>(m_book.Count()) + m_keptOpenings);
    for (const KeptDeal& kept : m_kept) {
        const auto text = [&](int field) { return m_keptText.Text(kept.Text, field); };
        const std::string_view lastCloseId =
            kept.LastCloseOf >= 0 ? m_positions.Ticket(kept.LastCloseOf) : std::string_view();
        ReadDeal({.Time = text(0),
                  .Ticket = text(1),
                  .Symbol = text(2),
                  .Direction = text(3),
                  .VolumeText = text(4),
                  .Price = text(5),
                  .Order = text(6),
                  .Comment = text(7),
                  .Buy = kept.Buy,
                  .Volume = kept.Volume,
                  .Money = kept.Money,
                  .LastCloseOf = lastCloseId});
    }
    m_kept = std::vector<KeptDeal>();
    m_keptText.Clear();
}

// The initial deposit: a history's first balance deal commented "Deposit", else its first balance
// deal before the first trade; a tester's from its settings, else its first balance deal.
void Mt5Rows::ReadBalanceDeal(const Visible& cells)
{
    const long long amount = Cents(cells.Text(cells.Count - 3), "Profit");
    if (!m_titledDeposit && cells.Text(cells.Count - 1) == "Deposit")
        m_titledDeposit = amount;
    if (!m_firstBalance)
        m_firstBalance = amount;
    if (!m_balanceBeforeTrades && !m_tradeSeen)
        m_balanceBeforeTrades = amount;
}

void Mt5Rows::OpenDeal(const Deal& deal, long long volume, const DealMoney& entry)
{
    const int known = m_kind == ReportKind::Statement ? m_positions.Find(deal.Order) : -1;
    PositionFacts facts;
    if (known >= 0 && !m_positions.Opened(known)) {
        m_positions.SetOpened(known);
        facts = m_positions.Facts(known);
    } else {
        facts.Id = deal.Order;
        facts.Symbol = deal.Symbol;
        facts.Buy = deal.Buy;
        facts.OpenTime = deal.Time;
        facts.Price = deal.Price;
        facts.Comment = deal.Comment;
        const int order = FindOrder(deal.Order);
        if (order >= 0) {
            facts.StopLoss = OrderText(static_cast<std::size_t>(order), 1);
            facts.TakeProfit = OrderText(static_cast<std::size_t>(order), 2);
        }
    }
    m_book.Open(facts, volume, entry);
}

void Mt5Rows::CloseDeal(const Deal& deal)
{
    const ClosingDeal closing{deal.Symbol,       deal.Buy,     deal.Volume,     PriceOf(deal.Price),
                              deal.Money.Profit, deal.Comment, deal.LastCloseOf};
    PositionBook::Closed closed = m_book.Close(closing);
    if (closed.Position < 0 && m_kind == ReportKind::Statement) {
        // A history of part of the account's life closes positions opened before it: their opening
        // deals are missing, but the Positions table has them.
        const int earlier = m_positions.TakeEarlier(deal.Symbol, !deal.Buy, deal.Time);
        if (earlier >= 0) {
            m_book.Open(m_positions.Facts(earlier), m_positions.Volume(earlier), DealMoney());
            closed = m_book.Close(closing);
        }
    }
    if (closed.Position < 0) {
        m_unpaired.Add(deal.Ticket, deal.Money.Profit + deal.Money.Swap + deal.Money.Costs);
        return;
    }
    if (closed.Excess > 0)
        m_excess.Add(deal.Ticket, 0);
    DealMoney money = deal.Money;
    money += closed.Entry;
    m_rows.Write(m_book.Facts(closed.Position), deal.VolumeText, deal.Time, deal.Price, money);
}

// A netting account's reversal: the deal closes the open position and opens one of its own side with
// the rest of its volume. Its money goes with the close.
void Mt5Rows::ReverseDeal(const Deal& deal)
{
    const ClosingDeal closing{deal.Symbol,       deal.Buy,     deal.Volume,     PriceOf(deal.Price),
                              deal.Money.Profit, deal.Comment, deal.LastCloseOf};
    const PositionBook::Closed closed = m_book.Close(closing);
    if (closed.Position < 0) {
        OpenDeal(deal, deal.Volume, deal.Money);
        return;
    }
    DealMoney money = deal.Money;
    money += closed.Entry;
    const PositionFacts facts = m_book.Facts(closed.Position);
    m_rows.Write(facts, VolumeText(closed.Volume), deal.Time, deal.Price, money);
    if (closed.Excess > 0)
        OpenDeal(deal, closed.Excess, DealMoney());
}

// A row of the tables after the history's deals that is an open position: a side as its type and
// one volume (a working order has "placed / filled").
void Mt5Rows::ReadOpenPositionRow(const Visible& cells)
{
    const int n = cells.Count;
    if (n < kOpenPositionCells || !IsSide(cells.Text(3)) || Contains(cells.Text(4), "/"))
        return;
    PositionFacts facts;
    facts.OpenTime = cells.Text(0);
    facts.Id = cells.Text(1);
    facts.Symbol = cells.Text(2);
    facts.Buy = cells.Text(3) == "buy";
    facts.Price = cells.Text(5);
    facts.StopLoss = cells.Text(6);
    facts.TakeProfit = cells.Text(7);
    facts.Comment = cells.Text(n - 1);
    DealMoney money;
    money.Swap = Cents(cells.Text(n - 3), "Swap");
    money.Profit = Cents(cells.Text(n - 2), "Profit");
    const int open = m_book.FindOpen(facts.Id);
    if (open >= 0)
        money += m_book.Settle(open);
    m_rows.Write(facts, cells.Text(4), "", cells.Text(n - 4), money);
}

std::string Mt5Rows::Warning(bool endSeen)
{
    std::string text;
    // "1 closing deal (5001) found...; its result, -12.30, is not in the table." The tickets stand at "@".
    const auto tell = [&text](const Tally& tally, std::string_view one, std::string_view many, std::string_view money) {
        if (tally.Count == 0)
            return;
        std::string sentence(tally.Count == 1 ? one : many);
        sentence.replace(sentence.find('@'), 1, "(" + tally.Tickets + ")");
        text.append(text.empty() ? "" : " ").append(std::to_string(tally.Count)).append(" ").append(sentence);
        if (!money.empty() && tally.Cents != 0)
            text.append(tally.Count == 1 ? "; its " : "; their ")
                .append(money)
                .append(", ")
                .append(MoneyText(tally.Cents, 0))
                .append(", is not in the table");
        text.append(".");
    };
    tell(m_unpaired, "closing deal @ found no open position to close",
         "closing deals @ found no open position to close", "result");
    tell(m_excess, "closing deal @ closed more than was open", "closing deals @ closed more than was open", "");
    tell(m_unread, "row of the Deals table @ could not be read", "rows of the Deals table @ could not be read",
         "result");
    tell(m_cut, "row @ has a cell cut to its first 65,536 characters",
         "rows @ have a cell cut to their first 65,536 characters", "");
    Tally leftover;
    for (int i = 0; i < m_book.Count(); ++i) {
        if (m_book.OpenVolume(i) > 0) {
            const DealMoney entry = m_book.Settle(i);
            leftover.Add(m_book.Facts(i).Id, entry.Profit + entry.Swap + entry.Costs);
        }
    }
    if (m_kind == ReportKind::Tester)
        tell(leftover, "position @ was opened and never closed", "positions @ were opened and never closed",
             "opening deals' money");
    else
        tell(leftover, "position @ opened in the Deals table was neither closed there nor listed as open",
             "positions @ opened in the Deals table were neither closed there nor listed as open",
             "opening deals' money");
    if (!m_dealsComplete)
        text.append(text.empty() ? "" : " ")
            .append("The file ends inside the Deals table; the deals after ")
            .append(m_lastDealTime.empty() ? "its start" : m_lastDealTime)
            .append(" are missing.");
    else if (!endSeen)
        text.append(text.empty() ? "" : " ").append("The file ends before the end of the report.");
    return text;
}

ReportState Mt5Rows::Finish(const std::string& title, bool endSeen)
{
    PairHistoryDeals();
    ReportState state;
    const std::size_t first = title.find_first_not_of(' ');
    state.Title = first == std::string::npos ? "" : title.substr(first, title.find_last_not_of(' ') - first + 1);
    state.Kind = m_kind;
    state.Writer = Terminal::Mt5;
    state.CodePage = "UTF-8";
    std::optional<long long> deposit;
    if (m_kind == ReportKind::Tester) {
        state.Symbol = m_settings.size() >= 4 ? m_settings[1] : "";
        if (m_settings.size() >= 4)
            deposit = ParseScaled(m_settings[m_settings.size() - 2], 2);
        if (!deposit)
            deposit = m_firstBalance;
    } else {
        deposit = m_titledDeposit ? m_titledDeposit : m_balanceBeforeTrades;
    }
    state.InitialDeposit = static_cast<double>(deposit.value_or(0)) / 100.0;
    state.ReadWarning = Warning(endSeen);
    EndBlock();
    state.Printed = PrintedResults();
    if (state.Printed)
        state.MoneyDigits = state.Printed->MoneyDigits;
    state.BalanceRows = std::move(m_balanceRows);
    if (m_startBalance)
        state.StartBalance = static_cast<double>(*m_startBalance) / 100.0;
    return state;
}

} // namespace corvane
