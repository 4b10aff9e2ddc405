#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

/**
 * Small reports in the MetaTrader 5 terminal's layout: an account history (Positions, Orders, Deals,
 * Open Positions, Working Orders, Results) or a tester report (Settings, Results, Orders, Deals), each
 * line ending in CR LF. Trades give their opening and closing deals, and the Positions and Orders rows
 * that go with them; deals are listed in time order, with the balance after each.
 */

struct Mt5Close
{
    std::string Time = "2024.01.02 12:00:00";
    std::string Volume = "0.10";
    std::string Price = "1.10100";
    std::string Profit = "10.00";
    std::string Commission = "0.00";
    std::string Fee = "0.00";
    std::string Swap = "0.00";
    std::string Comment{};
    std::string Direction = "out";
};

// A position: its opening deal and its closes. Volume not closed is still open.
struct Mt5Trade
{
    std::string Id = "1001"; // the position's ticket, the order of its opening deal
    std::string Symbol = "EURUSD";
    std::string Type = "buy";
    std::string Volume = "0.10";
    std::string Time = "2024.01.02 10:00:00";
    std::string Price = "1.10000";
    std::string StopLoss{};
    std::string TakeProfit{};
    std::string Commission = "0.00"; // of the opening deal
    std::string Fee = "0.00";
    std::string Comment{};
    std::vector<Mt5Close> Closes{};
    std::string MarketPrice = "1.10050"; // while open
    std::string FloatingProfit = "5.00";
};

// A deal that no trade explains, written as given.
struct Mt5Deal
{
    std::string Time = "2024.01.02 10:00:00";
    std::string Symbol = "EURUSD";
    std::string Type = "sell";
    std::string Direction = "out";
    std::string Volume = "0.10";
    std::string Price = "1.10000";
    std::string Order = "9001";
    std::string Profit = "0.00";
    std::string Comment{};
};

class Mt5ReportBuilder
{
public:
    explicit Mt5ReportBuilder(bool tester = false) : m_tester(tester) {}

    // Titles and labels in Japanese, as a Japanese terminal writes them.
    Mt5ReportBuilder& Japanese();
    // The first deal: a balance deal of `amount` with `comment`; "" leaves it out.
    Mt5ReportBuilder& Deposit(std::string amount, std::string comment = "Deposit");
    // The tester's Symbol and Initial Deposit settings.
    Mt5ReportBuilder& Settings(std::string symbol, std::string deposit);
    Mt5ReportBuilder& Account(std::string mode); // "Hedge" or "Netting"
    Mt5ReportBuilder& Trade(Mt5Trade trade);
    Mt5ReportBuilder& Deal(Mt5Deal deal);
    // The Deals table without its totals row, as some pages saved again have it.
    Mt5ReportBuilder& WithoutTotals();

    std::string Html() const;  // UTF-8
    std::string Utf16() const; // as the terminal writes it: a byte-order mark, then UTF-16LE
    // The Total Net Profit the terminal prints: profit, swap, commission and fee of every trade deal.
    double NetProfit() const;
    // Total Trades: the closing deals.
    int TotalTrades() const;

private:
    struct Row
    {
        std::string Time;
        std::string Html; // the row without its deal number and balance
        long long Cents = 0;
        bool Trade = false;
    };
    std::vector<Row> DealRows() const;
    std::string Label(std::string_view english, std::string_view japanese) const;
    std::string Results() const;

    bool m_tester;
    bool m_japanese = false;
    std::string m_deposit = "10 000.00";
    std::string m_depositComment = "Deposit";
    std::string m_symbol = "EURUSD";
    std::string m_settingsDeposit = "10 000.00";
    std::string m_mode = "Hedge";
    bool m_totals = true;
    std::vector<Mt5Trade> m_trades;
    std::vector<Mt5Deal> m_deals;
};

// UTF-16LE of UTF-8 text, after the byte-order mark FF FE when `mark`.
std::string Utf16Le(std::string_view utf8, bool mark = true);

} // namespace corvane::test
