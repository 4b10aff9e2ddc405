#include "ReportBuilder.h"

namespace corvane::test {

namespace {

const char* const kCrLf = "\r\n";

std::string PriceCell(const std::string& price)
{
    return "<td style=\"mso-number-format:0\\.00000;\">" + price + "</td>";
}

void Head(std::string& out, const std::string& title, bool generator, const std::string& fifth = {})
{
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n";
    out += "<html>\r\n";
    out += "  <head>\r\n";
    out += "    <title>" + title + "</title>\r\n";
    if (!fifth.empty())
        out += fifth + "\r\n";
    else
        out += generator ? "    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">\r\n"
                         : "    <meta name=\"author\" content=\"Somebody Else\">\r\n";
    out += "    <link rel=\"help\" href=\"http://www.example.com\">\r\n";
    out += "  </head>\r\n";
    out += "<body topmargin=1 marginheight=1>\r\n";
}

} // namespace

std::string StatementRow(const StatementTrade& t, bool taxes)
{
    std::string row = "<tr align=right>";
    if (t.Bare) {
        row += "<td>" + t.Ticket + "</td><td nowrap>" + t.OpenTime + "</td>";
    } else {
        std::string title = t.Title;
        if (!t.Magic.empty() || !t.Comment.empty())
            title = "#" + t.Magic + " " + t.Comment;
        row += "<td title=\"" + title + "\">" + t.Ticket + "</td><td class=msdate nowrap>" + t.OpenTime + "</td>";
    }
    row += "<td>" + t.Type + "</td><td class=mspt>" + t.Lots + "</td><td>" + t.Symbol + "</td>";
    row += PriceCell(t.Price) + PriceCell(t.StopLoss) + PriceCell(t.TakeProfit);
    row += "<td class=msdate nowrap>" + t.CloseTime + "</td>" + PriceCell(t.ClosePrice);
    row += "<td class=mspt>" + t.Commission + "</td>";
    if (taxes)
        row += "<td class=mspt>" + t.Taxes + "</td>";
    row += "<td class=mspt>" + t.Swap + "</td><td class=mspt>" + t.Profit + "</td></tr>";
    return row;
}

StatementBuilder& StatementBuilder::Title(std::string title)
{
    m_title = std::move(title);
    return *this;
}

StatementBuilder& StatementBuilder::NoGenerator()
{
    m_generator = false;
    return *this;
}

StatementBuilder& StatementBuilder::NewHead()
{
    m_newHead = true;
    return *this;
}

std::string MagicSubRow(const std::string& magic, const std::string& comment)
{
    return "<tr align=right><td colspan=9>&nbsp;</td><td>" + magic + "</td><td colspan=3>" + comment + "</td></tr>";
}

std::string BalanceRow(const std::string& ticket, const std::string& title, const std::string& amount)
{
    return "<tr align=right><td title=\"" + title + "\">" + ticket + "</td><td class=msdate nowrap>2024.01.01 00:00</td>"
        + "<td>balance</td><td colspan=10 align=left>" + title + "</td><td class=mspt>" + amount + "</td></tr>";
}

StatementBuilder& StatementBuilder::Taxes()
{
    m_taxes = true;
    return *this;
}

StatementBuilder& StatementBuilder::Deposit(std::string amount)
{
    return Line("<tr align=right><td title=\"Deposit\">1</td><td class=msdate nowrap>2024.01.01 00:00</td>"
                "<td>balance</td><td colspan=10 align=left>Deposit</td><td class=mspt>"
                + amount + "</td></tr>");
}

StatementBuilder& StatementBuilder::Closed(const StatementTrade& trade)
{
    return Line(StatementRow(trade, m_taxes));
}

StatementBuilder& StatementBuilder::OpenTrades()
{
    return Line("<tr align=left><td colspan=13><b>Open Trades:</b></td></tr>");
}

StatementBuilder& StatementBuilder::Open(const StatementTrade& trade)
{
    StatementTrade open = trade;
    open.CloseTime = "&nbsp;";
    return Line(StatementRow(open, m_taxes));
}

StatementBuilder& StatementBuilder::WorkingOrders()
{
    return Line("<tr align=left><td colspan=13><b>Working Orders:</b></td></tr>");
}

StatementBuilder& StatementBuilder::Line(std::string raw)
{
    m_body.push_back(std::move(raw));
    return *this;
}

std::string StatementBuilder::Text() const
{
    std::string out;
    Head(out, m_title, m_generator, m_newHead ? "    <style type=\"text/css\" media=\"screen\">" : "");
    out += "<div align=center>\r\n";
    out += "<table cellspacing=1 cellpadding=3 border=0>\r\n";
    out += "<tr align=left><td colspan=13><b>Closed Transactions:</b></td></tr>\r\n";
    out += "<tr align=center bgcolor=\"#C0C0C0\">\r\n";
    out += std::string("   <td>Ticket</td><td nowrap>Open Time</td><td>Type</td><td>Size</td><td>Item</td>")
        + "<td>Price</td><td>S / L</td><td>T / P</td><td nowrap>Close Time</td><td>Price</td><td>Commission</td>"
        + (m_taxes ? "<td>Taxes</td>" : "") + "<td>Swap</td><td>Profit</td></tr>" + kCrLf;
    for (const std::string& line : m_body)
        out += line + kCrLf;
    out += "</table>\r\n</div></body></html>\r\n";
    return out;
}

std::string TesterTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& stopLoss,
                           const std::string& takeProfit)
{
    return "<tr align=right><td>" + std::to_string(number) + "</td><td class=msdate>" + time + "</td><td>" + type
        + "</td><td>" + order + "</td><td>" + lots + "</td><td>" + price + "</td><td align=right>" + stopLoss
        + "</td><td align=right>" + takeProfit + "</td><td colspan=2></td></tr>";
}

std::string TesterCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                           const std::string& lots, const std::string& price, const std::string& profit,
                           const std::string& balance)
{
    return "<tr align=right><td>" + std::to_string(number) + "</td><td class=msdate>" + time + "</td><td>" + type
        + "</td><td>" + order + "</td><td>" + lots + "</td><td>" + price + "</td><td>" + profit + "</td><td>"
        + balance + "</td></tr>";
}

namespace {
std::string MoneyPrice(const std::string& price, bool alignRight)
{
    return "<td style=\"mso-number-format:0\\.0000;\"" + std::string(alignRight ? " align=right" : "") + ">" + price
        + "</td>";
}
} // namespace

std::string TesterMoneyTradeRow(int number, const std::string& time, const std::string& type, const std::string& order,
                                const std::string& lots, const std::string& price, const std::string& stopLoss,
                                const std::string& takeProfit)
{
    return "<tr align=right><td>" + std::to_string(number) + "</td><td class=msdate>" + time + "</td><td>" + type
        + "</td><td>" + order + "</td><td class=mspt>" + lots + "</td>" + MoneyPrice(price, false)
        + MoneyPrice(stopLoss, true) + MoneyPrice(takeProfit, true) + "<td colspan=2></td></tr>";
}

std::string TesterMoneyCloseRow(int number, const std::string& time, const std::string& type, const std::string& order,
                                const std::string& lots, const std::string& price, const std::string& profit,
                                const std::string& balance)
{
    return "<tr bgcolor=\"#E0E0E0\" align=right><td>" + std::to_string(number) + "</td><td class=msdate>" + time
        + "</td><td>" + type + "</td><td>" + order + "</td><td class=mspt>" + lots + "</td>" + MoneyPrice(price, false)
        + MoneyPrice("0.0000", true) + MoneyPrice("0.0000", true) + "<td class=mspt>" + profit
        + "</td><td class=mspt>" + balance + "</td></tr>";
}

TesterBuilder& TesterBuilder::TerminalHead(std::string symbolLabel, std::string depositLabel, std::string parameters)
{
    m_terminalHead = true;
    m_symbolLabel = std::move(symbolLabel);
    m_depositLabel = std::move(depositLabel);
    m_parameters = std::move(parameters);
    return *this;
}

TesterBuilder& TesterBuilder::VersionHead()
{
    m_versionHead = true;
    return *this;
}

TesterBuilder& TesterBuilder::Title(std::string title)
{
    m_title = std::move(title);
    return *this;
}

TesterBuilder& TesterBuilder::NoGenerator()
{
    m_generator = false;
    return *this;
}

TesterBuilder& TesterBuilder::Symbol(std::string symbol)
{
    m_symbol = std::move(symbol);
    return *this;
}

TesterBuilder& TesterBuilder::Deposit(std::string amount)
{
    m_deposit = std::move(amount);
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
    out += "<div align=center>\r\n";
    out += "<table width=820 cellspacing=1 cellpadding=3 border=0>\r\n";
    if (m_terminalHead) {
        out += "<tr align=left><td colspan=2>" + m_symbolLabel + "</td><td colspan=4>" + m_symbol + "</td></tr>\r\n";
        out += "<tr align=left><td colspan=2>Period</td><td colspan=4>1 Hour (H1)</td></tr>\r\n";
        out += "<tr align=left><td colspan=2>Parameters</td><td colspan=4>" + m_parameters + "</td></tr>\r\n";
        out += "<tr align=left><td colspan=2><tr align=left><td>Bars in test</td><td align=right>1068</td>"
               "<td>Ticks modelled</td><td align=right>2000</td><td>Modelling quality</td><td align=right>n/a</td></tr>\r\n";
        out += "<tr align=left><td>Mismatched charts errors</td><td align=right>0</td><td></td><td align=right></td>"
               "<td></td><td align=right></td></tr>\r\n";
        out += "<tr height=8><td colspan=6></td></tr>\r\n";
        out += "<tr align=left><td>" + m_depositLabel + "</td><td align=right>" + m_deposit
            + "</td><td></td><td align=right></td><td>Spread</td><td align=right>2</td></tr>\r\n";
    } else {
        if (!m_symbol.empty())
            out += "<tr align=left><td colspan=2>Symbol</td><td colspan=4>" + m_symbol + "</td></tr>\r\n";
        out += "<tr align=left><td colspan=2>Period</td><td colspan=4>1 Hour (H1)</td></tr>\r\n";
        out += "<tr align=left><td>Initial deposit</td><td align=right>" + m_deposit
            + "</td><td></td><td align=right></td><td>Spread</td><td align=right>2</td></tr>\r\n";
    }
    out += "</table>\r\n";
    out += "<table width=820 cellspacing=1 cellpadding=3 border=0>\r\n";
    out += "<tr bgcolor=\"#C0C0C0\" align=right><td>#</td><td>Time</td><td>Type</td><td>Order</td><td>Size</td>"
           "<td>Price</td><td>S / L</td><td>T / P</td><td>Profit</td><td>Balance</td></tr>\r\n";
    for (const std::string& line : m_body)
        out += line + kCrLf;
    out += "</table>\r\n</div></body></html>\r\n";
    return out;
}

} // namespace corvane::test
