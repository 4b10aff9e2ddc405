#include "ReportBuilder.h"

namespace corvane::test {

namespace {

std::string PriceCell(const std::string& price)
{
    return "<td style=\"mso-number-format:0\\.00000;\">" + price + "</td>";
}

std::string MoneyPrice(const std::string& price, bool alignRight)
{
    return "<td style=\"mso-number-format:0\\.0000;\"" + std::string(alignRight ? " align=right" : "") + ">" + price
           + "</td>";
}

std::string SectionLine(const std::string& name)
{
    return "<tr align=left><td colspan=13><b>" + name + ":</b></td></tr>";
}

void Head(std::string& out, const std::string& title, bool generator, const std::string& fifth)
{
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
           "\"http://www.w3.org/TR/html4/strict.dtd\">\r\n<html>\r\n  <head>\r\n    <title>"
           + title + "</title>\r\n";
    if (!fifth.empty())
        out += fifth + "\r\n";
    else
        out += generator ? "    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">\r\n"
                         : "    <meta name=\"author\" content=\"Somebody Else\">\r\n";
    out += "    <link rel=\"help\" href=\"http://www.example.com\">\r\n  </head>\r\n"
           "<body topmargin=1 marginheight=1>\r\n<div align=center>\r\n";
}

void Tail(std::string& out, const std::vector<std::string>& body)
{
    for (const std::string& line : body)
        out += line + "\r\n";
    out += "</table>\r\n</div></body></html>\r\n";
}

} // namespace

std::string StatementRow(const StatementTrade& t, bool taxes)
{
    std::string row = "<tr align=right>";
    if (t.Bare) {
        row += "<td>" + t.Ticket + "</td><td nowrap>" + t.OpenTime + "</td>";
    } else {
        const bool titled = !t.Magic.empty() || !t.Comment.empty();
        row += "<td title=\"" + (titled ? "#" + t.Magic + " " + t.Comment : t.Title) + "\">" + t.Ticket
               + "</td><td class=msdate nowrap>" + t.OpenTime + "</td>";
    }
    row += "<td>" + t.Type + "</td><td class=mspt>" + t.Lots + "</td><td>" + t.Symbol + "</td>";
    row += PriceCell(t.Price) + PriceCell(t.StopLoss) + PriceCell(t.TakeProfit);
    row += "<td class=msdate nowrap>" + t.CloseTime + "</td>" + PriceCell(t.ClosePrice);
    row += "<td class=mspt>" + t.Commission + "</td>";
    if (taxes)
        row += "<td class=mspt>" + t.Taxes + "</td>";
    return row + "<td class=mspt>" + t.Swap + "</td><td class=mspt>" + t.Profit + "</td></tr>";
}

std::string MagicSubRow(const std::string& magic, const std::string& comment)
{
    return "<tr align=right><td colspan=9>&nbsp;</td><td>" + magic + "</td><td colspan=3>" + comment + "</td></tr>";
}

std::string BalanceRow(const std::string& ticket, const std::string& title, const std::string& amount)
{
    return "<tr align=right><td title=\"" + title + "\">" + ticket
           + "</td><td class=msdate nowrap>2024.01.01 00:00</td><td>balance</td><td colspan=10 align=left>" + title
           + "</td><td class=mspt>" + amount + "</td></tr>";
}

StatementBuilder& StatementBuilder::Open(StatementTrade trade)
{
    trade.CloseTime = "&nbsp;";
    return Closed(trade);
}

StatementBuilder& StatementBuilder::Line(std::string raw)
{
    m_body.push_back(std::move(raw));
    return *this;
}

StatementBuilder& StatementBuilder::Lines(const std::vector<std::string>& raw)
{
    m_body.insert(m_body.end(), raw.begin(), raw.end());
    return *this;
}

StatementBuilder& StatementBuilder::OpenTrades()
{
    return Line(SectionLine("Open Trades"));
}

StatementBuilder& StatementBuilder::WorkingOrders()
{
    return Line(SectionLine("Working Orders"));
}

std::string StatementBuilder::Text() const
{
    std::string out;
    Head(out, m_title, m_generator, m_newHead ? "    <style type=\"text/css\" media=\"screen\">" : "");
    out += "<table cellspacing=1 cellpadding=3 border=0>\r\n" + SectionLine("Closed Transactions")
           + "\r\n<tr align=center bgcolor=\"#C0C0C0\">\r\n"
             "   <td>Ticket</td><td nowrap>Open Time</td><td>Type</td><td>Size</td><td>Item</td><td>Price</td>"
             "<td>S / L</td><td>T / P</td><td nowrap>Close Time</td><td>Price</td><td>Commission</td>"
           + (m_taxes ? "<td>Taxes</td>" : "") + "<td>Swap</td><td>Profit</td></tr>\r\n";
    Tail(out, m_body);
    return out;
}

std::string Statement(const std::vector<StatementTrade>& trades, const std::string& deposit, const std::string& title)
{
    StatementBuilder builder;
    builder.Title(title);
    if (!deposit.empty())
        builder.Deposit(deposit);
    for (const StatementTrade& trade : trades)
        builder.Closed(trade);
    return builder.Text();
}

std::string TesterTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& stopLoss,
                           const std::string& takeProfit, bool money)
{
    const std::string start = "<tr align=right><td>" + std::to_string(number) + "</td><td class=msdate>" + time
                              + "</td><td>" + type + "</td><td>" + order + "</td>";
    if (money)
        return start + "<td class=mspt>" + lots + "</td>" + MoneyPrice(price, false) + MoneyPrice(stopLoss, true)
               + MoneyPrice(takeProfit, true) + "<td colspan=2></td></tr>";
    return start + "<td>" + lots + "</td><td>" + price + "</td><td align=right>" + stopLoss + "</td><td align=right>"
           + takeProfit + "</td><td colspan=2></td></tr>";
}

std::string TesterCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& profit,
                           const std::string& balance, bool money)
{
    const std::string cells = "<td>" + std::to_string(number) + "</td><td class=msdate>" + time + "</td><td>" + type
                              + "</td><td>" + order + "</td>";
    if (money)
        return "<tr bgcolor=\"#E0E0E0\" align=right>" + cells + "<td class=mspt>" + lots + "</td>"
               + MoneyPrice(price, false) + MoneyPrice("0.0000", true) + MoneyPrice("0.0000", true) + "<td class=mspt>"
               + profit + "</td><td class=mspt>" + balance + "</td></tr>";
    return "<tr align=right>" + cells + "<td>" + lots + "</td><td>" + price + "</td><td>" + profit + "</td><td>"
           + balance + "</td></tr>";
}

TesterBuilder& TesterBuilder::TerminalHead(std::string symbolLabel, std::string depositLabel, std::string parameters)
{
    m_terminalHead = true;
    m_symbolLabel = std::move(symbolLabel);
    m_depositLabel = std::move(depositLabel);
    m_parameters = std::move(parameters);
    return *this;
}

TesterBuilder& TesterBuilder::Line(std::string raw)
{
    m_body.push_back(std::move(raw));
    return *this;
}

std::string TesterBuilder::Text() const
{
    std::string out;
    Head(out, m_title, m_generator, m_versionHead ? "    <meta name=\"version\" content=\"Build 1473\">" : "");
    out += "<table width=820 cellspacing=1 cellpadding=3 border=0>\r\n";
    const std::string deposit = "<tr align=left><td>" + m_depositLabel + "</td><td align=right>" + m_deposit
                                + "</td><td></td><td align=right></td><td>Spread</td><td align=right>2</td></tr>\r\n";
    if (m_terminalHead) {
        out += "<tr align=left><td colspan=2>" + m_symbolLabel + "</td><td colspan=4>" + m_symbol
               + "</td></tr>\r\n<tr align=left><td colspan=2>Period</td><td colspan=4>1 Hour (H1)</td></tr>\r\n"
               + "<tr align=left><td colspan=2>Parameters</td><td colspan=4>" + m_parameters + "</td></tr>\r\n"
               + "<tr align=left><td colspan=2><tr align=left><td>Bars in test</td><td align=right>1068</td>"
                 "<td>Ticks modelled</td><td align=right>2000</td><td>Modelling quality</td>"
                 "<td align=right>n/a</td></tr>\r\n"
                 "<tr align=left><td>Mismatched charts errors</td><td align=right>0</td><td></td>"
                 "<td align=right></td><td></td><td align=right></td></tr>\r\n"
                 "<tr height=8><td colspan=6></td></tr>\r\n"
               + deposit;
    } else {
        if (!m_symbol.empty())
            out += "<tr align=left><td colspan=2>Symbol</td><td colspan=4>" + m_symbol + "</td></tr>\r\n";
        out += "<tr align=left><td colspan=2>Period</td><td colspan=4>1 Hour (H1)</td></tr>\r\n" + deposit;
    }
    out += "</table>\r\n<table width=820 cellspacing=1 cellpadding=3 border=0>\r\n"
           "<tr bgcolor=\"#C0C0C0\" align=right><td>#</td><td>Time</td><td>Type</td><td>Order</td>"
           "<td>Size</td><td>Price</td><td>S / L</td><td>T / P</td><td>Profit</td><td>Balance</td></tr>\r\n";
    Tail(out, m_body);
    return out;
}

} // namespace corvane::test
