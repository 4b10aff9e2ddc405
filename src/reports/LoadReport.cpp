#include "reports/LoadReport.h"

#include "reports/mt4/Mt4Body.h"
#include "reports/mt4/Mt4Report.h"
#include "reports/mt5/Mt5Report.h"
#include "text/CodePage.h"
#include "text/Errors.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

// The code page is guessed from the first megabyte of the report.
constexpr std::size_t kCodePageSample = 1 << 20;

// A file the terminal did not write: the trades already loaded stay, Memo holds the refusal line.
LoadOutcome Refuse(Session& session)
{
    session.Memo.assign(1, std::string(kRefusal));
    session.MemoHeading.reset();
    session.MoreMemo.clear();
    session.ShownMore.reset();
    session.ShownKept.clear();
    return LoadOutcome::Refused;
}

/**
 * A fresh load reads into tables of its own, `read(staged)` filling the table from row 1 on, the lists and
 * the report state, and puts them in place only when the whole file has been read: a file that fails
 * half-way leaves the trades already loaded as they were.
 */
template <typename Read> LoadOutcome LoadAfresh(Session& session, const std::string& path, Read read)
{
    Session staged;
    staged.Report.Title = session.Report.Title; // a report without a title line keeps the last one
    read(staged);
    staged.Pairs.SelectAll();
    staged.Magic.SelectAll();
    staged.Full.SetRowCount(staged.Full.RowCount() - 1);
    return InstallReadReport(session, std::move(staged.Full), std::move(staged.Pairs), std::move(staged.Magic),
                             std::move(staged.Report), path);
}

/**
 * An appending load writes after the trades already loaded, `read(firstRow)` adding the rows, the list
 * entries and what the report state gains; should it fail, the rows it added are taken away again and
 * the lists and the report state are put back. The magic list, emptied as every load starts, comes back
 * as `magicBefore`. The joined table is sorted by ticket.
 */
template <typename Read>
LoadOutcome LoadAppending(Session& session, const std::string& path, const SelectionList& magicBefore, Read read)
{
    const int rowsBefore = session.Full.RowCount();
    const SelectionList pairsBefore = session.Pairs;
    const ReportState reportBefore = session.Report;
    try {
        // The joined table is no longer what either report's summary describes.
        session.Report.Printed.reset();
        read(rowsBefore);
    } catch (...) {
        session.Full.SetRowCount(rowsBefore);
        session.Pairs = pairsBefore;
        session.Magic = magicBefore;
        session.Report = reportBefore;
        throw;
    }
    session.Pairs.SelectAll();
    session.Magic.SelectAll();
    SortTradeTableByTicket(session.Full);
    session.ReportPath = path;
    session.TradesFile = path;
    return LoadOutcome::Loaded;
}

// A report of the MetaTrader 4 terminal, or a file refused. Only an account statement of the same kind is
// appended.
LoadOutcome LoadMt4Report(Session& session, LineReader& reader, const std::string& path, LoadMode mode,
                          const TradeLineCallback& onTradeLine, std::size_t halvesFrom)
{
    const SelectionList magicBefore = session.Magic;
    if (mode == LoadMode::Append)
        session.Magic.Clear();
    const ReportHead head = ReadReportHead(reader);
    if (mode == LoadMode::Append) {
        if (!reader.IsOpen() || head.Writer != session.Report.Writer || head.Kind != session.Report.Kind
            || head.Kind == ReportKind::Tester)
            return LoadOutcome::AppendIgnored;
        return LoadAppending(session, path, magicBefore, [&](int firstRow) {
            session.Report.Layout = head.Layout;
            ReadBody(reader, session, firstRow, onTradeLine, halvesFrom);
            ThrowIfUnread(reader, path);
        });
    }
    if (!reader.IsOpen() || head.Writer != Terminal::Mt4)
        return Refuse(session);
    return LoadAfresh(session, path, [&](Session& staged) {
        staged.Report.Kind = head.Kind;
        staged.Report.Writer = head.Writer;
        staged.Report.Layout = head.Layout;
        staged.Report.InitialDeposit = InitialDeposit(reader, head.Kind);
        staged.Report.CodePage = GuessCodePage(reader.Start(kCodePageSample));
        if (head.Kind == ReportKind::Tester)
            staged.Report.Printed = ReadTesterSummary(reader); // the results table stands before the trades
        ReadPreamble(reader, staged);
        ReadBody(reader, staged, 1, onTradeLine, halvesFrom);
        if (head.Kind == ReportKind::Statement)
            staged.Report.Printed = ReadStatementSummary(reader); // the lines after the body loop stopped
        if (staged.Report.Printed)
            staged.Report.MoneyDigits = staged.Report.Printed->MoneyDigits;
        ThrowIfUnread(reader, path);
    });
}

// A report of the MetaTrader 5 terminal of the kind DetectMt5Report found, read from the opened `file`.
// Only an account history is appended, to another; these reports have no magic numbers.
LoadOutcome LoadMt5Report(Session& session, LineReader& file, const std::string& path, LoadMode mode, ReportKind kind,
                          const TradeLineCallback& onTradeLine)
{
    if (mode == LoadMode::Replace)
        return LoadAfresh(session, path, [&](Session& staged) {
            staged.Report = ReadMt5Report(file, path, kind, staged.Full, 1, staged.Pairs, onTradeLine);
        });
    const SelectionList magicBefore = session.Magic;
    session.Magic.Clear();
    if (session.Report.Writer != Terminal::Mt5 || session.Report.Kind != ReportKind::Statement
        || kind != ReportKind::Statement)
        return LoadOutcome::AppendIgnored;
    return LoadAppending(session, path, magicBefore, [&](int firstRow) {
        ReportState read = ReadMt5Report(file, path, kind, session.Full, firstRow, session.Pairs, onTradeLine);
        session.Report.ReadWarning = std::move(read.ReadWarning);
        session.Report.BalanceRows.insert(session.Report.BalanceRows.end(), read.BalanceRows.begin(),
                                          read.BalanceRows.end());
    });
}

} // namespace

LoadOutcome InstallReadReport(Session& session, TextGrid full, SelectionList pairs, SelectionList magic,
                              ReportState report, const std::string& path)
{
    session.Full = std::move(full);
    session.FullValues = TradeValuesCache();
    ResetGrid(session.Grid);
    ResetGrid(session.XGrid);
    session.Pairs = std::move(pairs);
    session.Magic = std::move(magic);
    session.Report = std::move(report);
    ForgetSummary(session);
    session.ReportPath = path;
    session.TradesFile = path;
    return LoadOutcome::Loaded;
}

LoadOutcome LoadReport(Session& session, const std::string& path, LoadMode mode, const TradeLineCallback& onTradeLine,
                       const LoadProgressCallback& onProgress, std::size_t halvesFrom)
{
    LineReader reader(path);
    // Without a progress callback the trade line callback is passed on as it is: no step is added.
    // The newer terminal's reports are read through the opened file by a reader of their own.
    bool fileRead = false;
    const TradeLineCallback withProgress = [&] {
        onProgress(fileRead ? reader.FileFraction() : reader.Fraction()); // first: the line callback's events see it
        if (onTradeLine)
            onTradeLine();
    };
    const TradeLineCallback& onLine = onProgress ? withProgress : onTradeLine;
    if (const std::optional<ReportKind> mt5 = DetectMt5Report(reader)) {
        fileRead = true;
        return LoadMt5Report(session, reader, path, mode, *mt5, onLine);
    }
    return LoadMt4Report(session, reader, path, mode, onLine, halvesFrom);
}

void SortTradeTableByTicket(TextGrid& full)
{
    const int trades = full.RowCount() - 1;
    if (trades < 2)
        return;
    std::vector<long long> tickets(trades);
    for (int i = 0; i < trades; ++i)
        tickets[i] = LeadingInteger(full.Cell(kTicket, i + 1));
    std::vector<int> order(trades);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return tickets[a] < tickets[b]; });
    full.PermuteRows(1, order);
}

} // namespace corvane
