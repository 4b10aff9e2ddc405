// compare and the time options: what the golden cases do not show.
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace corvane {
namespace {

using test::RunTool;

class CompareCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Two expert advisors on one account; the second report trades on days of its own.
        m_first = m_dir.Write("first.htm", test::Statement({Trade("1", "2024.01.08 10:00", "60.00", "7"),
                                                            Trade("2", "2024.01.09 11:00", "-50.00", "7"),
                                                            Trade("3", "2024.01.09 16:00", "-20.00", "8"),
                                                            Trade("4", "2024.01.10 12:00", "10.00", "8")},
                                                           "1000.00"));
        m_second = m_dir.Write("second.htm", test::Statement({Trade("5", "2024.01.11 09:00", "30.00", "")}, "500.00"));
    }

    static test::StatementTrade Trade(const std::string& ticket, const std::string& close, const std::string& profit,
                                      const std::string& magic)
    {
        return {.Ticket = ticket, .CloseTime = close, .Profit = profit, .Magic = magic};
    }

    test::TempDir m_dir;
    std::string m_first, m_second;
};

TEST_F(CompareCli, TheJsonHoldsTheDaysEachStrategyAndTheCombinationHad)
{
    const test::CliResult run = RunTool({"compare", m_first, m_second, "--by-magic", "--weights", "1,2,1", "--json"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const nlohmann::json json = nlohmann::json::parse(run.Out);
    ASSERT_EQ(json["strategies"].size(), 3u);
    EXPECT_EQ(json["strategies"][1]["magic"], "8");
    EXPECT_EQ(json["days"].size(), 4u);
    EXPECT_EQ(json["days"][1]["results"], nlohmann::json::parse("[-50.0, -20.0, null]"));
    const nlohmann::json& combined = json["combinations"][0];
    EXPECT_EQ(combined["daily"][1]["result"], -90.0);
    EXPECT_EQ(combined["max_drawdown"], 90.0);
    EXPECT_EQ(json["correlation"]["days_together"][0][1], 1);
}

TEST_F(CompareCli, WithoutAShiftEveryOutputStaysTheSame)
{
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"stats", m_first}, {"stats", m_first, "--json"}, {"table", m_first, "--csv"}}) {
        std::vector<std::string> shifted = command;
        shifted.insert(shifted.end(), {"--shift-hours", "0", "--shifted-times"});
        if (command[0] == "stats")
            shifted.pop_back();
        EXPECT_EQ(RunTool(command).Out, RunTool(shifted).Out) << command[0];
    }
    EXPECT_NE(RunTool({"stats", m_first, "--shift-hours", "13"}).Out, RunTool({"stats", m_first}).Out);
}

TEST_F(CompareCli, TheGridShowsShiftedTimesWhenAsked)
{
    const test::CliResult grid = RunTool({"grid", m_first, "--shift-hours", "-10.5", "--shifted-times"});
    ASSERT_EQ(grid.Status, 0) << grid.Err;
    // 2024.01.02 10:00 and 2024.01.08 10:00, ten and a half hours earlier.
    EXPECT_EQ(grid.Out.substr(0, grid.Out.find('\n')).substr(grid.Out.find('\t') + 1, 16), "2024.01.01 23:30");
    EXPECT_NE(grid.Out.find("\t2024.01.07 23:30\t"), std::string::npos);
    EXPECT_EQ(RunTool({"grid", m_first, "--shift-hours", "-10.5"}).Out, RunTool({"grid", m_first}).Out)
        << "the table keeps the report's own times unless asked";
}

TEST_F(CompareCli, OptionsThatDoNotFitAreUsageErrors)
{
    const auto error = [](const std::vector<std::string>& args) {
        const test::CliResult run = RunTool(args);
        EXPECT_EQ(run.Status, 1);
        return run.Err.substr(0, run.Err.find('\n'));
    };
    EXPECT_EQ(error({"compare", m_first, m_second, "--weights", "1,2,3"}),
              "3 weights for 2 strategies: give one weight a strategy");
    EXPECT_EQ(error({"compare", m_first, m_second, "--shift-hours", "1,2,3"}),
              "corvane4-cli: --shift-hours takes one value, or one for each of the 2 reports");
    EXPECT_EQ(error({"stats", m_first, "--server-zone", "EET"}),
              "corvane4-cli: --server-zone needs --time-zone, the trader's zone");
    EXPECT_EQ(error({"stats", m_first, "--shift-hours", "1", "--shifted-times"}),
              "corvane4-cli: --shifted-times belongs to table and grid");
    EXPECT_EQ(error({"stats", m_first, "--time-zone", "Mars/Olympus"}).substr(0, 32),
              "unknown time zone 'Mars/Olympus'");
    EXPECT_EQ(error({"compare", m_first, "--append", m_second}).substr(0, 50),
              "corvane4-cli: compare takes its reports as they ar");
    EXPECT_EQ(error({"compare", m_first, "--rates", "JPY"}),
              "corvane4-cli: --weights and --rates: a rate is given as CURRENCY=RATE, not 'JPY'");
    EXPECT_EQ(error({"stats", m_first, "--by-magic"}),
              "corvane4-cli: --by-magic, --weights, --rates, --percent and --html belong to compare");
}

} // namespace
} // namespace corvane
