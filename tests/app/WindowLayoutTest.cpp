#include "WindowFixture.h"

#include "WindowRules.h"

#include <QFont>

namespace corvane {
namespace {

using test::WindowTest;

struct Place
{
    const char* Name;
    QRect Geometry;
    const char* Caption; // buttons and the label
};

const Place kLayout[] = {
    {"AnalyzeButton", {8, 8, 65, 21}, "Load File"},
    {"Button1", {80, 8, 65, 21}, "Report"},
    {"Button2", {152, 8, 65, 21}, "Curve"},
    {"Button3", {224, 8, 65, 21}, "Time"},
    {"Label1", {296, 12, 58, 13}, "Loading..."},
    {"Button10", {456, 8, 73, 21}, "Display"},
    {"DeleteButton", {536, 8, 65, 21}, "Delete trade"},
    {"Button7", {608, 8, 65, 21}, "Export html"},
    {"Button4", {680, 8, 65, 21}, "Export txt"},
    {"Button5", {752, 8, 65, 21}, "Normalize"},
    {"Button8", {824, 8, 65, 21}, "Reload"},
    {"Button6", {312, -8, 73, 21}, "Sort trades"},
    {"Button9", {456, -8, 73, 21}, "Import"},
    {"PairsListBox", {8, 32, 65, 217}, nullptr},
    {"MagicListBox", {80, 32, 113, 217}, nullptr},
    {"Memo1", {200, 32, 689, 217}, nullptr},
    {"Image1", {200, 32, 689, 217}, nullptr},
    {"Grid", {8, 256, 881, 209}, nullptr},
    {"XGrid", {8, 256, 881, 209}, nullptr},
};

TEST_F(WindowTest, ControlsStandWhereTheyAreLaidOut)
{
    ASSERT_EQ(kControlPlaceCount, static_cast<int>(std::size(kLayout)));
    for (const Place& place : kLayout) {
        const QWidget* control = Find<QWidget>(place.Name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), place.Geometry) << place.Name;
        QString caption;
        if (const auto* button = qobject_cast<const QPushButton*>(control))
            caption = button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(control))
            caption = label->text();
        EXPECT_EQ(caption.toStdString(), place.Caption ? place.Caption : "") << place.Name;
        const bool hidden =
            std::string_view(place.Name) == "Button6" || std::string_view(place.Name) == "Button9" ||
            std::string_view(place.Name) == "Label1" || std::string_view(place.Name) == "XGrid";
        EXPECT_EQ(control->isHidden(), hidden) << place.Name;
    }
    EXPECT_TRUE(Busy()->font().bold());
    EXPECT_TRUE(Button("Button10")->isEnabled());
    EXPECT_EQ(window.minimumSize(), QSize(897, 473));
    EXPECT_EQ(window.maximumSize(), QSize(897, 473));
    EXPECT_EQ(window.windowTitle().toStdString(), "Corvane4 - 1.8");
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(window.Timer1->interval(), 100);
    EXPECT_EQ(window.ViewMode(), 0);
    EXPECT_EQ(Memo()->toPlainText().toStdString(), "");
}

TEST_F(WindowTest, GridsShowTheirHeadersAndOneEmptyRow)
{
    const std::vector<std::string> gridHeaders = {"Ticket", "Open Time", "Type", "Lots",       "Item",
                                                  "Price",  "S/L",       "T/P",  "Close Time", "Price",
                                                  "Comm",   "Swap",      "P/L",  "Pips",       "Balance"};
    const std::vector<int> gridWidths = {61, 102, 33, 33, 44, 44, 43, 44, 105, 43, 41, 41, 66, 42, 104};
    const std::vector<std::string> xgridHeaders = {"Ticket", "Magic", "Comment"};
    const std::vector<int> xgridWidths = {61, 77, 720};
    const auto check = [&](const char* name, const std::vector<std::string>& headers,
                           const std::vector<int>& widths) {
        const QTableView* grid = Table(name);
        const QAbstractItemModel* model = grid->model();
        ASSERT_EQ(model->columnCount(), static_cast<int>(headers.size())) << name;
        for (int column = 0; column < model->columnCount(); ++column) {
            EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString().toStdString(), headers[column])
                << name;
            EXPECT_EQ(grid->columnWidth(column), widths[column]) << name << " column " << column;
        }
        EXPECT_EQ(model->rowCount(), 1) << name;
        EXPECT_EQ(model->index(0, 0).data().toString().toStdString(), "") << name;
        EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows) << name;
        EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection) << name;
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
    };
    check("Grid", gridHeaders, gridWidths);
    check("XGrid", xgridHeaders, xgridWidths);
}

TEST_F(WindowTest, FirstTickWidensTheChartAreaAndDrawsTheFrame)
{
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), QRect(80, 32, 809, 217));
    EXPECT_EQ(Find<QWidget>("Image1")->geometry(), QRect(80, 32, 809, 217));
    EXPECT_TRUE(List("MagicListBox")->isHidden());
    EXPECT_EQ(Pixel(0, 0), 0x606060u);
    EXPECT_EQ(Pixel(807, 100), 0xc0c0c0u);
}

TEST_F(WindowTest, TwoMagicNumbersNarrowTheChartAreaAtTheNextTick)
{
    const QRect wide(80, 32, 809, 217), narrow(200, 32, 689, 217);
    window.Timer1Timer();
    Load(Write("one.htm",
               {test::Trade("1", "eurusd", "100.00", "111"), test::Trade("2", "gbpusd", "50.00", "111")}));
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), wide) << "one magic number keeps the area wide";
    EXPECT_TRUE(List("MagicListBox")->isHidden());

    Load(Write("two.htm",
               {test::Trade("1", "eurusd", "100.00", "111"), test::Trade("2", "gbpusd", "50.00", "222")}));
    EXPECT_TRUE(List("MagicListBox")->isHidden()) << "shown only at the next tick";
    window.Timer1Timer();
    EXPECT_EQ(Memo()->geometry(), narrow);
    EXPECT_EQ(Find<QWidget>("Image1")->geometry(), narrow);
    EXPECT_FALSE(List("MagicListBox")->isHidden());
    EXPECT_EQ(Pixel(687, 100), 0xc0c0c0u) << "the frame is drawn again at the new width";
    EXPECT_EQ(Pixel(688, 100), kWhite);

    Load(Write("none.htm", {test::Trade("1", "eurusd")}));
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

} // namespace
} // namespace corvane
