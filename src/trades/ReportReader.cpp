#include "ReportReader.h"

#include "LineReader.h"
#include "Numbers.h"
#include "TextRoutines.h"

#include <unordered_map>

namespace corvane {

namespace {

constexpr std::string_view kGeneratorTag = "<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">";
constexpr std::string_view kNoMagicKey = "           0";

// "%10.2f" of the profit field: blanks (thousands separators) removed, read as "%lf". A field that
// holds no number is written as 0.00.
std::string ProfitCell(std::string_view field)
{
    const auto value = ScanDouble(WithoutBlanks(field));
    return FormatFixed(value.value_or(0.0), 10, 2);
}

bool StartsWithDigit(std::string_view text)
{
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

/**
 * The per-load state of the body loop: the open-trades flag, the pending stop orders gathered so far
 * (first registration of a ticket wins) and, for tester reports, the first row holding each order number
 * so that a closing line finds its order without scanning the table.
 */
class BodyReader
{
public:
    BodyReader(Session& session, int currentRow)
        : m_session(session)
        , m_full(session.Full)
        , m_row(currentRow)
    {
        if (m_session.Report.Kind == ReportKind::Tester)
            for (int row = 1; row < m_row; ++row)
                m_firstRowOfOrder.emplace(std::string(m_full.Cell(kTicket, row)), row);
    }

    int Read(LineReader& reader, const TradeLineCallback& onTradeLine)
    {
        std::string_view piece;
        while (reader.Next(piece)) {
            if (Contains(UpToNul(piece), "Working Orders"))
                break;
            m_line.assign(piece);
            for (char& c : m_line)
                if (c == '\0')
                    c = ' ';
            if (ReadLine() && onTradeLine)
                onTradeLine();
        }
        return m_row;
    }

private:
    // Returns true when the line was a trade line.
    bool ReadLine()
    {
        const std::string_view line = m_line;
        if (Contains(line, "cancelled") || Contains(line, "expired"))
            return false;
        if (Contains(line, "Open Trades:")) {
            m_openTrades = true;
            return false;
        }
        const bool tester = m_session.Report.Kind == ReportKind::Tester;
        if (tester && (Contains(line, "s/l") || Contains(line, "t/p") || Contains(line, "close")))
            ReadClosingLine(line);
        if (Contains(line, "buy stop") || Contains(line, "sell stop"))
            m_pendingSide.emplace(Field(line, "align=right>", "</td>", 3), Contains(line, "buy stop") ? 0 : 1);
        if ((!Contains(line, "buy") && !Contains(line, "sell") && !Contains(line, "process")) || Contains(line, "stop"))
            return false;
        if (tester)
            ReadTesterRow(line);
        else
            ReadStatementRow(line);
        m_full.SetRowCount(m_full.RowCount() + 1);
        ++m_row;
        return true;
    }

    // The type of a row that fills a pending stop order: the side of that order, or nothing.
    void WritePendingSide(const std::string& ticket)
    {
        const auto found = m_pendingSide.find(ticket);
        if (found != m_pendingSide.end())
            m_full.SetCell(kType, m_row, found->second == 1 ? "sell" : "buy");
    }

    void ReadStatementRow(std::string_view line)
    {
        RowLayout& layout = m_session.Report.Layout;
        const std::string second = Field(line, "<td>", "</td>", 2);
        std::string symbol;
        if (layout != RowLayout::Taxes) {
            if (second == "sell" || second == "buy") {
                layout = RowLayout::Bare;
                symbol = Field(line, "<td>", "</td>", 3);
            } else {
                layout = RowLayout::Titled;
                symbol = second;
            }
        } else {
            symbol = second;
        }
        m_session.Pairs.AddIfAbsent(symbol);
        const bool bare = layout == RowLayout::Bare;
        const bool taxes = layout == RowLayout::Taxes;

        const std::string ticket =
            bare ? Field(line, "<td>", "</td>", 1) : Field(line, "\">", "</td><td class=msdate", 1);
        m_full.SetCell(kTicket, m_row, ticket);

        const std::string magic = WithoutBlanks(Field(line, "\"#", " ", 1));
        m_full.SetCell(kMagic, m_row, PadLeft(magic, 12));
        m_session.Magic.AddIfAbsent(MagicKeyOf(magic));

        m_full.SetCell(kComment, m_row, Field(Field(line, "\"#", ">", 1), " ", "\"", 1));
        m_full.SetCell(kOpenTime, m_row, Field(line, "nowrap>", "</td>", 1));

        if (Contains(line, "process"))
            WritePendingSide(ticket);
        else
            m_full.SetCell(kType, m_row, Field(line, "<td>", "</td>", bare ? 2 : 1));

        const int shift = bare ? -1 : 0; // the bare layout has no title cell before the prices
        m_full.SetCell(kLots, m_row, Field(line, "mspt>", "</td>", 1));
        m_full.SetCell(kItem, m_row, Field(line, "<td>", "</td>", bare ? 3 : 2));
        m_full.SetCell(kOpenPrice, m_row, Field(line, "\">", "</td>", 2 + shift));
        m_full.SetCell(kStopLoss, m_row, Field(line, "\">", "</td>", 3 + shift));
        m_full.SetCell(kTakeProfit, m_row, Field(line, "\">", "</td>", 4 + shift));
        if (m_openTrades)
            m_full.SetCell(kCloseTime, m_row, "");
        else
            m_full.SetCell(kCloseTime, m_row, Field(line, bare ? "nowrap>" : "msdate nowrap>", "</td>", 2));
        m_full.SetCell(kClosePrice, m_row, Field(line, "\">", "</td>", 5 + shift));
        m_full.SetCell(kComm, m_row, PadLeft(Field(line, "mspt>", "</td>", 2), 6));
        m_full.SetCell(kSwap, m_row, PadLeft(Field(line, "mspt>", "</td>", taxes ? 4 : 3), 6));
        m_full.SetCell(kProfit, m_row, ProfitCell(Field(line, "mspt>", "</td>", taxes ? 5 : 4)));
    }

    void ReadTesterRow(std::string_view line)
    {
        const std::string order = Field(line, "<td>", "</td>", 3);
        m_full.SetCell(kTicket, m_row, order);
        m_firstRowOfOrder.emplace(order, m_row);
        m_full.SetCell(kOpenTime, m_row, Field(line, "msdate>", "</td>", 1));
        if (Contains(line, "process"))
            WritePendingSide(order);
        else
            m_full.SetCell(kType, m_row, Field(line, "<td>", "</td>", 2));
        m_full.SetCell(kLots, m_row, Field(line, "<td>", "</td>", 4));
        m_full.SetCell(kItem, m_row, m_session.Report.Symbol);
        m_full.SetCell(kOpenPrice, m_row, Field(line, "<td>", "</td>", 5));
        m_full.SetCell(kStopLoss, m_row, Field(line, "align=right>", "</td>", 2));
        m_full.SetCell(kTakeProfit, m_row, Field(line, "align=right>", "</td>", 3));
    }

    // The tester report closes an order on a later line; its close data go to the order's first row,
    // or to the row the next trade will be written to when the order is not in the table.
    void ReadClosingLine(std::string_view line)
    {
        const std::string order = Field(line, "<td>", "</td>", 3);
        const auto found = m_firstRowOfOrder.find(order);
        const int row = found == m_firstRowOfOrder.end() ? m_row : found->second;
        const std::string closeTime = Field(line, "msdate>", "</td>", 1);
        m_full.SetCell(kCloseTime, row, StartsWithDigit(closeTime) ? closeTime : std::string());
        m_full.SetCell(kClosePrice, row, Field(line, "<td>", "</td>", 5));
        m_full.SetCell(kComm, row, "  0.00");
        m_full.SetCell(kSwap, row, "  0.00");
        m_full.SetCell(kProfit, row, ProfitCell(Field(line, "<td>", "</td>", 6)));
    }

    Session& m_session;
    TextGrid& m_full;
    int m_row;
    bool m_openTrades = false;
    std::string m_line;
    std::unordered_map<std::string, int> m_pendingSide;
    std::unordered_map<std::string, int> m_firstRowOfOrder;
};

} // namespace

std::string MagicKeyOf(std::string_view magicText)
{
    return magicText.empty() ? std::string(kNoMagicKey) : PadLeft(magicText, 8);
}

void DetectReportKind(const std::string& path, Session& session)
{
    ReportState& report = session.Report;
    report.Kind = ReportKind::Statement;
    report.GeneratorMark = 0;
    LineReader reader(path);
    if (!reader.IsOpen())
        return;
    for (int i = 0; i < 3; ++i)
        reader.NextOrEmpty();
    const std::string_view fourth = UpToNul(reader.NextOrEmpty());
    if (Contains(fourth, "<title>Statement"))
        report.Kind = ReportKind::Statement;
    if (Contains(fourth, "<title>Strategy"))
        report.Kind = ReportKind::Tester;
    session.DisplayEnabled = report.Kind == ReportKind::Statement;

    const std::string fifth(UpToNul(reader.NextOrEmpty()));
    report.Layout = RowLayout::Titled;
    std::string_view line;
    for (int i = 0; i < 50 && reader.Next(line); ++i) {
        if (Contains(UpToNul(line), "<td>Taxes</td>")) {
            report.Layout = RowLayout::Taxes;
            break;
        }
    }
    if (Contains(fifth, kGeneratorTag))
        report.GeneratorMark = kGeneratorMark;
}

void ReadInitialDeposit(const std::string& path, Session& session)
{
    double& deposit = session.Report.InitialDeposit;
    deposit = 0.0;
    LineReader reader(path);
    const bool statement = session.Report.Kind == ReportKind::Statement;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (statement) {
            if (!Contains(line, "title=\"Deposit\""))
                continue;
            deposit = ScanDouble(WithoutBlanks(Field(line, "mspt>", "</td>", 1))).value_or(0.0);
            return;
        }
        const std::size_t word = line.find("deposit");
        if (word == std::string_view::npos)
            continue;
        const std::size_t start = word + 28;
        if (start <= line.size())
            deposit = ScanDouble(WithoutBlanks(line.substr(start))).value_or(0.0);
        return;
    }
}

void ReadPreamble(LineReader& reader, Session& session)
{
    ReportState& report = session.Report;
    report.Symbol.clear();
    std::string_view piece;
    if (report.Kind == ReportKind::Tester) {
        // Every tester report has its title on line 4, so the title is searched line by line.
        while (reader.Next(piece)) {
            const std::string_view line = UpToNul(piece);
            if (Contains(line, "</title>")) {
                report.Title = Field(line, "<title>", "</title>", 0);
                break;
            }
        }
        while (reader.Next(piece)) {
            const std::string_view line = UpToNul(piece);
            if (Contains(line, kSymbolMarker)) {
                report.Symbol = AsciiLower(Field(line, kSymbolMarker, " ", 0));
                break;
            }
        }
        session.Pairs.Clear();
        session.Pairs.Append(report.Symbol);
        if (!report.Symbol.empty())
            return;
    }
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "</title>")) {
            report.Title = Field(line, "<title>", "</title>", 0);
            break;
        }
    }
    session.Pairs.Clear();
}

int ReadBody(LineReader& reader, Session& session, int currentRow, const TradeLineCallback& onTradeLine)
{
    BodyReader body(session, currentRow);
    return body.Read(reader, onTradeLine);
}

} // namespace corvane
