#include "trades/Mt5Load.h"

#include "trades/LineReader.h"
#include "trades/Mt5Report.h"

namespace corvane {

namespace {

LoadOutcome LoadAfresh(Session& session, LineReader& file, const std::string& path, ReportKind kind,
                       const TradeLineCallback& onTradeLine)
{
    TextGrid full(kFullColumns, 2);
    SelectionList pairs;
    ReportState report = ReadMt5Report(file, path, kind, full, 1, pairs, onTradeLine);
    full.SetRowCount(full.RowCount() - 1);
    pairs.SelectAll();

    return InstallReadReport(session, std::move(full), std::move(pairs), SelectionList(), std::move(report), path);
}

LoadOutcome LoadAppending(Session& session, LineReader& file, const std::string& path, ReportKind kind,
                          const TradeLineCallback& onTradeLine)
{
    const SelectionList magicBefore = session.Magic;
    session.Magic.Clear();
    if (session.Report.GeneratorMark != kMt5GeneratorMark || session.Report.Kind != ReportKind::Statement
        || kind != ReportKind::Statement)
        return LoadOutcome::AppendIgnored;

    const int rowsBefore = session.Full.RowCount();
    const SelectionList pairsBefore = session.Pairs;
    ReportState report;
    try {
        report = ReadMt5Report(file, path, kind, session.Full, rowsBefore, session.Pairs, onTradeLine);
    } catch (...) {
        session.Full.SetRowCount(rowsBefore);
        session.Pairs = pairsBefore;
        session.Magic = magicBefore;
        throw;
    }
    session.Report.ReadWarning = std::move(report.ReadWarning);
    // The joined table is no longer what either report's summary describes.
    session.Report.Printed.reset();
    session.Report.BalanceRows.insert(session.Report.BalanceRows.end(), report.BalanceRows.begin(),
                                      report.BalanceRows.end());
    session.Pairs.SelectAll();
    SortTradeTableByTicket(session.Full);
    session.ReportPath = path;
    session.TradesFile = path;
    return LoadOutcome::Loaded;
}

} // namespace

LoadOutcome LoadMt5Report(Session& session, LineReader& file, const std::string& path, LoadMode mode, ReportKind kind,
                          const TradeLineCallback& onTradeLine)
{
    return mode == LoadMode::Append ? LoadAppending(session, file, path, kind, onTradeLine)
                                    : LoadAfresh(session, file, path, kind, onTradeLine);
}

} // namespace corvane
