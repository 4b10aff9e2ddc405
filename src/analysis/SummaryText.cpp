#include "analysis/SummaryText.h"

#include "analysis/MoreStatistics.h"
#include "text/Numbers.h"
#include "trades/CellErrors.h"

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

// `closed` gives the more statistics once the drawdown is marked: its trades may view the visible table's cells.
template <typename Closed>
Statistics FinishSummary(Session& session, const std::vector<TradeValues>& values, Closed closed)
{
    Statistics statistics = ComputeStatistics(values, session.Report.InitialDeposit);
    MarkDrawdown(session.Grid, statistics, session.Report.InitialDeposit);
    statistics.Figures.ReturnDays = closed.Days();
    for (std::string& line : SummaryFigureLines(statistics.Figures))
        session.Memo.push_back(std::move(line));
    ShowMoreStatistics(session, closed.Figures());
    return statistics;
}

// The more statistics and the days read from the visible table.
class FromGrid
{
public:
    FromGrid(const Session& session, const std::vector<TradeValues>& values) : m_session(session), m_values(values) {}
    int Days() const { return ReportDays(m_session.Grid); }
    MoreFigures Figures() const
    {
        return ComputeMoreStatistics(
            ClosedTrades(m_session.Grid, m_session.XGrid, kXMagic, m_session.Report, &m_values), m_session.Report);
    }

private:
    const Session& m_session;
    const std::vector<TradeValues>& m_values;
};

// ... as the filter pass found them.
class FromPass
{
public:
    FromPass(const Session& session, const VisibleTrades& visible) : m_session(session), m_visible(visible) {}
    int Days() const { return m_visible.Days; }
    MoreFigures Figures() const
    {
        if (m_visible.More)
            return *m_visible.More;
        return ComputeMoreStatistics(*m_visible.All, &m_visible.Visible, *m_visible.Symbols, *m_visible.Magics,
                                     m_session.Report);
    }

private:
    const Session& m_session;
    const VisibleTrades& m_visible;
};

} // namespace

void ShowSummary(Session& session)
{
    StartSummary(session);
    ReadingVisibleTable(session, [&] {
        const std::vector<TradeValues> values = ReadTradeValues(session.Grid);
        FinishSummary(session, values, FromGrid(session, values));
    });
}

Statistics ShowSummary(Session& session, const VisibleTrades& visible)
{
    StartSummary(session);
    return ReadingVisibleTable(session,
                               [&] { return FinishSummary(session, visible.Values, FromPass(session, visible)); });
}

} // namespace corvane
