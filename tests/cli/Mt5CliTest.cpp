// The tool on the newer terminal's reports: every command takes them, and what a load could not read
// is said on standard error while the tool goes on.
#include "Mt5ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane {
namespace {

using test::Mt5Close;
using test::Mt5Trade;
using test::RunTool;

test::Mt5ReportBuilder History(const std::string& first)
{
    test::Mt5ReportBuilder report;
    report.Trade(
        {.Id = first,
         .Volume = "0.20",
         .Commission = "-1.40",
         .Comment = "押し目買い",
         .Closes = {Mt5Close{.Commission = "-0.70"}, Mt5Close{.Time = "2024.01.02 13:00:00", .Profit = "-4.00"}}});
    report.Trade({.Id = first + "1",
                  .Symbol = "GBPUSD",
                  .Type = "sell",
                  .Time = "2024.01.02 11:00:00",
                  .Closes = {Mt5Close{.Time = "2024.01.03 10:00:00", .Profit = "7.50"}}});
    return report;
}

TEST(Mt5Cli, EveryCommandTakesTheNewerTerminalsReports)
{
    const test::TempDir dir;
    const std::string report = dir.Write("history.htm", History("500").Utf16());
    const std::string second = dir.Write("second.htm", History("400").Utf16());
    const std::string tester =
        dir.Write("tester.htm", test::Mt5ReportBuilder(true).Trade({.Closes = {Mt5Close{}}}).Utf16());
    const std::string text = dir.File("trades.txt");
    const std::vector<std::vector<std::string>> commands = {
        {"summary", report},
        {"grid", report, "--append", second, "--symbols", "eurusd", "--sort"},
        {"grid", report, "--append", tester}, // a tester report is not appended, as ever
        {"grid", tester, "--normalize"},
        {"grid", report, "--delete", "5001", "--normalize-x10"},
        {"export-txt", report, "-o", text},
        {"grid", "--import", text},
        {"export-html", report, "--no-picture", "-o", dir.File("page.html")}, // with it: CliPicturesTest.cpp
    };
    for (const auto& command : commands) {
        const test::CliResult result = RunTool(command);
        EXPECT_EQ(result.Status, kExitOk) << command[0] << " " << command.back() << ": " << result.Err;
        EXPECT_EQ(result.Err, "") << command[0];
    }
    const std::string table = RunTool({"table", report}).Out;
    EXPECT_EQ(table.substr(0, table.find('\n')),
              "500\t2024.01.02 10:00:00\tbuy\t0.10\tEURUSD\t1.10000\t0.00000\t0.00000\t"
              "2024.01.02 12:00:00\t1.10100\t -1.40\t  0.00\t     10.00\t\t\t\t"
              "            \t押し目買い\t\t");
    EXPECT_NE(test::ReadBytes(text).find("押し目買い"), std::string::npos) << "the comment goes out as it was read";
}

TEST(Mt5Cli, WhatTheLoadCouldNotPairIsSaidAndTheRestShown)
{
    const test::TempDir dir;
    const std::string report =
        dir.Write("history.htm", History("500").Deal({.Time = "2024.01.02 09:00:00", .Profit = "-1.00"}).Utf16());
    const test::CliResult result = RunTool({"table", report});
    EXPECT_EQ(result.Status, kExitOk);
    EXPECT_EQ(result.Err, "corvane4-cli: " + report
                              + ": 1 closing deal (5001) found no open position to close; its result, -1.00, is not in "
                                "the table.\n");
    EXPECT_EQ(std::count(result.Out.begin(), result.Out.end(), '\n'), 3);
}

} // namespace
} // namespace corvane
