// The tool's exports where the golden cases cannot look: the picture file beside the report, the
// Shift rule of Normalize with a single trade, and an output that cannot be written.
#include "Cli.h"

#include "ReportBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

int RunTool(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    std::ostringstream outStream, errStream;
    const int status = RunCli(args, outStream, errStream);
    out = outStream.str();
    err = errStream.str();
    return status;
}

TEST(CliExport, HtmlPageWithItsPictureBesideTheReport)
{
    test::TempDir dir;
    const std::string report =
        dir.Write("march.htm", test::Statement({{.Magic = "111"}, {.Ticket = "1002"}}));
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    std::string out, err;
    ASSERT_EQ(RunTool({"export-html", report, "-o", page}, out, err), kExitOk) << err;
    EXPECT_EQ(out, "");
    EXPECT_NE(test::ReadBytes(page).find("<img src=" + dir.File("march.jpg") + ">\r\n"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(dir.File("march.jpg")).substr(0, 3), "\xff\xd8\xff") << "a JPEG file";
}

TEST(CliExport, TimesTenNeedsTwoTradesAndAnUnwritableOutputIsNamed)
{
    test::TempDir dir;
    const std::string report = dir.Write("one.htm", test::Statement({{}}));
    std::string out, err;
    ASSERT_EQ(RunTool({"summary", report, "--normalize-x10"}, out, err), kExitOk) << err;
    EXPECT_NE(out.find("Initial deposit           10000.00"), std::string::npos) << out;

    EXPECT_EQ(RunTool({"export-txt", report, "-o", dir.Path().string()}, out, err), kExitError);
    EXPECT_EQ(err, "Cannot write '" + dir.Path().string() + "': it is a folder.\n");
}

} // namespace
} // namespace corvane
