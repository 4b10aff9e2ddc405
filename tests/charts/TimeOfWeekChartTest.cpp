#include "charts/TimeOfWeekChart.h"

#include "ChartGrids.h"
#include "RecordingCanvas.h"
#include "charts/EquityCurve.h"
#include "charts/ImageCanvas.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Box;
using test::ChartGrid;
using test::ChartRow;
using test::Label;
using test::RecordingCanvas;
using test::Stroke;
using Texts = std::vector<std::string>;

constexpr Rgb kGreen = 0x00c000;
constexpr Rgb kRed = 0xc00000;
constexpr Rgb kGrey = 0x808080;

ChartRow Trade(std::string openTime, std::string closeTime, std::string pips)
{
    return ChartRow{.OpenTime = std::move(openTime), .CloseTime = std::move(closeTime), .Pips = std::move(pips)};
}

// The filled rectangles that are not the white background.
Texts Bars(const RecordingCanvas& canvas)
{
    Texts bars = canvas.Fills();
    std::erase_if(bars, [](const std::string& fill) { return fill.ends_with(" #ffffff"); });
    return bars;
}

// --- calendar ----------------------------------------------------------------------------------------

TEST(DayOfWeek, CountsFromSunday)
{
    const int cases[][4] = {{2005, 1, 3, 1}, {2008, 1, 6, 0},   {2008, 1, 7, 1},   {2005, 1, 8, 6}, {2000, 2, 29, 2},
                            {2000, 3, 1, 3}, {1999, 12, 31, 5}, {2024, 12, 31, 2}, {2100, 3, 1, 1}, {2023, 2, 28, 2}};
    for (const auto& [year, month, day, expected] : cases)
        EXPECT_EQ(DayOfWeek(year, month, day), expected) << year << "." << month << "." << day;
}

struct BinCase
{
    const char* Time;
    int Bin;
};

void PrintTo(const BinCase& c, std::ostream* out)
{
    *out << '"' << c.Time << '"';
}

class HourOfWeek : public ::testing::TestWithParam<BinCase>
{
};

TEST_P(HourOfWeek, ReadsDateAndHourByPosition)
{
    EXPECT_EQ(HourOfWeekBin(GetParam().Time), GetParam().Bin) << '"' << GetParam().Time << '"';
}

INSTANTIATE_TEST_SUITE_P(Times, HourOfWeek,
                         ::testing::Values(BinCase{"2005.01.03 10:15", 34}, BinCase{"2008.01.06 00:00", 0},
                                           BinCase{"2008.01.06 23:00", 23}, BinCase{"2008.01.07 01:00", 25},
                                           BinCase{"2005.01.08 23:59", 167}, BinCase{"2005.01.03 10", 34},
                                           // no full date and hour, or out of range: left out of the chart
                                           BinCase{"", -1}, BinCase{"2005.01.03", -1}, BinCase{"2005.01.03 ", -1},
                                           BinCase{"2005.01.03 24:00", -1}, BinCase{"2005.13.03 10:00", -1},
                                           BinCase{"2005.00.03 10:00", -1}, BinCase{"2005.01.00 10:00", -1},
                                           BinCase{"2005.01.32 10:00", -1}, BinCase{"yyyy.mm.dd hh:mm", -1}));

// --- the drawing -------------------------------------------------------------------------------------

TEST(TimeOfWeekChart, DrawsTitleDaysSeparatorsAndAxis)
{
    const TextGrid grid = ChartGrid({Trade("2005.01.03 10:15", "2005.01.03 11:00", "    25")});
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawTimeOfWeekChart(canvas, grid, false, kWideWidth));
    EXPECT_EQ(canvas.Fills().front(), Box(2, 2, 806, 215, kWhite)) << "cleared inside the frame";
    EXPECT_EQ(canvas.Texts(),
              (Texts{Label(12, 201, "Average pip results based on open times"), Label(67, 163, "Sunday"),
                     Label(163, 163, "Monday"), Label(259, 163, "Tuesday"), Label(355, 163, "Wednesday"),
                     Label(451, 163, "Thursday"), Label(547, 163, "Friday"), Label(643, 163, "Saturday")}));
    Texts expected;
    for (const int x : {65, 161, 257, 353, 449, 545, 641, 737})
        expected.push_back(Stroke(x, 38, x, 178, kGrey));
    expected.push_back(Stroke(65, 108, 737, 108, kGrey));
    EXPECT_EQ(canvas.Segments(), expected);
    EXPECT_EQ(canvas.Calls().back(), 'L') << "the zero axis lies over the bars";

    RecordingCanvas byClose;
    DrawTimeOfWeekChart(byClose, grid, true, kNarrowWidth);
    EXPECT_EQ(byClose.Texts().front(), Label(12, 201, "Average pip results based on close times"));
    EXPECT_EQ(byClose.Fills().front(), Box(2, 2, 686, 215, kWhite));
    EXPECT_EQ(byClose.Segments(), expected) << "the x positions do not depend on the width";
}

struct BarCase
{
    const char* Name;
    std::vector<ChartRow> Rows;
    bool CloseTimes;
    Texts Bars;
};

void PrintTo(const BarCase& c, std::ostream* out)
{
    *out << c.Name;
}

class TimeOfWeekBars : public ::testing::TestWithParam<BarCase>
{
};

TEST_P(TimeOfWeekBars, SumsPipsPerHourOfTheWeek)
{
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawTimeOfWeekChart(canvas, ChartGrid(GetParam().Rows), GetParam().CloseTimes, kWideWidth));
    EXPECT_EQ(Bars(canvas), GetParam().Bars);
}

// Bin b covers x 65 + 4b to 68 + 4b; a bar ends at trunc(108.5 -+ sum / S * 72.33), S the largest sum
// or 10.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, TimeOfWeekBars,
    ::testing::Values(
        BarCase{"OneWinMondayTenOClock", {Trade("2005.01.03 10:15", "2005.01.03 11:00", "    25")}, false,
                {Box(201, 36, 205, 108, kGreen)}},
        BarCase{"SmallWinAgainstTheLeastScale", {Trade("2005.01.03 10:15", "2005.01.03 11:00", "     5")},
                false, {Box(201, 72, 205, 108, kGreen)}},
        BarCase{"ZeroPipsDrawNoBar", {Trade("2005.01.03 10:15", "2005.01.03 11:00", "     0")}, false, {}},
        BarCase{"LossReachesDownToTheScale", {Trade("2005.01.04 00:30", "2005.01.04 01:00", "   -20")}, false,
                {Box(257, 108, 261, 180, kRed)}},
        BarCase{"SundayNightByOpenTime", {Trade("2008.01.06 23:00", "2008.01.07 01:00", "    10")}, false,
                {Box(157, 36, 161, 108, kGreen)}},
        BarCase{"SundayNightByCloseTime", {Trade("2008.01.06 23:00", "2008.01.07 01:00", "    10")}, true,
                {Box(165, 36, 169, 108, kGreen)}},
        BarCase{"TradesOfOneHourAddUpBothWays",
                {Trade("2005.01.03 10:15", "", "    10"), Trade("2005.01.03 10:40", "", "    15"),
                 Trade("2005.01.03 10:59", "", "    -5"), Trade("2005.01.04 10:00", "", "    20")}, false,
                {Box(201, 36, 205, 108, kGreen), Box(297, 50, 301, 108, kGreen),
                 Box(201, 108, 205, 122, kRed)}},
        // Open trades have no close time; an hour of 24 is no hour: such rows are left out, also of S.
        BarCase{"RowsWithoutAValidTimeAreLeftOut",
                {Trade("2005.01.03 10:15", "", "   300"),
                 Trade("2005.01.03 10:15", "2005.01.05 24:00", "   300"),
                 Trade("2005.01.03 10:15", "2005.01.04 00:30", "    10")}, true,
                {Box(257, 36, 261, 108, kGreen)}},
        BarCase{"SaturdayBeyondTheNarrowArea", {Trade("2005.01.08 20:00", "", "    10")}, false,
                {Box(721, 36, 725, 108, kGreen)}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });
// clang-format on

TEST(TimeOfWeekChart, OneWinMondayTenOClockInPixels)
{
    ImageCanvas canvas;
    DrawChartFrame(canvas, kWideWidth);
    DrawTimeOfWeekChart(canvas, ChartGrid({Trade("2005.01.03 10:15", "2005.01.03 11:00", "    25")}), false,
                        kWideWidth);
    const std::tuple<int, int, Rgb> probes[] = {
        {201, 36, kGreen}, {204, 36, kGreen},  {201, 107, kGreen}, {204, 107, kGreen}, {201, 35, kWhite},
        {204, 35, kWhite}, {200, 80, kWhite},  {205, 80, kWhite},  {201, 108, kGrey},  {203, 120, kWhite},
        {161, 60, kGrey},  {737, 177, kGrey},  {737, 178, kWhite}, {65, 38, kGrey},    {65, 37, kWhite},
        {400, 108, kGrey}, {738, 108, kWhite},
    };
    for (const auto& [x, y, colour] : probes)
        EXPECT_EQ(canvas.Image().pixel(x, y) & 0xffffff, colour) << "pixel (" << x << ", " << y << ")";
}

// Without trades nothing is drawn; a Pips cell that is no whole number stops the chart after its
// frame, title and day names (fill, title, seven days with their lines, the closing line), before any bar.
TEST(TimeOfWeekChart, NoTradesDrawNothingAndPipsThatAreNoWholeNumberStopBeforeTheBars)
{
    RecordingCanvas canvas;
    EXPECT_FALSE(DrawTimeOfWeekChart(canvas, ChartGrid({}), false, kWideWidth));
    EXPECT_EQ(canvas.Calls(), "");
    std::string frames;
    for (const char* pips : {"   2.5", "   abc", "      "}) {
        const TextGrid grid = ChartGrid({Trade("2005.01.03 10:15", "", "    10"), Trade("2005.01.03 11:15", "", pips)});
        EXPECT_THROW(DrawTimeOfWeekChart(canvas, grid, false, kWideWidth), ConversionError) << '"' << pips << '"';
        frames += "FTPTMLTMLTMLTMLTMLTMLTMLML";
    }
    EXPECT_EQ(canvas.Calls(), frames);
}

} // namespace
} // namespace corvane
