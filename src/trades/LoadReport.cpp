#include "LoadReport.h"

#include "CodePage.h"
#include "LineReader.h"
#include "Numbers.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

void ResetGrid(TextGrid& grid)
{
    grid.SetRowCount(2);
    grid.BlankRow(1);
}

void Refuse(Session& session)
{
    ResetGrid(session.Grid);
    session.Memo.assign(1, std::string(kRefusal));
    session.Pairs.Clear();
}

} // namespace

bool NothingLoaded(const Session& session)
{
    const std::string_view profit = session.Full.Cell(kProfit, 1);
    return profit.empty() || profit == "0";
}

LoadOutcome LoadReport(Session& session, const std::string& path, const TradeLineCallback& onTradeLine)
{
    const bool append = session.AppendFlag;
    const int firstRow = append ? session.Full.RowCount() : 1;
    session.ReportPath = path;
    session.ReloadFlag = false;
    LineReader reader(path);
    session.Magic.Clear();
    session.MagicListShown = false;

    if (append) {
        const ReportState before = session.Report;
        DetectReportKind(path, session);
        if (session.Report.GeneratorMark != before.GeneratorMark || session.Report.Kind != before.Kind
            || session.Report.Kind == ReportKind::Tester) {
            session.Report.GeneratorMark = before.GeneratorMark;
            session.Report.Kind = before.Kind;
            session.DisplayEnabled = before.Kind == ReportKind::Statement;
            return LoadOutcome::AppendIgnored;
        }
    } else {
        ResetGrid(session.Grid);
        ResetGrid(session.XGrid);
        ResetGrid(session.Full);
        session.Memo.clear();
        DetectReportKind(path, session);
        if (session.Report.GeneratorMark != kGeneratorMark) {
            Refuse(session);
            return LoadOutcome::Refused;
        }
        ReadInitialDeposit(path, session);
        session.Report.CodePage = GuessFileCodePage(path);
    }

    if (reader.IsOpen()) {
        if (!append)
            ReadPreamble(reader, session);
        ReadBody(reader, session, firstRow, onTradeLine);
        session.Pairs.SelectAll();
        session.Magic.SelectAll();
    }

    if (append)
        SortTradeTableByTicket(session.Full);
    else
        session.Full.SetRowCount(session.Full.RowCount() - 1);
    return LoadOutcome::Loaded;
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
