#include "ReportReader.h"

#include "LineReader.h"
#include "Numbers.h"
#include "TextRoutines.h"

#include <optional>
#include <unordered_map>

namespace corvane {

namespace {

constexpr std::string_view kGeneratorTag = "<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">";
constexpr std::string_view kNoMagicKey = "           0";

// Statements of newer builds follow each titled trade with a row holding its magic number and
// comment under the same columns; it is never a trade of its own.
constexpr std::string_view kMagicSubRow = "<td colspan=9>&nbsp;</td>";

// Section headings of broker-localized statements (Shift-JIS): open positions, and working orders.
constexpr std::string_view kOpenTradesJapanese =
    "<b>\x83\x49\x81\x5b\x83\x76\x83\x93\x83\x7c\x83\x57\x83\x56\x83\x87\x83\x93\x8f\xee\x95\xf1:</b>";
constexpr std::string_view kWorkingOrdersJapanese = "<b>\x92\x8d\x95\xb6\x8f\xee\x95\xf1:</b>";

// Tester reports of newer builds keep size, prices and money in cells with attributes; plain cells
// hold only the row number, the type and the order number.
constexpr std::string_view kMoneyCell = "<td class=mspt>";

std::size_t CountOf(std::string_view text, std::string_view needle)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

// A statement row whose type cell names no position, though its comment may say "buy" or "sell":
// balance and credit rows, and limit orders that were deleted rather than cancelled.
// The type is the first plain cell of a titled row and the second of a bare one.
bool IsStatementNonTrade(std::string_view line)
{
    const auto namesNoPosition = [](const std::string& type) {
        return type == "balance" || type == "credit" || type == "buy limit" || type == "sell limit";
    };
    return namesNoPosition(Field(line, "<td>", "</td>", 1)) || namesNoPosition(Field(line, "<td>", "</td>", 2));
}

bool IsWorkingOrdersLine(std::string_view line)
{
    return Contains(line, "Working Orders") || Contains(line, kWorkingOrdersJapanese);
}

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
            if (IsWorkingOrdersLine(UpToNul(piece)))
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
        if (Contains(line, "Open Trades:") || Contains(line, kOpenTradesJapanese)) {
            m_openTrades = true;
            return false;
        }
        const bool tester = m_session.Report.Kind == ReportKind::Tester;
        // Every tester row carries its time in an msdate cell; other lines (the wrapped Parameters
        // cell, say) are never trades or closing lines, whatever words they hold.
        if (tester && !Contains(line, "msdate>"))
            return false;
        if (!tester && (Contains(line, kMagicSubRow) || IsStatementNonTrade(line)))
            return false;
        if (tester && (Contains(line, "s/l") || Contains(line, "t/p") || Contains(line, "close")))
            ReadClosingLine(line);
        if (Contains(line, "buy stop") || Contains(line, "sell stop"))
            m_pendingSide.emplace(Field(line, "align=right>", "</td>", 3), Contains(line, "buy stop") ? 0 : 1);
        if (tester && (Contains(line, "buy limit") || Contains(line, "sell limit"))) {
            // A limit order waits like a stop order; the row that fills it carries its side.
            m_pendingSide.emplace(Field(line, "<td>", "</td>", 3), Contains(line, "buy limit") ? 0 : 1);
            return false;
        }
        if (tester && Contains(line, "swap open")) {
            ReadRolloverRow(line);
            return true;
        }
        if ((!Contains(line, "buy") && !Contains(line, "sell") && !Contains(line, "process")) || Contains(line, "stop"))
            return false;
        if (tester)
            ReadTesterRow(line);
        else
            ReadStatementRow(line);
        NextRow();
        return true;
    }

    void NextRow()
    {
        m_full.SetRowCount(m_full.RowCount() + 1);
        ++m_row;
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
        const bool sideSecond = second == "sell" || second == "buy";
        bool bare = false;
        bool taxes = false;
        if (layout != RowLayout::Taxes) {
            layout = sideSecond ? RowLayout::Bare : RowLayout::Titled;
            bare = sideSecond;
            // A localized header names the taxes column in its own language; the row still has it.
            taxes = CountOf(line, "mspt>") >= 5;
        } else {
            // A bare row among titled ones: the ticket and the type are the first two plain cells.
            bare = sideSecond;
            taxes = true;
        }
        const std::string symbol = bare ? Field(line, "<td>", "</td>", 3) : second;
        m_session.Pairs.AddIfAbsent(symbol);

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
        m_full.SetCell(kItem, m_row, symbol);
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
        WriteTesterOpening(line, order);
        if (Contains(line, "process"))
            WritePendingSide(order);
        else
            m_full.SetCell(kType, m_row, Field(line, "<td>", "</td>", 2));
    }

    // At a rollover the tester closes the position ("swap close") and reopens it under a new order
    // number ("swap open") that has no trade row of its own: the reopened position is a new trade of
    // the same side.
    void ReadRolloverRow(std::string_view line)
    {
        WriteTesterOpening(line, Field(line, "<td>", "</td>", 3));
        m_full.SetCell(kType, m_row, m_rolledOverSide);
        NextRow();
    }

    // Columns 0, 1 and 3 to 7 of a tester trade; the closing line fills 8 to 12 later.
    void WriteTesterOpening(std::string_view line, const std::string& order)
    {
        const bool moneyCells = Contains(line, kMoneyCell);
        m_full.SetCell(kTicket, m_row, order);
        m_firstRowOfOrder.emplace(order, m_row);
        m_full.SetCell(kOpenTime, m_row, Field(line, "msdate>", "</td>", 1));
        m_full.SetCell(kLots, m_row, moneyCells ? Field(line, "mspt>", "</td>", 1) : Field(line, "<td>", "</td>", 4));
        m_full.SetCell(kItem, m_row, m_session.Report.Symbol);
        m_full.SetCell(kOpenPrice, m_row,
                       moneyCells ? Field(line, "\">", "</td>", 1) : Field(line, "<td>", "</td>", 5));
        m_full.SetCell(kStopLoss, m_row, Field(line, "align=right>", "</td>", 2));
        m_full.SetCell(kTakeProfit, m_row, Field(line, "align=right>", "</td>", 3));
    }

    // The tester report closes an order on a later line; its close data go to the order's first row.
    // The close of an order that was never opened is left out: it belongs to no row of the table.
    void ReadClosingLine(std::string_view line)
    {
        const std::string order = Field(line, "<td>", "</td>", 3);
        const auto found = m_firstRowOfOrder.find(order);
        if (found == m_firstRowOfOrder.end())
            return;
        const int row = found->second;
        const bool moneyCells = Contains(line, kMoneyCell);
        const std::string closeTime = Field(line, "msdate>", "</td>", 1);
        m_full.SetCell(kCloseTime, row, StartsWithDigit(closeTime) ? closeTime : std::string());
        m_full.SetCell(kClosePrice, row,
                       moneyCells ? Field(line, "\">", "</td>", 1) : Field(line, "<td>", "</td>", 5));
        m_full.SetCell(kComm, row, "  0.00");
        m_full.SetCell(kSwap, row, "  0.00");
        m_full.SetCell(kProfit, row,
                       ProfitCell(moneyCells ? Field(line, "mspt>", "</td>", 2) : Field(line, "<td>", "</td>", 6)));
        if (Contains(line, "swap close"))
            m_rolledOverSide.assign(m_full.Cell(kType, row));
    }

    Session& m_session;
    TextGrid& m_full;
    int m_row;
    bool m_openTrades = false;
    std::string m_line;
    std::string m_rolledOverSide;
    std::unordered_map<std::string, int> m_pendingSide;
    std::unordered_map<std::string, int> m_firstRowOfOrder;
};

} // namespace

std::string MagicKeyOf(std::string_view magicText)
{
    return magicText.empty() ? std::string(kNoMagicKey) : PadLeft(magicText, 8);
}

namespace {

std::string_view TrimmedLeft(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// The head the terminal writes without a generator tag: a statement of 2022 on has its style sheet on
// line 5, a tester report of build 1380 on its build number.
bool IsTerminalHead(ReportKind kind, std::string_view fifth)
{
    fifth = TrimmedLeft(fifth);
    if (kind == ReportKind::Statement)
        return fifth.substr(0, 38) == "<style type=\"text/css\" media=\"screen\">";
    constexpr std::string_view kVersion = "<meta name=\"version\" content=\"Build ";
    if (fifth.substr(0, kVersion.size()) != kVersion)
        return false;
    std::size_t i = kVersion.size();
    const std::size_t digits = i;
    while (i < fifth.size() && fifth[i] >= '0' && fifth[i] <= '9')
        ++i;
    return i > digits && fifth.substr(i, 2) == "\">";
}

bool HasTitle(std::string_view fourth)
{
    return Contains(fourth, "<title>Statement") || Contains(fourth, "<title>Strategy");
}

// A statement's deposit: the row with title="Deposit" or, when there is none, the first balance row
// before the first trade (brokers title their balance rows with text of their own).
double StatementDeposit(LineReader& reader)
{
    std::optional<double> firstBalance;
    bool tradeSeen = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "title=\"Deposit\""))
            return ScanDouble(WithoutBlanks(Field(line, "mspt>", "</td>", 1))).value_or(0.0);
        if (tradeSeen || firstBalance)
            continue;
        if (Contains(line, "<td>balance</td>"))
            firstBalance = ScanDouble(WithoutBlanks(Field(line, "mspt>", "</td>", 1))).value_or(0.0);
        else if (Contains(line, "<td>buy</td>") || Contains(line, "<td>sell</td>"))
            tradeSeen = true;
    }
    return firstBalance.value_or(0.0);
}

// A tester report's deposit: the number 28 characters after the word "deposit". In a localized report
// the word is missing, so the deposit row is found by its place: the first row after the spacer row
// that ends the test's settings.
double TesterDeposit(LineReader& reader)
{
    std::optional<double> byWord;
    bool afterSpacer = false;
    bool inTrades = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (!byWord) {
            const std::size_t word = line.find("deposit");
            if (word != std::string_view::npos) {
                const std::size_t start = word + 28;
                byWord = start <= line.size() ? ScanDouble(WithoutBlanks(line.substr(start))).value_or(0.0) : 0.0;
            }
        }
        if (!inTrades && afterSpacer && Contains(line, "<tr align=left><td>")) {
            if (const auto byPlace = ScanDouble(WithoutBlanks(Field(line, "<td align=right>", "</td>", 1))))
                return *byPlace;
            inTrades = true; // no number there: not the head the terminal writes
        }
        if (Contains(line, "<tr height=8>"))
            afterSpacer = true;
        if (Contains(line, "msdate>"))
            inTrades = true;
        if (inTrades && byWord)
            break;
    }
    return byWord.value_or(0.0);
}

} // namespace

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
    const std::string fourth(UpToNul(reader.NextOrEmpty()));
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
    if (Contains(fifth, kGeneratorTag) || (HasTitle(fourth) && IsTerminalHead(report.Kind, fifth)))
        report.GeneratorMark = kGeneratorMark;
}

void ReadInitialDeposit(const std::string& path, Session& session)
{
    session.Report.InitialDeposit = 0.0;
    LineReader reader(path);
    if (!reader.IsOpen())
        return;
    session.Report.InitialDeposit =
        session.Report.Kind == ReportKind::Statement ? StatementDeposit(reader) : TesterDeposit(reader);
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
        // A localized head names the symbol row in its own language: then the first row of the
        // settings table, which holds the symbol in every language, gives it.
        std::optional<std::string> localized;
        bool settingsRowSeen = false;
        while (reader.Next(piece)) {
            const std::string_view line = UpToNul(piece);
            if (Contains(line, kSymbolMarker)) {
                report.Symbol = AsciiLower(Field(line, kSymbolMarker, " ", 0));
                break;
            }
            if (!settingsRowSeen && Contains(line, "<tr align=left><td colspan=2>")
                && Contains(line, "</td><td colspan=4>")) {
                settingsRowSeen = true;
                // "GBPUSD (Great Britain Pound vs US Dollar)": the symbol, then its name in brackets.
                const std::string value = Field(line, "</td><td colspan=4>", "</td>", 1);
                const std::size_t blank = value.find(' ');
                if (blank != std::string::npos && blank > 0 && value.compare(blank, 2, " (") == 0)
                    localized = AsciiLower(value.substr(0, blank));
            }
            if (localized && Contains(line, "bgcolor=\"#C0C0C0\"")) { // the trade table's header row
                report.Symbol = *localized;
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
