#include "TextExport.h"

#include "Errors.h"
#include "ExportSessions.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

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
    ApplyFilters(session);
    std::ostringstream shown;
    WriteTextExport(shown, session);
    const test::Cells lines = test::SplitCrLf(shown.str());
    ASSERT_EQ(lines.size(), 2u) << "hidden trades are left out";
    EXPECT_EQ(lines[1].substr(0, 5), "1002\t");
    EXPECT_NE(lines[1].find("\t       9847.60\t*\t"), std::string::npos)
        << "the balance runs over the shown trades";
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
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create '" + inMissingFolder + "': No such file or directory.");
    }
    EXPECT_THROW(ExportText(test::ThreeTrades(), dir.Path().string()), FileError) << "a folder";
}

} // namespace
} // namespace corvane
