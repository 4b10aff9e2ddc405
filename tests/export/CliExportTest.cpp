#include "Cli.h"

#include "ReportBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace corvane {
namespace {

struct CliResult
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

CliResult RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    CliResult result;
    result.Status = RunCli(args, out, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

std::string TwoTrades()
{
    test::StatementTrade first;
    first.Magic = "111";
    test::StatementTrade second;
    second.Ticket = "1002";
    second.Symbol = "gbpusd";
    second.Profit = "-50.00";
    return test::StatementBuilder().Deposit("10000.00").Closed(first).Closed(second).Text();
}

TEST(CliExport, HtmlPageWithItsPictureBesideTheReport)
{
    test::TempDir dir;
    const std::string report = dir.Write("march.htm", TwoTrades());
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    const CliResult result = RunTool({"export-html", report, "-o", page});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(test::ReadBytes(page).find("<img src=" + dir.File("march.jpg") + ">\r\n"), std::string::npos);
    const std::string picture = test::ReadBytes(dir.File("march.jpg"));
    EXPECT_EQ(picture.substr(0, 3), "\xff\xd8\xff") << "a JPEG file";
}

TEST(CliExport, TextFileReadBackByImport)
{
    test::TempDir dir;
    const std::string report = dir.Write("march.htm", TwoTrades());
    const std::string text = dir.File("march.txt");
    ASSERT_EQ(RunTool({"export-txt", report, "--delete", "1001", "-o", text}).Status, kExitOk);
    const CliResult table = RunTool({"table", "--import", text});
    ASSERT_EQ(table.Status, kExitOk) << table.Err;
    EXPECT_EQ(table.Out.substr(0, 5), "1002\t");
    EXPECT_EQ(std::count(table.Out.begin(), table.Out.end(), '\n'), 1);
}

TEST(CliExport, TimesTenNeedsTwoTrades)
{
    test::TempDir dir;
    const std::string report = dir.Write("one.htm", test::StatementBuilder().Closed({}).Text());
    const CliResult result = RunTool({"summary", report, "--normalize-x10"});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_NE(result.Out.find("Initial deposit           10000.00"), std::string::npos) << result.Out;
}

TEST(CliExport, UnwritableOutputIsAnErrorNamingIt)
{
    test::TempDir dir;
    const std::string report = dir.Write("march.htm", TwoTrades());
    const CliResult result = RunTool({"export-txt", report, "-o", dir.Path().string()});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Err, "Cannot write '" + dir.Path().string() + "': it is a folder.\n");
}

} // namespace
} // namespace corvane
