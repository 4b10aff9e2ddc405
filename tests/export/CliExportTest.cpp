// The tool's exports where the golden cases cannot look: the picture file beside the report, the
// Shift rule of Normalize with a single trade, and an output that cannot be written.
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::RunTool;

TEST(CliExport, HtmlPageWithItsPictureBesideTheReport)
{
    test::TempDir dir;
    const std::string report = dir.Write("march.htm", test::Statement({{.Magic = "111"}, {.Ticket = "1002"}}));
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    const test::CliResult result = RunTool({"export-html", report, "-o", page});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(test::ReadBytes(page).find("<img src=" + dir.File("march.jpg") + ">\r\n"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(dir.File("march.jpg")).substr(0, 3), "\xff\xd8\xff") << "a JPEG file";
}

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

} // namespace
} // namespace corvane
