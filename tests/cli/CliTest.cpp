// What the golden cases beside this file do not show: options combined, the append rules of the tool,
// errors that name what was wrong, and the help.
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"
#include "reports/LoadReport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;
using test::CliResult;
using test::RunTool;

// The first cell (the ticket) of every printed row.
Lines Tickets(const std::string& output)
{
    Lines tickets;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        tickets.push_back(line.substr(0, line.find('\t')));
    return tickets;
}

test::StatementTrade Trade(const std::string& ticket, const std::string& symbol, const std::string& magic = "")
{
    return {.Ticket = ticket, .Symbol = symbol, .Magic = magic};
}

class CliOnReports : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, const std::vector<test::StatementTrade>& trades,
                      const std::string& title = "Statement: 1 - Test")
    {
        return m_dir.Write(name, test::Statement(trades, "1000.00", title));
    }

    test::TempDir m_dir;
};

TEST_F(CliOnReports, SeveralSymbolsAndMagicsCombine)
{
    const std::string path =
        Write("five.htm", {Trade("1", "eurusd", "111"), Trade("2", "gbpusd", "111"), Trade("3", "eurusd", "222"),
                           Trade("4", "usdjpy", "111"), Trade("5", "gbpusd")});
    EXPECT_EQ(Tickets(RunTool({"grid", path, "--symbols", "EURUSD,gbpusd"}).Out), (Lines{"1", "2", "3", "5"}));
    EXPECT_EQ(Tickets(RunTool({"grid", path, "--magics", "111,0"}).Out), (Lines{"1", "2", "4", "5"}));
    EXPECT_EQ(Tickets(RunTool({"grid", path, "--symbols", "eurusd,gbpusd", "--magics", "111"}).Out), (Lines{"1", "2"}));

    for (const Lines& option : {Lines{"--symbols", "xauusd"}, Lines{"--magics", "333"}}) {
        const CliResult result = RunTool({"summary", path, option[0], option[1]});
        EXPECT_EQ(result.Status, kExitError) << option[1];
        EXPECT_EQ(result.Out, "");
        EXPECT_NE(result.Err.find(option[1]), std::string::npos) << "an entry not in the list: " << result.Err;
    }
}

TEST_F(CliOnReports, AppendNeedsTwoTradesAndAStatementOfTheSameKind)
{
    const std::string one = Write("one.htm", {Trade("30", "eurusd")}, "Statement: 1 - One");
    const std::string two = Write("two.htm", {Trade("10", "eurusd"), Trade("40", "eurusd")}, "Statement: 2 - Two");
    const std::string three = Write("three.htm", {Trade("20", "gbpusd")}, "Statement: 3 - Three");
    EXPECT_EQ(Tickets(RunTool({"table", two, "--append", three}).Out), (Lines{"10", "20", "40"}));
    EXPECT_EQ(Tickets(RunTool({"table", one, "--append", three}).Out), (Lines{"20"}))
        << "after fewer than two trades the report is loaded afresh";
    const std::string summary = RunTool({"summary", two, "--append", three}).Out;
    EXPECT_EQ(summary.substr(0, summary.find('\n')), "Statement: 2 - Two, " + three)
        << "the first title, the path of the last report";

    const std::string tester = m_dir.Write(
        "tester.htm",
        test::TesterBuilder().Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "7", "1.00", "1.1")).Text());
    const CliResult afterTester = RunTool({"table", two, "--append", tester});
    EXPECT_EQ(afterTester.Status, kExitOk) << afterTester.Err;
    EXPECT_EQ(afterTester.Out, RunTool({"table", two}).Out) << "another kind of report changes nothing";
}

TEST_F(CliOnReports, AFolderOrAMissingAppendedReportIsAnErrorNamingIt)
{
    const std::string present = Write("two.htm", {Trade("1", "eurusd"), Trade("2", "eurusd")});
    const std::string folder = m_dir.Path().string();
    CliResult result = RunTool({"summary", folder});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_NE(result.Err.find(folder), std::string::npos) << result.Err;

    result = RunTool({"summary", present, "--append", m_dir.File("missing.htm")});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("missing.htm"), std::string::npos) << result.Err;
}

TEST(Cli, BadArgumentsAreAnErrorPointingToHelp)
{
    const std::vector<Lines> cases = {{},
                                      {"summary"},
                                      {"print", "a.htm"},
                                      {"summary", "a.htm", "--bogus"},
                                      {"summary", "a.htm", "--symbols"},
                                      {"summary", "a.htm", "b.htm"}};
    for (const Lines& args : cases) {
        const CliResult result = RunTool(args);
        SCOPED_TRACE(args.empty() ? "nothing" : args.back());
        EXPECT_EQ(result.Status, kExitError);
        EXPECT_EQ(result.Out, "");
        EXPECT_NE(result.Err.find("--help"), std::string::npos) << result.Err;
    }
}

TEST(Cli, HelpWinsOverEveryOtherArgumentAndQuotesTheRefusalLineWhole)
{
    const CliResult result = RunTool({"summary", "no-such-report.htm", "--bogus", "--help"});
    EXPECT_EQ(result.Status, kExitOk);
    EXPECT_EQ(result.Out.rfind("Usage: corvane4-cli", 0), 0u);
    EXPECT_EQ(result.Err, "");
    EXPECT_NE(result.Out.find("\"" + std::string(kRefusal) + "\""), std::string::npos) << result.Out;
}

} // namespace
} // namespace corvane
