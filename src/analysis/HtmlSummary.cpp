#include "analysis/HtmlSummary.h"

#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "trades/Session.h"

#include <string>
#include <vector>

namespace corvane {

namespace {

std::vector<std::string> SummaryRows(const SummaryFigures& f)
{
    return {
        "<br>",
        "<table border=0>",
        FormatFigures("<tr><td width=140 align=left><b>Net profit</b></td><td width=100 align=right>%12.2f</td>"
                      "<td width=270></td><td width=140 align=left><b>Initial deposit</b></td>"
                      "<td width=100 align=right>%12.2f</td><td></td></tr>",
                      {f.NetProfit, f.InitialDeposit}),
        FormatFigures("<tr><td align=left><b>Gross profit</b></td><td align=right>%12.2f</td><td></td>"
                      "<td align=left><b>Interest earned</b></td><td align=right>%12.2f</td><td></td></tr>",
                      {f.GrossProfit, f.InterestEarned}),
        FormatFigures("<tr><td align=left><b>Gross loss</b></td><td align=right>%12.2f</td><td></td>"
                      "<td align=left><b>Commission paid</b></td><td align=right>%12.2f</td><td></td></tr>",
                      {f.GrossLoss, f.CommissionPaid}),
        "<tr><td>&nbsp;</tr>",
        FormatFigures("<tr><td align=left><b>Total number of trades</b></td><td align=right>%12d</td><td></td>"
                      "<td align=left><b>Percentage profitable</b></td><td align=right>%12.1f</td>"
                      "<td>%%</td></tr>",
                      {f.Trades, f.PercentProfitable}),
        FormatFigures("<tr><td align=left><b>Total number of pips</b></td><td align=right>%12d</td><td></td>"
                      "<td align=left><b>Average pips per trade</b></td><td align=right>%12d</td><td></td></tr>",
                      {f.TotalPips, f.AveragePips}),
        "<tr><td>&nbsp;</tr>",
        FormatFigures("<tr><td align=left><b>Number of winning trades</b></td><td align=right>%10d</td><td></td>"
                      "<td align=left><b>Number of losing trades</b></td><td align=right>%11d</td><td></td></tr>",
                      {f.Wins, f.Losses}),
        FormatFigures("<tr><td align=left><b>Average winning trade</b></td><td align=right>%12.2f</td><td></td>"
                      "<td align=left><b>Average losing trade</b></td><td align=right>%12.2f</td><td></td></tr>",
                      {f.AverageWin, f.AverageLoss}),
        FormatFigures("<tr><td align=left><b>Average winning pips</b></td><td align=right>%12d</td><td></td>"
                      "<td align=left><b>Average losing pips</b></td><td align=right>%12d</td><td></td></tr>",
                      {f.AverageWinPips, f.AverageLossPips}),
        "<tr><td>&nbsp;</tr>",
        FormatFigures("<tr><td align=left><b>Return (%d days)</b></td><td align=right>%12.1f</td>"
                      "<td align=left>%%</td><td align=left><b>Maximum drawdown</b></td>"
                      "<td align=right>%12.1f</td><td>%%</td></tr>",
                      {f.ReturnDays, f.Return, f.MaximumDrawdown}),
        "</table>",
    };
}

} // namespace

int HtmlReturnDays(const TextGrid& grid)
{
    const int last = grid.RowCount() - 1;
    if (last < 1)
        return 0;
    const std::string_view closeTime = grid.Cell(kCloseTime, last);
    return DaysBetween(grid.Cell(kOpenTime, 1), StartsWithDigit(closeTime) ? closeTime : grid.Cell(kOpenTime, last));
}

void WriteHtmlSummary(std::ostream& out, const TextGrid& grid, double initialDeposit)
{
    SummaryFigures figures = ComputeStatistics(grid, initialDeposit).Figures;
    figures.ReturnDays = HtmlReturnDays(grid);
    for (const std::string& row : SummaryRows(figures))
        out << row << "\r\n";
}

} // namespace corvane
