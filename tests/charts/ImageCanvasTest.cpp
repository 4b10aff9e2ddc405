#include "charts/ImageCanvas.h"

#include "charts/EquityCurve.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

namespace corvane {
namespace {

constexpr Rgb kInk = 0x123456;
constexpr Rgb kGreen = 0x00c000;

Rgb PixelAt(const ImageCanvas& canvas, int x, int y)
{
    return canvas.Image().pixel(x, y) & 0xffffff;
}

int CountInk(const ImageCanvas& canvas, Rgb colour)
{
    int count = 0;
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x)
            count += PixelAt(canvas, x, y) == colour ? 1 : 0;
    return count;
}

// --- lines: the start point is drawn, the end point is not -------------------------------------------

struct LineCase
{
    const char* Name;
    int X2;
    int Y2;
};

void PrintTo(const LineCase& c, std::ostream* out)
{
    *out << c.Name;
}

class ImageCanvasLine : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(ImageCanvasLine, CoversItsStartPointAndNotItsEndPoint)
{
    const int x1 = 100, y1 = 100;
    const LineCase& c = GetParam();
    ImageCanvas canvas;
    canvas.SetPen(kInk, PenStyle::Solid);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(c.X2, c.Y2);

    EXPECT_EQ(PixelAt(canvas, x1, y1), kInk);
    EXPECT_EQ(PixelAt(canvas, c.X2, c.Y2), kWhite);
    // One pixel on each step along the longer axis, from the start up to the step before the end.
    const bool alongX = std::abs(c.X2 - x1) >= std::abs(c.Y2 - y1);
    const int steps = alongX ? std::abs(c.X2 - x1) : std::abs(c.Y2 - y1);
    EXPECT_EQ(CountInk(canvas, kInk), steps);
    const int direction = alongX ? (c.X2 > x1 ? 1 : -1) : (c.Y2 > y1 ? 1 : -1);
    for (int i = 0; i <= steps; ++i) {
        int onStep = 0;
        for (int j = 0; j < (alongX ? kSurfaceHeight : kSurfaceWidth); ++j) {
            const int x = alongX ? x1 + direction * i : j;
            const int y = alongX ? j : y1 + direction * i;
            onStep += PixelAt(canvas, x, y) == kInk ? 1 : 0;
        }
        EXPECT_EQ(onStep, i < steps ? 1 : 0) << "step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EightDirectionsAndSlopes, ImageCanvasLine,
                         ::testing::Values(LineCase{"Right", 110, 100}, LineCase{"Left", 90, 100},
                                           LineCase{"Down", 100, 110}, LineCase{"Up", 100, 90},
                                           LineCase{"DownRight", 110, 110}, LineCase{"UpLeft", 90, 90},
                                           LineCase{"UpRight", 110, 90}, LineCase{"DownLeft", 90, 110},
                                           LineCase{"ShallowLeftUp", 80, 93}, LineCase{"SteepRightDown", 104, 130}),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(ImageCanvasLine, APolylineContinuesFromTheEndPointAndADashedPenLeavesOutThreeOfNine)
{
    ImageCanvas canvas;
    canvas.SetPen(kInk, PenStyle::Solid);
    canvas.MoveTo(10, 10);
    canvas.LineTo(20, 10);
    canvas.LineTo(20, 20);
    EXPECT_EQ(PixelAt(canvas, 20, 10), kInk) << "the corner is the second line's start";
    EXPECT_EQ(PixelAt(canvas, 20, 20), kWhite);
    EXPECT_EQ(CountInk(canvas, kInk), 20);

    canvas.SetPen(kInk, PenStyle::Dashed);
    canvas.MoveTo(10, 50);
    canvas.LineTo(40, 50);
    canvas.SetPen(kInk, PenStyle::Solid);
    canvas.MoveTo(10, 60);
    canvas.LineTo(40, 60);
    std::string dashed, solid;
    for (int x = 10; x <= 40; ++x) {
        dashed += PixelAt(canvas, x, 50) == kInk ? '#' : '.';
        solid += PixelAt(canvas, x, 60) == kInk ? '#' : '.';
    }
    EXPECT_EQ(dashed, "######...######...######...###.");
    EXPECT_EQ(solid, std::string(30, '#') + ".");
}

// --- filled rectangles: left and top edges in, right and bottom edges out ----------------------------

struct FillCase
{
    const char* Name;
    int Left, Top, Right, Bottom;
    int CoveredLeft, CoveredTop, CoveredRight, CoveredBottom; // inclusive; Right < Left when nothing
};

void PrintTo(const FillCase& c, std::ostream* out)
{
    *out << c.Name;
}

class ImageCanvasFill : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(ImageCanvasFill, CoversExactlyTheRectangle)
{
    const FillCase& c = GetParam();
    ImageCanvas canvas;
    canvas.FillRect(c.Left, c.Top, c.Right, c.Bottom, kGreen);
    int minX = kSurfaceWidth, minY = kSurfaceHeight, maxX = -1, maxY = -1, count = 0;
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x)
            if (PixelAt(canvas, x, y) == kGreen) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
                ++count;
            }
    if (c.CoveredRight < c.CoveredLeft) {
        EXPECT_EQ(count, 0);
        return;
    }
    EXPECT_EQ((std::vector<int>{minX, minY, maxX, maxY}),
              (std::vector<int>{c.CoveredLeft, c.CoveredTop, c.CoveredRight, c.CoveredBottom}));
    EXPECT_EQ(count, (maxX - minX + 1) * (maxY - minY + 1)) << "a solid block";
}

INSTANTIATE_TEST_SUITE_P(Edges, ImageCanvasFill,
                         ::testing::Values(FillCase{"TopAboveBottom", 10, 20, 15, 25, 10, 20, 14, 24},
                                           FillCase{"TopBelowBottom", 10, 25, 15, 20, 10, 20, 14, 24},
                                           FillCase{"OnePixel", 3, 4, 4, 5, 3, 4, 3, 4},
                                           FillCase{"NoHeight", 10, 20, 15, 20, 0, 0, -1, -1},
                                           FillCase{"ClippedAtTopLeft", -5, -5, 3, 3, 0, 0, 2, 2},
                                           FillCase{"ClippedAtBottomRight", 800, 210, 900, 300, 800, 210, 808, 216}),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(ImageCanvasText, StandsOnAnOpaqueWhiteBox)
{
    if (QFontDatabase::families().isEmpty())
        GTEST_SKIP() << "no fonts installed";
    ImageCanvas canvas;
    canvas.FillRect(0, 0, 300, 60, kGreen);
    canvas.TextOut(20, 20, "Monday");
    int dark = 0, white = 0;
    for (int y = 20; y < 35; ++y)
        for (int x = 20; x < 80; ++x) {
            const Rgb pixel = PixelAt(canvas, x, y);
            dark += (pixel & 0xff) < 0x80 && pixel != kGreen ? 1 : 0;
            white += pixel == kWhite ? 1 : 0;
        }
    EXPECT_GT(dark, 10) << "the letters are black";
    EXPECT_GT(white, 100) << "the box behind them is white";
    EXPECT_EQ(PixelAt(canvas, 19, 25), kGreen) << "nothing left of the given point";
    EXPECT_EQ(PixelAt(canvas, 25, 19), kGreen) << "nothing above the given point";
}

// --- the two-tone frame ------------------------------------------------------------------------------

constexpr Rgb kDark = 0x606060;
constexpr Rgb kLight = 0xc0c0c0;

class ChartFrame : public ::testing::TestWithParam<int>
{
};

TEST_P(ChartFrame, IsTwoPixelsDarkTopLeftAndOneLightLineInsideBottomRight)
{
    const int width = GetParam();
    const int height = kSurfaceHeight;
    ImageCanvas canvas;
    canvas.FillRect(0, 0, kSurfaceWidth, kSurfaceHeight, kGreen);
    DrawChartFrame(canvas, width);
    // x from the left edge, or from the right edge when negative (-1 is the last column); y likewise.
    const std::tuple<int, int, Rgb> probes[] = {
        {0, 0, kDark},     {1, 0, kDark},     {-2, 0, kDark},    {-1, 0, kWhite},  {1, 1, kDark},    {-3, 1, kDark},
        {-2, 1, kWhite},   {0, 100, kDark},   {1, 100, kDark},   {0, -2, kDark},   {1, -2, kDark},   {0, -1, kWhite},
        {1, -1, kWhite},   {2, -2, kLight},   {100, -2, kLight}, {-2, -2, kLight}, {-2, 2, kLight},  {-2, 100, kLight},
        {-1, 100, kWhite}, {100, -1, kWhite}, {-1, -1, kWhite},  {2, 2, kWhite},   {-3, -3, kWhite}, {100, 100, kWhite},
    };
    for (const auto& [probeX, probeY, colour] : probes) {
        const int x = probeX < 0 ? width + probeX : probeX;
        const int y = probeY < 0 ? height + probeY : probeY;
        EXPECT_EQ(PixelAt(canvas, x, y), colour) << "pixel (" << x << ", " << y << ")";
    }
    if (width < kSurfaceWidth) {
        EXPECT_EQ(PixelAt(canvas, width, 100), kGreen) << "the picture right of the area keeps its drawing";
    }
}

INSTANTIATE_TEST_SUITE_P(WideAndNarrow, ChartFrame, ::testing::Values(kWideWidth, kNarrowWidth));

} // namespace
} // namespace corvane
