#include "WindowFixture.h"

#include <QCoreApplication>
#include <QFile>

#include <filesystem>

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;

class EditCommandsTest : public WindowTest
{
protected:
    void LoadFour()
    {
        Load(Write("four.htm", {Trade("4", "eurusd", "10.00", "11"), Trade("3", "gbpusd", "-20.00", "22"),
                                Trade("2", "eurusd", "30.00", "11"), Trade("1", "gbpusd", "40.00", "22")}));
    }

    void SelectGridRows(int first, int last)
    {
        ClickRow("Grid", first);
        ClickRow("Grid", last, Qt::ShiftModifier);
    }
};

TEST_F(EditCommandsTest, DeleteRemovesTheSelectedTradesAndKeepsTheSelectionRows)
{
    LoadFour();
    SelectGridRows(2, 3);
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", 0), (std::vector<std::string>{"4", "1"}));
    EXPECT_EQ(Column("XGrid", 0), (std::vector<std::string>{"4", "1"}));
    EXPECT_EQ(SelectedRows("Grid"), (std::vector<int>{2})) << "the selection stays on the rows it covered";
    EXPECT_EQ(SelectedRows("XGrid"), (std::vector<int>{2}));
}

TEST_F(EditCommandsTest, DeleteWithoutASelectionTakesTheFirstTrade)
{
    LoadFour();
    Table("Grid")->selectionModel()->clear();
    QTest::mouseClick(Button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", 0), (std::vector<std::string>{"3", "2", "1"}));
}

TEST_F(EditCommandsTest, NormalizeRescalesToOneLotFromTheDepositOfItsVariant)
{
    LoadFour();
    QTest::mouseClick(Button("Button5"), Qt::LeftButton);
    EXPECT_EQ(Column("Grid", 3), (std::vector<std::string>(4, "1.00")));
    EXPECT_NE(Memo()->toPlainText().indexOf(QStringLiteral("Initial deposit           10000.00")), -1);
    QTest::mouseClick(Button("Button5"), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_NE(Memo()->toPlainText().indexOf(QStringLiteral("Initial deposit          100000.00")), -1);
}

TEST_F(EditCommandsTest, TextExportProposesTheReportsNameAndWritesTheVisibleTrades)
{
    LoadFour();
    const std::string target = dir.File("out.txt");
    dialogs.SaveTarget_ = QString::fromStdString(target);
    QTest::mouseClick(Button("Button4"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Proposed.toStdString(), dir.File("four.txt"));
    const std::string text = test::ReadBytes(target);
    EXPECT_EQ(text.rfind("Ticket\tOpen Time\t", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
}

TEST_F(EditCommandsTest, AnExportThatCannotBeWrittenIsReportedAndTheWindowGoesOn)
{
    LoadFour();
    dialogs.SaveTarget_ = QString::fromStdString(dir.File("missing-folder/out.txt"));
    QTest::mouseClick(Button("Button4"), Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_NE(dialogs.Errors.front().indexOf(QStringLiteral("missing-folder")), -1);
    EXPECT_TRUE(Busy()->isHidden());
    dialogs.SaveTarget_.reset();
    QTest::mouseClick(Button("Button4"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors.size(), 1) << "a cancelled dialog stays silent";
}

TEST_F(EditCommandsTest, HtmlExportWritesThePageAndThePictureBesideTheReport)
{
    LoadFour();
    dialogs.SaveTarget_ = QString::fromStdString(dir.File("page.html"));
    QTest::mouseClick(Button("Button7"), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(dir.File("page.html")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("four.jpg")));
    std::filesystem::remove(dir.File("four.jpg"));
    QTest::mouseClick(Button("Button7"), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(std::filesystem::exists(dir.File("four.jpg"))) << "Ctrl held: no picture";
}

TEST_F(EditCommandsTest, SortAndImportRunFromTheirHiddenButtons)
{
    LoadFour();
    window.Button6->click();
    EXPECT_EQ(Column("Grid", 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Column("XGrid", 0), (std::vector<std::string>{"4", "3", "2", "1"}))
        << "the alternate view keeps its order";

    const std::string exported = dir.File("export.txt");
    dialogs.SaveTarget_ = QString::fromStdString(exported);
    window.Button4->click();
    dialogs.Import = QString::fromStdString(exported);
    window.Button9->click();
    EXPECT_EQ(Column("Grid", 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(window.GetSession().Report.Title, exported);
    EXPECT_TRUE(List("MagicListBox")->isHidden());
}

} // namespace
} // namespace corvane
