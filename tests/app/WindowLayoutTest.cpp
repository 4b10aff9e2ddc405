#include "WindowFixture.h"

#include "app/Application.h"
#include "app/WindowRules.h"

#include <QFont>
#include <QFontMetrics>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;

TEST_F(WindowTest, ControlsStandWhereTheyAreLaidOut)
{
    struct Place
    {
        const char* Name;
        QRect Geometry;
        const char* Caption; // buttons and the label
        bool Hidden;
    };
    // clang-format off
    const Place layout[] = {
        {"AnalyzeButton", {8, 8, 65, 21}, "Load File", false}, {"Button1", {80, 8, 65, 21}, "Report", false},
        {"Button2", {152, 8, 65, 21}, "Curve", false}, {"Button3", {224, 8, 65, 21}, "Time", false},
        {"Label1", {296, 12, 150, 13}, "Loading...", true}, {"Button10", {456, 8, 73, 21}, "Display", false},
        {"DeleteButton", {536, 8, 65, 21}, "Delete trade", false},
        {"Button7", {608, 8, 65, 21}, "Export html", false},
        {"Button4", {680, 8, 65, 21}, "Export txt", false}, {"Button5", {752, 8, 65, 21}, "Normalize", false},
        {"Button8", {824, 8, 65, 21}, "Reload", false}, {"Button6", {312, -8, 73, 21}, "Sort trades", true},
        {"Button9", {456, -8, 73, 21}, "Import", true}, {"PairsListBox", {8, 32, 65, 217}, "", false},
        {"MagicListBox", {80, 32, 113, 217}, "", false}, {"Memo1", {200, 32, 689, 217}, "", false},
        {"Image1", {200, 32, 689, 217}, "", false}, {"Grid", {8, 256, 881, 209}, "", false},
        {"XGrid", {8, 256, 881, 209}, "", true}, {"Button11", {296, 8, 65, 21}, "Luck", false},
        {"CompareButton", {368, 8, 73, 21}, "Compare", false},
    };
    // clang-format on
    ASSERT_EQ(kControlPlaceCount, static_cast<int>(std::size(layout)));
    for (const Place& place : layout) {
        const QWidget* control = Find<QWidget>(place.Name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), place.Geometry) << place.Name;
        QString caption;
        if (const auto* button = qobject_cast<const QPushButton*>(control))
            caption = button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(control))
            caption = label->text();
        EXPECT_EQ(caption.toStdString(), place.Caption) << place.Name;
        EXPECT_EQ(control->isHidden(), place.Hidden) << place.Name;
    }
    EXPECT_TRUE(Busy()->font().bold());
    // The busy label's longest text keeps clear of "Compare" beside it.
    EXPECT_LE(QFontMetrics(Busy()->font()).horizontalAdvance(QStringLiteral("Loading... 100%")), Busy()->width());
    EXPECT_TRUE(Button("Button10")->isEnabled());
    EXPECT_EQ(window.minimumSize(), QSize(897, 473));
    EXPECT_EQ(window.size(), QSize(897, 473));
    EXPECT_EQ(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) << "it can be made larger";
    EXPECT_EQ(window.windowTitle().toStdString(), "Corvane4 - 1.8");
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(window.Timer1->interval(), 100);
    EXPECT_EQ(window.CurrentView(), ViewMode::Summary);
    EXPECT_EQ(Memo()->toPlainText().toStdString(), "");
}

TEST_F(WindowTest, GridsShowTheirHeadersAndOneEmptyRow)
{
    const std::tuple<const char*, QStringList, std::vector<int>> grids[] = {
        {"Grid",
         {"Ticket", "Open Time", "Type", "Lots", "Item", "Price", "S/L", "T/P", "Close Time", "Price", "Comm", "Swap",
          "P/L", "Pips", "Balance"},
         {61, 102, 33, 33, 44, 44, 43, 44, 105, 43, 41, 41, 66, 42, 104}},
        {"XGrid", {"Ticket", "Magic", "Comment"}, {61, 77, 720}}};
    for (const auto& [name, headers, widths] : grids) {
        const QTableView* grid = Table(name);
        const QAbstractItemModel* model = grid->model();
        ASSERT_EQ(model->columnCount(), headers.size()) << name;
        for (int column = 0; column < model->columnCount(); ++column) {
            EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), headers[column]) << name;
            EXPECT_EQ(grid->columnWidth(column), widths[static_cast<std::size_t>(column)]) << name << " " << column;
        }
        EXPECT_EQ(model->rowCount(), 1) << name;
        EXPECT_EQ(model->index(0, 0).data().toString(), "") << name;
        EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows) << name;
        EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection) << name;
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
    }
}

TEST_F(WindowTest, TwoMagicNumbersNarrowTheChartAreaAtTheNextTick)
{
    const QRect wide(80, 32, 809, 217), narrow(200, 32, 689, 217);
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), wide) << "the first tick widens the area";
    EXPECT_EQ(Find<QWidget>("Image1")->geometry(), wide);
    EXPECT_EQ(Pixel(0, 0), 0x606060u) << "and draws the frame";
    Load(Write("one.htm", {Trade("1", "eurusd", "100.00", "111"), Trade("2", "gbpusd", "50.00", "111")}));
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), wide) << "one magic number keeps the area wide";
    EXPECT_TRUE(List("MagicListBox")->isHidden());

    Load(Write("two.htm", {Trade("1", "eurusd", "100.00", "111"), Trade("2", "gbpusd", "50.00", "222")}));
    EXPECT_TRUE(List("MagicListBox")->isHidden()) << "shown only at the next tick";
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), narrow);
    EXPECT_EQ(Find<QWidget>("Image1")->geometry(), narrow);
    EXPECT_FALSE(List("MagicListBox")->isHidden());
    EXPECT_EQ(Pixel(687, 100), 0xc0c0c0u) << "the frame is drawn again at the new width";
    EXPECT_EQ(Pixel(688, 100), kWhite);

    Load(Write("none.htm", {Trade("1", "eurusd")}));
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), wide);
    EXPECT_TRUE(List("MagicListBox")->isHidden());
    EXPECT_EQ(Pixel(807, 100), 0xc0c0c0u);
}

TEST_F(WindowTest, TitleTurnsToTheAttributionAtTheTwoHundredAndFirstTick)
{
    for (int tick = 1; tick <= 200; ++tick)
        window.Timer1Timer();
    EXPECT_EQ(window.windowTitle().toStdString(), kShortTitle);
    window.Timer1Timer();
    EXPECT_EQ(window.windowTitle().toStdString(), "Corvane4 - 1.8 - made by the Corvane4 developers");
}

TEST(WindowRules, TheAttributionComesFromTick201For25TicksThenEvery226Ticks)
{
    const std::string shortTitle = kShortTitle;
    const std::string attribution = "Corvane4 - 1.8 - made by the Corvane4 developers";
    int counter = 0;
    std::string title = shortTitle;
    std::vector<std::pair<std::string, int>> runs; // title and the number of ticks it stays
    for (int tick = 1; tick <= 1000; ++tick) {
        if (const std::optional<std::string> next = NextTitle(counter))
            title = *next;
        if (runs.empty() || runs.back().first != title)
            runs.emplace_back(title, 0);
        ++runs.back().second;
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {shortTitle, 200}, {attribution, 25}, {shortTitle, 200}, {attribution, 26}, {shortTitle, 200},
        {attribution, 26}, {shortTitle, 200}, {attribution, 26}, {shortTitle, 97},
    };
    EXPECT_EQ(runs, expected);
}

TEST(WindowRules, ModifierHeldMeansShiftOrControlButNotAlt)
{
    EXPECT_TRUE(ModifierHeld(Qt::ShiftModifier));
    EXPECT_TRUE(ModifierHeld(Qt::ControlModifier));
    EXPECT_TRUE(ModifierHeld(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(ModifierHeld(Qt::AltModifier));
    EXPECT_FALSE(ModifierHeld(Qt::MetaModifier | Qt::KeypadModifier));
    EXPECT_FALSE(ModifierHeld(Qt::NoModifier));
}

// An error that escapes the event loop is shown and ends the program with status 1; a delivery that
// raises nothing is passed through.
TEST(EventLoopGuard, AnEscapingErrorIsShownAndEndsWithStatusOne)
{
    QStringList shown;
    std::vector<int> exits;
    const auto show = [&](const QString& text) { shown << text; };
    const auto exit = [&](int status) { exits.push_back(status); };
    EXPECT_TRUE(DeliverGuarded([] { return true; }, show, exit));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::runtime_error("disk gone"); }, show, exit));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw 7; }, show, exit));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("disk gone"), QString()}));
    EXPECT_EQ(exits, (std::vector<int>{1, 1}));
}

} // namespace
} // namespace corvane
