// What a desktop program is expected to do: keys, a window that grows, copying and saving, and what it
// remembers from one run to the next.
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>

#include <functional>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;

// The keys as a user types them in the active window, each at the widget that has the focus.
void Type(QWidget* at, const QKeySequence& keys)
{
    at->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(at->window()));
    at->setFocus();
    QTest::keySequence(at, keys);
}

TEST_F(WindowTest, AGrownWindowGivesTheRoomToTheChartAndTheGrids)
{
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00", "1"), Trade("1002", "gbpusd", "50.00", "2")}));
    window.Timer1Timer(); // two magic numbers: the narrow arrangement
    const auto placesAt = [&](QSize growth) {
        for (int i = 0; i < kControlPlaceCount; ++i)
            EXPECT_EQ(Find<QWidget>(kControlPlaces[i].Name)->geometry(), GrownPlace(kControlPlaces[i], growth))
                << kControlPlaces[i].Name << " grown by " << growth.width() << "x" << growth.height();
    };
    window.resize(1000, 600);
    placesAt({103, 127});
    EXPECT_EQ(Find<QWidget>("Button8")->geometry(), QRect(927, 8, 65, 21));
    EXPECT_EQ(Find<QWidget>("Grid")->geometry(), QRect(8, 298, 984, 294));
    EXPECT_EQ(window.Canvas().Image().size(), QSize(912, 259));
    EXPECT_EQ(Pixel(790, 257), 0xc0c0c0u) << "the frame is drawn at the new size";
    EXPECT_EQ(Table("XGrid")->columnWidth(2), 720 + 103) << "the comments take the extra width";
    window.resize(700, 300);
    EXPECT_EQ(window.size(), QSize(897, 473)) << "never smaller than laid out";
    placesAt({0, 0});
    EXPECT_EQ(window.Canvas().Image().size(), QSize(809, 217));
}

TEST_F(WindowTest, EveryKeyRunsItsCommand)
{
    const std::string march = Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")});
    const std::string april = Write("april.htm", {Trade("2001", "usdjpy"), Trade("2002", "usdjpy")});
    struct Step
    {
        const char* Keys;
        const char* At; // the widget with the focus
        std::function<void()> Before;
        std::function<bool()> Done;
    };
    const auto tickets = [&] { return Column("Grid", kTicket); };
    const Step steps[] = {
        {"Ctrl+O", "Grid", [&] { dialogs.Report = QString::fromStdString(march); },
         [&] {
             return tickets() == Cells{"1001", "1002"};
         }},
        {"Ctrl+Shift+O", "AnalyzeButton", [&] { dialogs.Report = QString::fromStdString(april); },
         [&] {
             return tickets() == Cells{"1001", "1002", "2001", "2002"};
         }},
        {"Ctrl+O", "Memo1", [&] { dialogs.Report = QString::fromStdString(march); },
         [&] {
             return tickets() == Cells{"1001", "1002"};
         }},
        {"Del", "Grid", [] {}, [&] { return tickets() == Cells{"1002"}; }},
        {"F5", "Grid", [&] { dialogs.ReportAsked = 0; },
         [&] {
             return tickets() == Cells{"1001", "1002"} && dialogs.ReportAsked == 0;
         }},
        {"Ctrl+2", "Grid", [] {}, [&] { return window.CurrentView() == ViewMode::EquityCurve; }},
        {"Ctrl+3", "Grid", [] {}, [&] { return window.CurrentView() == ViewMode::TimeByOpen; }},
        {"Ctrl+1", "Grid", [] {}, [&] { return window.CurrentView() == ViewMode::Summary && !Memo()->isHidden(); }},
        {"Ctrl+E", "Grid", [] {}, [&] { return dialogs.Proposed.endsWith(QStringLiteral("march.html")); }},
        {"Ctrl+T", "Grid", [] {}, [&] { return dialogs.Proposed.endsWith(QStringLiteral("march.txt")); }},
        {"Ctrl+Q", "Grid", [] {}, [&] { return window.isHidden(); }},
    };
    for (const Step& step : steps) {
        step.Before();
        Type(Find<QWidget>(step.At), QKeySequence(QString::fromLatin1(step.Keys)));
        EXPECT_TRUE(step.Done()) << step.Keys << " on " << step.At;
    }
    EXPECT_TRUE(Button("AnalyzeButton")->toolTip().contains(QStringLiteral("Ctrl+O")));
    EXPECT_TRUE(Button("Button8")->toolTip().contains(QStringLiteral("F5")));
    EXPECT_TRUE(Button("Button4")->toolTip().contains(QStringLiteral("Ctrl+T")));
}

} // namespace
} // namespace corvane
