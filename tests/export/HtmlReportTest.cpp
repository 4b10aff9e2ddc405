// The page's every byte for a statement is pinned by the tool's golden cases export-html and
// export-html-magic; here: the summary's own edges, the picture lines and a page without trades. The
// picture file itself: PictureTest.cpp.
#include "export/HtmlExport.h"

#include "ExportSessions.h"
#include "TempDir.h"
#include "analysis/HtmlSummary.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using test::Cells;
using test::SplitCrLf;

TEST(HtmlSummary, ReturnDaysRunFromTheFirstRowToTheLastAndNoFigureIsANegativeZero)
{
    Session session = test::ThreeTrades();
    std::ostringstream out;
    WriteHtmlSummary(out, session.Grid, 10000.0);
    const Cells lines = SplitCrLf(out.str());
    ASSERT_EQ(lines.size(), 15u);
    // The last row is still open, so its open time ends the stretch; -0.024 % prints without a minus.
    EXPECT_EQ(lines[13], "<tr><td align=left><b>Return (2 days)</b></td><td align=right>         0.0</td>"
                         "<td align=left>%</td><td align=left><b>Maximum drawdown</b></td>"
                         "<td align=right>         1.5</td><td>%</td></tr>");
    EXPECT_EQ(session.Grid.Cell(kBalance, 3), "       9997.60") << "no marker is added";

    session.Grid.SetCell(kCloseTime, 3, "2024.01.09 08:00");
    EXPECT_EQ(HtmlReturnDays(session.Grid), 7);
    session.Grid.SetRowCount(1);
    EXPECT_EQ(HtmlReturnDays(session.Grid), 0) << "no trade row";
}

TEST(HtmlSummary, ACellThatIsNotANumberWritesNothing)
{
    Session session = test::ThreeTrades();
    session.Grid.SetCell(kComm, 3, "  x");
    std::ostringstream out;
    EXPECT_THROW(WriteHtmlSummary(out, session.Grid, 10000.0), ConversionError);
    EXPECT_EQ(out.str(), "");
}

TEST(HtmlReport, PictureLinesStandBetweenTheSummaryAndTheTrades)
{
    const std::string picture = "/reports/march.jpg";
    std::ostringstream with, without;
    WriteHtmlReport(with, test::ThreeTrades(), &picture);
    WriteHtmlReport(without, test::ThreeTrades(), nullptr);
    Cells lines = SplitCrLf(with.str());
    ASSERT_GT(lines.size(), 44u);
    EXPECT_EQ(Cells(lines.begin() + 40, lines.begin() + 44),
              (Cells{"</table>", "<br>", "<img src=/reports/march.jpg>",
                     "<table cellspacing=1 cellpadding=3 border=0 width=802>"}));
    lines.erase(lines.begin() + 41, lines.begin() + 43);
    EXPECT_EQ(lines, SplitCrLf(without.str())) << "nothing else differs";
}

TEST(HtmlReport, NoVisibleTradeGivesTheEmptyTradeTable)
{
    Session session = test::ThreeTrades();
    session.Grid.SetRowCount(1);
    session.XGrid.SetRowCount(1);
    std::ostringstream out;
    WriteHtmlReport(out, session, nullptr);
    const Cells lines = SplitCrLf(out.str());
    ASSERT_EQ(lines.size(), 26u + 15u + 8u + 2u);
    EXPECT_EQ(lines[32], "<tr><td align=left><b>Total number of trades</b></td><td align=right>           0</td>"
                         "<td></td><td align=left><b>Percentage profitable</b></td>"
                         "<td align=right>         0.0</td><td>%</td></tr>");
    EXPECT_EQ(lines[39], "<tr><td align=left><b>Return (0 days)</b></td><td align=right>         0.0</td>"
                         "<td align=left>%</td><td align=left><b>Maximum drawdown</b></td>"
                         "<td align=right>         0.0</td><td>%</td></tr>");
    EXPECT_EQ(lines[48], "   <td>Price</td><td>Commission</td><td>Swap</td><td>Profit</td><td>Pips</td>"
                         "<td width=60>Balance</td><td>DD</TD></tr>")
        << "the header row of the trade table comes last";
    EXPECT_EQ(lines.back(), "   </div></body></html>");
}

// Markup in a report's text is shown, never run: raw "<", ">" and '"' of cells, the alternate view's
// title attribute, the page title and the picture's path become entities; entities already there pass.
TEST(HtmlReport, MarkupFromTheReportIsWrittenAsText)
{
    Session session = test::ThreeTrades();
    session.Report.Title = "Statement: \"R&amp;D\" <b>";
    session.Grid.SetCell(kItem, 1, "gbp<img src=x onerror=alert(1)>usd");
    session.XGrid.SetCell(2, 1, "say \"hi\" &lt;ok&gt;");
    const std::string picture = "/reports/<x>.jpg";
    std::ostringstream out;
    WriteHtmlReport(out, session, &picture);
    const std::string page = out.str();
    for (const char* written :
         {"<title>Statement: &quot;R&amp;D&quot; &lt;b&gt;</title>",
          "<td>gbp&lt;img src=x onerror=alert(1)&gt;usd</td>",
          "<td title=\"#         111 say &quot;hi&quot; &lt;ok&gt;\">1001</td>", "<img src=/reports/&lt;x&gt;.jpg>"})
        EXPECT_NE(page.find(written), std::string::npos) << written;
    EXPECT_EQ(page.find("<img src=x"), std::string::npos);
}

} // namespace
} // namespace corvane
