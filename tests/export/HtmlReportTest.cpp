// The page's every byte for a statement is pinned by the tool's golden cases export-html and
// export-html-magic; here: the summary's own edges, the picture lines, a page without trades and the
// picture file itself.
#include "export/HtmlExport.h"

#include "ExportSessions.h"
#include "TempDir.h"
#include "analysis/HtmlSummary.h"
#include "charts/EquityCurve.h"
#include "export/JpegWriter.h"
#include "trades/Errors.h"

#include <QImage>

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

// ---- the picture beside the report ----------------------------------------------------------------

// A JPEG file read back by Qt's own decoder, apart from the encoder under test.
QImage Decode(const std::string& path)
{
    QImage image;
    EXPECT_TRUE(image.load(QString::fromStdString(path), "JPEG")) << path;
    return image;
}

TEST(Picture, HtmlExportSavesTheWholeSurfaceBesideTheReportOrNoFileWithoutIt)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    session.ReportPath = dir.File("march.htm");
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    ImageCanvas canvas;
    DrawChartFrame(canvas, kNarrowWidth);
    ASSERT_TRUE(ExportHtml(session, page, PictureTarget{canvas, kNarrowWidth}));

    const QImage picture = Decode(dir.File("march.jpg"));
    EXPECT_EQ(picture.size(), QSize(809, 217));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32) << "three colour components";
    EXPECT_NE(test::ReadBytes(page).find("\r\n<br>\r\n<img src=" + dir.File("march.jpg") + ">\r\n<table"),
              std::string::npos);

    std::filesystem::remove(dir.File("march.jpg"));
    ASSERT_TRUE(ExportHtml(session, page, std::nullopt));
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.jpg")));
    EXPECT_EQ(test::ReadBytes(page).find("<img"), std::string::npos);
}

TEST(Picture, JpegKeepsTheColoursAtQualityHundred)
{
    test::TempDir dir;
    QImage image(809, 217, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x80, 0xc0));
    SaveJpeg(image, dir.File("blue.jpg"));
    const QColor centre = Decode(dir.File("blue.jpg")).pixelColor(404, 108);
    EXPECT_NEAR(centre.red(), 0x20, 2);
    EXPECT_NEAR(centre.green(), 0x80, 2);
    EXPECT_NEAR(centre.blue(), 0xc0, 2);
}

TEST(Picture, UnwritablePictureIsAFileErrorAndThePageIsNotWritten)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    session.ReportPath = dir.File("missing-folder/march.htm");
    ImageCanvas canvas;
    EXPECT_THROW(ExportHtml(session, dir.File("march.html"), PictureTarget{canvas, kWideWidth}), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.html")));
    EXPECT_THROW(SaveJpeg(QImage(), dir.File("none.jpg")), FileError);
}

TEST(Picture, EncoderErrorIsAFileErrorAndLeavesNoFile)
{
    test::TempDir dir;
    const std::string path = dir.Write("wide.jpg", "the picture of last week");
    try {
        SaveJpeg(QImage(70000, 1, QImage::Format_RGB32), path); // wider than a JPEG may be
        FAIL() << "no error";
    } catch (const FileError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Cannot write the picture '" + path + "': ", 0), 0u) << message;
    }
    EXPECT_EQ(test::ReadBytes(path), "the picture of last week");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

} // namespace
} // namespace corvane
