#include "Mt5ReportGenerator.h"

#include "GeneratorText.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace corvane::bench {

namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr long long kFirstSecond = 19723LL * kSecondsPerDay + 8 * 3600; // 2024.01.01 08:00:00
constexpr long long kDepositCents = 10'000'000;
constexpr long long kCommissionPerCentLot = 7; // cents for each 0.01 lot, on opening and closing deals

struct Symbol
{
    std::string_view Name;
    int Digits;
    long long Base; // a price scaled by 10^Digits
};

constexpr Symbol kSymbols[] = {
    {"EURUSD", 5, 110000}, {"GBPUSD", 5, 127000}, {"USDJPY", 3, 149000}, {"XAUUSD", 2, 203000}, {"AUDUSD", 5, 66000},
};

/**
 * Writes UTF-16LE with a byte-order mark from UTF-8 text, through a buffer of its own, with the few
 * number formats a report needs.
 */
class WideOutput
{
public:
    explicit WideOutput(const std::string& path) : m_file(std::fopen(path.c_str(), "wb"))
    {
        if (m_file == nullptr)
            throw std::runtime_error("cannot create " + path);
        m_buffer.resize(kCapacity);
        m_buffer[0] = '\xff';
        m_buffer[1] = '\xfe';
        m_used = 2;
    }
    ~WideOutput()
    {
        if (m_file != nullptr)
            std::fclose(m_file);
    }
    WideOutput(const WideOutput&) = delete;
    WideOutput& operator=(const WideOutput&) = delete;

    void Put(std::string_view text)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            auto c = static_cast<unsigned char>(text[i]);
            unsigned code = c;
            if (c >= 0x80) { // the generator's own text: two- and three-byte UTF-8 only
                const int extra = c >= 0xe0 ? 2 : 1;
                code = c & (extra == 2 ? 0x0f : 0x1f);
                for (int k = 0; k < extra && i + 1 < text.size(); ++k)
                    code = (code << 6) | (static_cast<unsigned char>(text[++i]) & 0x3f);
            }
            if (m_used + 2 > kCapacity)
                Flush();
            m_buffer[m_used++] = static_cast<char>(code & 0xff);
            m_buffer[m_used++] = static_cast<char>(code >> 8);
        }
    }
    void Line(std::string_view text)
    {
        Put(text);
        Put("\r\n");
    }
    void Int(long long value)
    {
        char text[48];
        Put(IntText(text, value));
    }
    // `scaled` / 10^decimals; with `grouped`, a blank between thousands, as the terminal writes money.
    void Fixed(long long scaled, int decimals, bool grouped = false)
    {
        char text[48];
        Put(FixedText(text, scaled, decimals, grouped));
    }
    void Money(long long cents) { Fixed(cents, 2, true); }
    // Seconds since 1970.01.01 00:00:00 as "yyyy.mm.dd hh:mm:ss".
    void Time(long long second)
    {
        const auto [year, month, day] = DateOfDay(second / kSecondsPerDay);
        const long long inDay = second % kSecondsPerDay;
        char text[96];
        std::snprintf(text, sizeof text, "%04lld.%02lld.%02lld %02lld:%02lld:%02lld", year, month, day, inDay / 3600,
                      inDay / 60 % 60, inDay % 60);
        Put(text);
    }
    // Writes what is left and returns the file's size.
    long long Close()
    {
        Flush();
        const bool failed = std::ferror(m_file) != 0;
        const bool closeFailed = std::fclose(m_file) != 0;
        m_file = nullptr;
        if (failed || closeFailed)
            throw std::runtime_error("cannot write the report");
        return m_written;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 20;

    void Flush()
    {
        if (m_used > 0 && std::fwrite(m_buffer.data(), 1, m_used, m_file) != m_used)
            throw std::runtime_error("cannot write the report");
        m_written += static_cast<long long>(m_used);
        m_used = 0;
    }

    std::FILE* m_file;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    long long m_written = 0;
};

struct Close
{
    long long Second = 0, Volume = 0, Price = 0, Profit = 0, Swap = 0, Commission = 0, Fee = 0, Order = 0;
};

struct Position
{
    long long Id = 0, Open = 0, Volume = 0, Price = 0, StopLoss = 0, TakeProfit = 0, Commission = 0;
    int Symbol = 0;
    bool Buy = true;
    bool Japanese = false; // a comment in Japanese, to exercise the decoding
    std::vector<Close> Closes;
};

struct Event
{
    long long Second;
    int Position;
    int Part; // -1 for the opening deal
};

// Positions opened one after the other, overlapping, until `trades` closing deals are planned; then
// `stillOpen` positions that are not closed.
std::vector<Position> Plan(long long trades, long long stillOpen, std::uint64_t seed)
{
    Random random(seed);
    std::vector<Position> positions;
    long long second = kFirstSecond;
    long long closing = 0;
    long long open = 0;
    while (closing < trades || open < stillOpen) {
        Position p;
        p.Id = 60'000'000 + 4 * static_cast<long long>(positions.size());
        second += random.Between(30, 2400);
        p.Open = second;
        p.Symbol = static_cast<int>(random.Between(0, 4));
        p.Buy = random.Chance(50);
        p.Volume = random.Between(1, 40);
        p.Price = kSymbols[p.Symbol].Base + random.Between(-3000, 3000);
        const long long side = p.Buy ? 1 : -1;
        p.StopLoss = random.Chance(80) ? p.Price - side * random.Between(100, 500) : 0;
        p.TakeProfit = random.Chance(80) ? p.Price + side * random.Between(100, 500) : 0;
        p.Commission = -kCommissionPerCentLot * p.Volume;
        p.Japanese = random.Chance(5);
        if (closing < trades) {
            const int parts = p.Volume >= 2 && closing + 2 <= trades && random.Chance(15) ? 2 : 1;
            const long long duration = random.Between(60, 6 * 3600);
            for (int part = 0; part < parts; ++part) {
                Close c;
                c.Second = p.Open + duration * (part + 1) / parts;
                c.Volume = parts == 1 ? p.Volume : part == 0 ? p.Volume / 2 : p.Volume - p.Volume / 2;
                c.Price = p.Price + random.Between(-400, 400);
                c.Profit = (c.Price - p.Price) * side * c.Volume;
                c.Swap = random.Chance(20) ? -random.Between(1, 300) : 0;
                c.Commission = -kCommissionPerCentLot * c.Volume;
                c.Fee = random.Chance(10) ? -random.Between(1, 50) : 0;
                c.Order = p.Id + 1 + part;
                p.Closes.push_back(c);
            }
            closing += parts;
        } else {
            ++open;
        }
        positions.push_back(std::move(p));
    }
    return positions;
}

std::vector<Event> Events(const std::vector<Position>& positions)
{
    std::vector<Event> events;
    for (int i = 0; i < static_cast<int>(positions.size()); ++i) {
        events.push_back({positions[static_cast<std::size_t>(i)].Open, i, -1});
        for (int part = 0; part < static_cast<int>(positions[static_cast<std::size_t>(i)].Closes.size()); ++part)
            events.push_back(
                {positions[static_cast<std::size_t>(i)].Closes[static_cast<std::size_t>(part)].Second, i, part});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.Second < b.Second; });
    return events;
}

void Price(WideOutput& out, const Position& p, long long price)
{
    if (price != 0)
        out.Fixed(price, kSymbols[p.Symbol].Digits);
}

void Head(WideOutput& out, std::string_view title, std::string_view generator)
{
    out.Line(
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">");
    out.Line("<html>\r\n  <head>");
    out.Put("    <title>");
    out.Put(title);
    out.Line("</title>");
    out.Put("    <meta name=\"generator\" content=\"");
    out.Put(generator);
    out.Line("\">");
    out.Line("    <style type=\"text/css\">\r\n    <!--\r\n    .msdate { mso-number-format:\"General Date\"; }\r\n"
             "    .mspt   { mso-number-format:\\#\\,\\#\\#0\\.00;  }\r\n    .hidden { display: none; }\r\n"
             "    //-->\r\n    </style>\r\n  </head>\r\n<body>\r\n<div align=\"center\">");
    out.Line("    <table cellspacing=\"1\" cellpadding=\"3\" border=\"0\">");
}

void SectionTitle(WideOutput& out, std::string_view name, int columns)
{
    out.Put("        <tr align=\"center\">\r\n            <th colspan=\"");
    out.Int(columns);
    out.Put("\" style=\"height: 25px\"><div style=\"font: 10pt Tahoma\"><b>");
    out.Put(name);
    out.Line("</b></div></th>\r\n        </tr>");
}

void HeaderRow(WideOutput& out, std::string_view cells)
{
    out.Put("        <tr align=\"center\" bgcolor=\"#E5F0FC\">");
    out.Put(cells);
    out.Line("</tr>");
}

void RowStart(WideOutput& out, long long row)
{
    out.Put(row % 2 == 0 ? "        <tr bgcolor=\"#FFFFFF\" align=\"right\">"
                         : "        <tr bgcolor=\"#F7F7F7\" align=\"right\">");
}

std::string_view Comment(const Position& p)
{
    return p.Japanese ? "ブレイクアウト" : "bench EA";
}

// The Orders table: one filled order for each deal, in the order of the deals.
void OrdersTable(WideOutput& out, const std::vector<Position>& positions, const std::vector<Event>& events, bool tester)
{
    long long row = 0;
    for (const Event& e : events) {
        const Position& p = positions[static_cast<std::size_t>(e.Position)];
        const bool opening = e.Part < 0;
        const long long volume = opening ? p.Volume : p.Closes[static_cast<std::size_t>(e.Part)].Volume;
        RowStart(out, row++);
        out.Put("<td>");
        out.Time(e.Second);
        out.Put("</td><td>");
        out.Int(opening ? p.Id : p.Closes[static_cast<std::size_t>(e.Part)].Order);
        out.Put("</td><td>");
        out.Put(kSymbols[p.Symbol].Name);
        out.Put("</td><td>");
        out.Put(opening == p.Buy ? "buy" : "sell");
        out.Put(tester ? "</td><td colspan=\"2\">" : "</td><td>");
        out.Fixed(volume, 2);
        out.Put(" / ");
        out.Fixed(volume, 2);
        out.Put("</td><td>");
        out.Put(kSymbols[p.Symbol].Digits == 5 ? "0.00000" : kSymbols[p.Symbol].Digits == 3 ? "0.000" : "0.00");
        out.Put("</td><td>");
        Price(out, p, opening ? p.StopLoss : 0);
        out.Put("</td><td>");
        Price(out, p, opening ? p.TakeProfit : 0);
        out.Put(tester ? "</td><td colspan=\"2\">" : "</td><td>");
        out.Time(e.Second);
        out.Put(tester ? "</td><td>filled</td><td>" : "</td><td colspan=\"2\">filled</td><td colspan=\"3\">");
        out.Put(opening ? Comment(p) : "");
        out.Line("</td></tr>");
        if (tester && opening && row % 9 == 0) { // a stop order that is never filled
            RowStart(out, row++);
            out.Put("<td>");
            out.Time(e.Second);
            out.Put("</td><td>");
            out.Int(p.Id + 3);
            out.Put("</td><td>");
            out.Put(kSymbols[p.Symbol].Name);
            out.Put("</td><td>buy stop</td><td colspan=\"2\">0.10 / 0</td><td>");
            Price(out, p, p.Price + 500);
            out.Put("</td><td></td><td></td><td colspan=\"2\">");
            out.Time(e.Second + 3600);
            out.Line("</td><td>canceled</td><td></td></tr>");
        }
    }
}

// The Deals table: the deposit, then every deal with the balance after it. Returns the net profit.
long long DealsTable(WideOutput& out, const std::vector<Position>& positions, const std::vector<Event>& events,
                     bool tester)
{
    const std::string_view cell = tester ? "</td><td>" : "</td><td nowrap>";
    long long balance = kDepositCents;
    long long row = 0;
    RowStart(out, row++);
    out.Put("<td nowrap>");
    out.Time(kFirstSecond - 3600);
    out.Put(cell);
    out.Put("1");
    out.Put(cell);
    out.Put(cell);
    out.Put("balance");
    out.Put(cell);
    out.Put(cell);
    out.Put(cell);
    out.Put(cell);
    out.Put(tester ? cell : "</td><td nowrap class=\"hidden\"></td><td nowrap>0.00</td><td nowrap>");
    out.Put("0.00");
    out.Put(cell);
    out.Put("0.00");
    out.Put(cell);
    out.Money(kDepositCents);
    out.Put(cell);
    out.Money(balance);
    out.Put(cell);
    out.Line("Deposit</td></tr>");
    long long deal = 2;
    for (const Event& e : events) {
        const Position& p = positions[static_cast<std::size_t>(e.Position)];
        const bool opening = e.Part < 0;
        const Close none;
        const Close& c = opening ? none : p.Closes[static_cast<std::size_t>(e.Part)];
        const long long commission = opening ? p.Commission : c.Commission;
        balance += commission + c.Fee + c.Swap + c.Profit;
        RowStart(out, row++);
        out.Put(tester ? "<td>" : "<td nowrap>");
        out.Time(e.Second);
        out.Put(cell);
        out.Int(deal++);
        out.Put(cell);
        out.Put(kSymbols[p.Symbol].Name);
        out.Put(cell);
        out.Put(opening == p.Buy ? "buy" : "sell");
        out.Put(cell);
        out.Put(opening ? "in" : "out");
        out.Put(cell);
        out.Fixed(opening ? p.Volume : c.Volume, 2);
        out.Put(cell);
        Price(out, p, opening ? p.Price : c.Price);
        out.Put(cell);
        out.Int(opening ? p.Id : c.Order);
        out.Put(tester ? cell : "</td><td nowrap class=\"hidden\"></td><td nowrap>");
        out.Money(commission);
        if (!tester) {
            out.Put(cell);
            out.Money(c.Fee);
        }
        out.Put(cell);
        out.Money(c.Swap);
        out.Put(cell);
        out.Money(c.Profit);
        out.Put(cell);
        out.Money(balance);
        out.Put(cell);
        out.Put(opening ? Comment(p) : "");
        out.Line("</td></tr>");
    }
    out.Line("        <tr align=\"right\">\r\n            <td nowrap colspan=\"8\" style=\"height: 30px\"></td>");
    out.Put("            <td nowrap><b>");
    out.Money(balance);
    out.Line("</b></td>\r\n            <td nowrap></td>\r\n        </tr>");
    return balance - kDepositCents;
}

void Result(WideOutput& out, std::string_view label, long long value, bool money)
{
    out.Put("        <tr align=\"right\"><td nowrap colspan=\"3\">");
    out.Put(label);
    out.Put("</td><td nowrap><b>");
    if (money)
        out.Money(value);
    else
        out.Int(value);
    out.Line("</b></td></tr>");
}

long long ClosingDeals(const std::vector<Position>& positions)
{
    long long count = 0;
    for (const Position& p : positions)
        count += static_cast<long long>(p.Closes.size());
    return count;
}

void PositionsTable(WideOutput& out, const std::vector<Position>& positions)
{
    long long row = 0;
    for (const Position& p : positions) {
        if (p.Closes.empty())
            continue;
        long long swap = 0, profit = 0, commission = p.Commission, weighted = 0;
        for (const Close& c : p.Closes) {
            swap += c.Swap;
            profit += c.Profit;
            commission += c.Commission + c.Fee;
            weighted += c.Price * c.Volume;
        }
        RowStart(out, row++);
        out.Put("\r\n            <td>");
        out.Time(p.Open);
        out.Put("</td>\r\n            <td>");
        out.Int(p.Id);
        out.Put("</td>\r\n            <td>");
        out.Put(kSymbols[p.Symbol].Name);
        out.Put(p.Buy ? "</td>\r\n            <td>buy" : "</td>\r\n            <td>sell");
        out.Put("</td>\r\n            <td class=\"hidden\" colspan=\"8\">");
        out.Put(Comment(p));
        out.Put("</td>\r\n            <td class=\"\">");
        out.Fixed(p.Volume, 2);
        out.Put("</td>\r\n            <td class=\"\">");
        Price(out, p, p.Price);
        out.Put("</td>\r\n            <td class=\"\">");
        Price(out, p, p.StopLoss);
        out.Put("</td>\r\n            <td class=\"\">");
        Price(out, p, p.TakeProfit);
        out.Put("</td>\r\n            <td class=\"\">");
        out.Time(p.Closes.back().Second);
        out.Put("</td>\r\n            <td class=\"\">");
        Price(out, p, weighted / p.Volume);
        out.Put("</td>\r\n            <td class=\"\">");
        out.Money(commission);
        out.Put("</td>\r\n            <td class=\"\">");
        out.Money(swap);
        out.Put("</td>\r\n            <td colspan=\"2\">");
        out.Money(profit);
        out.Line("</td>\r\n        </tr>");
    }
}

void OpenPositionsTable(WideOutput& out, const std::vector<Position>& positions)
{
    long long row = 0;
    for (const Position& p : positions) {
        if (!p.Closes.empty())
            continue;
        RowStart(out, row++);
        out.Put("<td>");
        out.Time(p.Open);
        out.Put("</td><td>");
        out.Int(p.Id);
        out.Put("</td><td>");
        out.Put(kSymbols[p.Symbol].Name);
        out.Put(p.Buy ? "</td><td>buy</td><td>" : "</td><td>sell</td><td>");
        out.Fixed(p.Volume, 2);
        out.Put("</td><td>");
        Price(out, p, p.Price);
        out.Put("</td><td>");
        Price(out, p, p.StopLoss);
        out.Put("</td><td>");
        Price(out, p, p.TakeProfit);
        out.Put("</td><td>");
        Price(out, p, p.Price + 20);
        out.Put("</td><td>0.00</td><td>");
        out.Money((p.Buy ? 20 : -20) * p.Volume);
        out.Put("</td><td colspan=\"3\">");
        out.Put(Comment(p));
        out.Line("</td></tr>");
    }
}

} // namespace

GeneratedReport WriteMt5History(const std::string& path, long long trades, std::uint64_t seed)
{
    const std::vector<Position> positions = Plan(trades, kMt5HistoryOpenPositions, seed);
    const std::vector<Event> events = Events(positions);
    WideOutput out(path);
    Head(out, "9200101: Bench Trader - Trade History Report", "client terminal");
    out.Line(
        "        <tr align=\"center\">\r\n            <td colspan=\"14\"><div style=\"font: 14pt Tahoma\"><b>Trade "
        "History Report</b><br></div></td>\r\n        </tr>");
    for (const std::string_view line :
         {"Name:</th><th colspan=\"10\" nowrap align=\"left\"><b>Bench Trader",
          "Account:</th><th colspan=\"10\" nowrap "
          "align=\"left\"><b>9200101&nbsp;(USD,&nbsp;Bench-Server,&nbsp;demo,&nbsp;Hedge)",
          "Company:</th><th colspan=\"10\" nowrap align=\"left\"><b>Bench Ltd.",
          "Date:</th><th colspan=\"10\" nowrap align=\"left\"><b>2030.01.01 00:00"}) {
        out.Put("        <tr align=\"left\"><th colspan=\"4\" nowrap align=\"right\">");
        out.Put(line);
        out.Line("</b></th></tr>");
    }
    SectionTitle(out, "Positions", 14);
    HeaderRow(out,
              "<td>Time</td><td>Position</td><td>Symbol</td><td>Type</td><td>Volume</td><td>Price</td><td>S / L</td>"
              "<td>T / P</td><td>Time</td><td>Price</td><td>Commission</td><td>Swap</td><td colspan=\"2\">Profit</td>");
    PositionsTable(out, positions);
    SectionTitle(out, "Orders", 14);
    HeaderRow(out,
              "<td>Open Time</td><td>Order</td><td>Symbol</td><td>Type</td><td>Volume</td><td>Price</td><td>S / L</td>"
              "<td>T / P</td><td>Time</td><td colspan=\"2\">State</td><td colspan=\"3\">Comment</td>");
    OrdersTable(out, positions, events, false);
    SectionTitle(out, "Deals", 14);
    HeaderRow(out,
              "<td>Time</td><td>Deal</td><td>Symbol</td><td>Type</td><td>Direction</td><td>Volume</td><td>Price</td>"
              "<td>Order</td><td class=\"hidden\">Cost</td><td>Commission</td><td>Fee</td><td>Swap</td><td>Profit</td>"
              "<td>Balance</td><td>Comment</td>");
    const long long net = DealsTable(out, positions, events, false);
    SectionTitle(out, "Open Positions", 14);
    HeaderRow(out,
              "<td>Time</td><td>Position</td><td>Symbol</td><td>Type</td><td>Volume</td><td>Price</td><td>S / L</td>"
              "<td>T / P</td><td>Market Price</td><td>Swap</td><td>Profit</td><td colspan=\"3\">Comment</td>");
    OpenPositionsTable(out, positions);
    SectionTitle(out, "Working Orders", 14);
    HeaderRow(out,
              "<td>Open Time</td><td>Order</td><td>Symbol</td><td>Type</td><td>Volume</td><td>Price</td><td>S / L</td>"
              "<td>T / P</td><td>Market Price</td><td colspan=\"2\">State</td><td colspan=\"3\">Comment</td>");
    out.Line(
        "        <tr bgcolor=\"#FFFFFF\" align=\"right\"><td>2030.01.01 00:00:00</td><td>99999999</td><td>EURUSD</td>"
        "<td>buy stop</td><td>0.10 / 0</td><td>1.20000</td><td></td><td></td><td>1.10000</td>"
        "<td colspan=\"2\">placed</td><td colspan=\"3\"></td></tr>");
    out.Line("        <tr><td colspan=\"13\" align=\"center\"><div style=\"font: 10pt "
             "Tahoma\"><b>Results</b></div></td></tr>");
    Result(out, "Total Net Profit:", net, true);
    Result(out, "Total Trades:", ClosingDeals(positions), false);
    out.Line("    </table>\r\n</div>\r\n</body>\r\n</html>");
    return {trades + kMt5HistoryOpenPositions, out.Close()};
}

GeneratedReport WriteMt5TesterReport(const std::string& path, long long trades, std::uint64_t seed)
{
    const std::vector<Position> positions = Plan(trades, 0, seed);
    const std::vector<Event> events = Events(positions);
    WideOutput out(path);
    Head(out, "Strategy Tester Report", "strategy tester");
    out.Line("   <tr align=\"center\"><td colspan=\"13\"><div style=\"font: 14pt Tahoma\"><b>Strategy Tester "
             "Report</b><br></div></td></tr>");
    out.Line("   <tr align=\"center\"><td colspan=\"13\"><div style=\"font: 10pt Tahoma\"><b>Bench-Server (Build "
             "5000)</b><br></div></td></tr>");
    out.Line(
        "   <tr><td colspan=\"13\" align=\"center\"><div style=\"font: 10pt Tahoma\"><b>Settings</b></div></td></tr>");
    for (const auto& [label, value] : {std::pair<std::string_view, std::string_view>{"Expert:", "BenchEA"},
                                       {"Symbol:", "EURUSD"},
                                       {"Period:", "M5 (2024.01.01 - 2030.01.01)"},
                                       {"Inputs:", "Lots=0.1"},
                                       {"", "Risk=2"},
                                       {"Company:", "Bench Ltd."},
                                       {"Currency:", "USD"},
                                       {"Initial Deposit:", "100 000.00"},
                                       {"Leverage:", "1:100"}}) {
        out.Put("   <tr align=\"right\"><td nowrap colspan=\"3\">");
        out.Put(label);
        out.Put("</td><td nowrap colspan=\"10\" align=\"left\"><b>");
        out.Put(value);
        out.Line("</b></td></tr>");
    }
    out.Line("   <tr><td nowrap style=\"height: 10px\"></td></tr>");
    out.Line(
        "   <tr><td colspan=\"13\" align=\"center\"><div style=\"font: 10pt Tahoma\"><b>Results</b></div></td></tr>");
    Result(out, "Total Trades:", ClosingDeals(positions), false);
    out.Line("</table>\r\n<table cellspacing=\"1\" cellpadding=\"3\" border=\"0\">");
    SectionTitle(out, "Orders", 13);
    HeaderRow(out,
              "<td>Open Time</td><td>Order</td><td>Symbol</td><td>Type</td><td colspan=\"2\">Volume</td><td>Price</td>"
              "<td>S / L</td><td>T / P</td><td colspan=\"2\">Time</td><td>State</td><td>Comment</td>");
    OrdersTable(out, positions, events, true);
    SectionTitle(out, "Deals", 13);
    HeaderRow(out,
              "<td>Time</td><td>Deal</td><td>Symbol</td><td>Type</td><td>Direction</td><td>Volume</td><td>Price</td>"
              "<td>Order</td><td>Commission</td><td>Swap</td><td>Profit</td><td>Balance</td><td>Comment</td>");
    DealsTable(out, positions, events, true);
    out.Line("</table>\r\n</div>\r\n</body>\r\n</html>");
    return {trades, out.Close()};
}

} // namespace corvane::bench
