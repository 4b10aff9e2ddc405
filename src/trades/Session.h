#pragma once

#include "trades/SelectionList.h"
#include "trades/TextGrid.h"
#include "trades/TradeValues.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

struct TableFacts;  // what the filter pass has read of the trade table (analysis/TableFacts.h)
struct MoreFigures; // the more statistics of the visible trades (analysis/MoreStatistics.h)

enum class ReportKind
{
    Statement = 0,
    Tester = 1,
};

// Row layouts of an account statement, kept under the codes the reader has always used.
enum class RowLayout
{
    Titled = 0,  // the ticket cell carries a title "#magic comment"; the type is the first plain cell
    Bare = 178,  // the ticket is the first plain cell, the type the second
    Taxes = 190, // as titled, with a taxes column before swap
};

// The terminal that wrote a report, as its head tells: none for a file that carries no generator tag of
// either (refused), a text import keeping the last report's.
enum class Terminal
{
    None,
    Mt4,
    Mt5,
};

inline constexpr int kFullColumns = 20;
inline constexpr int kGridColumns = 15;
inline constexpr int kXGridColumns = 3;

// Columns of the trade table; the visible table mirrors columns 0 to 14.
enum Column : int
{
    kTicket = 0,
    kOpenTime = 1,
    kType = 2,
    kLots = 3,
    kItem = 4,
    kOpenPrice = 5,
    kStopLoss = 6,
    kTakeProfit = 7,
    kCloseTime = 8,
    kClosePrice = 9,
    kComm = 10,
    kSwap = 11,
    kProfit = 12,
    kPips = 13,
    kBalance = 14,
    kMagic = 16,
    kComment = 17,
};

// Columns of the alternate view: the Ticket, Magic and Comment of the visible table's trades.
enum XColumn : int
{
    kXTicket = 0,
    kXMagic = 1,
    kXComment = 2,
};

// A balance or credit row of a report (deposits, withdrawals, credit): no trade, but the balance moves.
struct BalanceRow
{
    std::string Time; // "yyyy.mm.dd hh:mm[:ss]"
    double Amount = 0.0;
    std::string Comment;
    long long Ticket = 0; // orders rows of the same second as the terminal does
    bool Credit = false;
};

/**
 * The summary the terminal printed in the report, read by the place of its figures (the labels are
 * translated). A figure the report does not print has no value. Gross loss is kept as a negative
 * amount, whichever sign the report prints it with.
 */
struct PrintedSummary
{
    std::optional<long long> Trades;
    std::optional<double> NetProfit;
    std::optional<double> GrossProfit;
    std::optional<double> GrossLoss;
    std::optional<double> Balance;           // a statement's closing balance
    std::optional<double> DepositWithdrawal; // a statement's deposits less withdrawals
    int MoneyDigits = 2;                     // the decimals of its net profit: 0 in an account in yen
};

// The number of an order a tester report's line closes, and the number of that line.
using CloseLineOf = std::pair<std::uint32_t, std::uint32_t>;

// The state that travels with the trade table.
struct ReportState
{
    std::string Title;  // the report's <title>, or the imported file's path
    std::string Symbol; // a tester report's symbol: the older tester's lower-cased, the newer's as written
    double InitialDeposit = 0.0;
    ReportKind Kind = ReportKind::Statement;
    Terminal Writer = Terminal::None;
    RowLayout Layout = RowLayout::Titled;
    std::string CodePage = "windows-1252"; // for showing the report's text; cells keep its bytes
    std::string ReadWarning;               // what the last load could not read (deals left unpaired...); "" when none
    std::vector<BalanceRow> BalanceRows;   // in the report's order; they stay out of the trade table
    std::optional<double> StartBalance;    // the balance before the report's first deal, when it tells
    std::optional<PrintedSummary> Printed; // none for an import, an appended load or a report without one
    int MoneyDigits = 2;                   // the decimals the report prints its money with
    // A MetaTrader 4 tester report's closing lines: the order each closes and the number of the line (the
    // terminal's own order of trades closed in the same minute), sorted by order.
    std::vector<CloseLineOf> CloseLines;
    bool Rescaled = false; // Normalize rescaled the trades: their balance runs from its deposit alone
};

// The summary's first line as its parts: the report title and the report's path.
struct SummaryHeadingParts
{
    std::string Title;
    std::string Path;
};

/**
 * Everything the window keeps for the life of the process: the trade table, the visible table and
 * the alternate view, the two lists, the summary lines and the report state. Tests build as many
 * sessions as they like.
 */
struct Session
{
    TextGrid Full{kFullColumns, 2};
    TextGrid Grid{kGridColumns, 2};
    TextGrid XGrid{kXGridColumns, 2};
    SelectionList Pairs;
    SelectionList Magic;

    ReportState Report;
    std::string ReportPath;                         // the report last chosen for loading
    std::string TradesFile;                         // the file the trade table was last read from: that report
                                                    // or the text file imported since
    std::vector<std::string> Memo{""};              // the summary text box starts with one empty line
    std::optional<SummaryHeadingParts> MemoHeading; // while Memo starts with the summary's heading
    std::vector<std::string> MoreMemo; // what the window shows after Memo: the check and the more statistics
    std::string Check;                 // the line of the last check against the report's own summary; "" when none
    std::optional<bool> Agrees;        // its outcome; none without a printed summary

    TradeValuesCache FullValues;                  // the numbers of Full's rows read so far by the filter pass
    std::shared_ptr<TableFacts> FullFacts;        // the rest it reads once from each version of Full
    VisibleTableFacts ShownFacts;                 // what it leaves with Grid and XGrid for the views
    std::shared_ptr<const MoreFigures> ShownMore; // the more statistics of its visible trades
    std::vector<char> ShownKept;                  // by place in FullFacts' closed trades: the pass kept it
};

// The magic list is shown while it holds at least two entries (the window's layout switch).
inline bool MagicListWanted(int entries)
{
    return entries >= 2;
}
inline bool MagicListWanted(const Session& session)
{
    return MagicListWanted(session.Magic.Count());
}

// Drops the summary texts, the check against the report's own summary and what the last filter pass
// left of its figures: a new table is on its way.
void ForgetSummary(Session& session);

// No-trade test: the P/L cell of the first trade row is empty or exactly "0".
bool NothingLoaded(const Session& session);

// The magic key of a magic text without blanks, the text of its entry in the magic list: "%8s" of it, or
// "           0" when it is empty.
std::string MagicKeyOf(std::string_view magicText);

// Called after every trade line of a load, so that the window can let pending events run.
using TradeLineCallback = std::function<void()>;
// Called after every trade line with how much of the report file has been read, from 0 to 1.
using LoadProgressCallback = std::function<void(double fraction)>;

} // namespace corvane
