#include "WindowFixture.h"

#include <QCoreApplication>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;

constexpr Rgb kCurveGrey = 0x808080;

TEST_F(WindowTest, ViewButtonsSetTheViewMode)
{
    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")}));
    enum class Press
    {
        Mouse,    // the left button pressed and released on the button
        Keyboard, // Space on the button: no mouse-down
        Right,    // the right button: a mouse-down, no click
    };
    struct Step
    {
        const char* Button;
        Press How;
        Qt::KeyboardModifiers Modifiers;
        int Mode;
    };
    const Step steps[] = {
        {"Button2", Press::Mouse, Qt::NoModifier, 1},    {"Button3", Press::Mouse, Qt::NoModifier, 2},
        {"Button3", Press::Mouse, Qt::ShiftModifier, 3}, {"Button3", Press::Keyboard, Qt::NoModifier, 3},
        {"Button1", Press::Mouse, Qt::NoModifier, 0},    {"Button3", Press::Keyboard, Qt::NoModifier, 3},
        {"Button3", Press::Mouse, Qt::AltModifier, 2},   {"Button3", Press::Right, Qt::ControlModifier, 2},
        {"Button3", Press::Keyboard, Qt::NoModifier, 3}, {"Button2", Press::Mouse, Qt::ShiftModifier, 1},
        {"Button1", Press::Keyboard, Qt::NoModifier, 0},
    };
    int index = 0;
    for (const Step& step : steps) {
        QPushButton* button = Button(step.Button);
        if (step.How == Press::Keyboard)
            QTest::keyClick(button, Qt::Key_Space);
        else
            QTest::mouseClick(button, step.How == Press::Right ? Qt::RightButton : Qt::LeftButton,
                              step.Modifiers);
        EXPECT_EQ(window.ViewMode(), step.Mode) << "step " << index << ": " << step.Button;
        EXPECT_EQ(Memo()->isHidden(), step.Mode != 0) << "step " << index;
        ++index;
    }
}

TEST_F(WindowTest, ChartBeforeAnyLoadLeavesTheFrameOnWhite)
{
    window.Timer1Timer();
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    EXPECT_EQ(window.ViewMode(), 1);
    EXPECT_TRUE(Memo()->isHidden());
    QTest::mouseClick(Button("Button3"), Qt::LeftButton);
    EXPECT_EQ(window.ViewMode(), 2);
    for (int y = 2; y < 215; ++y)
        for (int x = 2; x < 807; ++x)
            ASSERT_EQ(Pixel(x, y), kWhite) << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(Pixel(0, 0), 0x606060u);

    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    Load(Write("march.htm", {Trade("1001", "eurusd")}));
    EXPECT_EQ(Pixel(2, 214), kCurveGrey) << "the load draws the curve of the view";
    EXPECT_TRUE(Memo()->isHidden()) << "a load leaves the view as it is";
}

// A list click runs the filter pass once: putting the lists in step with the session afterwards must
// not run the list handlers again. Here the click also rebuilds the magic list.
TEST_F(WindowTest, SymbolClickFiltersTheGridOnce)
{
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00", "11"), Trade("1002", "gbpusd", "-50.00", "22"),
                             Trade("1003", "eurusd", "100.00", "11")}));
    int resets = 0;
    QObject::connect(Table("Grid")->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QListWidget* pairs = List("PairsListBox");
    QTest::mouseClick(pairs->viewport(), Qt::LeftButton, Qt::NoModifier,
                      pairs->visualItemRect(pairs->item(1)).center());
    EXPECT_EQ(Selection("PairsListBox"), (std::vector<bool>{false, true}));
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1002"}));
    EXPECT_EQ(Column("XGrid", 0), (Cells{"1002"}));
    EXPECT_EQ(Entries("MagicListBox"), (Cells{"      22"}));
    EXPECT_EQ(resets, 1);
    EXPECT_NE(Memo()->toPlainText().indexOf(QStringLiteral("Total number of trades%1").arg(1, 12)), -1);

    resets = 0;
    QTest::mouseClick(pairs->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      pairs->visualItemRect(pairs->item(0)).center());
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"1001", "1002", "1003"}));
    EXPECT_EQ(Entries("MagicListBox"), (Cells{"      11", "      22"}));
    EXPECT_EQ(resets, 1);
}

// The text box covers the chart in the summary view, so a list click draws nothing there.
TEST_F(WindowTest, ListClickRedrawsOnlyAChartOnShow)
{
    window.Timer1Timer();
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00"), Trade("1002", "gbpusd", "-300.00")}));
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    const QImage bothTrades = window.Canvas().Image();
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    List("PairsListBox")->item(1)->setSelected(false);
    ASSERT_EQ(Column("Grid", kTicket), (Cells{"1001"}));
    EXPECT_EQ(window.Canvas().Image(), bothTrades);

    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    const QImage firstTrade = window.Canvas().Image();
    EXPECT_NE(firstTrade, bothTrades);
    List("PairsListBox")->item(1)->setSelected(true);
    EXPECT_EQ(window.Canvas().Image(), bothTrades) << "the curve follows the filter";
}

} // namespace
} // namespace corvane
