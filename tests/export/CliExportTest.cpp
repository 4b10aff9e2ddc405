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

} // namespace
} // namespace corvane
