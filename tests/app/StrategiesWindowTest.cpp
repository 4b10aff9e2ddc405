#include "WindowFixture.h"

#include "app/StrategiesWindow.h"
#include "charts/ComparisonChart.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;

std::vector<std::string> ListColumn(const QTableWidget* list, int column)
{
    std::vector<std::string> cells;
    for (int row = 0; row < list->rowCount(); ++row)
        cells.push_back(list->item(row, column)->text().toStdString());
    return cells;
}

TEST_F(WindowTest, CompareShowsTheLoadedReportsStrategiesBesideTheReportsAdded)
{
    Load(Write("march.htm", {Trade("1", "eurusd", "100.00", "7"), Trade("2", "eurusd", "-40.00", "8")}));
    const std::string april = Write("april.htm", {Trade("3", "gbpusd", "25.00")});
    dialogs.Report = QString::fromStdString(april);
    Button("CompareButton")->click();
    StrategiesWindow* strategies = window.Strategies();
    ASSERT_NE(strategies, nullptr);
    EXPECT_TRUE(strategies->isVisible());
    EXPECT_EQ(ListColumn(strategies->StrategyList, 1), (std::vector<std::string>{"march.htm"}));

    strategies->AddButton->click(); // the dialog answers april.htm
    strategies->ByMagicBox->setChecked(true);
    EXPECT_EQ(ListColumn(strategies->StrategyList, 1),
              (std::vector<std::string>{"march.htm #7", "march.htm #8", "april.htm #0"}));
    EXPECT_EQ(ListColumn(strategies->StrategyList, 3), (std::vector<std::string>{"1", "1", "1"}));

    // A weight typed into the list weighs that strategy; the picture is the one the tool draws.
    strategies->StrategyList->item(1, 4)->setText(QStringLiteral("2"));
    ASSERT_NE(strategies->Shown(), nullptr);
    EXPECT_EQ(strategies->Shown()->Weights, (std::vector<double>{1, 2, 1}));
    EXPECT_EQ(strategies->Shown()->Combinations[0].NetCents, 10000 - 8000 + 2500);
    EXPECT_TRUE(strategies->Picture() == DrawComparisonPicture(*strategies->Shown(), false));
    EXPECT_TRUE(strategies->ComparisonText->toPlainText().startsWith(QStringLiteral("Strategies compared: 3")));

    // A server clock without the trader's zone cannot be read: the window says so and keeps the report's times.
    strategies->StrategyList->item(0, 5)->setText(QStringLiteral("EET"));
    EXPECT_TRUE(strategies->Message->text().contains(QStringLiteral("needs your own time zone")));
    strategies->TimeZoneEdit->setText(QStringLiteral("Asia/Tokyo"));
    emit strategies->TimeZoneEdit->editingFinished();
    EXPECT_EQ(strategies->Message->text(), QString());
    EXPECT_EQ(strategies->Shown()->Strategies[0].Clock.Describe(), "EET to Asia/Tokyo");

    strategies->StrategyList->selectRow(2);
    strategies->RemoveButton->click();
    EXPECT_EQ(strategies->StrategyList->rowCount(), 2);
}

TEST_F(WindowTest, TheChartAreasMenuShowsTheCurveByCloseTime)
{
    Load(Write("march.htm", {Trade("1", "eurusd", "100.00"), Trade("2", "eurusd", "-40.00")}));
    window.ShowCalendarCurve();
    EXPECT_EQ(window.CurrentView(), ViewMode::EquityByCloseTime);
    EXPECT_TRUE(Memo()->isHidden());
    QTest::mouseClick(Button("Button2"), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(window.CurrentView(), ViewMode::EquityCurve);
}

TEST_F(WindowTest, TheTradersClockMovesTheMonthsAndTheTimeChart)
{
    test::StatementTrade late{.Ticket = "1", .OpenTime = "2024.01.31 22:00", .CloseTime = "2024.01.31 23:00"};
    Load(dir.Write("late.htm", test::Statement({late}, "1000.00")));
    EXPECT_TRUE(MemoHas(QStringLiteral("2024.01 ")));
    QTest::mouseClick(Button("Button3"), Qt::LeftButton, Qt::ShiftModifier); // by close times
    const Rgb before = Pixel(65 + 4 * (3 * 24 + 23) + 1, 100);               // Wednesday 23 h: a green bar

    window.SetTraderClock(ClockShift::Seconds(2 * 3600));
    EXPECT_TRUE(MemoHas(QStringLiteral("2024.02 ")));
    EXPECT_FALSE(MemoHas(QStringLiteral("2024.01 ")));
    EXPECT_EQ(Pixel(65 + 4 * (4 * 24 + 1) + 1, 100), before); // Thursday 1 h
    EXPECT_NE(Pixel(65 + 4 * (3 * 24 + 23) + 1, 100), before);

    window.SetTraderClock(ClockShift());
    EXPECT_TRUE(MemoHas(QStringLiteral("2024.01 ")));
    EXPECT_EQ(Pixel(65 + 4 * (3 * 24 + 23) + 1, 100), before);
}

} // namespace
} // namespace corvane
