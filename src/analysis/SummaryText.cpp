#include "analysis/SummaryText.h"

#include "analysis/MoreStatistics.h"
#include "trades/Numbers.h"

namespace corvane {

std::string SummaryHeading(std::string_view title, std::string_view path)
{
    std::string heading;
    if (!title.empty()) {
        heading.assign(title);
        heading += ", ";
    }
    heading.append(path);
    return heading;
}

std::vector<std::string> SummaryFigureLines(const SummaryFigures& f)
{
    return {
        FormatFigures("Net profit            %12.2f              Initial deposit       %12.2f",
                      {f.NetProfit, f.InitialDeposit}),
        FormatFigures("Gross profit          %12.2f              Interest earned       %12.2f",
                      {f.GrossProfit, f.InterestEarned}),
        FormatFigures("Gross loss            %12.2f              Commission paid       %12.2f",
                      {f.GrossLoss, f.CommissionPaid}),
        "",
        FormatFigures("Total number of trades%12d              Percentage profitable %12.1f%%",
                      {f.Trades, f.PercentProfitable}),
        FormatFigures("Total number of pips  %12d              Average pips per trade%12d",
                      {f.TotalPips, f.AveragePips}),
        "",
        FormatFigures("Number of winning trades%10d              Number of losing trades%11d", {f.Wins, f.Losses}),
        FormatFigures("Average winning trade %12.2f              Average losing trade  %12.2f",
                      {f.AverageWin, f.AverageLoss}),
        FormatFigures("Average winning pips  %12d              Average losing pips   %12d",
                      {f.AverageWinPips, f.AverageLossPips}),
        "",
        FormatFigures("Return (%4d days)    %12.1f%%             Maximum drawdown      %12.1f%%",
                      {f.ReturnDays, f.Return, f.MaximumDrawdown}),
    };
}

namespace {

void StartSummary(Session& session)
{
    session.Memo.clear();
    session.Memo.push_back(SummaryHeading(session.Report.Title, session.ReportPath));
    session.MemoHeading = SummaryHeadingParts{session.Report.Title, session.ReportPath};
    session.Memo.emplace_back();
    session.MoreMemo.clear();
}

void FinishSummary(Session& session, const std::vector<TradeValues>& trades)
{
    Statistics statistics = ComputeStatistics(trades, session.Report.InitialDeposit);
    MarkDrawdown(session.Grid, statistics, session.Report.InitialDeposit);
    statistics.Figures.ReturnDays = ReportDays(session.Grid);
    for (std::string& line : SummaryFigureLines(statistics.Figures))
        session.Memo.push_back(std::move(line));
    ShowMoreStatistics(session, trades);
}

} // namespace

void ShowSummary(Session& session)
{
    StartSummary(session);
    FinishSummary(session, ReadTradeValues(session.Grid));
}

void ShowSummary(Session& session, const std::vector<TradeValues>& trades)
{
    StartSummary(session);
    FinishSummary(session, trades);
}

} // namespace corvane
