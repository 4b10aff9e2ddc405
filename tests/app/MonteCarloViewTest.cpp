#include "WindowFixture.h"

#include "app/MonteCarloDialog.h"
#include "app/MonteCarloRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;

constexpr Rgb kOuterBand = 0xd8e4f0;

class MonteCarloViewTest : public WindowTest
{
protected:
    // Loads `count` trades, winning and losing by turns.
    void LoadTrades(int count)
    {
        std::vector<test::StatementTrade> trades;
        for (int i = 0; i < count; ++i)
            trades.push_back(Trade(std::to_string(1001 + i), i % 3 ? "eurusd" : "gbpusd", i % 2 ? "-40.00" : "55.00"));
        Load(Write("many.htm", trades));
    }
    bool Going() { return window.MonteCarlo().Running() && !window.MonteCarlo().Finished(); }
    // Waits for the view's timer to take the run's end in.
    bool WaitForTheEnd()
    {
        return QTest::qWaitFor([this] { return !window.MonteCarlo().Running(); }, 20000);
    }
    bool BandShown()
    {
        for (int x = 2; x < 500; ++x)
            for (int y = 2; y < 215; ++y)
                if (Pixel(x, y) == kOuterBand)
                    return true;
        return false;
    }
};

TEST_F(MonteCarloViewTest, LuckRunsAndDrawsTheFanAndTheHistogram)
{
    LoadTrades(30);
    QTest::mouseClick(Button("Button11"), Qt::LeftButton);
    EXPECT_EQ(window.CurrentView(), ViewMode::MonteCarlo);
    EXPECT_TRUE(Memo()->isHidden());
    ASSERT_TRUE(WaitForTheEnd());
    ASSERT_TRUE(window.MonteCarlo().Result());
    EXPECT_EQ(window.MonteCarlo().Result()->Trades, 30);
    EXPECT_TRUE(BandShown());

    // The trades the symbol list keeps are run anew.
    List("PairsListBox")->item(0)->setSelected(false);
    ASSERT_TRUE(WaitForTheEnd());
    ASSERT_TRUE(window.MonteCarlo().Result());
    EXPECT_EQ(window.MonteCarlo().Result()->Trades, 20);
}

TEST_F(MonteCarloViewTest, AClickWhileItRunsStopsIt)
{
    LoadTrades(400);
    window.MonteCarlo().Choices.Settings.Runs = kMaxMonteCarloRuns;
    QTest::mouseClick(Button("Button11"), Qt::LeftButton);
    ASSERT_TRUE(Going());
    QTest::mouseClick(Button("Button11"), Qt::LeftButton);
    EXPECT_FALSE(window.MonteCarlo().Running());
    EXPECT_FALSE(window.MonteCarlo().Result());
    EXPECT_EQ(window.CurrentView(), ViewMode::MonteCarlo);

    // Another view stops it too, at the timer's next look.
    QTest::mouseClick(Button("Button11"), Qt::LeftButton);
    ASSERT_TRUE(Going());
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    EXPECT_EQ(window.CurrentView(), ViewMode::EquityCurve);
    EXPECT_TRUE(WaitForTheEnd());
    EXPECT_FALSE(window.MonteCarlo().Result());
}

TEST_F(MonteCarloViewTest, TheSameTradesAreNotRunAgainByARedraw)
{
    LoadTrades(10);
    window.MonteCarlo().Choices.Settings.Runs = 300;
    QTest::mouseClick(Button("Button11"), Qt::LeftButton);
    ASSERT_TRUE(WaitForTheEnd());
    const std::uint64_t seed = window.MonteCarlo().Settings().Seed;
    window.Timer1Timer(); // the first tick widens the chart area and redraws
    EXPECT_FALSE(window.MonteCarlo().Running());
    EXPECT_EQ(window.MonteCarlo().Settings().Seed, seed);
    EXPECT_TRUE(BandShown());
}

TEST(MonteCarloDialog, ShowsTheChoicesAndReadsThemBack)
{
    MonteCarloChoices current;
    current.Settings.Method = MonteCarloMethod::Skip;
    current.Settings.SkipProbability = 0.25;
    current.Settings.Seed = 77;
    current.FixedSeed = true;
    MonteCarloDialog dialog(current);
    EXPECT_EQ(dialog.Method->currentIndex(), 3);
    EXPECT_EQ(dialog.Seed->text().toStdString(), "77");
    EXPECT_EQ(dialog.StartBalance->text().toStdString(), "");

    dialog.Method->setCurrentIndex(2);
    dialog.BlockLength->setValue(6);
    dialog.Seed->clear();
    dialog.StartBalance->setText(QStringLiteral("2500.50"));
    dialog.Compound->setChecked(true);
    const MonteCarloChoices chosen = dialog.Choices();
    EXPECT_EQ(chosen.Settings.Method, MonteCarloMethod::BlockBootstrap);
    EXPECT_EQ(chosen.Settings.BlockLength, 6);
    EXPECT_FALSE(chosen.FixedSeed);
    EXPECT_EQ(chosen.Settings.StartBalance, 2500.5);
    EXPECT_TRUE(chosen.Settings.Compound);
    EXPECT_EQ(chosen.Settings.RuinPct, 50);
}

} // namespace
} // namespace corvane
