#include "Mt5ReportBuilder.h"
#include "WindowFixture.h"

namespace corvane {
namespace {

using Cells = std::vector<std::string>;
using test::WindowTest;

// The newer terminal's reports are read into UTF-8: the window shows their scripts as they are.
TEST_F(WindowTest, ANewerTerminalsReportShowsItsTextInItsOwnScript)
{
    test::Mt5ReportBuilder report;
    report.Japanese().Trade({.Id = "7", .Symbol = "ЗОЛОТО", .Comment = "押し目買い", .Closes = {test::Mt5Close{}}});
    Load(dir.Write("history.htm", report.Utf16()));
    EXPECT_EQ(Column("Grid", kItem), (Cells{"ЗОЛОТО"}));
    EXPECT_EQ(Column("XGrid", 2), (Cells{"押し目買い"}));
    EXPECT_EQ(Entries("PairsListBox"), (Cells{"ЗОЛОТО"}));
    EXPECT_EQ(Entries("MagicListBox"), Cells{}) << "these reports have no magic numbers";
    EXPECT_TRUE(Memo()->toPlainText().startsWith(QStringLiteral("1234567: Test Trader - 取引履歴レポート, ")))
        << Memo()->toPlainText().toStdString();
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

} // namespace
} // namespace corvane
