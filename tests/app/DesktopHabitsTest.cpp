// What a desktop program is expected to do: keys, a window that grows, copying and saving, and what it
// remembers from one run to the next.
#include "WindowFixture.h"

#include "charts/ChartPicture.h"
#include "platform/PlatformFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include <filesystem>
#include <functional>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;

// A window that keeps its settings in the test's folder, and the same window started again.
class RememberingWindowTest : public WindowTest
{
protected:
    RememberingWindowTest() : WindowTest(true) {}

    TMainForm& Restart()
    {
        window.close();
        m_settings = std::make_unique<WindowSettings>(test::SettingsFile(dir));
        m_window = std::make_unique<TMainForm>(dialogs, *m_settings);
        m_window->Timer1->stop();
        m_window->ShowAtRememberedPlace();
        return *m_window;
    }

private:
    std::unique_ptr<WindowSettings> m_settings;
    std::unique_ptr<TMainForm> m_window;
};

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

TEST_F(RememberingWindowTest, TheRecentReportsComeMostRecentFirstTenAtMost)
{
    std::vector<std::string> reports;
    for (int i = 1; i <= 12; ++i)
        reports.push_back(Write("r" + std::to_string(i) + ".htm", {Trade(std::to_string(i), "eurusd")}));
    for (const std::string& report : reports)
        Load(report);
    Load(reports[5]);
    QStringList expected{test::QtPath(reports[5])};
    for (int i = 11; expected.size() < kRecentLimit; --i)
        if (i != 5)
            expected << test::QtPath(reports[i]);
    EXPECT_EQ(window.RecentReports(), expected);
    QMenu* menu = window.RecentMenu();
    EXPECT_EQ(menu->actions().front()->text(),
              QStringLiteral("&1  r6.htm\t") + QString::fromStdString(Utf8Path(dir.Path())));
    EXPECT_EQ(menu->actions()[9]->data().toString(), expected.back());

    // A report that has gone is said so and taken off the list; one that is there opens.
    std::filesystem::remove(reports[11]);
    window.OpenRecent(expected[1]);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("no longer there")));
    window.OpenRecent(expected[2]);
    EXPECT_EQ(Column("Grid", kTicket), (Cells{"11"}));
    EXPECT_EQ(Restart().RecentReports().mid(0, 2), (QStringList{expected[2], expected[0]}));
}

TEST_F(RememberingWindowTest, ANewRunStartsWhereTheLastWasLeft)
{
    const std::string report = Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd")});
    Load(report);
    QTest::mouseClick(Button("Button3"), Qt::LeftButton, Qt::ShiftModifier);
    dialogs.SaveTarget_ = QString::fromStdString(dir.File("out/march.txt"));
    std::filesystem::create_directory(dir.Path() / "out");
    QTest::mouseClick(Button("Button4"), Qt::LeftButton);
    window.resize(897, 560); // the test's screen is 800 x 600

    TMainForm& again = Restart();
    EXPECT_EQ(again.size(), QSize(897, 560));
    EXPECT_EQ(again.CurrentView(), ViewMode::Summary) << "the hint shows until a report is loaded";
    dialogs.Report = QString::fromStdString(report);
    again.AnalyzeButtonClick();
    EXPECT_EQ(dialogs.Started, test::QtPath(Utf8Path(dir.Path())));
    EXPECT_EQ(again.CurrentView(), ViewMode::TimeByClose);
    again.Button4Click();
    EXPECT_EQ(dialogs.Proposed, test::QtPath(dir.File("out/march.txt")));
}

TEST(WindowSettingsFile, ABrokenOrUnwritableFileGivesDefaultsAndOneLine)
{
    test::TempDir dir;
    const std::string broken = dir.Write("broken.conf", "[window\nplace=@Rect(1 2\n\xff\xfe\n[recent]\nreports=x\n");
    testing::internal::CaptureStderr();
    {
        WindowSettings settings(std::make_unique<QSettings>(QString::fromStdString(broken), QSettings::IniFormat));
        EXPECT_EQ(settings.RecentReports(), QStringList());
        settings.SetView(ViewMode::EquityCurve);
        EXPECT_EQ(settings.View(), ViewMode::EquityCurve);
    }
    {
        const std::string nowhere = dir.Write("file", "") + "/corvane4.conf"; // its folder is a file
        WindowSettings settings(std::make_unique<QSettings>(QString::fromStdString(nowhere), QSettings::IniFormat));
        settings.SetRecentReports({QStringLiteral("/a.htm")});
        settings.SetView(ViewMode::Summary);
        EXPECT_EQ(settings.RecentReports(), QStringList{QStringLiteral("/a.htm")}) << "kept for this run";
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
    EXPECT_NE(said.find("cannot be written"), std::string::npos) << said;
#ifdef Q_OS_LINUX
    EXPECT_TRUE(WindowSettings::PlatformStore()->fileName().contains(QStringLiteral("/.qttest/")))
        << "the tests' own place";
#endif
}

TEST(WindowSettingsFile, AWindowLeftOffScreenComesBackOnAScreen)
{
    const QList<QRect> screens{{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    const QSize minimum(897, 473);
    const struct
    {
        QRect Saved;
        QRect Placed;
    } cases[] = {
        {{100, 50, 1000, 600}, {100, 50, 1000, 600}},
        {{2000, 100, 1000, 600}, {2000, 100, 1000, 600}}, // on the second screen
        {{3000, 100, 1000, 600}, {2200, 100, 1000, 600}}, // partly beyond it
        {{5000, 100, 1000, 600}, {460, 220, 1000, 600}},  // a screen that has gone: centred on the first
        {{-50, -20, 2500, 1200}, {0, 0, 1920, 1040}},     // larger than the screen
        {{10, 10, 300, 200}, {10, 10, 897, 473}},         // smaller than the window can be
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceOnScreens(c.Saved, screens, minimum), c.Placed) << c.Saved.x() << "," << c.Saved.y();
}

TEST_F(WindowTest, ControlCopiesTheSelectedRowsForASpreadsheet)
{
    Load(dir.Write("march.htm", test::Statement({{.Ticket = "1001", .Comment = "=HYPERLINK(&quot;x&quot;)"},
                                                 {.Ticket = "1002", .Profit = "-5.00", .Magic = "7"},
                                                 {.Ticket = "1003"}},
                                                "1000.00")));
    ClickRow("Grid", 1);
    ClickRow("Grid", 2, Qt::ShiftModifier);
    Type(Table("Grid"), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Ticket\tOpen Time\tType\tLots\tItem\tPrice\tS/L\tT/P\tClose Time\tPrice\tComm\tSwap\tP/L\tPips\tBalance"
              "\tDD\n"
              "1001\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t2024.01.02 12:00\t1.10100\t0.00\t"
              "0.00\t100.00\t10\t1100.00\t\n"
              "1002\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t2024.01.02 12:00\t1.10100\t0.00\t"
              "0.00\t-5.00\t10\t1095.00\t*\n");
    QTest::mouseClick(Button("Button10"), Qt::LeftButton);
    Type(Table("XGrid"), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Ticket\tMagic\tComment\n1001\t\t'=HYPERLINK(\"x\")\n1002\t7\t\n");
}

TEST_F(WindowTest, TheChartSavedOrCopiedIsTheToolsChart)
{
    Load(Write("march.htm", {Trade("1001", "eurusd"), Trade("1002", "gbpusd", "-40.00"), Trade("1003", "eurusd")}));
    QTest::mouseClick(Button("Button2"), Qt::LeftButton);
    const QList<QAction*> menu = Find<QWidget>("Image1")->actions();
    ASSERT_EQ(menu.size(), 2);
    const std::string png = dir.File("march-curve.png");
    dialogs.SaveTarget_ = QString::fromStdString(png);
    menu[1]->trigger();
    EXPECT_TRUE(dialogs.Proposed.endsWith(QStringLiteral("march-curve.png")));
    const QImage tool = DrawChartPicture(window.GetSession(), ViewMode::EquityCurve);
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(tool.format()), tool);
    menu[0]->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(tool.format()), tool);

    window.resize(1000, 600); // 103 wider, 127 taller: a third of it to the chart
    menu[0]->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(809 + 103, 217 + 42));
}

TEST_F(WindowTest, WhileNothingIsLoadedTheSummaryPaneSaysHowToStart)
{
    EXPECT_TRUE(Memo()->placeholderText().contains(QStringLiteral("Load File")));
    EXPECT_TRUE(Memo()->placeholderText().contains(QStringLiteral("drop a report here")));
    EXPECT_EQ(Memo()->toPlainText(), QString()) << "the summary text itself is empty";
}

} // namespace
} // namespace corvane
