#include "LoadReport.h"

#include "CodePage.h"
#include "Errors.h"
#include "LineReader.h"
#include "Numbers.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

void ThrowIfUnread(const LineReader& reader, const std::string& path)
{
    if (reader.Failed())
        throw FileError("Could not read " + path + ": the file ended in a read error; the trades loaded before are kept.");
}

// A fresh load reads into tables of its own and puts them in place only when the whole file has
// been read: a refused file, or one that fails half-way, leaves the trades already loaded as they were.
LoadOutcome LoadAfresh(Session& session, LineReader& reader, const std::string& path,
                       const TradeLineCallback& onTradeLine)
{
    Session staged;
    DetectReportKind(path, staged);
    if (!reader.IsOpen() || staged.Report.GeneratorMark != kGeneratorMark) {
        session.Memo.assign(1, std::string(kRefusal));
        return LoadOutcome::Refused;
    }
    ReadInitialDeposit(path, staged);
    staged.Report.CodePage = GuessFileCodePage(path);
    staged.Report.Title = session.Report.Title; // a report without a title line keeps the last one
    ReadPreamble(reader, staged);
    ReadBody(reader, staged, 1, onTradeLine);
    ThrowIfUnread(reader, path);
    staged.Pairs.SelectAll();
    staged.Magic.SelectAll();
    staged.Full.SetRowCount(staged.Full.RowCount() - 1);

    session.Full = std::move(staged.Full);
    session.FullValues = TradeValuesCache();
    ResetGrid(session.Grid);
    ResetGrid(session.XGrid);
    session.Pairs = std::move(staged.Pairs);
    session.Magic = std::move(staged.Magic);
    session.MagicListShown = false;
    session.Report = std::move(staged.Report);
    session.DisplayEnabled = staged.DisplayEnabled;
    session.Memo.clear();
    session.ReportPath = path;
    return LoadOutcome::Loaded;
}

// An appending load writes after the trades already loaded; should it fail, the rows it added are
// taken away again and the lists and report state are put back. An ignored file leaves the magic list
// empty, as every load starts with it emptied.
LoadOutcome LoadAppending(Session& session, LineReader& reader, const std::string& path,
                          const TradeLineCallback& onTradeLine)
{
    const SelectionList magicBefore = session.Magic;
    session.Magic.Clear();
    session.MagicListShown = false;
    Session probe;
    DetectReportKind(path, probe);
    if (!reader.IsOpen() || probe.Report.GeneratorMark != session.Report.GeneratorMark
        || probe.Report.Kind != session.Report.Kind || probe.Report.Kind == ReportKind::Tester)
        return LoadOutcome::AppendIgnored;

    const int rowsBefore = session.Full.RowCount();
    const SelectionList pairsBefore = session.Pairs;
    const ReportState reportBefore = session.Report;
    try {
        session.Report.Layout = probe.Report.Layout;
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
    return LoadOutcome::Loaded;
}

} // namespace

bool NothingLoaded(const Session& session)
{
    const std::string_view profit = session.Full.Cell(kProfit, 1);
    return profit.empty() || profit == "0";
}

LoadOutcome LoadReport(Session& session, const std::string& path, const TradeLineCallback& onTradeLine)
{
    session.ReloadFlag = false;
    LineReader reader(path);
    return session.AppendFlag ? LoadAppending(session, reader, path, onTradeLine)
                              : LoadAfresh(session, reader, path, onTradeLine);
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
