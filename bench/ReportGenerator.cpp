#include "ReportGenerator.h"

#include "GeneratorText.h"
#include "Mt5ReportGenerator.h"
#include "PerfShape.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace corvane::bench {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr long long kMinutesPerDay = 1440;
// 2010.01.04 00:00, a Monday, in minutes since 1970.01.01 00:00.
constexpr long long kFirstMinute = 14613 * kMinutesPerDay;
constexpr long long kDepositCents = 1000000;
constexpr std::string_view kDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";

/**
 * A buffered file writer with the few number formats a report needs. Formatting goes straight into
 * the buffer, so a million rows cost little more than the bytes themselves.
 */
class Output
{
public:
    explicit Output(const std::string& path) : m_path(path), m_file(std::fopen(path.c_str(), "wb"))
    {
        if (m_file == nullptr)
            throw std::runtime_error("cannot create " + path);
        m_buffer.resize(kCapacity);
    }

    ~Output()
    {
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void Put(std::string_view text)
    {
        if (text.size() > kCapacity - m_used) {
            Flush();
            if (text.size() > kCapacity) {
                Write(text.data(), text.size());
                return;
            }
        }
        if (!text.empty())
            std::memcpy(m_buffer.data() + m_used, text.data(), text.size());
        m_used += text.size();
    }

    // A line of the report's frame, ending in CR LF.
    void Line(std::string_view text)
    {
        Put(text);
        Put(kCrLf);
    }

    void Int(long long value)
    {
        char text[48];
        Put(IntText(text, value));
    }

    // `scaled` / 10^decimals with exactly `decimals` decimals; with `grouped`, a blank between thousands.
    void Fixed(long long scaled, int decimals, bool grouped = false)
    {
        char text[48];
        Put(FixedText(text, scaled, decimals, grouped));
    }

    // Money in cents, as the terminal writes it: two decimals, optionally grouped by thousands.
    void Money(long long cents, bool grouped) { Fixed(cents, 2, grouped); }

    // A time in minutes since 1970.01.01 00:00 as "yyyy.mm.dd hh:mm".
    void Time(long long minute)
    {
        const auto [year, month, day] = DateOfDay(minute / kMinutesPerDay);
        const long long minuteOfDay = minute % kMinutesPerDay;

        char text[16];
        const auto two = [&text](int at, long long value) {
            text[at] = static_cast<char>('0' + value / 10);
            text[at + 1] = static_cast<char>('0' + value % 10);
        };
        two(0, year / 100);
        two(2, year % 100);
        text[4] = '.';
        two(5, month);
        text[7] = '.';
        two(8, day);
        text[10] = ' ';
        two(11, minuteOfDay / 60);
        text[13] = ':';
        two(14, minuteOfDay % 60);
        Put(std::string_view(text, sizeof text));
    }

    // Flushes and closes the file; returns the number of bytes written.
    long long Finish()
    {
        Flush();
        const int closed = std::fclose(m_file);
        m_file = nullptr;
        if (closed != 0)
            throw std::runtime_error("cannot write " + m_path);
        return m_bytes;
    }

private:
    static constexpr std::size_t kCapacity = std::size_t{1} << 20;

    void Flush()
    {
        Write(m_buffer.data(), m_used);
        m_used = 0;
    }

    void Write(const char* data, std::size_t size)
    {
        if (size != 0 && std::fwrite(data, 1, size, m_file) != size)
            throw std::runtime_error("cannot write " + m_path);
        m_bytes += static_cast<long long>(size);
    }

    std::string m_path;
    std::FILE* m_file;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    long long m_bytes = 0;
};

// Moves a time that falls on a Saturday or a Sunday to the same time of day on the Monday after.
long long OnWeekday(long long minute)
{
    const long long weekday = (minute / kMinutesPerDay + 4) % 7; // 1970.01.01 was a Thursday; 0 = Sunday
    if (weekday == 6)
        return minute + 2 * kMinutesPerDay;
    if (weekday == 0)
        return minute + kMinutesPerDay;
    return minute;
}

// The mean gap in minutes that spreads `events` over about `minutes`, at least one minute.
long long MeanGap(long long minutes, long long events)
{
    return std::max(1LL, minutes / std::max(1LL, events));
}

struct Instrument
{
    std::string_view Name;
    int Digits;
    std::string_view PriceCell; // the opening tag of the instrument's price cells
    long long Start;            // first price, in points
    long long PointValue;       // cents per point and lot
    int Weight;                 // share of the trades, in percent
};

constexpr std::array<Instrument, 5> kInstruments = {{
    {"eurusd", 5, "<td style=\"mso-number-format:0\\.00000;\">", 110000, 100, 35},
    {"gbpusd", 5, "<td style=\"mso-number-format:0\\.00000;\">", 127000, 100, 20},
    {"usdjpy", 3, "<td style=\"mso-number-format:0\\.000;\">", 145000, 68, 20},
    {"audusd", 5, "<td style=\"mso-number-format:0\\.00000;\">", 66000, 100, 15},
    {"xauusd", 2, "<td style=\"mso-number-format:0\\.00;\">", 192000, 100, 10},
}};

struct Expert
{
    std::string_view Magic;
    std::string_view Comment;
};

constexpr std::array<Expert, 8> kExperts = {{
    {"20240101", "trend v2"},
    {"777", "scalper"},
    {"123456", "grid 3"},
    {"55501", "breakout"},
    {"990001", "night range"},
    {"31415", ""},
    {"4242", "mean rev"},
    {"8080", "hedge m15"},
}};

constexpr std::array<long long, 9> kLots = {1, 2, 5, 10, 10, 10, 20, 50, 100}; // hundredths of a lot

// One element of `items`, chosen uniformly.
template <typename T, std::size_t N> const T& Pick(Random& random, const std::array<T, N>& items)
{
    return items[static_cast<std::size_t>(random.Below(static_cast<long long>(N)))];
}

// A price that wanders around its start, never below half or above twice of it.
long long Wander(Random& random, long long price, long long start)
{
    const long long step = std::max(1LL, start / 2000);
    return std::clamp(price + random.Between(-step, step), start / 2, start * 2);
}

// ---------------------------------------------------------------------------------------------------
// Account statement

enum class RowForm
{
    Expert, // title "#magic comment"
    Manual, // title "[tp]" or "[sl]" only
    Bare,   // no title: the ticket is the first plain cell
};

struct StatementTrade
{
    long long Ticket = 0;
    long long OpenMinute = 0;
    long long CloseMinute = 0; // negative for an open position
    bool Buy = true;
    long long Lots = 10;
    const Instrument* Symbol = nullptr;
    long long OpenPrice = 0;
    long long StopLoss = 0;
    long long TakeProfit = 0;
    long long ClosePrice = 0;
    long long Commission = 0; // cents
    long long Swap = 0;
    long long Profit = 0;
    RowForm Form = RowForm::Expert;
    const Expert* Owner = nullptr;
    std::string_view Tag; // "[tp]", "[sl]" or ""
};

class StatementWriter
{
public:
    StatementWriter(Output& out, std::uint64_t seed) : m_out(out), m_random(seed)
    {
        for (const Instrument& instrument : kInstruments)
            m_prices.push_back(instrument.Start);
    }

    long long Write(long long closedTrades)
    {
        m_gap = MeanGap(5 * 365 * kMinutesPerDay, closedTrades);
        Head();
        long long commission = 0;
        long long swap = 0;
        long long profit = 0;
        for (long long i = 0; i < closedTrades; ++i) {
            if (m_random.Below(150) == 0)
                CancelledOrder();
            const StatementTrade trade = NextTrade(false);
            Row(trade);
            commission += trade.Commission;
            swap += trade.Swap;
            profit += trade.Profit;
        }
        Totals(commission, swap, profit);
        m_out.Put("<tr align=right><td colspan=10>&nbsp;</td><td colspan=3 align=right>Closed P/L: ");
        m_out.Money(commission + swap + profit, true);
        m_out.Line("</td></tr>");
        m_out.Line("<tr><td colspan=13 style=\"font: 1pt arial\">&nbsp;</td></tr>");

        m_out.Line("<tr align=left><td colspan=13><b>Open Trades:</b></td></tr>");
        ColumnHeads();
        long long floating = 0;
        long long openCommission = 0;
        long long openSwap = 0;
        for (long long i = 0; i < kStatementOpenTrades; ++i) {
            StatementTrade trade = NextTrade(true);
            if (i == 3)
                trade.Form = RowForm::Bare;
            Row(trade);
            openCommission += trade.Commission;
            openSwap += trade.Swap;
            floating += trade.Profit;
        }
        Totals(openCommission, openSwap, floating);
        m_out.Line("<tr><td colspan=13 style=\"font: 1pt arial\">&nbsp;</td></tr>");

        m_out.Line("<tr align=left><td colspan=13><b>Working Orders:</b></td></tr>");
        m_out.Line("<tr align=center bgcolor=\"#C0C0C0\"><td>Ticket</td><td nowrap>Open Time</td>"
                   "<td>Type</td><td>Size</td><td>Item</td><td>Price</td><td>S / L</td><td>T / P</td>"
                   "<td colspan=2 nowrap>Market Price</td><td colspan=3>&nbsp;</td></tr>");
        m_out.Line("<tr align=right><td colspan=13 align=center>No transactions</td></tr>");
        m_out.Line("<tr><td colspan=13 style=\"font: 1pt arial\">&nbsp;</td></tr>");
        Summary(commission + swap + profit, openCommission + openSwap + floating);
        return closedTrades + kStatementOpenTrades;
    }

private:
    void Head()
    {
        m_out.Line(kDoctype);
        m_out.Line("<html>");
        m_out.Line("  <head>");
        m_out.Line("    <title>Statement: 7140392 - Bench Account</title>");
        m_out.Line("    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">");
        m_out.Line("    <link rel=\"help\" href=\"http://www.example.com\">");
        m_out.Line("    <style type=\"text/css\" media=\"screen\">");
        m_out.Line("    <!--");
        m_out.Line("    td { font: 8pt Tahoma,Arial; }");
        m_out.Line("    //-->");
        m_out.Line("    </style>");
        m_out.Line("    <style type=\"text/css\">");
        m_out.Line("    <!--");
        m_out.Line("    .msdate { mso-number-format:\"General Date\"; }");
        m_out.Line("    .mspt   { mso-number-format:\\#\\,\\#\\#0\\.00;  }");
        m_out.Line("    //-->");
        m_out.Line("    </style>");
        m_out.Line("  </head>");
        m_out.Line("<body topmargin=1 marginheight=1>");
        m_out.Line("<div align=center>");
        m_out.Line("<div style=\"font: 20pt Times New Roman\"><b>Sample Trading Ltd.</b></div><br>");
        m_out.Line("<table cellspacing=1 cellpadding=3 border=0>");
        m_out.Line("<tr align=left>");
        m_out.Line("    <td colspan=2><b>Account: 7140392</b></td>");
        m_out.Line("    <td colspan=5><b>Name: Bench Account</b></td>");
        m_out.Line("    <td colspan=2><b>Currency: USD</b></td>");
        m_out.Line("    <td colspan=2><b>Leverage: 1:100</b></td>");
        m_out.Line("    <td colspan=2 align=right><b>2024 June 28, 23:59</b></td></tr>");
        m_out.Line("<tr align=left><td colspan=13><b>Closed Transactions:</b></td></tr>");
        ColumnHeads();
        m_out.Line("<tr align=right><td title=\"Deposit\">7140391</td>"
                   "<td class=msdate nowrap>2010.01.01 09:00</td><td>balance</td>"
                   "<td colspan=10 align=left>Deposit</td><td class=mspt>10 000.00</td></tr>");
    }

    void ColumnHeads()
    {
        m_out.Line("<tr align=center bgcolor=\"#C0C0C0\">");
        m_out.Line("   <td>Ticket</td><td nowrap>Open Time</td><td>Type</td><td>Size</td><td>Item</td>"
                   "<td>Price</td><td>S / L</td><td>T / P</td><td nowrap>Close Time</td><td>Price</td>"
                   "<td>Commission</td><td>Swap</td><td>Profit</td></tr>");
    }

    void Totals(long long commission, long long swap, long long profit)
    {
        m_out.Put("<tr align=right><td colspan=10>&nbsp;</td><td class=mspt>");
        m_out.Money(commission, true);
        m_out.Put("</td><td class=mspt>");
        m_out.Money(swap, true);
        m_out.Put("</td><td class=mspt>");
        m_out.Money(profit, true);
        m_out.Line("</td></tr>");
    }

    void Summary(long long closed, long long floating)
    {
        const long long balance = kDepositCents + closed;
        const long long margin = 120000;
        m_out.Line("<tr align=left><td colspan=13><b>Summary:</b></td></tr>");
        m_out.Line("<tr align=right><td colspan=3>Deposit/Withdrawal:</td>"
                   "<td colspan=2 class=mspt>10 000.00</td><td colspan=4>Credit Facility:</td>"
                   "<td class=mspt>0.00</td><td colspan=3>&nbsp;</td></tr>");
        m_out.Put("<tr align=right><td colspan=3>Closed Trade P/L:</td><td colspan=2 class=mspt>");
        m_out.Money(closed, true);
        m_out.Put("</td><td colspan=4>Floating P/L:</td><td class=mspt>");
        m_out.Money(floating, true);
        m_out.Put("</td><td colspan=2>Margin:</td><td class=mspt>");
        m_out.Money(margin, true);
        m_out.Line("</td></tr>");
        m_out.Put("<tr align=right><td colspan=3><b>Balance:</b></td><td colspan=2 class=mspt><b>");
        m_out.Money(balance, true);
        m_out.Put("</b></td><td colspan=4><b>Equity:</b></td><td class=mspt><b>");
        m_out.Money(balance + floating, true);
        m_out.Put("</b></td><td colspan=2><b>Free Margin:</b></td><td class=mspt><b>");
        m_out.Money(balance + floating - margin, true);
        m_out.Line("</b></td></tr>");
        m_out.Line("</table>");
        m_out.Line("</div></body></html>");
    }

    const Instrument& PickInstrument()
    {
        long long pick = m_random.Below(100);
        for (const Instrument& instrument : kInstruments) {
            if (pick < instrument.Weight)
                return instrument;
            pick -= instrument.Weight;
        }
        return kInstruments.front();
    }

    StatementTrade NextTrade(bool open)
    {
        StatementTrade trade;
        m_ticket += m_random.Between(1, 4);
        m_minute = OnWeekday(m_minute + m_random.Between(1, 2 * m_gap - 1));
        trade.Ticket = m_ticket;
        trade.OpenMinute = m_minute;
        trade.Symbol = &PickInstrument();
        const auto index = static_cast<std::size_t>(trade.Symbol - kInstruments.data());
        long long& price = m_prices[index];
        price = Wander(m_random, price, trade.Symbol->Start);

        trade.Buy = m_random.Chance(50);
        trade.Lots = Pick(m_random, kLots);
        trade.OpenPrice = price;
        const long long side = trade.Buy ? 1 : -1;
        const long long loss = m_random.Between(80, 400);
        const long long gain = m_random.Between(80, 500);
        const bool stops = m_random.Chance(80);
        if (stops) {
            trade.StopLoss = price - side * loss;
            trade.TakeProfit = price + side * gain;
        }

        long long move = 0; // points in the trade's favour
        const long long outcome = m_random.Below(100);
        if (open) {
            move = m_random.Between(-loss / 2, gain / 2);
        } else if (stops && outcome < 40) {
            move = gain;
            trade.Tag = "[tp]";
        } else if (stops && outcome < 75) {
            move = -loss;
            trade.Tag = "[sl]";
        } else {
            move = m_random.Between(-loss, gain);
        }
        trade.ClosePrice = price + side * move;
        trade.Profit = move * trade.Lots * trade.Symbol->PointValue / 100;
        trade.Commission = -7 * trade.Lots;

        const long long held = m_random.Chance(10) ? m_random.Between(480, 4320) : m_random.Between(5, 480);
        trade.CloseMinute = open ? -1 : OnWeekday(trade.OpenMinute + held);
        const long long nights = open ? 1 : trade.CloseMinute / kMinutesPerDay - trade.OpenMinute / kMinutesPerDay;
        trade.Swap = trade.Buy ? -nights * trade.Lots * 7 / 2 : nights * trade.Lots;

        const long long form = m_random.Below(100);
        trade.Owner = &Pick(m_random, kExperts);
        if (form < 10)
            trade.Form = RowForm::Bare;
        else if (form < 30)
            trade.Form = trade.Tag.empty() ? RowForm::Bare : RowForm::Manual;
        else
            trade.Form = RowForm::Expert;
        return trade;
    }

    void Price(const Instrument& symbol, long long points)
    {
        m_out.Put(symbol.PriceCell);
        m_out.Fixed(points, symbol.Digits);
        m_out.Put("</td>");
    }

    // The cells from the ticket to the close price; an open position's close time is "&nbsp;".
    void LeadingCells(const StatementTrade& trade, std::string_view type)
    {
        switch (trade.Form) {
        case RowForm::Bare:
            m_out.Put("<tr align=right><td>");
            m_out.Int(trade.Ticket);
            m_out.Put("</td><td nowrap>");
            break;
        case RowForm::Manual:
            m_out.Put("<tr align=right><td title=\"");
            m_out.Put(trade.Tag);
            m_out.Put("\">");
            m_out.Int(trade.Ticket);
            m_out.Put("</td><td class=msdate nowrap>");
            break;
        case RowForm::Expert:
            m_out.Put("<tr align=right><td title=\"#");
            m_out.Put(trade.Owner->Magic);
            m_out.Put(" ");
            m_out.Put(trade.Owner->Comment);
            m_out.Put(trade.Tag);
            m_out.Put("\">");
            m_out.Int(trade.Ticket);
            m_out.Put("</td><td class=msdate nowrap>");
            break;
        }
        m_out.Time(trade.OpenMinute);
        m_out.Put("</td><td>");
        m_out.Put(type);
        m_out.Put("</td><td class=mspt>");
        m_out.Fixed(trade.Lots, 2);
        m_out.Put("</td><td>");
        m_out.Put(trade.Symbol->Name);
        m_out.Put("</td>");
        Price(*trade.Symbol, trade.OpenPrice);
        Price(*trade.Symbol, trade.StopLoss);
        Price(*trade.Symbol, trade.TakeProfit);
        m_out.Put("<td class=msdate nowrap>");
        if (trade.CloseMinute < 0)
            m_out.Put("&nbsp;");
        else
            m_out.Time(trade.CloseMinute);
        m_out.Put("</td>");
        Price(*trade.Symbol, trade.ClosePrice);
    }

    // A trade row ends in LF alone, as the terminal writes them.
    void Row(const StatementTrade& trade)
    {
        LeadingCells(trade, trade.Buy ? "buy" : "sell");
        m_out.Put("<td class=mspt>");
        m_out.Money(trade.Commission, true);
        m_out.Put("</td><td class=mspt>");
        m_out.Money(trade.Swap, true);
        m_out.Put("</td><td class=mspt>");
        m_out.Money(trade.Profit, true);
        m_out.Put("</td></tr>\n");
    }

    // A stop order that was never filled: listed among the closed transactions, but not a trade.
    void CancelledOrder()
    {
        StatementTrade order = NextTrade(false);
        order.Form = RowForm::Expert;
        order.Tag = "";
        order.ClosePrice = order.OpenPrice;
        LeadingCells(order, order.Buy ? "buy stop" : "sell stop");
        m_out.Put("<td colspan=3 align=right>cancelled</td></tr>\n");
    }

    Output& m_out;
    Random m_random;
    std::vector<long long> m_prices;
    long long m_ticket = 41807220;
    long long m_minute = kFirstMinute + 9 * 60;
    long long m_gap = 1;
};

// ---------------------------------------------------------------------------------------------------
// Strategy-tester report

constexpr Instrument kTesterSymbol = {"EURUSD", 5, "", 110000, 100, 100};
constexpr long long kMaxOpen = 3;

struct TesterPosition
{
    long long Order = 0;
    bool Buy = true;
    long long Lots = 10;
    long long OpenPrice = 0;
    long long StopLoss = 0;
    long long TakeProfit = 0;
};

struct PendingStop
{
    TesterPosition Position;
    long long Wait = 0; // steps until it is filled or deleted
    bool Fills = true;
};

class TesterWriter
{
public:
    TesterWriter(Output& out, std::uint64_t seed) : m_out(out), m_random(seed) {}

    long long Write(long long trades)
    {
        // About 2.3 rows per trade and some idle steps, spread over several years.
        const long long gap = MeanGap(6 * 365 * kMinutesPerDay, trades * 23 / 10 + 1);
        Head();
        long long written = 0;
        long long committed = 0; // trades written plus stop orders that will be filled
        while (written < trades || !m_open.empty() || !m_pending.empty()) {
            m_minute = OnWeekday(m_minute + m_random.Between(1, 2 * gap - 1));
            m_price = Wander(m_random, m_price, kTesterSymbol.Start);
            if (ResolvePending(written))
                continue;
            const bool roomToOpen = static_cast<long long>(m_open.size() + m_pending.size()) < kMaxOpen;
            if (committed < trades && roomToOpen && (m_open.empty() || m_random.Chance(45))) {
                Open(written, committed);
            } else if (!m_open.empty() && (committed >= trades || m_random.Chance(70))) {
                Close();
            } else if (!m_open.empty() && m_random.Chance(30)) {
                Modify();
            }
        }
        m_out.Line("</table></div>");
        m_out.Line("</body></html>");
        return written;
    }

private:
    void Head()
    {
        m_out.Line(kDoctype);
        m_out.Line("<html>");
        m_out.Line("  <head>");
        m_out.Line("    <title>Strategy Tester: Bench EA</title>");
        m_out.Line("    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">");
        m_out.Line("    <link rel=\"help\" href=\"http://www.example.com\">");
        m_out.Line("    <style type=\"text/css\" media=\"screen\">");
        m_out.Line("    <!--");
        m_out.Line("    td { font: 8pt Tahoma,Arial; }");
        m_out.Line("    //-->");
        m_out.Line("    </style>");
        m_out.Line("  </head>");
        m_out.Line("<body topmargin=1 marginheight=1>");
        m_out.Line("<div align=center>");
        m_out.Line("<div style=\"font: 20pt Times New Roman\"><b>Strategy Tester Report</b></div>");
        m_out.Line("<div style=\"font: 16pt Times New Roman\"><b>Bench EA</b></div>");
        m_out.Line("<div style=\"font: 10pt Times New Roman\"><b>Sample Trading Ltd. (Build 1420)</b>"
                   "</div><br>");
        m_out.Line("<table width=820 cellspacing=1 cellpadding=3 border=0>");
        m_out.Line("<tr align=left><td colspan=2>Symbol</td>"
                   "<td colspan=4>EURUSD (Euro vs US Dollar)</td></tr>");
        m_out.Line("<tr align=left><td colspan=2>Period</td><td colspan=4>1 Hour (H1)</td></tr>");
        m_out.Line("<tr align=left><td colspan=2>Model</td><td colspan=4>Every tick (the most precise method "
                   "based on all available least timeframes)</td></tr>");
        m_out.Line("<tr align=left><td colspan=2>Parameters</td><td colspan=4>Lots=0.1; TakeProfit=50; "
                   "StopLoss=30; MagicNumber=777; </td></tr>");
        m_out.Line("<tr align=left><td colspan=2>Bars in test</td><td>59867</td><td>Ticks modelled</td>"
                   "<td>123456789</td><td>Modelling quality</td><td>90.00%</td></tr>");
        m_out.Line("<tr align=left><td colspan=2>Mismatched charts errors</td><td>0</td></tr>");
        m_out.Line("<tr align=left><td>Initial deposit</td><td align=right>10000.00</td><td></td>"
                   "<td align=right></td><td>Spread</td><td align=right>Current (12)</td></tr>");
        m_out.Line("</table>");
        m_out.Line("</div><br>");
        m_out.Line("<div align=center><img src=\"StrategyTester.gif\" width=820 height=200 border=0 "
                   "alt=\"Graph\"></div><br>");
        m_out.Line("<div align=center><table width=820 cellspacing=1 cellpadding=3 border=0>");
        m_out.Line("<tr bgcolor=\"#C0C0C0\" align=right><td>#</td><td>Time</td><td>Type</td><td>Order</td>"
                   "<td>Size</td><td>Price</td><td>S / L</td><td>T / P</td><td>Profit</td>"
                   "<td>Balance</td></tr>");
    }

    // The cells up to T/P: number, time, type, order, size, price, S/L and T/P.
    void LeadingCells(std::string_view type, const TesterPosition& position, long long price)
    {
        m_out.Put("<tr align=right><td>");
        m_out.Int(++m_number);
        m_out.Put("</td><td class=msdate>");
        m_out.Time(m_minute);
        m_out.Put("</td><td>");
        m_out.Put(type);
        m_out.Put("</td><td>");
        m_out.Int(position.Order);
        m_out.Put("</td><td>");
        m_out.Fixed(position.Lots, 2);
        m_out.Put("</td><td>");
        m_out.Fixed(price, kTesterSymbol.Digits);
        m_out.Put("</td><td align=right>");
        m_out.Fixed(position.StopLoss, kTesterSymbol.Digits);
        m_out.Put("</td><td align=right>");
        m_out.Fixed(position.TakeProfit, kTesterSymbol.Digits);
        m_out.Put("</td>");
    }

    void OrderRow(std::string_view type, const TesterPosition& position, long long price)
    {
        LeadingCells(type, position, price);
        m_out.Line("<td colspan=2></td></tr>");
    }

    TesterPosition NewPosition(long long price)
    {
        TesterPosition position;
        position.Order = ++m_order;
        position.Buy = m_random.Chance(50);
        position.Lots = m_random.Chance(80) ? 10 : Pick(m_random, kLots);
        position.OpenPrice = price;
        if (m_random.Chance(85)) {
            const long long side = position.Buy ? 1 : -1;
            position.StopLoss = price - side * m_random.Between(100, 400);
            position.TakeProfit = price + side * m_random.Between(100, 600);
        }
        return position;
    }

    void Open(long long& written, long long& committed)
    {
        if (m_random.Chance(10)) {
            // A stop order above (buy) or below (sell) the market, filled or deleted some steps later.
            const long long distance = m_random.Between(50, 300);
            PendingStop pending;
            pending.Position = NewPosition(m_price);
            const long long side = pending.Position.Buy ? 1 : -1;
            pending.Position.OpenPrice = m_price + side * distance;
            if (pending.Position.StopLoss != 0) {
                pending.Position.StopLoss += side * distance;
                pending.Position.TakeProfit += side * distance;
            }
            pending.Wait = m_random.Between(1, 4);
            pending.Fills = m_random.Chance(85);
            const TesterPosition& order = pending.Position;
            OrderRow(order.Buy ? "buy stop" : "sell stop", order, order.OpenPrice);
            if (pending.Fills)
                ++committed;
            m_pending.push_back(pending);
            return;
        }
        const TesterPosition position = NewPosition(m_price);
        OrderRow(position.Buy ? "buy" : "sell", position, position.OpenPrice);
        m_open.push_back(position);
        ++written;
        ++committed;
    }

    // Fills or deletes the first stop order whose time has come; true when a row was written.
    bool ResolvePending(long long& written)
    {
        for (std::size_t i = 0; i < m_pending.size(); ++i) {
            if (--m_pending[i].Wait > 0)
                continue;
            const PendingStop pending = m_pending[i];
            m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(i));
            if (pending.Fills) {
                OrderRow(pending.Position.Buy ? "buy" : "sell", pending.Position, pending.Position.OpenPrice);
                m_open.push_back(pending.Position);
                ++written;
            } else {
                OrderRow("delete", pending.Position, pending.Position.OpenPrice);
            }
            return true;
        }
        return false;
    }

    void Modify()
    {
        TesterPosition& position =
            m_open[static_cast<std::size_t>(m_random.Below(static_cast<long long>(m_open.size())))];
        if (position.StopLoss == 0)
            return;
        position.StopLoss += (position.Buy ? 1 : -1) * m_random.Between(10, 60);
        OrderRow("modify", position, position.OpenPrice);
    }

    void Close()
    {
        const auto index = static_cast<std::size_t>(m_random.Below(static_cast<long long>(m_open.size())));
        const TesterPosition position = m_open[index];
        m_open.erase(m_open.begin() + static_cast<std::ptrdiff_t>(index));

        const long long side = position.Buy ? 1 : -1;
        const long long outcome = m_random.Below(100);
        std::string_view type = "close";
        long long price = m_price;
        if (position.StopLoss != 0 && outcome < 40) {
            type = "t/p";
            price = position.TakeProfit;
        } else if (position.StopLoss != 0 && outcome < 78) {
            type = "s/l";
            price = position.StopLoss;
        }
        const long long points = side * (price - position.OpenPrice);
        const long long profit = points * position.Lots * kTesterSymbol.PointValue / 100;
        m_balance += profit;
        LeadingCells(type, position, price);
        m_out.Put("<td>");
        m_out.Money(profit, false);
        m_out.Put("</td><td>");
        m_out.Money(m_balance, false);
        m_out.Line("</td></tr>");
    }

    Output& m_out;
    Random m_random;
    std::vector<TesterPosition> m_open;
    std::vector<PendingStop> m_pending;
    long long m_number = 0;
    long long m_order = 0;
    long long m_price = kTesterSymbol.Start;
    long long m_balance = kDepositCents;
    long long m_minute = kFirstMinute;
};

} // namespace

GeneratedReport WriteStatement(const std::string& path, long long closedTrades, std::uint64_t seed)
{
    Output out(path);
    StatementWriter writer(out, seed);
    GeneratedReport report;
    report.TradeRows = writer.Write(std::max(0LL, closedTrades));
    report.Bytes = out.Finish();
    return report;
}

GeneratedReport WriteTesterReport(const std::string& path, long long trades, std::uint64_t seed)
{
    Output out(path);
    TesterWriter writer(out, seed);
    GeneratedReport report;
    report.TradeRows = writer.Write(std::max(0LL, trades));
    report.Bytes = out.Finish();
    return report;
}

GeneratedReport WriteReport(ReportType type, const std::string& path, long long trades, std::uint64_t seed)
{
    if (type == ReportType::Statement)
        return WriteStatement(path, trades, seed);
    if (type == ReportType::Mt5History)
        return WriteMt5History(path, trades, seed);
    if (type == ReportType::Mt5Tester)
        return WriteMt5TesterReport(path, trades, seed);
    if (type == ReportType::PerfStatement || type == ReportType::PerfTester)
        return WritePerfShape(type, PerfShapeSource(type), path, trades);
    return WriteTesterReport(path, trades, seed);
}

} // namespace corvane::bench
