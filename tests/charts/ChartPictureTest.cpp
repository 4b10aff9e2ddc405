#include "charts/ChartPicture.h"

#include "ChartGrids.h"
#include "TempDir.h"
#include "text/Errors.h"

#include <QImage>

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::ChartGrid;
using test::ChartRow;

Rgb PixelAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

Session OneTradeSession()
{
    Session session;
    session.Report.InitialDeposit = 1000;
    session.Grid = ChartGrid({ChartRow{.CloseTime = "2005.01.03 10:45", .Profit = "    100.00", .Pips = "    25"}});
    return session;
}

bool InsideIsWhite(const QImage& image)
{
    for (int y = 2; y < kSurfaceHeight - 2; ++y)
        for (int x = 2; x < kWideWidth - 2; ++x)
            if (PixelAt(image, x, y) != kWhite)
                return false;
    return true;
}

TEST(ChartPicture, IsTheFramedSurfaceWithTheChartOfTheView)
{
    const Session session = OneTradeSession();
    const QImage curve = DrawChartPicture(session, ViewMode::EquityCurve);
    ASSERT_EQ(curve.size(), QSize(809, 217));
    EXPECT_EQ(PixelAt(curve, 0, 0), 0x606060u);
    EXPECT_EQ(PixelAt(curve, 807, 100), 0xc0c0c0u);
    EXPECT_EQ(PixelAt(curve, 808, 100), kWhite);
    EXPECT_EQ(PixelAt(curve, 2, 214), 0x808080u) << "the curve starts at the deposit";
    EXPECT_EQ(PixelAt(curve, 400, 214), 0xe0e0e0u) << "the reference line";

    const QImage byOpen = DrawChartPicture(session, ViewMode::TimeByOpen);
    EXPECT_EQ(PixelAt(byOpen, 0, 0), 0x606060u);
    EXPECT_EQ(PixelAt(byOpen, 202, 50), 0x00c000u) << "Monday 10 h";
    const QImage byClose = DrawChartPicture(session, ViewMode::TimeByClose);
    EXPECT_EQ(PixelAt(byClose, 202, 50), 0x00c000u) << "closed in the same hour";

    const Session empty;
    for (const ViewMode view : {ViewMode::EquityCurve, ViewMode::TimeByOpen, ViewMode::TimeByClose}) {
        const QImage frameOnly = DrawChartPicture(empty, view);
        EXPECT_EQ(PixelAt(frameOnly, 1, 1), 0x606060u);
        EXPECT_TRUE(InsideIsWhite(frameOnly)) << "no trades, no chart";
    }
}

TEST(ChartPicture, SavedAsPngReadsBackUnchanged)
{
    const test::TempDir dir;
    const QImage picture = DrawChartPicture(OneTradeSession(), ViewMode::EquityCurve);
    const std::string path = dir.File("chart.png");
    SaveChartPicture(picture, path);
    const QImage read(QString::fromStdString(path));
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.convertToFormat(picture.format()), picture);

    EXPECT_THROW(SaveChartPicture(picture, dir.File("missing/chart.png")), FileError);
}

} // namespace
} // namespace corvane
