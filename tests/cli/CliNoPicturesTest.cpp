// The tool built without Qt: chart and the picture of export-html say that this build has no pictures
// and write nothing; the page alone is written as ever.
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

using test::RunTool;

TEST(CliNoPictures, PicturesAreRefusedAndThePageAloneIsWritten)
{
    const test::TempDir dir;
    const std::string report = dir.Write("march.htm", test::Statement({{}, {.Ticket = "1002"}}));
    const std::string page = dir.File("march.html");
    const struct
    {
        std::vector<std::string> Args;
        std::string Err;
    } cases[] = {
        {{"chart", report, "-o", dir.File("chart.png")},
         "this build of corvane4-cli has no pictures (it was built without Qt): chart is not available\n"},
        {{"export-html", report, "-o", page},
         "this build of corvane4-cli has no pictures (it was built without Qt): give export-html --no-picture "
         "for the page alone\n"},
    };
    for (const auto& c : cases) {
        const test::CliResult result = RunTool(c.Args);
        EXPECT_EQ(result.Status, kExitError) << c.Args[0];
        EXPECT_EQ(result.Err, c.Err);
    }
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_FALSE(std::filesystem::exists(dir.File("chart.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.jpg")));

    const test::CliResult alone = RunTool({"export-html", report, "--no-picture", "-o", page});
    EXPECT_EQ(alone.Status, kExitOk) << alone.Err;
    EXPECT_NE(test::ReadBytes(page).find(">1002</td>"), std::string::npos);
}

} // namespace
} // namespace corvane
