// The body loop of a load: turns the trade lines of a report into rows of the trade table.
#include "reports/mt4/Mt4Body.h"

#include "reports/mt4/KeywordSet.h"
#include "reports/mt4/LineFields.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

namespace corvane {

namespace {

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

// The words a line is tested for; a line's words are the bits of these numbers.
enum Word : std::uint32_t
{
    kWorkingOrders,
    kWorkingOrdersLocal,
    kCancelled,
    kExpired,
    kOpenTrades,
    kOpenTradesLocal,
    kTesterTime,
    kSubRow,
    kStopLossHit,
    kTakeProfitHit,
    kClose,
    kBuyStop,
    kSellStop,
    kBuyLimit,
    kSellLimit,
    kSwapOpen,
    kSwapClose,
    kBuy,
    kSell,
    kProcess,
    kStop,
    kMoneyCells,
    kBalanceType,
    kCreditType,
    kWordCount,
};

// Each Word's text and anchor (KeywordSet::Word), written at the Word's place: the table cannot fall
// out of the enumeration's order, and a Word left without its text does not compile. The anchors are
// pairs that trade lines rarely hold elsewhere ("e>" of "msdate>", not the "sd" of every "msdate"),
// and words share them where they can ("op" of every stop order): sixteen pairs or fewer are sifted
// exactly.
constexpr auto kLineWords = [] {
    std::array<KeywordSet::Word, kWordCount> words{};
    words[kWorkingOrders] = {"Working Orders", 0};
    words[kWorkingOrdersLocal] = {kWorkingOrdersJapanese, 3};
    words[kCancelled] = {"cancelled", 2};
    words[kExpired] = {"expired", 5};
    words[kOpenTrades] = {"Open Trades:", 9};
    words[kOpenTradesLocal] = {kOpenTradesJapanese, 3};
    words[kTesterTime] = {"msdate>", 5};
    words[kSubRow] = {kMagicSubRow, 11};
    words[kStopLossHit] = {"s/l", 0};
    words[kTakeProfitHit] = {"t/p", 0};
    words[kClose] = {"close", 2};
    words[kBuyStop] = {"buy stop", 6};
    words[kSellStop] = {"sell stop", 7};
    words[kBuyLimit] = {"buy limit", 6};
    words[kSellLimit] = {"sell limit", 7};
    words[kSwapOpen] = {"swap open", 5};
    words[kSwapClose] = {"swap close", 7};
    words[kBuy] = {"buy", 1};
    words[kSell] = {"sell", 2};
    words[kProcess] = {"process", 4};
    words[kStop] = {"stop", 2};
    words[kMoneyCells] = {kMoneyCell, 12};
    words[kBalanceType] = {"<td>balance</td>", 8};
    words[kCreditType] = {"<td>credit</td>", 6};
    return words;
}();
static_assert(std::none_of(kLineWords.begin(), kLineWords.end(),
                           [](const KeywordSet::Word& word) { return word.Text.empty(); }),
              "every Word has its text in kLineWords");
static_assert(kWordCount <= 32, "a line's words are the bits of a 32-bit number");

const KeywordSet& LineWords()
{
    static const KeywordSet words(kLineWords);
    return words;
}

// "%10.2f" of the profit field: blanks (thousands separators) removed, read as "%lf". A field that
// holds no number is written as 0.00.
std::string ProfitCell(std::string_view field)
{
    char buffer[kFixedTextRoom];
    if (const auto text = FormatPlainAmountTo(buffer, field, 10))
        return std::string(*text);
    const auto value = ScanDouble(WithoutBlanks(field));
    return FormatFixed(value.value_or(0.0), 10, 2);
}

// ExtractBetween as a view into `text`.
std::string_view FieldOf(std::string_view text, std::string_view open, std::string_view close, int n)
{
    return LineFields(text).Field(open, close, n);
}

// A statement row whose type cell names no position, though its comment may say "buy" or "sell":
// balance and credit rows, and limit orders that were deleted rather than cancelled. The type is the
// first plain cell of a titled row and the second of a bare one.
bool NamesNoPosition(LineFields& fields)
{
    const auto noPosition = [](std::string_view type) {
        return type == "balance" || type == "credit" || type == "buy limit" || type == "sell limit";
    };
    return noPosition(fields.Field("<td>", "</td>", 1)) || noPosition(fields.Field("<td>", "</td>", 2));
}

/**
 * Adds texts to a selection list, passing over those it added before: a statement names the same few
 * symbols and magic numbers on row after row, and the list finds a text by its folded copy.
 */
class ListAdder
{
public:
    explicit ListAdder(SelectionList& list) : m_list(list) {}

    void Add(std::string_view text)
    {
        if (std::find(m_added.begin(), m_added.end(), text) != m_added.end())
            return;
        m_list.AddIfAbsent(text);
        if (m_added.size() < kMostRemembered)
            m_added.emplace_back(text);
    }

private:
    static constexpr std::size_t kMostRemembered = 16;

    SelectionList& m_list;
    std::vector<std::string> m_added; // every one is in the list: a load only adds to it
};

/**
 * The first row that holds each order number. The tester numbers its orders 1, 2, 3...: such a
 * number indexes a table directly; any other text (a leading zero, a letter) goes to a map.
 */
class OrderRows
{
public:
    void Add(std::string_view order, int row)
    {
        const long long number = PlainNumber(order);
        if (number < 0) {
            m_others.emplace(std::string(order), row);
            return;
        }
        if (static_cast<std::size_t>(number) >= m_rows.size())
            m_rows.resize(std::max(static_cast<std::size_t>(number) + 1, m_rows.size() * 2), -1);
        if (m_rows[number] < 0)
            m_rows[number] = row;
    }

    // Whether an order number has a row in both.
    bool SharesAnyWith(const OrderRows& other) const
    {
        const std::size_t common = std::min(m_rows.size(), other.m_rows.size());
        for (std::size_t number = 0; number < common; ++number)
            if (m_rows[number] >= 0 && other.m_rows[number] >= 0)
                return true;
        return std::any_of(m_others.begin(), m_others.end(),
                           [&other](const auto& entry) { return other.m_others.count(entry.first) != 0; });
    }

    // The first row of the order, or -1.
    int FirstRow(std::string_view order) const
    {
        const long long number = PlainNumber(order);
        if (number < 0) {
            const auto found = m_others.find(std::string(order));
            return found == m_others.end() ? -1 : found->second;
        }
        return static_cast<std::size_t>(number) < m_rows.size() ? m_rows[number] : -1;
    }

private:
    static constexpr long long kLargestIndexed = 100'000'000;

    // The value of a number written without a leading zero (so that text and value match one to one)
    // and small enough to index the table; -1 for any other text.
    static long long PlainNumber(std::string_view text)
    {
        if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0'))
            return -1;
        long long value = 0;
        for (const char c : text) {
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value <= kLargestIndexed ? value : -1;
    }

    std::vector<int> m_rows;
    std::unordered_map<std::string, int> m_others;
};

/**
 * The per-load state of the body loop: the open-trades flag, the pending orders gathered so far (the
 * first registration of a ticket wins) and, for tester reports, the first row holding each order
 * number, so that a closing line finds its order without scanning the table.
 */
class BodyReader
{
public:
    BodyReader(Session& session, int currentRow)
        : m_session(session)
        , m_full(session.Full)
        , m_row(currentRow)
        , m_tester(session.Report.Kind == ReportKind::Tester)
        , m_pairs(session.Pairs)
        , m_magic(session.Magic)
    {
        if (m_tester)
            for (int row = 1; row < m_row; ++row)
                m_orders.Add(m_full.Cell(kTicket, row), row);
    }

    // How a reading ended.
    enum class Stop
    {
        End,           // the end of the file
        WorkingOrders, // the working orders, which end the trades
        Until,         // the place it was to read up to
        Cancelled,
    };

    // Reads the lines up to the place `until` of the file (a piece's start), or to the end of the trades.
    Stop Read(LineReader& reader, const TradeLineCallback& onTradeLine, std::size_t until = std::string_view::npos,
              const std::atomic<bool>* cancel = nullptr)
    {
        std::string_view piece;
        while (reader.Position() < until) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return Stop::Cancelled;
            if (!reader.Next(piece))
                return Stop::End;
            std::string_view line = piece;
            std::uint32_t words = 0;
            if (std::memchr(piece.data(), '\0', piece.size())) {
                // "Working Orders" is looked for up to the first NUL; the other words in the whole line
                // with its NUL bytes read as blanks.
                if (Contains(UpToNul(piece), "Working Orders") || Contains(UpToNul(piece), kWorkingOrdersJapanese))
                    return Stop::WorkingOrders;
                m_line.assign(piece);
                for (char& c : m_line)
                    if (c == '\0')
                        c = ' ';
                line = m_line;
                words = LineWords().Scan(line) & ~(Bit(kWorkingOrders) | Bit(kWorkingOrdersLocal));
            } else {
                words = LineWords().Scan(line);
                if (words & (Bit(kWorkingOrders) | Bit(kWorkingOrdersLocal)))
                    return Stop::WorkingOrders;
            }
            m_words = words;
            if (ReadLine(line) && onTradeLine)
                onTradeLine();
        }
        return Stop::Until;
    }

    int Row() const { return m_row; }

    // Leaves with the report the number of the line that closed each row's order: trades closed in the same
    // minute run in the order of their closing lines, not of their orders. The rows of a tester report
    // stand in the order of their orders, mostly: the list comes out sorted as it is made.
    void LeaveCloseLines()
    {
        if (m_closeLines.size() > static_cast<std::size_t>(m_row))
            m_closeLines.resize(static_cast<std::size_t>(m_row));
        std::erase(m_closeLines, CloseLineOf());
        if (!std::is_sorted(m_closeLines.begin(), m_closeLines.end()))
            std::sort(m_closeLines.begin(), m_closeLines.end());
        m_session.Report.CloseLines = std::move(m_closeLines);
    }

    /**
     * What the reader of a body's second half notes, read on its own from a state of its own (no open
     * trades, no pending orders, no orders, no rollover): the things whose outcome would differ had the
     * first half been read before them.
     */
    struct SecondHalfNotes
    {
        std::vector<std::string> PendingLookups; // tickets of rows that fill pending orders
        bool RolloverFirst = false;              // a rollover came before the half's first swap close
        bool SwapCloseUnknown = false;           // a swap close of an order the half had not opened
        // Closing lines of orders the half had not opened, and their words: orders of the first half.
        std::vector<std::pair<std::string, std::uint32_t>> UnknownClosings;
        bool StatementRows = false; // whether a statement row set the layout
    };

    void TakeNotes(SecondHalfNotes& notes) { m_notes = &notes; }

    // Whether the second half, read on its own, came out as it would have after this first half.
    bool FitsBefore(const BodyReader& second, const SecondHalfNotes& notes) const
    {
        if (m_openTrades || notes.RolloverFirst || notes.SwapCloseUnknown || m_orders.SharesAnyWith(second.m_orders))
            return false;
        return std::none_of(notes.PendingLookups.begin(), notes.PendingLookups.end(),
                            [this](const std::string& ticket) { return m_pendingSide.count(ticket) != 0; });
    }

    // Takes in the trades of the second half, read by `second` into `secondSession`, as if this reader had
    // read them: its rows after this half's, its symbols, magic numbers and balance rows, and the closing
    // lines of this half's orders. `tradeLines` are the places after each of its trade lines in the file.
    void Adopt(const BodyReader& second, Session& secondSession, const SecondHalfNotes& notes,
               const std::vector<std::size_t>& tradeLines, LineReader& reader, const TradeLineCallback& onTradeLine)
    {
        m_full.TakeRows(m_row, std::move(secondSession.Full), 1, second.m_row - 1);
        for (std::size_t row = 1; row < second.m_closeLines.size(); ++row)
            if (second.m_closeLines[row] != CloseLineOf())
                CloseLine(m_row + static_cast<int>(row) - 1, second.m_closeLines[row]);
        m_row += second.m_row - 1;
        m_full.SetRowCount(m_row + 1);
        for (int i = 0; i < secondSession.Pairs.Count(); ++i)
            m_pairs.Add(secondSession.Pairs.Text(i));
        for (int i = 0; i < secondSession.Magic.Count(); ++i)
            m_magic.Add(secondSession.Magic.Text(i));
        std::vector<BalanceRow>& balanceRows = m_session.Report.BalanceRows;
        std::move(secondSession.Report.BalanceRows.begin(), secondSession.Report.BalanceRows.end(),
                  std::back_inserter(balanceRows));
        if (notes.StatementRows)
            m_session.Report.Layout = secondSession.Report.Layout;
        m_openTrades = second.m_openTrades;
        for (const auto& [line, words] : notes.UnknownClosings) {
            m_words = words;
            m_fields.Reset(line);
            ReadClosingLine(m_fields);
        }
        if (onTradeLine) {
            for (const std::size_t place : tradeLines) {
                reader.ShowPosition(place);
                onTradeLine();
            }
            reader.ShowPosition(std::nullopt);
        }
    }

private:
    static constexpr std::uint32_t Bit(Word word) { return 1u << word; }
    bool Has(Word word) const { return (m_words & Bit(word)) != 0; }

    // Returns true when the line was a trade line.
    bool ReadLine(std::string_view line)
    {
        if (Has(kCancelled) || Has(kExpired))
            return false;
        if (Has(kOpenTrades) || Has(kOpenTradesLocal)) {
            m_openTrades = true;
            return false;
        }
        // Every tester row carries its time in an msdate cell; other lines (the wrapped Parameters
        // cell, say) are never trades or closing lines, whatever words they hold.
        if (m_tester && !Has(kTesterTime))
            return false;
        LineFields& fields = m_fields;
        fields.Reset(line);
        if (!m_tester && !m_openTrades && (Has(kBalanceType) || Has(kCreditType))) {
            ReadBalanceRow(fields);
            return false;
        }
        if (!m_tester && (Has(kSubRow) || ((Has(kBuy) || Has(kSell) || Has(kProcess)) && NamesNoPosition(fields))))
            return false;
        if (m_tester && (Has(kStopLossHit) || Has(kTakeProfitHit) || Has(kClose)))
            ReadClosingLine(fields);
        if (Has(kBuyStop) || Has(kSellStop))
            m_pendingSide.emplace(std::string(fields.Field("align=right>", "</td>", 3)), Has(kBuyStop) ? 0 : 1);
        if (m_tester && (Has(kBuyLimit) || Has(kSellLimit))) {
            // A limit order waits like a stop order; the row that fills it carries its side.
            m_pendingSide.emplace(std::string(fields.Field("<td>", "</td>", 3)), Has(kBuyLimit) ? 0 : 1);
            return false;
        }
        if (m_tester && Has(kSwapOpen)) {
            ReadRolloverRow(fields);
            return true;
        }
        if ((!Has(kBuy) && !Has(kSell) && !Has(kProcess)) || Has(kStop))
            return false;
        if (m_tester)
            ReadTesterRow(fields);
        else
            ReadStatementRow(fields);
        NextRow();
        return true;
    }

    void NextRow()
    {
        m_full.SetRowCount(m_full.RowCount() + 1);
        ++m_row;
    }

    // The type of a row that fills a pending stop order: the side of that order, or nothing.
    std::string_view PendingSide(std::string_view ticket) const
    {
        if (m_notes)
            m_notes->PendingLookups.emplace_back(ticket);
        const auto found = m_pendingSide.find(std::string(ticket));
        if (found == m_pendingSide.end())
            return {};
        return found->second == 1 ? "sell" : "buy";
    }

    void ReadStatementRow(LineFields& fields)
    {
        RowLayout& layout = m_session.Report.Layout;
        if (m_notes)
            m_notes->StatementRows = true;
        const std::string_view second = fields.Field("<td>", "</td>", 2);
        const bool sideSecond = second == "sell" || second == "buy";
        bool bare = false;
        bool taxes = false;
        if (layout != RowLayout::Taxes) {
            layout = sideSecond ? RowLayout::Bare : RowLayout::Titled;
            bare = sideSecond;
            // A localized header names the taxes column in its own language; the row still has it.
            taxes = fields.Count("mspt>") >= 5;
        } else {
            // A bare row among titled ones: the ticket and the type are the first two plain cells.
            bare = sideSecond;
            taxes = true;
        }
        std::array<std::string_view, kFullColumns> cells{};
        const std::string_view symbol = bare ? fields.Field("<td>", "</td>", 3) : second;
        m_pairs.Add(symbol);

        const std::string_view ticket =
            bare ? fields.Field("<td>", "</td>", 1) : fields.Field("\">", "</td><td class=msdate", 1);
        cells[kTicket] = ticket;

        const std::string magic = WithoutBlanks(fields.Field("\"#", " ", 1));
        const std::string magicCell = PadLeft(magic, 12);
        cells[kMagic] = magicCell;
        m_magic.Add(MagicKeyOf(magic));

        cells[kComment] = FieldOf(fields.Field("\"#", ">", 1), " ", "\"", 1);
        cells[kOpenTime] = fields.Field("nowrap>", "</td>", 1);
        cells[kType] = Has(kProcess) ? PendingSide(ticket) : fields.Field("<td>", "</td>", bare ? 2 : 1);

        const int shift = bare ? -1 : 0; // the bare layout has no title cell before the prices
        cells[kLots] = fields.Field("mspt>", "</td>", 1);
        cells[kItem] = symbol;
        cells[kOpenPrice] = fields.Field("\">", "</td>", 2 + shift);
        cells[kStopLoss] = fields.Field("\">", "</td>", 3 + shift);
        cells[kTakeProfit] = fields.Field("\">", "</td>", 4 + shift);
        if (!m_openTrades)
            cells[kCloseTime] = fields.Field(bare ? "nowrap>" : "msdate nowrap>", "</td>", 2);
        cells[kClosePrice] = fields.Field("\">", "</td>", 5 + shift);
        const std::string comm = PadLeft(fields.Field("mspt>", "</td>", 2), 6);
        const std::string swap = PadLeft(fields.Field("mspt>", "</td>", taxes ? 4 : 3), 6);
        const std::string profit = ProfitCell(fields.Field("mspt>", "</td>", taxes ? 5 : 4));
        cells[kComm] = comm;
        cells[kSwap] = swap;
        cells[kProfit] = profit;
        m_full.SetRow(m_row, cells);
    }

    // A deposit, withdrawal or credit: kept with the report for the gain and the drawdown, never a trade.
    void ReadBalanceRow(LineFields& fields)
    {
        const std::string_view type = fields.Field("<td>", "</td>", 1);
        const bool bare = type != "balance" && type != "credit";
        BalanceRow row;
        row.Time = fields.Field("nowrap>", "</td>", 1);
        row.Amount = ScanDouble(WithoutBlanks(fields.Field("mspt>", "</td>", 1))).value_or(0.0);
        row.Comment = fields.Field("align=left>", "</td>", 1);
        row.Ticket = LeadingInteger(bare ? fields.Field("<td>", "</td>", 1) : fields.Field("\">", "</td>", 1));
        row.Credit = Has(kCreditType);
        m_session.Report.BalanceRows.push_back(std::move(row));
    }

    void ReadTesterRow(LineFields& fields)
    {
        const std::string_view order = fields.Field("<td>", "</td>", 3);
        WriteTesterOpening(fields, order, Has(kProcess) ? PendingSide(order) : fields.Field("<td>", "</td>", 2));
    }

    // At a rollover the tester closes the position ("swap close") and reopens it under a new order
    // number ("swap open") that has no trade row of its own: the reopened position is a new trade of
    // the same side.
    void ReadRolloverRow(LineFields& fields)
    {
        if (m_notes && !m_swapClosed)
            m_notes->RolloverFirst = true;
        WriteTesterOpening(fields, fields.Field("<td>", "</td>", 3), m_rolledOverSide);
        NextRow();
    }

    // The room a tester trade's row keeps for the cells its closing line writes: a close time, a
    // price, two "  0.00" and a profit.
    static constexpr std::size_t kClosingRoom = 56;

    // Columns 0 to 7 of a tester trade; the closing line fills 8 to 12 later.
    void WriteTesterOpening(LineFields& fields, std::string_view order, std::string_view type)
    {
        const bool moneyCells = Has(kMoneyCells);
        std::array<std::string_view, kFullColumns> cells{};
        cells[kTicket] = order;
        cells[kOpenTime] = fields.Field("msdate>", "</td>", 1);
        cells[kType] = type;
        cells[kLots] = moneyCells ? fields.Field("mspt>", "</td>", 1) : fields.Field("<td>", "</td>", 4);
        cells[kItem] = m_session.Report.Symbol;
        cells[kOpenPrice] = moneyCells ? fields.Field("\">", "</td>", 1) : fields.Field("<td>", "</td>", 5);
        cells[kStopLoss] = fields.Field("align=right>", "</td>", 2);
        cells[kTakeProfit] = fields.Field("align=right>", "</td>", 3);
        m_full.SetRow(m_row, cells, kClosingRoom);
        m_orders.Add(order, m_row);
    }

    void CloseLine(int row, CloseLineOf line)
    {
        const auto at = static_cast<std::size_t>(row);
        if (at >= m_closeLines.size())
            m_closeLines.resize(std::max(at + 1, m_closeLines.size() * 2));
        m_closeLines[at] = line;
    }

    // The tester report closes an order on a later line; its close data go to the order's first row.
    // The close of an order that was never opened is left out: it belongs to no row of the table.
    void ReadClosingLine(LineFields& fields)
    {
        const std::string_view order = fields.Field("<td>", "</td>", 3);
        const int row = m_orders.FirstRow(order);
        if (row < 0) {
            if (m_notes) {
                m_notes->UnknownClosings.emplace_back(fields.Line(), m_words);
                m_notes->SwapCloseUnknown = m_notes->SwapCloseUnknown || Has(kSwapClose);
            }
            return;
        }
        const bool moneyCells = Has(kMoneyCells);
        // The row is written again whole, its opening cells as they stand and the close's after them.
        std::array<std::string_view, kFullColumns> cells{};
        m_full.ReadCells(row, cells);
        const std::string_view closeTime = fields.Field("msdate>", "</td>", 1);
        cells[kCloseTime] = StartsWithDigit(closeTime) ? closeTime : std::string_view();
        cells[kClosePrice] = moneyCells ? fields.Field("\">", "</td>", 1) : fields.Field("<td>", "</td>", 5);
        cells[kComm] = "  0.00";
        cells[kSwap] = "  0.00";
        const std::string profit =
            ProfitCell(moneyCells ? fields.Field("mspt>", "</td>", 2) : fields.Field("<td>", "</td>", 6));
        cells[kProfit] = profit;
        m_full.SetRow(row, cells);
        const long long orderNumber = LeadingInteger(order);
        const long long line = LeadingInteger(fields.Field("<td>", "</td>", 1));
        // Numbers no tester report comes near are left out: such trades keep the order of their numbers.
        if (orderNumber > 0 && orderNumber <= UINT32_MAX && line > 0 && line <= UINT32_MAX)
            CloseLine(row, {static_cast<std::uint32_t>(orderNumber), static_cast<std::uint32_t>(line)});
        if (Has(kSwapClose)) {
            m_rolledOverSide.assign(m_full.Cell(kType, row));
            m_swapClosed = true;
        }
    }

    Session& m_session;
    TextGrid& m_full;
    int m_row;
    const bool m_tester;
    bool m_openTrades = false;
    std::uint32_t m_words = 0;
    std::string m_line;
    LineFields m_fields;
    std::string m_rolledOverSide;
    bool m_swapClosed = false; // a swap close set m_rolledOverSide
    SecondHalfNotes* m_notes = nullptr;
    std::unordered_map<std::string, int> m_pendingSide;
    OrderRows m_orders;
    // By row: its order's number and the number of the line that closed it, none (0, 0) before the close.
    std::vector<CloseLineOf> m_closeLines;
    ListAdder m_pairs;
    ListAdder m_magic;
};

/**
 * Moves `half`, a reader of the same file as `reader`, to the start of the second half of the body that
 * begins where `reader` stands: the start of the second line that ends past `firstPart` bytes of the
 * body, when that line is short. A line end whose line is shorter than a piece begins a piece however
 * the reading got there, so `reader` reaching that place piece by piece stops there too. False when
 * no such place is near.
 */
bool StartOfSecondHalf(const LineReader& reader, LineReader& half, std::size_t firstPart)
{
    constexpr std::size_t kShortLine = 1000;   // bytes, line end included: fewer than a piece holds
    constexpr std::size_t kSearched = 1 << 16; // bytes past the first part
    const std::size_t middle = reader.Position() + firstPart;
    if (!half.IsOpen() || !half.Seek(middle))
        return false;
    std::string_view piece;
    bool afterLineEnd = false;
    std::size_t before = middle;
    while (half.Next(piece)) {
        const std::size_t after = half.Position();
        const bool lineEnd = piece.back() == '\n';
        if (lineEnd && afterLineEnd && after - before <= kShortLine)
            return true;
        afterLineEnd = lineEnd;
        before = after;
        if (after - middle > kSearched)
            break;
    }
    return false;
}

/**
 * The second half of a large body, read on a thread of its own while the caller reads the first: from a
 * line end past the middle, by a reader of its own on the same file, into a session of its own.
 *
 * The contract between the threads: the half's thread writes only what this object holds (its session,
 * reader, notes and trade lines); the caller's thread touches none of it but the cancel flag (atomic) until
 * Join has returned, and then takes it all over (JoinTo). The two share nothing else but the file's name.
 */
class SecondHalf
{
public:
    // Reads from where `reader` stands.
    SecondHalf(const Session& session, LineReader& reader) : m_reader(reader)
    {
        m_session.Report = session.Report;
        m_session.Report.BalanceRows.clear();
        m_body = std::make_unique<BodyReader>(m_session, 1);
        m_body->TakeNotes(m_notes);
        m_thread = std::thread([this] { Run(); });
    }

    ~SecondHalf() { Cancel(); }
    SecondHalf(const SecondHalf&) = delete;
    SecondHalf& operator=(const SecondHalf&) = delete;

    void Cancel()
    {
        m_cancel = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // Waits for the half to be read; false when it could not be read to its end.
    bool Join()
    {
        if (m_thread.joinable())
            m_thread.join();
        return !m_error && !m_reader.Failed() && m_stop != BodyReader::Stop::Cancelled;
    }

    // Once joined: takes the half into `first`, which has read up to where it starts, when the half
    // read on its own came out as it would have after `first`; false (and nothing taken) otherwise.
    bool JoinTo(BodyReader& first, LineReader& reader, const TradeLineCallback& onTradeLine)
    {
        // The lines after the trades are read on from where this half stopped.
        if (!first.FitsBefore(*m_body, m_notes) || !reader.Seek(m_reader.Position()))
            return false;
        first.Adopt(*m_body, m_session, m_notes, m_tradeLines, reader, onTradeLine);
        return true;
    }

private:
    void Run()
    {
        try {
            const TradeLineCallback noteTradeLine = [this] { m_tradeLines.push_back(m_reader.Position()); };
            m_stop = m_body->Read(m_reader, noteTradeLine, std::string_view::npos, &m_cancel);
        } catch (...) {
            m_error = std::current_exception();
        }
    }

    LineReader& m_reader;
    Session m_session;
    BodyReader::SecondHalfNotes m_notes;
    std::unique_ptr<BodyReader> m_body;
    std::vector<std::size_t> m_tradeLines;
    BodyReader::Stop m_stop = BodyReader::Stop::End;
    std::exception_ptr m_error;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread; // started last, once the members it uses are built
};

} // namespace

namespace {

int ReadBodyLines(BodyReader& body, LineReader& reader, Session& session, const TradeLineCallback& onTradeLine,
                  std::size_t halvesFrom)
{
    const std::size_t start = reader.Position();
    const std::size_t size = reader.Size() > start ? reader.Size() - start : 0;
    if (!reader.IsOpen() || size == 0 || size < halvesFrom) {
        body.Read(reader, onTradeLine);
        return body.Row();
    }
    // The first half's trade lines also let the caller's events run, and the second's do once it is
    // read: with a trade-line callback the first half is the smaller one.
    LineReader halfReader(reader.Path());
    if (!StartOfSecondHalf(reader, halfReader, onTradeLine ? size / 3 : size / 2)) {
        body.Read(reader, onTradeLine);
        return body.Row();
    }
    const std::size_t middle = halfReader.Position();
    std::optional<SecondHalf> second;
    try {
        second.emplace(session, halfReader);
    } catch (const std::system_error&) { // the system starts no more threads: line by line
        body.Read(reader, onTradeLine);
        return body.Row();
    }
    if (body.Read(reader, onTradeLine, middle) != BodyReader::Stop::Until)
        return body.Row(); // the trades ended in the first half
    if (reader.Position() != middle || !second->Join() || !second->JoinTo(body, reader, onTradeLine))
        body.Read(reader, onTradeLine); // the second half is read again, after the first
    return body.Row();
}

} // namespace

int ReadBody(LineReader& reader, Session& session, int currentRow, const TradeLineCallback& onTradeLine,
             std::size_t halvesFrom)
{
    BodyReader body(session, currentRow);
    const int row = ReadBodyLines(body, reader, session, onTradeLine, halvesFrom);
    if (session.Report.Kind == ReportKind::Tester)
        body.LeaveCloseLines();
    return row;
}

} // namespace corvane
