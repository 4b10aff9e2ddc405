#include "HtmlExport.h"

#include "Errors.h"
#include "ExportSessions.h"
#include "HtmlSummary.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

// ThreeTrades: net 100 - 152.40 + 50; wins 100 and 50 (pips 10 and 5), one loss of 150 (pips -20).
// The return covers 2 days: from the first row's open to the last row's open, as it is still open.
// A return of -0.024 % prints as 0.0, without a minus sign. Drawdown 152.40 of 10100.00.
const Lines kSummary = {
    "<br>",
    "<table border=0>",
    "<tr><td width=140 align=left><b>Net profit</b></td><td width=100 align=right>       -2.40</td>"
    "<td width=270></td><td width=140 align=left><b>Initial deposit</b></td>"
    "<td width=100 align=right>    10000.00</td><td></td></tr>",
    "<tr><td align=left><b>Gross profit</b></td><td align=right>      150.00</td><td></td>"
    "<td align=left><b>Interest earned</b></td><td align=right>       -0.40</td><td></td></tr>",
    "<tr><td align=left><b>Gross loss</b></td><td align=right>      150.00</td><td></td>"
    "<td align=left><b>Commission paid</b></td><td align=right>        2.00</td><td></td></tr>",
    "<tr><td>&nbsp;</tr>",
    "<tr><td align=left><b>Total number of trades</b></td><td align=right>           3</td><td></td>"
    "<td align=left><b>Percentage profitable</b></td><td align=right>        66.7</td><td>%</td></tr>",
    "<tr><td align=left><b>Total number of pips</b></td><td align=right>          -5</td><td></td>"
    "<td align=left><b>Average pips per trade</b></td><td align=right>          -1</td><td></td></tr>",
    "<tr><td>&nbsp;</tr>",
    "<tr><td align=left><b>Number of winning trades</b></td><td align=right>         2</td><td></td>"
    "<td align=left><b>Number of losing trades</b></td><td align=right>          1</td><td></td></tr>",
    "<tr><td align=left><b>Average winning trade</b></td><td align=right>       75.00</td><td></td>"
    "<td align=left><b>Average losing trade</b></td><td align=right>      150.00</td><td></td></tr>",
    "<tr><td align=left><b>Average winning pips</b></td><td align=right>           7</td><td></td>"
    "<td align=left><b>Average losing pips</b></td><td align=right>          20</td><td></td></tr>",
    "<tr><td>&nbsp;</tr>",
    "<tr><td align=left><b>Return (2 days)</b></td><td align=right>         0.0</td><td align=left>%</td>"
    "<td align=left><b>Maximum drawdown</b></td><td align=right>         1.5</td><td>%</td></tr>",
    "</table>",
};

TEST(HtmlSummary, FifteenLinesOfTheStatistics)
{
    const Session session = test::ThreeTrades();
    std::ostringstream out;
    WriteHtmlSummary(out, session.Grid, 10000.0);
    EXPECT_EQ(test::CrLfLines(out.str()), kSummary);
    EXPECT_EQ(session.Grid.Cell(kBalance, 3), "       9997.60") << "no marker is added";
}

TEST(HtmlSummary, ReturnDaysUseTheFirstAndLastRowsOnly)
{
    Session session = test::ThreeTrades();
    EXPECT_EQ(HtmlReturnDays(session.Grid), 2);
    session.Grid.SetCell(kCloseTime, 3, "2024.01.09 08:00");
    EXPECT_EQ(HtmlReturnDays(session.Grid), 7);
    session.Grid.SetRowCount(1);
    EXPECT_EQ(HtmlReturnDays(session.Grid), 0) << "no trade row";
}

TEST(HtmlSummary, CellThatIsNotANumberWritesNothing)
{
    Session session = test::ThreeTrades();
    session.Grid.SetCell(kComm, 3, "  x");
    std::ostringstream out;
    EXPECT_THROW(WriteHtmlSummary(out, session.Grid, 10000.0), ConversionError);
    EXPECT_EQ(out.str(), "");
}

TEST(HtmlReport, HeadHeadingSummaryAndStripedTradeRows)
{
    const Session session = test::ThreeTrades();
    std::ostringstream out;
    WriteHtmlReport(out, session, nullptr);
    const Lines lines = test::CrLfLines(out.str());
    ASSERT_EQ(lines.size(), 26u + kSummary.size() + 8u + 3u * 2u + 2u);
    EXPECT_EQ(lines[0], "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                        "\"http://www.w3.org/TR/html4/strict.dtd\">");
    EXPECT_EQ(lines[3], "    <title>Statement: 42 - Test</title>");
    EXPECT_EQ(lines[5], "    <link rel=\"help\" href=\"https://corvane.example/help\">");
    EXPECT_EQ(lines[25], "<div style=\"font: 20pt Times New Roman\"><b>Corvane4 - 1.8</b></div><br>");
    EXPECT_EQ(Lines(lines.begin() + 26, lines.begin() + 41), kSummary);
    EXPECT_EQ(lines[41], "<table cellspacing=1 cellpadding=3 border=0 width=802>") << "no picture lines";
    const Lines rows(lines.begin() + 49, lines.end());
    const Lines expectedRows = {
        "<tr align=right><td title=\"#         111 first\">1001</td><td>2024.01.02 10:00</td><td>buy</td>"
        "<td>1.00</td><td>eurusd</td><td>1.10000</td><td>0.00000</td><td>0.00000</td>"
        "<td>2024.01.02 12:00</td><td>1.10100</td><td>  0.00</td><td>  0.00</td><td>    100.00</td>"
        "<td>    10</td><td>      10100.00</td><td></td>",
        "</tr>",
        "<tr bgcolor=#E0E0E0 align=right><td title=\"#             \">1002</td><td>2024.01.03 09:00</td>"
        "<td>sell</td><td>1.00</td><td>gbpusd</td><td>1.25000</td><td>0.00000</td><td>0.00000</td>"
        "<td>2024.01.05 17:00</td><td>1.25200</td><td> -2.00</td><td> -0.40</td><td>   -150.00</td>"
        "<td>   -20</td><td>       9947.60</td><td>*</td>",
        "</tr>",
        "<tr align=right><td title=\"#         111 \">1003</td><td>2024.01.04 10:00</td><td>buy</td>"
        "<td>1.00</td><td>eurusd</td><td>1.10000</td><td>0.00000</td><td>0.00000</td><td></td>"
        "<td>1.10050</td><td>  0.00</td><td>  0.00</td><td>     50.00</td><td>     5</td>"
        "<td>       9997.60</td><td></td>",
        "</tr>",
        "   </table><br><br>",
        "   </div></body></html>",
    };
    EXPECT_EQ(rows, expectedRows);
}

TEST(HtmlReport, PictureLinesStandBetweenTheSummaryAndTheTrades)
{
    const std::string picture = "/reports/march.jpg";
    std::ostringstream out;
    WriteHtmlReport(out, test::ThreeTrades(), &picture);
    const Lines lines = test::CrLfLines(out.str());
    EXPECT_EQ(lines[40], "</table>");
    EXPECT_EQ(lines[41], "<br>");
    EXPECT_EQ(lines[42], "<img src=/reports/march.jpg>");
    EXPECT_EQ(lines[43], "<table cellspacing=1 cellpadding=3 border=0 width=802>");
}

TEST(HtmlReport, NoVisibleTradeGivesTheEmptyTradeTable)
{
    Session session = test::ThreeTrades();
    session.Grid.SetRowCount(1);
    session.XGrid.SetRowCount(1);
    std::ostringstream out;
    WriteHtmlReport(out, session, nullptr);
    const Lines lines = test::CrLfLines(out.str());
    ASSERT_EQ(lines.size(), 26u + 15u + 8u + 2u);
    EXPECT_EQ(lines[32], "<tr><td align=left><b>Total number of trades</b></td>"
                         "<td align=right>           0</td><td></td>"
                         "<td align=left><b>Percentage profitable</b></td>"
                         "<td align=right>         0.0</td><td>%</td></tr>");
    EXPECT_EQ(lines[39], "<tr><td align=left><b>Return (0 days)</b></td><td align=right>         0.0</td>"
                         "<td align=left>%</td><td align=left><b>Maximum drawdown</b></td>"
                         "<td align=right>         0.0</td><td>%</td></tr>");
}

} // namespace
} // namespace corvane
