// The tool's pictures, drawn by charts/ (the build with Qt): every chart of dates the calendar lacks,
// and the newer terminal's reports drawn as the older one's.
#include "Mt5ReportBuilder.h"
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace corvane {
namespace {

using test::RunTool;

TEST(CliPictures, DatesTheCalendarLacksAreDrawn)
{
    const test::TempDir dir;
    std::vector<test::StatementTrade> trades;
    for (const std::string date : {"2024.13.02 10:00", "2024.01.00 10:00", "2024.01.02 25:00", "0000.01.02 10:00",
                                   "99999.01.02 10:00", "2024.01.02 10:00"})
        trades.push_back({.Ticket = std::to_string(trades.size() + 1), .OpenTime = date, .CloseTime = date});
    const std::string path = dir.Write("dates.htm", test::Statement(trades, "1000.00"));
    for (const char* view : {"curve", "calendar", "time-open", "time-close"}) {
        const std::string picture = dir.File(std::string(view) + ".png");
        const test::CliResult chart = RunTool({"chart", path, "--view", view, "-o", picture, "--shift-hours", "5"});
        EXPECT_EQ(chart.Status, kExitOk) << view << ": " << chart.Err;
        EXPECT_TRUE(std::filesystem::exists(picture)) << view;
    }
}

TEST(CliPictures, NewerTerminalsReportsAreDrawn)
{
    const test::TempDir dir;
    const std::string report =
        dir.Write("history.htm", test::Mt5ReportBuilder().Trade({.Closes = {test::Mt5Close{}}}).Utf16());
    const std::vector<std::vector<std::string>> commands = {
        {"export-html", report, "-o", dir.File("page.html")},
        {"chart", report, "--view", "time-close", "-o", dir.File("chart.png")},
    };
    for (const auto& command : commands) {
        const test::CliResult result = RunTool(command);
        EXPECT_EQ(result.Status, kExitOk) << command[0] << ": " << result.Err;
        EXPECT_EQ(result.Err, "") << command[0];
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("history.jpg")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("chart.png")));
}

TEST(CliPictures, MonteCarloWritesItsFanChartAsPng)
{
    const test::TempDir dir;
    const std::string report =
        dir.Write("a.htm", test::Statement({{.Ticket = "1"}, {.Ticket = "2", .Profit = "-50.00"}}));
    const test::CliResult result = RunTool({"montecarlo", report, "--runs", "100", "-o", dir.File("fan.png")});
    EXPECT_EQ(result.Status, kExitOk) << result.Err;
    std::ifstream picture(dir.File("fan.png"), std::ios::binary);
    std::string signature(8, '\0');
    picture.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
}

TEST(CliPictures, TheComparisonsPictureIsWrittenBesideItsText)
{
    const test::TempDir dir;
    const std::string first = dir.Write("a.htm", test::Statement({{.Ticket = "1"}, {.Ticket = "2"}}, "1000.00"));
    const std::string second = dir.Write("b.htm", test::Statement({{.Ticket = "3", .Profit = "-5.00"}}, "1000.00"));
    const test::CliResult run = RunTool({"compare", first, second, "--percent", "-o", dir.File("curves.png")});
    EXPECT_EQ(run.Status, kExitOk) << run.Err;
    EXPECT_EQ(run.Out.substr(0, 23), "Strategies compared: 2\n");
    EXPECT_GT(std::filesystem::file_size(dir.File("curves.png")), 1000u);
}

} // namespace
} // namespace corvane
