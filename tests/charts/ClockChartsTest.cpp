#include "ChartGrids.h"
#include "RecordingCanvas.h"
#include "charts/CalendarCurve.h"
#include "charts/ComparisonChart.h"
#include "charts/TimeOfWeekChart.h"
#include "text/CivilTime.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace corvane {
namespace {

using test::ChartGrid;
using test::ChartRow;
using test::RecordingCanvas;

constexpr int kFirstX = 65;
constexpr int kBinWidth = 4;

// The bars drawn, by bin: the rows and the colour of each ("left,top-right,bottom #colour" without x).
std::map<int, std::string> BarsByBin(const RecordingCanvas& canvas)
{
    std::map<int, std::string> bars;
    for (const std::string& fill : canvas.Fills()) {
        if (fill.ends_with(" #ffffff"))
            continue;
        const int left = std::stoi(fill);
        EXPECT_EQ(std::stoi(fill.substr(fill.find('-') + 1)), left + kBinWidth) << fill;
        const std::string top = fill.substr(fill.find(',') + 1, fill.find('-') - fill.find(',') - 1);
        bars[(left - kFirstX) / kBinWidth] += top + fill.substr(fill.find(',', fill.find('-'))) + ";";
    }
    return bars;
}

// Trades at random hours of a fortnight, some of them a pip result of 0.
TextGrid RandomWeek(std::mt19937& random)
{
    std::vector<ChartRow> rows;
    for (int i = 0; i < 40; ++i) {
        const long long open = *TimeTextSeconds("2024.03.04 00:00")
                               + static_cast<long long>(random() % (14 * 24)) * 3600
                               + static_cast<long long>(random() % 3600);
        rows.push_back({.OpenTime = TimeText(open, false),
                        .CloseTime = TimeText(open + 5400, false),
                        .Pips = std::to_string(static_cast<int>(random() % 41) - 20)});
    }
    return ChartGrid(rows);
}

TEST(ClockCharts, AShiftMovesEveryBarOfTheTimeChartByExactlyTheShift)
{
    std::mt19937 random(26);
    const TextGrid grid = RandomWeek(random);
    for (const bool closeTimes : {false, true}) {
        RecordingCanvas own;
        DrawTimeOfWeekChart(own, grid, closeTimes, kWideWidth);
        for (const int hours : {1, 3, -7, 30}) {
            const ClockShift clock = ClockShift::Seconds(hours * 3600LL);
            RecordingCanvas shifted;
            DrawTimeOfWeekChart(shifted, grid, closeTimes, kWideWidth, kSurfaceHeight, &clock);
            std::map<int, std::string> moved;
            for (const auto& [bin, bar] : BarsByBin(own))
                moved[((bin + hours) % 168 + 168) % 168] = bar;
            EXPECT_EQ(BarsByBin(shifted), moved) << hours << " h";
        }
    }
}

TEST(ClockCharts, TheCurveByCloseTimeEndsWhereTheCurveInTableOrderEnds)
{
    Session session;
    session.Report.InitialDeposit = 1000;
    // In table order the second trade closed first: the calendar curve takes it first.
    session.Grid = ChartGrid({{.OpenTime = "2024.01.02 10:00", .CloseTime = "2024.01.05 10:00", .Profit = "    100.00"},
                              {.OpenTime = "2024.01.02 11:00", .CloseTime = "2024.01.03 10:00", .Profit = "   -300.00"},
                              {.OpenTime = "2024.01.04 09:00", .CloseTime = "", .Profit = "     50.00"}});
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawCalendarCurve(canvas, session, kWideWidth));
    const std::vector<std::string>& texts = canvas.Texts();
    // From 1000 down to 700 and up to 800; the open position has no close time and no place.
    EXPECT_EQ(texts[0], test::Label(4, 3, "1000"));
    EXPECT_EQ(texts[1], test::Label(4, 200, "700"));
    EXPECT_EQ(texts[2], test::Label(kWideWidth / 2 - 60, 200, "2024.01.03 to 2024.01.05"));
    // The first trade by close time stands at the left edge, the last at the right one: from the deposit's
    // row down to 700 at the bottom, then up to 800.
    const std::vector<std::string>& segments = canvas.Segments();
    ASSERT_GE(segments.size(), 2u);
    EXPECT_EQ(segments[segments.size() - 2], test::Stroke(2, 4, 2, 214, 0x808080));
    EXPECT_EQ(segments.back(), test::Stroke(2, 214, 805, 143, 0x808080));
}

TEST(ClockCharts, TheComparisonsPictureHasACellForEveryPair)
{
    Strategy a, b;
    a.Name = "a.htm";
    b.Name = "b.htm";
    for (const auto& [strategy, close, result] :
         {std::tuple{&a, "2024.01.08 10:00", 10.0}, std::tuple{&a, "2024.01.09 10:00", -5.0},
          std::tuple{&b, "2024.01.09 12:00", 3.0}}) {
        ClosedTrade trade;
        trade.CloseSeconds = *TimeTextSeconds(close);
        trade.Result = result;
        strategy->Trades.push_back(trade);
    }
    const Comparison comparison = Compare({a, b}, {});
    RecordingCanvas canvas;
    DrawComparison(canvas, comparison, false);
    int cells = 0;
    for (const std::string& text : canvas.Texts())
        cells += text.ends_with("d") ? 1 : 0; // "1d": the days both traded, in each cell
    EXPECT_EQ(cells, 4);
    EXPECT_EQ(ComparisonPictureHeight(comparison), 217 + 22 + 217 + 40 + 2 * 28);
    EXPECT_NE(StrategyColour(0), StrategyColour(1));
    EXPECT_EQ(StrategyPen(10), PenStyle::Dashed);
}

} // namespace
} // namespace corvane
