#include "trades/LoadReport.h"

#include "trades/CodePage.h"
#include "trades/Errors.h"
#include "trades/LineReader.h"
#include "trades/Mt5Load.h"
#include "trades/Mt5Report.h"
#include "trades/Numbers.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

// The code page is guessed from the first megabyte of the report.
constexpr std::size_t kCodePageSample = 1 << 20;

// A fresh load reads into tables of its own and puts them in place only when the whole file has been
// read: a refused file, or one that fails half-way, leaves the trades already loaded as they were.
LoadOutcome LoadAfresh(Session& session, LineReader& reader, const std::string& path,
                       const TradeLineCallback& onTradeLine)
{
    const ReportHead head = ReadReportHead(reader);
    if (!reader.IsOpen() || head.GeneratorMark != kGeneratorMark) {
        session.Memo.assign(1, std::string(kRefusal));
        session.MemoHeading.reset();
        session.MoreMemo.clear();
        session.ShownMore.reset();
        session.ShownKept.clear();
        return LoadOutcome::Refused;
    }
    Session staged;
    staged.Report.Kind = head.Kind;
    staged.Report.GeneratorMark = head.GeneratorMark;
    staged.Report.Layout = head.Layout;
    staged.Report.InitialDeposit = InitialDeposit(reader, head.Kind);
    staged.Report.CodePage = GuessCodePage(reader.Start(kCodePageSample));
    staged.Report.Title = session.Report.Title; // a report without a title line keeps the last one
    if (head.Kind == ReportKind::Tester)
        staged.Report.Printed = ReadTesterSummary(reader); // the results table stands before the trades
    ReadPreamble(reader, staged);
    ReadBody(reader, staged, 1, onTradeLine);
    if (head.Kind == ReportKind::Statement)
        staged.Report.Printed = ReadStatementSummary(reader); // the lines after the body loop stopped
    if (staged.Report.Printed)
        staged.Report.MoneyDigits = staged.Report.Printed->MoneyDigits;
    ThrowIfUnread(reader, path);
    staged.Pairs.SelectAll();
    staged.Magic.SelectAll();
    staged.Full.SetRowCount(staged.Full.RowCount() - 1);

    return InstallReadReport(session, std::move(staged.Full), std::move(staged.Pairs), std::move(staged.Magic),
                             std::move(staged.Report), path);
}

// An appending load writes after the trades already loaded; should it fail, the rows it added are
// taken away again and the lists and report state are put back. An ignored file leaves the magic list
// empty, as every load starts with it emptied.
LoadOutcome LoadAppending(Session& session, LineReader& reader, const std::string& path,
                          const TradeLineCallback& onTradeLine)
{
    const SelectionList magicBefore = session.Magic;
    session.Magic.Clear();
    const ReportHead head = ReadReportHead(reader);
    if (!reader.IsOpen() || head.GeneratorMark != session.Report.GeneratorMark || head.Kind != session.Report.Kind
        || head.Kind == ReportKind::Tester)
        return LoadOutcome::AppendIgnored;

    const int rowsBefore = session.Full.RowCount();
    const SelectionList pairsBefore = session.Pairs;
    const ReportState reportBefore = session.Report;
    try {
        session.Report.Layout = head.Layout;
        // The joined table is no longer what either report's summary describes.
        session.Report.Printed.reset();
        ReadBody(reader, session, rowsBefore, onTradeLine);
        ThrowIfUnread(reader, path);
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
    session.Memo.clear();
    session.MemoHeading.reset();
    session.MoreMemo.clear();
    session.ShownMore.reset();
    session.ShownKept.clear();
    session.Check.clear();
    session.Agrees.reset();
    session.ReportPath = path;
    session.TradesFile = path;
    return LoadOutcome::Loaded;
}

bool NothingLoaded(const Session& session)
{
    const std::string_view profit = session.Full.Cell(kProfit, 1);
    return profit.empty() || profit == "0";
}

LoadOutcome LoadReport(Session& session, const std::string& path, LoadMode mode, const TradeLineCallback& onTradeLine,
                       const LoadProgressCallback& onProgress)
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
    return mode == LoadMode::Append ? LoadAppending(session, reader, path, onLine)
                                    : LoadAfresh(session, reader, path, onLine);
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
