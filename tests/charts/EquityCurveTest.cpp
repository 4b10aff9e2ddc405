#include "charts/EquityCurve.h"

#include "ChartGrids.h"
#include "RecordingCanvas.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace corvane {
namespace {

using test::Box;
using test::ChartGrid;
using test::ChartRow;
using test::Label;
using test::RecordingCanvas;
using test::Stroke;
using Texts = std::vector<std::string>;

constexpr Rgb kReference = 0xe0e0e0;
constexpr Rgb kGrey = 0x808080;
constexpr Rgb kRed = 0xc00000;
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
    Texts Lines; // the reference line first, then the curve
    Texts Labels;
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
    EXPECT_EQ(canvas.Fills(), Texts{Box(2, 2, c.Width - 3, 215, kWhite)}) << "only inside the frame";
    EXPECT_EQ(canvas.Segments(), c.Lines);
    EXPECT_EQ(canvas.Texts(), c.Labels);
    const std::string& calls = canvas.Calls();
    EXPECT_EQ(calls.substr(calls.find('T')).find_first_of("FL"), std::string::npos)
        << "the labels are drawn last, over the curve: " << calls;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, EquityCurveDrawing,
    ::testing::Values(
        // high 1100 at y 3, low 1000 (the deposit) at y 214 on both scales.
        CurveCase{"OneWinningTrade", 1000, {Trade("    100.00")}, 809,
                  {Stroke(2, 214, 805, 214, kReference, kDashed), Stroke(2, 214, 805, 3, kGrey)},
                  {Label(4, 3, "1100"), Label(4, 200, "1000")}},
        CurveCase{"OneWinningTradeNarrow", 1000, {Trade("    100.00")}, 689,
                  {Stroke(2, 214, 685, 214, kReference, kDashed), Stroke(2, 214, 685, 3, kGrey)},
                  {Label(4, 3, "1100"), Label(4, 200, "1000")}},
        // Balances 900 and 850: the deposit is the highest value, so the reference line is at the top
        // (214 - 210 * 150 / 150 = 4); 900 lies at 214 - 211 * 50 / 150 = 143.7.
        CurveCase{"OnlyLosingTrades", 1000, {Trade("   -100.00"), Trade("    -50.00")}, 809,
                  {Stroke(2, 4, 805, 4, kReference, kDashed), Stroke(2, 4, 403, 143, kGrey),
                   Stroke(403, 143, 805, 214, kGrey)},
                  {Label(4, 3, "1000"), Label(4, 200, "850")}},
        // Balances 1100, 900 (in the drawdown stretch), 1200; deposit at 214 - 210 * 100 / 300 = 144.
        CurveCase{"DrawdownTradeInRed", 1000,
                  {Trade("    100.00", "       1100.00"), Trade("   -200.00", "        900.00 *"),
                   Trade("    300.00", "       1200.00")}, 809,
                  {Stroke(2, 144, 805, 144, kReference, kDashed), Stroke(2, 144, 269, 73, kGrey),
                   Stroke(269, 73, 537, 214, kRed), Stroke(537, 214, 805, 3, kGrey)},
                  {Label(4, 3, "1200"), Label(4, 200, "900")}},
        // (2.50 + 100) - |-5.00| = 97.50, then blank Comm and Swap add nothing: 1097.50, 1050.
        CurveCase{"CommissionIsACostAndBlankCellsCountNothing", 1000,
                  {ChartRow{.Comm = " -5.00", .Swap = "  2.50", .Profit = "    100.00"},
                   ChartRow{.Comm = "      ", .Swap = "      ", .Profit = "    -47.50"}}, 809,
                  {Stroke(2, 214, 805, 214, kReference, kDashed), Stroke(2, 214, 403, 3, kGrey),
                   Stroke(403, 3, 805, 105, kGrey)},
                  {Label(4, 3, "1098"), Label(4, 200, "1000")}},
        // A flat curve lies at mid-height; the reference line's own scale puts it one pixel lower.
        CurveCase{"FlatCurve", 1000, {Trade("      0.00"), Trade("      0.00")}, 809,
                  {Stroke(2, 109, 805, 109, kReference, kDashed), Stroke(2, 109, 403, 108, kGrey),
                   Stroke(403, 108, 805, 108, kGrey)},
                  {Label(4, 3, "1000"), Label(4, 200, "1000")}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });
// clang-format on

TEST(EquityCurve, MoreTradesThanPixelColumnsShareColumns)
{
    std::vector<ChartRow> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back(Trade(i % 2 == 0 ? "     -5.00" : "     10.00"));
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawEquityCurve(canvas, ChartGrid(rows), 1000, kWideWidth));
    ASSERT_EQ(canvas.Segments().size(), 1001u);

    // x of point r is 803 * r / 1000 + 2: all 804 columns from 2 to 805 are used, in order.
    std::set<int> columns;
    int vertical = 0, firstY = -1, lastY = -1;
    for (std::size_t i = 1; i < canvas.Segments().size(); ++i) {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        ASSERT_EQ(std::sscanf(canvas.Segments()[i].c_str(), "%d,%d-%d,%d", &x1, &y1, &x2, &y2), 4);
        EXPECT_EQ(x2, static_cast<int>(803 * i / 1000 + 2)) << "point " << i;
        EXPECT_GE(x2, x1);
        EXPECT_TRUE(y2 >= 3 && y2 <= 214) << "point " << i << " at y " << y2;
        vertical += x1 == x2 ? 1 : 0;
        columns.insert(x2);
        firstY = firstY < 0 ? y2 : firstY;
        lastY = y2;
    }
    EXPECT_EQ(columns.size(), 804u);
    EXPECT_EQ(*columns.rbegin(), kWideWidth - 4);
    EXPECT_EQ(vertical, 1000 - 803) << "points that share a column are joined by vertical runs";
    // Balances run 995, 1005, 1000, 1010, ... 3500: the first is the lowest, the last the highest.
    EXPECT_EQ(firstY, 214);
    EXPECT_EQ(lastY, 3);
    EXPECT_EQ(canvas.Texts(), (Texts{Label(4, 3, "3500"), Label(4, 200, "995")}));
}

TEST(EquityCurve, NoTradesOrAMoneyCellThatIsNoNumberDrawsNothing)
{
    RecordingCanvas canvas;
    EXPECT_FALSE(DrawEquityCurve(canvas, ChartGrid({}), 1000, kWideWidth));
    EXPECT_EQ(canvas.Calls(), "");
    for (const int column : {kComm, kSwap, kProfit}) {
        const std::string header = column == kComm ? "Comm" : column == kSwap ? "Swap" : "P/L";
        TextGrid grid = ChartGrid({Trade("    100.00"), Trade("     50.00")});
        grid.SetCell(column, 2, "   abc");
        try {
            DrawEquityCurve(canvas, grid, 1000, kWideWidth);
            ADD_FAILURE() << "column " << column << " read as a number";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "trade 2, column " + header + ": '   abc' is not a valid floating point value");
        }
        EXPECT_EQ(canvas.Calls(), "") << "column " << column;
    }
}

} // namespace
} // namespace corvane
