#include "export/TextExport.h"
#include "reports/TextImport.h"

#include "ExportSessions.h"
#include "TempDir.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;

const std::string kExpectedExport =
    "Ticket\tOpen Time\tType\tLots\tItem\tPrice\tS/L\tT/P\tClose Time\tPrice\t"
    "Comm\tSwap\tP/L\tPips\tBalance\t\tMagic\tComment\r\n"
    "1001\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t2024.01.02 12:00\t1.10100\t"
    "  0.00\t  0.00\t    100.00\t    10\t      10100.00\t\t         111\tfirst\r\n"
    "1002\t2024.01.03 09:00\tsell\t1.00\tgbpusd\t1.25000\t0.00000\t0.00000\t2024.01.05 17:00\t1.25200\t"
    " -2.00\t -0.40\t   -150.00\t   -20\t       9947.60\t*\t            \t\r\n"
    "1003\t2024.01.04 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t\t1.10050\t  0.00\t"
    "  0.00\t     50.00\t     5\t       9997.60\t\t         111\t\r\n";

TEST(TextExport, WritesHeaderAndEighteenFieldsPerVisibleRow)
{
    Session session = test::ThreeTrades();
    ASSERT_EQ(session.Grid.Cell(kBalance, 2), "       9947.60 *");
    std::ostringstream out;
    WriteTextExport(out, session);
    EXPECT_EQ(out.str(), kExpectedExport);

    session.Pairs.SetSelected(session.Pairs.Find("eurusd"), false);
    ApplyFilters(session, MagicFilterFor(session));
    std::ostringstream shown;
    WriteTextExport(shown, session);
    const test::Cells lines = test::SplitCrLf(shown.str());
    ASSERT_EQ(lines.size(), 2u) << "hidden trades are left out";
    EXPECT_EQ(lines[1].substr(0, 5), "1002\t");
    EXPECT_NE(lines[1].find("\t       9847.60\t*\t"), std::string::npos) << "the balance runs over the shown trades";
}

TEST(TextExport, TheFileIsWrittenWholeOrNotAtAll)
{
    test::TempDir dir;
    const std::string path = dir.File("march.txt");
    ASSERT_TRUE(ExportText(test::ThreeTrades(), path));
    EXPECT_EQ(test::ReadBytes(path), kExpectedExport);

    const std::string empty = dir.File("empty.txt");
    EXPECT_FALSE(ExportText(Session(), empty)) << "no trade loaded";
    EXPECT_FALSE(std::filesystem::exists(empty));

    const std::string inMissingFolder = dir.File("no-such-folder/march.txt");
    try {
        ExportText(test::ThreeTrades(), inMissingFolder);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create '" + inMissingFolder + "': No such file or directory.");
    }
    EXPECT_THROW(ExportText(test::ThreeTrades(), dir.Path().string()), FileError) << "a folder";
}

// ---- reading the text back -------------------------------------------------------------------------

// Columns 0 to 14 of a row, joined by tabs.
std::string VisibleCells(const TextGrid& grid, int row)
{
    std::string text;
    for (int column = 0; column < kGridColumns; ++column)
        text.append(column ? "\t" : "").append(grid.Cell(column, row));
    return text;
}

TEST(TextImport, ReadsBackWhatTheTextExportWrote)
{
    const Session exported = test::ThreeTrades();
    std::ostringstream text;
    WriteTextExport(text, exported);
    test::TempDir dir;
    const std::string path = dir.Write("march.txt", text.str());

    Session session = test::ThreeTrades();
    ImportText(session, path);
    ASSERT_EQ(session.Full.RowCount(), 4);
    for (int row = 1; row <= 3; ++row) {
        std::string expected = VisibleCells(exported.Grid, row);
        if (expected.ends_with(" *"))
            expected.resize(expected.size() - 2);
        EXPECT_EQ(VisibleCells(session.Full, row), expected) << "row " << row;
        EXPECT_EQ(session.Full.Cell(kMagic, row), "") << "magic numbers are not imported";
        EXPECT_EQ(session.Full.Cell(kComment, row), "");
    }
    EXPECT_EQ(session.Report.Title, path);
    EXPECT_EQ(session.Report.InitialDeposit, 10000.0);
    EXPECT_EQ(session.Grid.RowCount(), 2) << "reset; the caller runs the filter pass";
    EXPECT_TRUE(session.Memo.empty());
    EXPECT_EQ(session.Magic.Count(), 0);
    EXPECT_EQ(test::Entries(session.Pairs), (Cells{"eurusd", "gbpusd"}));
    EXPECT_EQ(test::SelectedFlags(session.Pairs), (std::vector<bool>{true, true}));
    EXPECT_EQ(session.ReportPath, "/reports/march.htm") << "the report last loaded stays";
}

TEST(TextImport, SkipsHeadersAndKeepsLineEndsOutOfTheCells)
{
    test::TempDir dir;
    const std::string path =
        dir.Write("mixed.txt", "Ticket\tOpen Time\r\n"
                               "1\tt1\tbuy\t1.00\tEURUSD\t1\t2\t3\tc1\t4\t  0.00\t  0.00\t  10.00\r\n"
                               "Tickets written again\n"
                               "2\tt2\tsell\t1.00\teurusd\r\n"
                               "3\tt3\tbuy\t1.00\tgbpusd\t5\t6\t7\tc3\t8\t c\t s\t p\t q\tb\tx\ty\n"
                               "4");
    Session session;
    ImportText(session, path);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2", "3", "4"}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"  10.00", "", " p", ""})) << "no line end in a cell";
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"EURUSD", "eurusd", "gbpusd", ""}));
    EXPECT_EQ(ColumnCells(session.Full, kBalance), (Cells{"", "", "b", ""}));
    EXPECT_EQ(session.Full.Cell(15, 3), "") << "fields after the fifteenth are ignored";
    EXPECT_EQ(test::Entries(session.Pairs), (Cells{"EURUSD", "gbpusd", ""}));

    const std::string start = "1\tt\tbuy\t1.00\teurusd\t";
    ImportText(session, dir.Write("long.txt", start + std::string(1100, 'c') + "\r\n"));
    ASSERT_EQ(session.Full.RowCount(), 3) << "a line longer than a piece is two records";
    const std::size_t firstPart = 1023 - start.size();
    EXPECT_EQ(session.Full.Cell(kOpenPrice, 1), std::string(firstPart, 'c'));
    EXPECT_EQ(session.Full.Cell(kTicket, 2), std::string(1100 - firstPart, 'c'));

    ImportText(session, dir.Write("empty.txt", ""));
    EXPECT_EQ(session.Full.RowCount(), 1) << "a file without records leaves the header row";
    EXPECT_EQ(session.Pairs.Count(), 0);
}

TEST(TextImport, AnUnreadableFileIsAFileErrorAndChangesNothing)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    const std::string missing = dir.File("missing.txt");
    try {
        ImportText(session, missing);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot import '" + missing + "': No such file or directory.");
    }
    EXPECT_THROW(ImportText(session, dir.Path().string()), FileError);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1001", "1002", "1003"}));
    EXPECT_EQ(session.Report.Title, "Statement: 42 - Test");
    EXPECT_EQ(session.Grid.RowCount(), 4);
}

} // namespace
} // namespace corvane
