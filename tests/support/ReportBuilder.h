#pragma once

#include <string>
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
    std::string Magic;    // titled rows: title="#<Magic> <Comment>" when either is set
    std::string Comment;
    std::string Title;    // a title of its own ("[tp]"), used when Magic and Comment are empty
    bool Bare = false;    // ticket as the first plain cell, open time in <td nowrap>
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
    StatementBuilder& Title(std::string title);     // "Statement: 1 - Test" by default
    StatementBuilder& NoGenerator();                  // line 5 without the generator tag
    StatementBuilder& NewHead();                      // the 2022 head: the style sheet on line 5, no tag
    StatementBuilder& Taxes();                        // the taxes column (its header cell on line 13)
    StatementBuilder& Deposit(std::string amount);    // a balance row with title="Deposit"
    StatementBuilder& Closed(const StatementTrade& trade);
    StatementBuilder& OpenTrades();                   // the "Open Trades:" line
    StatementBuilder& Open(const StatementTrade& trade);
    StatementBuilder& WorkingOrders();                // the "Working Orders:" line
    StatementBuilder& Line(std::string raw);          // a line as given (CR LF added)

    std::string Text() const;

private:
    std::string m_title = "Statement: 1 - Test";
    bool m_generator = true;
    bool m_newHead = false;
    bool m_taxes = false;
    std::vector<std::string> m_body;
};

// Tester rows: a trade (buy, sell, buy stop...) and a closing line (s/l, t/p, close).
std::string TesterTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& stopLoss = "0.0000",
                           const std::string& takeProfit = "0.0000");
std::string TesterCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& profit,
                           const std::string& balance = "10000.00");

// Tester rows as builds 600 on write them: size, prices and money in cells with attributes.
std::string TesterMoneyTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                                const std::string& lots, const std::string& price,
                                const std::string& stopLoss = "0.0000", const std::string& takeProfit = "0.0000");
std::string TesterMoneyCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                                const std::string& lots, const std::string& price, const std::string& profit,
                                const std::string& balance = "10000.00");

class TesterBuilder
{
public:
    // The head as the terminal writes it: the settings table (symbol, period, parameters, bars),
    // a spacer row, then the deposit row, each label in the given words.
    TesterBuilder& TerminalHead(std::string symbolLabel = "Symbol", std::string depositLabel = "Initial deposit",
                                std::string parameters = "Lots=0.1; ");
    TesterBuilder& VersionHead(); // build 1380 on: line 5 holds the build number, no generator tag
    TesterBuilder& Title(std::string title);   // "Strategy Tester: Test EA" by default
    TesterBuilder& NoGenerator();
    TesterBuilder& Symbol(std::string symbol); // "EURUSD (Euro vs US Dollar)" by default; "" leaves the line out
    TesterBuilder& Deposit(std::string amount); // "10000.00" by default
    TesterBuilder& Line(std::string raw);

    std::string Text() const;

private:
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
