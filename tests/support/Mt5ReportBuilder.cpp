#include "Mt5ReportBuilder.h"

#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace corvane::test {

namespace {

long long Cents(const std::string& text)
{
    return ParseScaled(text, 2).value_or(0);
}

// Money as the terminal writes it: two decimals, a blank between thousands.
std::string Money(long long cents)
{
    const unsigned long long magnitude =
        cents < 0 ? 0ULL - static_cast<unsigned long long>(cents) : static_cast<unsigned long long>(cents);
    std::string whole = std::to_string(magnitude / 100);
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
        whole.insert(static_cast<std::size_t>(i), " ");
    const std::string fraction = std::to_string(100 + magnitude % 100).substr(1);
    return (cents < 0 ? "-" : "") + whole + "." + fraction;
}

std::string Cells(const std::vector<std::string>& cells, std::string_view open = "<td>")
{
    std::string row;
    for (const std::string& cell : cells)
        row.append(cell.rfind("<td", 0) == 0 ? cell : std::string(open) + cell + "</td>");
    return row;
}

std::string Section(const std::string& title, int columns)
{
    return "<tr align=\"center\">\r\n<th colspan=\"" + std::to_string(columns)
           + "\" style=\"height: 25px\"><div style=\"font: 10pt Tahoma\"><b>" + title + "</b></div></th>\r\n</tr>\r\n";
}

std::string Header(const std::vector<std::string>& labels, bool closed = true)
{
    std::string row = "<tr align=\"center\" bgcolor=\"#E5F0FC\">\r\n";
    for (const std::string& label : labels)
        row += "<td nowrap><b>" + label + "</b></td>\r\n";
    return row + (closed ? "</tr>\r\n" : "");
}

std::string DataRow(int index, const std::string& cells)
{
    return std::string(index % 2 ? "<tr bgcolor=\"#F7F7F7\" align=\"right\">"
                                 : "<tr bgcolor=\"#FFFFFF\" align=\"right\">")
           + cells + "</tr>\r\n";
}

// The volume-weighted average of the closes' prices, with the decimals of the first.
std::string AveragePrice(const std::vector<Mt5Close>& closes)
{
    const std::string& first = closes.front().Price;
    const std::size_t point = first.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(first.size() - point - 1);
    long long weighted = 0, volume = 0;
    for (const Mt5Close& close : closes) {
        weighted += ParseScaled(close.Price, decimals).value_or(0) * Cents(close.Volume);
        volume += Cents(close.Volume);
    }
    return FormatFixed(static_cast<double>((weighted + volume / 2) / volume) / std::pow(10.0, decimals), 0, decimals);
}

} // namespace

Mt5ReportBuilder& Mt5ReportBuilder::Japanese()
{
    m_japanese = true;
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::Deposit(std::string amount, std::string comment)
{
    m_deposit = std::move(amount);
    m_depositComment = std::move(comment);
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::Settings(std::string symbol, std::string deposit)
{
    m_symbol = std::move(symbol);
    m_settingsDeposit = std::move(deposit);
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::Account(std::string mode)
{
    m_mode = std::move(mode);
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::Trade(Mt5Trade trade)
{
    m_trades.push_back(std::move(trade));
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::Deal(Mt5Deal deal)
{
    m_deals.push_back(std::move(deal));
    return *this;
}

Mt5ReportBuilder& Mt5ReportBuilder::WithoutTotals()
{
    m_totals = false;
    return *this;
}

std::string Mt5ReportBuilder::Label(std::string_view english, std::string_view japanese) const
{
    return std::string(m_japanese ? japanese : english);
}

std::vector<Mt5ReportBuilder::Row> Mt5ReportBuilder::DealRows() const
{
    // Time, Deal, Symbol, Type, Direction, Volume, Price, Order, [Cost,] Commission, [Fee,] Swap, Profit, Balance,
    // Comment
    const auto row = [this](const std::string& time, const std::vector<std::string>& first, long long commission,
                            long long fee, long long swap, long long profit, const std::string& comment) {
        std::vector<std::string> cells = {time, "#"};
        cells.insert(cells.end(), first.begin(), first.end());
        if (!m_tester)
            cells.push_back("<td class=\"hidden\"></td>");
        cells.push_back(Money(m_tester ? commission + fee : commission));
        if (!m_tester)
            cells.push_back(Money(fee));
        cells.insert(cells.end(), {Money(swap), Money(profit), "=", comment});
        return Row{time, Cells(cells, "<td nowrap>"), commission + fee + swap + profit, true};
    };
    std::vector<Row> rows;
    if (!m_deposit.empty()) {
        rows.push_back(
            row("2024.01.01 00:00:00", {"", "balance", "", "", "", ""}, 0, 0, 0, Cents(m_deposit), m_depositComment));
        rows.back().Trade = false;
    }
    int order = 800000;
    for (const Mt5Trade& t : m_trades) {
        rows.push_back(row(t.Time, {t.Symbol, t.Type, "in", t.Volume, t.Price, t.Id}, Cents(t.Commission), Cents(t.Fee),
                           0, 0, t.Comment));
        for (const Mt5Close& c : t.Closes)
            rows.push_back(row(
                c.Time,
                {t.Symbol, t.Type == "buy" ? "sell" : "buy", c.Direction, c.Volume, c.Price, std::to_string(order++)},
                Cents(c.Commission), Cents(c.Fee), Cents(c.Swap), Cents(c.Profit), c.Comment));
    }
    for (const Mt5Deal& d : m_deals)
        rows.push_back(row(d.Time, {d.Symbol, d.Type, d.Direction, d.Volume, d.Price, d.Order}, 0, 0, 0,
                           Cents(d.Profit), d.Comment));
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.Time < b.Time; });
    return rows;
}

double Mt5ReportBuilder::NetProfit() const
{
    long long cents = 0;
    for (const Row& row : DealRows())
        cents += row.Trade ? row.Cents : 0;
    return static_cast<double>(cents) / 100.0;
}

int Mt5ReportBuilder::TotalTrades() const
{
    int trades = 0;
    for (const Mt5Trade& t : m_trades)
        trades += static_cast<int>(t.Closes.size());
    for (const Mt5Deal& d : m_deals)
        trades += d.Direction != "in" ? 1 : 0;
    return trades;
}

std::string Mt5ReportBuilder::Html() const
{
    const std::string title = m_tester ? Label("Strategy Tester Report", "ストラテジーテスターレポート")
                                       : "1234567: Test Trader - " + Label("Trade History Report", "取引履歴レポート");
    std::string out =
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n  <head>\r\n    <title>" + title
        + "</title>\r\n    <meta name=\"generator\" content=\"" + (m_tester ? "strategy tester" : "client terminal")
        + "\">\r\n    <style type=\"text/css\">\r\n    <!--\r\n    .hidden { display: none; }\r\n    //-->\r\n"
          "    </style>\r\n  </head>\r\n<body>\r\n<div align=\"center\">\r\n"
          "<table cellspacing=\"1\" cellpadding=\"3\" border=\"0\">\r\n";
    const int columns = m_tester ? 13 : 14;
    out += "<tr align=\"center\"><td colspan=\"" + std::to_string(columns) + "\"><div style=\"font: 14pt Tahoma\"><b>"
           + title + "</b><br></div></td></tr>\r\n";
    if (m_tester) {
        out += "<tr align=\"center\"><td colspan=\"13\"><div><b>Test-Server (Build 5000)</b><br></div></td></tr>\r\n"
               "<tr><td nowrap style=\"height: 10px\"></td></tr>\r\n"
               "<tr><td colspan=\"13\" align=\"center\"><div><b>"
               + Label("Settings", "設定") + "</b></div></td></tr>\r\n";
        for (const auto& [label, value] : std::vector<std::pair<std::string, std::string>>{
                 {Label("Expert:", "エキスパート:"), "Test EA"},
                 {Label("Symbol:", "銘柄:"), m_symbol},
                 {Label("Period:", "期間:"), "H1 (2024.01.01 - 2024.12.31)"},
                 {Label("Inputs:", "パラメータ:"), "Lots=0.1"},
                 {"", "Risk=2"},
                 {Label("Company:", "会社:"), "Test Ltd."},
                 {Label("Currency:", "通貨:"), "USD"},
                 {Label("Initial Deposit:", "初期証拠金:"), m_settingsDeposit},
                 {Label("Leverage:", "レバレッジ:"), "1:100"}})
            out += "<tr align=\"right\"><td nowrap colspan=\"3\">" + label
                   + "</td><td nowrap colspan=\"10\" align=\"left\"><b>" + value + "</b></td></tr>\r\n";
        out += "<tr><td nowrap style=\"height: 10px\"></td></tr>\r\n" + Results()
               + "</table>\r\n<table cellspacing=\"1\" cellpadding=\"3\" border=\"0\">\r\n";
    } else {
        for (const auto& [label, value] : std::vector<std::pair<std::string, std::string>>{
                 {Label("Name:", "名前:"), "Test Trader"},
                 {Label("Account:", "口座:"), "1234567&nbsp;(USD,&nbsp;Test-Server,&nbsp;demo,&nbsp;" + m_mode + ")"},
                 {Label("Company:", "会社:"), "Test Ltd."},
                 {Label("Date:", "日付:"), "2024.12.31 23:59"}})
            out += "<tr align=\"left\"><th colspan=\"4\" nowrap align=\"right\">" + label
                   + "</th><th colspan=\"10\" nowrap align=\"left\"><b>" + value + "</b></th></tr>\r\n";
        out += Section(Label("Positions", "ポジション一覧"), 14)
               + Header({"Time", "Position", "Symbol", "Type", "Volume", "Price", "S / L", "T / P", "Time", "Price",
                         "Commission", "Swap", "Profit"});
        int index = 0;
        for (const Mt5Trade& t : m_trades) {
            long long closed = 0, costs = Cents(t.Commission) + Cents(t.Fee), swap = 0, profit = 0;
            for (const Mt5Close& c : t.Closes) {
                closed += Cents(c.Volume);
                costs += Cents(c.Commission) + Cents(c.Fee);
                swap += Cents(c.Swap);
                profit += Cents(c.Profit);
            }
            if (t.Closes.empty() || closed < Cents(t.Volume))
                continue;
            std::string cells;
            for (const std::string& cell :
                 {t.Time, t.Id, t.Symbol, t.Type, "<td class=\"hidden\" colspan=\"8\">" + t.Comment + "</td>", t.Volume,
                  t.Price, t.StopLoss, t.TakeProfit, t.Closes.back().Time, AveragePrice(t.Closes), Money(costs),
                  Money(swap), "<td colspan=\"2\">" + Money(profit) + "</td>"})
                cells += "\r\n" + (cell.rfind("<td", 0) == 0 ? cell : "<td class=\"\">" + cell + "</td>");
            out += DataRow(index++, cells + "\r\n");
        }
    }
    out += Section(Label("Orders", "注文"), columns)
           + Header({"Open Time", "Order", "Symbol", "Type", "Volume", "Price", "S / L", "T / P", "Time", "State",
                     "Comment"});
    int index = 0;
    for (const Mt5Trade& t : m_trades)
        out += DataRow(index++, Cells({t.Time, t.Id, t.Symbol, t.Type, t.Volume + " / " + t.Volume, "0.00000",
                                       t.StopLoss, t.TakeProfit, t.Time, "<td colspan=\"2\">filled</td>",
                                       "<td colspan=\"3\">" + t.Comment + "</td>"}));
    out += DataRow(index, Cells({"2024.01.02 09:00:00", "7777", "EURUSD", "buy stop", "0.10 / 0", "1.20000", "", "",
                                 "2024.01.03 09:00:00", "<td colspan=\"2\">canceled</td>", "<td colspan=\"3\"></td>"}));
    out += Section(Label("Deals", "約定"), columns);
    out += Header(m_tester ? std::vector<std::string>{"Time", "Deal", "Symbol", "Type", "Direction", "Volume", "Price",
                                                      "Order", "Commission", "Swap", "Profit", "Balance", "Comment"}
                           : std::vector<std::string>{"Time", "Deal", "Symbol", "Type", "Direction", "Volume", "Price",
                                                      "Order", "Cost", "Commission", "Fee", "Swap", "Profit", "Balance",
                                                      "Comment"},
                  false);
    long long balance = 0;
    int deal = 5000;
    index = 0;
    for (const Row& row : DealRows()) {
        balance += row.Cents;
        std::string cells = row.Html;
        cells.replace(cells.find("<td nowrap>#</td>") + 11, 1, std::to_string(deal++));
        cells.replace(cells.find("<td nowrap>=</td>") + 11, 1, Money(balance));
        out += DataRow(index++, cells);
    }
    if (m_totals)
        out += "<tr align=\"right\">\r\n<td nowrap colspan=\"8\" style=\"height: 30px\"></td>\r\n<td nowrap><b>"
               + Money(balance) + "</b></td>\r\n</tr>\r\n";
    if (!m_tester) {
        out += Section(Label("Open Positions", "ポジション"), 14)
               + Header({"Time", "Position", "Symbol", "Type", "Volume", "Price", "S / L", "T / P", "Market Price",
                         "Swap", "Profit", "Comment"});
        index = 0;
        for (const Mt5Trade& t : m_trades) {
            long long open = Cents(t.Volume);
            for (const Mt5Close& c : t.Closes)
                open -= Cents(c.Volume);
            if (open > 0)
                out += DataRow(index++, Cells({t.Time, t.Id, t.Symbol, t.Type,
                                               FormatFixed(static_cast<double>(open) / 100.0, 0, 2), t.Price,
                                               t.StopLoss, t.TakeProfit, t.MarketPrice, "0.00", t.FloatingProfit,
                                               "<td colspan=\"3\">" + t.Comment + "</td>"}));
        }
        out += "<tr align=\"right\"><td colspan=\"9\"></td><td nowrap><b>0.00</b></td><td></td></tr>\r\n"
               + Section(Label("Working Orders", "現在のオーダー"), 14)
               + Header({"Open Time", "Order", "Symbol", "Type", "Volume", "Price", "S / L", "T / P", "Market Price",
                         "State", "Comment"})
               + DataRow(0, Cells({"2024.12.31 10:00:00", "8888", "EURUSD", "buy stop", "0.10 / 0", "1.20000", "", "",
                                   "1.10000", "<td colspan=\"2\">placed</td>", "<td colspan=\"3\"></td>"}));
    }
    if (!m_tester)
        out += Results();
    return out + "</table>\r\n</div>\r\n</body>\r\n</html>\r\n";
}

// The Results block: a history ends with it, a tester report has it before its Orders and Deals.
std::string Mt5ReportBuilder::Results() const
{
    return "<tr><td colspan=\"13\" align=\"center\"><div><b>" + Label("Results", "結果")
           + "</b></div></td></tr>\r\n"
             "<tr align=\"right\"><td nowrap colspan=\"3\">"
           + Label("Total Net Profit:", "総損益:") + "</td><td nowrap><b>"
           + Money(static_cast<long long>(std::llround(NetProfit() * 100)))
           + "</b></td></tr>\r\n"
             "<tr align=\"right\"><td nowrap colspan=\"3\">"
           + Label("Total Trades:", "取引数:") + "</td><td nowrap><b>" + std::to_string(TotalTrades())
           + "</b></td></tr>\r\n";
}

std::string Mt5ReportBuilder::Utf16() const
{
    return Utf16Le(Html());
}

std::string Utf16Le(std::string_view utf8, bool mark)
{
    std::string out = mark ? "\xff\xfe" : "";
    const auto unit = [&out](unsigned u) {
        out.push_back(static_cast<char>(u & 0xff));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : 0;
        unsigned code = extra == 0 ? c : c & (0x3fu >> extra);
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3f);
        i += static_cast<std::size_t>(extra) + 1;
        if (code >= 0x10000) {
            unit(0xd800 + ((code - 0x10000) >> 10));
            unit(0xdc00 + ((code - 0x10000) & 0x3ff));
        } else {
            unit(code);
        }
    }
    return out;
}

} // namespace corvane::test
