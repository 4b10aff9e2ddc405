// The tool's exports where the golden cases cannot look: the Shift rule of Normalize with a single
// trade, and an output that cannot be written. The picture file beside the report: PictureTest.cpp.
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::RunTool;

TEST(CliExport, TimesTenNeedsTwoTradesAndAnUnwritableOutputIsNamed)
{
    test::TempDir dir;
    const std::string report = dir.Write("one.htm", test::Statement({{}}));
    const test::CliResult summary = RunTool({"summary", report, "--normalize-x10"});
    ASSERT_EQ(summary.Status, kExitOk) << summary.Err;
    EXPECT_NE(summary.Out.find("Initial deposit           10000.00"), std::string::npos) << summary.Out;

    const test::CliResult folder = RunTool({"export-txt", report, "-o", dir.Path().string()});
    EXPECT_EQ(folder.Status, kExitError);
    EXPECT_EQ(folder.Err, "Cannot write '" + dir.Path().string() + "': it is a folder.\n");
}

// A comment written to be run by a spreadsheet reaches the CSV as text, and the names in the JSON lose
// the report's entities as the CSV's cells do.
TEST(CliExport, CsvWritesFormulasAsTextAndJsonNamesAreDecoded)
{
    test::TempDir dir;
    const std::string report = dir.Write(
        "formula.htm",
        test::Statement({{.Ticket = "1", .Symbol = "s&amp;p", .Magic = "7", .Comment = "=1+1"},
                         {.Ticket = "2", .Profit = "-5.00", .Comment = "=HYPERLINK(&quot;http://x.example&quot;)"}}));
    const test::CliResult csv = RunTool({"table", report, "--csv"});
    ASSERT_EQ(csv.Status, kExitOk) << csv.Err;
    EXPECT_NE(csv.Out.find(",s&p,"), std::string::npos) << csv.Out;
    EXPECT_NE(csv.Out.find(",7,'=1+1\r\n"), std::string::npos) << csv.Out;
    EXPECT_NE(csv.Out.find(",-5.00,,,,\"'=HYPERLINK(\"\"http://x.example\"\")\"\r\n"), std::string::npos) << csv.Out;

    const test::CliResult json = RunTool({"stats", report, "--json"});
    ASSERT_EQ(json.Status, kExitOk) << json.Err;
    EXPECT_NE(json.Out.find("\"symbol\": \"s&p\""), std::string::npos) << json.Out;
}

} // namespace
} // namespace corvane
