#include "EquityCurve.h"

#include "ChartGrids.h"
#include "Errors.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <set>

namespace corvane {
namespace {

using test::ChartGrid;
using test::ChartRow;
using test::Fill;
using test::RecordingCanvas;
using test::Segment;
using test::Text;

constexpr Rgb kReference = 0xe0e0e0;
constexpr Rgb kGrey = 0x808080;
constexpr Rgb kRed = 0xc00000;
constexpr PenStyle kSolid = PenStyle::Solid;
constexpr PenStyle kDashed = PenStyle::Dashed;

ChartRow Trade(std::string profit, std::string balance = "       1000.00")
{
    return ChartRow{.Profit = std::move(profit), .Balance = std::move(balance)};
}

// --- exact drawings ----------------------------------------------------------------------------------

struct CurveCase
{
    const char* Name;
    double Deposit;
    std::vector<ChartRow> Rows;
    int Width;
    std::vector<Segment> Lines; // the reference line first, then the curve
    std::vector<Text> Labels;
};

void PrintTo(const CurveCase& c, std::ostream* out)
{
    *out << c.Name;
}

class EquityCurveDrawing : public ::testing::TestWithParam<CurveCase>
{
};

TEST_P(EquityCurveDrawing, DrawsReferenceLineCurveAndLabels)
{
    const CurveCase& c = GetParam();
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawEquityCurve(canvas, ChartGrid(c.Rows), c.Deposit, c.Width));
    EXPECT_EQ(canvas.Fills(), (std::vector<Fill>{{2, 2, c.Width - 3, 215, kWhite}}))
        << "only inside the frame";
    EXPECT_EQ(canvas.Segments(), c.Lines);
    EXPECT_EQ(canvas.Texts(), c.Labels);
    const auto& drawn = canvas.Primitives();
    const auto firstText = std::find_if(drawn.begin(), drawn.end(), [](const test::Primitive& p) {
        return p.What == test::Primitive::Kind::TextOut;
    });
    EXPECT_TRUE(std::none_of(firstText, drawn.end(), [](const test::Primitive& p) {
        return p.What == test::Primitive::Kind::LineTo || p.What == test::Primitive::Kind::FillRect;
    })) << "the labels are drawn last, over the curve";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EquityCurveDrawing,
    ::testing::Values(
        // high 1100 at y 3, low 1000 (the deposit) at y 214 on both scales.
        CurveCase{"OneWinningTrade",
                  1000,
                  {Trade("    100.00")},
                  809,
                  {{2, 214, 805, 214, kReference, kDashed}, {2, 214, 805, 3, kGrey, kSolid}},
                  {{4, 3, "1100"}, {4, 200, "1000"}}},
        CurveCase{"OneWinningTradeNarrow",
                  1000,
                  {Trade("    100.00")},
                  689,
                  {{2, 214, 685, 214, kReference, kDashed}, {2, 214, 685, 3, kGrey, kSolid}},
                  {{4, 3, "1100"}, {4, 200, "1000"}}},
        // Balances 900 and 850: the deposit is the highest value, so the reference line is at the top
        // (214 - 210 * 150 / 150 = 4); 900 lies at 214 - 211 * 50 / 150 = 143.7.
        CurveCase{"OnlyLosingTrades",
                  1000,
                  {Trade("   -100.00"), Trade("    -50.00")},
                  809,
                  {{2, 4, 805, 4, kReference, kDashed},
                   {2, 4, 403, 143, kGrey, kSolid},
                   {403, 143, 805, 214, kGrey, kSolid}},
                  {{4, 3, "1000"}, {4, 200, "850"}}},
        // Balances 1100, 900 (in the drawdown stretch), 1200; deposit at 214 - 210 * 100 / 300 = 144.
        CurveCase{"DrawdownTradeInRed",
                  1000,
                  {Trade("    100.00", "       1100.00"), Trade("   -200.00", "        900.00 *"),
                   Trade("    300.00", "       1200.00")},
                  809,
                  {{2, 144, 805, 144, kReference, kDashed},
                   {2, 144, 269, 73, kGrey, kSolid},
                   {269, 73, 537, 214, kRed, kSolid},
                   {537, 214, 805, 3, kGrey, kSolid}},
                  {{4, 3, "1200"}, {4, 200, "900"}}},
        // (2.50 + 100) - |-5.00| = 97.50, then blank Comm and Swap add nothing: 1097.50, 1050.
        CurveCase{"CommissionIsACostAndBlankCellsCountNothing",
                  1000,
                  {ChartRow{.Comm = " -5.00", .Swap = "  2.50", .Profit = "    100.00"},
                   ChartRow{.Comm = "      ", .Swap = "      ", .Profit = "    -47.50"}},
                  809,
                  {{2, 214, 805, 214, kReference, kDashed},
                   {2, 214, 403, 3, kGrey, kSolid},
                   {403, 3, 805, 105, kGrey, kSolid}},
                  {{4, 3, "1098"}, {4, 200, "1000"}}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(EquityCurve, FlatCurveLiesAtMidHeight)
{
    RecordingCanvas canvas;
    ASSERT_TRUE(
        DrawEquityCurve(canvas, ChartGrid({Trade("      0.00"), Trade("      0.00")}), 1000, kWideWidth));
    const std::vector<Segment> lines = canvas.Segments();
    ASSERT_EQ(lines.size(), 3u);
    for (const Segment& line : lines) {
        EXPECT_LE(std::abs(line.Y1 - kSurfaceHeight / 2), 1) << "from y " << line.Y1;
        EXPECT_LE(std::abs(line.Y2 - kSurfaceHeight / 2), 1) << "to y " << line.Y2;
    }
    EXPECT_EQ(lines.back().X2, kWideWidth - 4);
    EXPECT_EQ(canvas.Texts(), (std::vector<Text>{{4, 3, "1000"}, {4, 200, "1000"}}));
}

TEST(EquityCurve, MoreTradesThanPixelColumnsShareColumns)
{
    std::vector<ChartRow> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back(Trade(i % 2 == 0 ? "     -5.00" : "     10.00"));
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawEquityCurve(canvas, ChartGrid(rows), 1000, kWideWidth));
    std::vector<Segment> curve = canvas.Segments();
    ASSERT_EQ(curve.size(), 1001u);
    curve.erase(curve.begin());

    // x of point r is 803 * r / 1000 + 2: all 804 columns from 2 to 805 are used, in order.
    std::set<int> columns;
    int vertical = 0;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const Segment& s = curve[i];
        EXPECT_EQ(s.X2, static_cast<int>(803 * (i + 1) / 1000 + 2)) << "point " << i + 1;
        EXPECT_GE(s.X2, s.X1);
        EXPECT_TRUE(s.Y2 >= 3 && s.Y2 <= 214) << "point " << i + 1 << " at y " << s.Y2;
        vertical += s.X1 == s.X2 ? 1 : 0;
        columns.insert(s.X2);
    }
    EXPECT_EQ(columns.size(), 804u);
    EXPECT_EQ(vertical, 1000 - 803) << "points that share a column are joined by vertical runs";
    EXPECT_EQ(curve.back().X2, kWideWidth - 4);
    // Balances run 995, 1005, 1000, 1010, ... 3500: the first is the lowest, the last the highest.
    EXPECT_EQ(curve.front().Y2, 214);
    EXPECT_EQ(curve.back().Y2, 3);
    EXPECT_EQ(canvas.Texts(), (std::vector<Text>{{4, 3, "3500"}, {4, 200, "995"}}));
}

TEST(EquityCurve, NoTradesDrawsNothing)
{
    RecordingCanvas canvas;
    EXPECT_FALSE(DrawEquityCurve(canvas, ChartGrid({}), 1000, kWideWidth));
    EXPECT_TRUE(canvas.Primitives().empty());
}

TEST(EquityCurve, MoneyCellThatIsNoNumberStopsBeforeDrawing)
{
    for (const int column : {kComm, kSwap, kProfit}) {
        TextGrid grid = ChartGrid({Trade("    100.00"), Trade("     50.00")});
        grid.SetCell(column, 2, "   abc");
        RecordingCanvas canvas;
        try {
            DrawEquityCurve(canvas, grid, 1000, kWideWidth);
            ADD_FAILURE() << "column " << column << " read as a number";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()), "'   abc' is not a valid floating point value");
        }
        EXPECT_TRUE(canvas.Primitives().empty()) << "column " << column;
    }
}

} // namespace
} // namespace corvane
