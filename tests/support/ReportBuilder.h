#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane::test {

/**
 * Small reports in the terminal's format, line by line, each line ending in CR LF.
 * Statement rows come in the titled form (ticket cell with title="#magic comment") or the bare form
 * (ticket as the first plain cell); tester reports have trade rows and closing lines.
 */

struct StatementTrade
{
    std::string Ticket = "1001";
    std::string OpenTime = "2024.01.02 10:00";
    std::string Type = "buy";
    std::string Lots = "1.00";
    std::string Symbol = "eurusd";
    std::string Price = "1.10000";
    std::string StopLoss = "0.00000";
    std::string TakeProfit = "0.00000";
    std::string CloseTime = "2024.01.02 12:00";
    std::string ClosePrice = "1.10100";
    std::string Commission = "0.00";
    std::string Taxes = "0.00";
    std::string Swap = "0.00";
    std::string Profit = "100.00";
    std::string Magic{}; // titled rows: title="#<Magic> <Comment>" when either is set
    std::string Comment{};
    std::string Title{}; // a title of its own ("[tp]"), used when Magic and Comment are empty
    bool Bare = false;   // ticket as the first plain cell, open time in <td nowrap>
};

// One statement trade row. `taxes` adds the taxes column before swap.
std::string StatementRow(const StatementTrade& trade, bool taxes);

// The row that newer statements put after each titled trade, with its magic number and comment.
std::string MagicSubRow(const std::string& magic, const std::string& comment);

// A balance row with the broker's own title text (not title="Deposit").
std::string BalanceRow(const std::string& ticket, const std::string& title, const std::string& amount);

class StatementBuilder
{
public:
    StatementBuilder& Title(std::string title) { return Set(m_title, std::move(title)); }
    StatementBuilder& NoGenerator() { return Set(m_generator, false); } // line 5 without the tag
    StatementBuilder& NewHead() { return Set(m_newHead, true); }        // 2022: a style sheet on line 5, no tag
    StatementBuilder& Taxes() { return Set(m_taxes, true); }            // the taxes column (header on line 13)
    StatementBuilder& Deposit(const std::string& amount) { return Line(BalanceRow("1", "Deposit", amount)); }
    StatementBuilder& Closed(const StatementTrade& trade) { return Line(StatementRow(trade, m_taxes)); }
    StatementBuilder& Open(StatementTrade trade); // a row without close time
    StatementBuilder& OpenTrades();               // the "Open Trades:" line
    StatementBuilder& WorkingOrders();            // the "Working Orders:" line
    StatementBuilder& Line(std::string raw);      // CR LF added
    StatementBuilder& Lines(const std::vector<std::string>& raw);

    std::string Text() const;

private:
    template <typename T, typename V> StatementBuilder& Set(T& member, V&& value)
    {
        member = std::forward<V>(value);
        return *this;
    }

    std::string m_title = "Statement: 1 - Test";
    bool m_generator = true;
    bool m_newHead = false;
    bool m_taxes = false;
    std::vector<std::string> m_body;
};

// A statement with a deposit row when `deposit` is given, then the given closed trades.
std::string Statement(const std::vector<StatementTrade>& trades, const std::string& deposit = "",
                      const std::string& title = "Statement: 1 - Test");

// Tester rows: a trade (buy, sell, buy stop...) and a closing line (s/l, t/p, close). With `money` they
// are the rows of builds 600 on, with size, prices and money in cells with attributes.
std::string TesterTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& stopLoss = "0.0000",
                           const std::string& takeProfit = "0.0000", bool money = false);
std::string TesterCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& profit,
                           const std::string& balance = "10000.00", bool money = false);

class TesterBuilder
{
public:
    // The head as the terminal writes it: the settings table (symbol, period, parameters, bars),
    // a spacer row, then the deposit row, each label in the given words.
    TesterBuilder& TerminalHead(std::string symbolLabel = "Symbol", std::string depositLabel = "Initial deposit",
                                std::string parameters = "Lots=0.1; ");
    TesterBuilder& VersionHead() { return Set(m_versionHead, true); } // 1380 on: a build number, no tag
    TesterBuilder& Title(std::string title) { return Set(m_title, std::move(title)); }
    TesterBuilder& NoGenerator() { return Set(m_generator, false); }
    // "EURUSD (Euro vs US Dollar)" by default; "" leaves the line out
    TesterBuilder& Symbol(std::string symbol) { return Set(m_symbol, std::move(symbol)); }
    TesterBuilder& Deposit(std::string amount) { return Set(m_deposit, std::move(amount)); }
    TesterBuilder& Line(std::string raw);

    std::string Text() const;

private:
    template <typename T, typename V> TesterBuilder& Set(T& member, V&& value)
    {
        member = std::forward<V>(value);
        return *this;
    }

    std::string m_title = "Strategy Tester: Test EA";
    bool m_generator = true;
    std::string m_symbol = "EURUSD (Euro vs US Dollar)";
    std::string m_deposit = "10000.00";
    bool m_terminalHead = false;
    bool m_versionHead = false;
    std::string m_symbolLabel = "Symbol";
    std::string m_depositLabel = "Initial deposit";
    std::string m_parameters;
    std::vector<std::string> m_body;
};

} // namespace corvane::test
