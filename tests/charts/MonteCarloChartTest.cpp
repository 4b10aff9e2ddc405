#include "charts/MonteCarloChart.h"

#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane {
namespace {

using test::Box;
using test::Label;
using test::RecordingCanvas;
using test::Stroke;

bool Has(const std::vector<std::string>& drawn, const std::string& primitive)
{
    return std::find(drawn.begin(), drawn.end(), primitive) != drawn.end();
}

// Four trades from 100, five runs: the bands after 2 and 4 trades, the report's curve, the drawdowns.
MonteCarloResult SmallResult()
{
    MonteCarloResult result;
    result.Trades = 4;
    result.Start = 100;
    result.Settings.Runs = 5;
    result.Settings.RuinPct = 15;
    result.CheckpointTrades = {0, 2, 4};
    result.Bands = {{100, 100, 100, 100, 100}, {90, 95, 100, 105, 110}, {80, 90, 100, 110, 120}};
    result.ReportCurve = {100, 104, 120};
    result.Drawdowns = {0, 5, 10, 10, 20};
    result.MaxDrawdown.Report = 10;
    result.MaxDrawdown.ReportRank = 60;
    result.RuinPct = 20;
    return result;
}

TEST(MonteCarloChart, FanOfTheRunsWithTheReportsCurveOverIt)
{
    RecordingCanvas canvas;
    DrawMonteCarloChart(canvas, SmallResult(), kWideWidth);
    const auto& lines = canvas.Segments();
    // Between 80 (y 214) and 120 (y 3): 100 at y 108, 104 at y 87; checkpoints at x 2, 251 and 501.
    EXPECT_TRUE(Has(lines, Stroke(2, 108, 251, 108, 0x404040))) << "the median";
    EXPECT_TRUE(Has(lines, Stroke(251, 108, 501, 108, 0x404040)));
    EXPECT_TRUE(Has(lines, Stroke(2, 108, 251, 87, 0xc00000))) << "the report's curve";
    EXPECT_TRUE(Has(lines, Stroke(251, 87, 501, 3, 0xc00000)));
    EXPECT_TRUE(Has(lines, Stroke(2, 108, 501, 108, 0x808080, PenStyle::Dashed))) << "the start";
    // The last column of the fan: 5-95% from 120 to 80, 25-75% from 110 to 90.
    EXPECT_TRUE(Has(canvas.Fills(), Box(500, 3, 501, 215, 0xd8e4f0)));
    EXPECT_TRUE(Has(canvas.Fills(), Box(500, 55, 501, 162, 0xa8c0dc)));
    EXPECT_TRUE(Has(canvas.Texts(), Label(4, 3, "120")));
    EXPECT_TRUE(Has(canvas.Texts(), Label(4, 200, "80")));
}

TEST(MonteCarloChart, HistogramOfTheDrawdownsWithTheReportsAndTheRuinLevel)
{
    RecordingCanvas canvas;
    DrawMonteCarloChart(canvas, SmallResult(), kWideWidth);
    // 40 bins of 7 pixels from x 513 over 0 to 20: the two runs of 10 make the highest bar, in bin 20.
    EXPECT_TRUE(Has(canvas.Fills(), Box(653, 59, 659, 197, 0x808080)));
    EXPECT_TRUE(Has(canvas.Fills(), Box(513, 128, 519, 197, 0x808080))) << "the run without a drawdown";
    EXPECT_TRUE(Has(canvas.Segments(), Stroke(653, 55, 653, 197, 0xc00000))) << "the report's drawdown";
    EXPECT_TRUE(Has(canvas.Segments(), Stroke(723, 59, 723, 197, 0x404040, PenStyle::Dashed))) << "ruin at 15";
    EXPECT_TRUE(Has(canvas.Texts(), Label(513, 17, "Ruin 20.00%, below start 0.00%")));
    EXPECT_TRUE(Has(canvas.Texts(), Label(513, 31, "Report 10.00, rank 60%")));
}

TEST(MonteCarloChart, NoTradeIsSaidInALine)
{
    RecordingCanvas canvas;
    MonteCarloResult result;
    result.Bands = {{0, 0, 0, 0, 0}};
    result.ReportCurve = {0};
    result.CheckpointTrades = {0};
    DrawMonteCarloChart(canvas, result, kNarrowWidth);
    EXPECT_EQ(canvas.Calls(), "FT");
    EXPECT_EQ(canvas.Fills(), std::vector<std::string>{Box(2, 2, 686, 215, kWhite)});
}

} // namespace
} // namespace corvane
