// montecarlo: its options, its seed, and every real report run through it.
#include "RunTool.h"
#include "Samples.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane {
namespace {

using test::RunTool;

// The text between `before` and the next `after` in `text`, "" when `before` is not there.
std::string Between(const std::string& text, const std::string& before, const std::string& after)
{
    const std::size_t start = text.find(before);
    if (start == std::string::npos)
        return {};
    const std::size_t from = start + before.size();
    return text.substr(from, text.find(after, from) - from);
}

const std::string kReport = CORVANE_CLI_DATA_DIR "/golden-account.htm";

TEST(MonteCarloCli, TheSameSeedGivesTheSameJson)
{
    const std::vector<std::string> command{"montecarlo", kReport,    "--seed",  "123",   "--runs",
                                           "3000",       "--method", "block:2", "--json"};
    const test::CliResult first = RunTool(command);
    ASSERT_EQ(first.Status, kExitOk) << first.Err;
    EXPECT_EQ(RunTool(command).Out, first.Out);
    EXPECT_NE(first.Out.find("\"seed\": 123,"), std::string::npos);
    EXPECT_NE(first.Out.find("\"block_length\": 2,"), std::string::npos);
}

TEST(MonteCarloCli, ASeedNotGivenIsDrawnAndNamed)
{
    const test::CliResult drawn = RunTool({"montecarlo", kReport, "--runs", "500"});
    ASSERT_EQ(drawn.Status, kExitOk) << drawn.Err;
    const std::string seed = Between(drawn.Out, " runs, seed ", ":");
    ASSERT_FALSE(seed.empty());
    EXPECT_EQ(RunTool({"montecarlo", kReport, "--runs", "500", "--seed", seed}).Out, drawn.Out);
}

TEST(MonteCarloCli, ValuesOutOfRangeAndOptionsOfOtherCommandsAreBadUsage)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"montecarlo", kReport, "--runs", "0"}, "--runs takes 1 to 1000000"},
        {{"montecarlo", kReport, "--method", "shuffle"}, "--method takes permute, bootstrap, block[:K] or skip[:P]"},
        {{"montecarlo", kReport, "--method", "block:0"}, "--method block:K takes a block length of 1 or more"},
        {{"montecarlo", kReport, "--method", "skip:1.5"}, "--method skip:P takes a probability from 0 to 1"},
        {{"montecarlo", kReport, "--deposit", "nan"}, "--deposit takes a number, not 'nan'"},
        {{"montecarlo", kReport, "--ruin", "0"}, "--ruin takes a percentage above 0 and at most 100"},
        {{"stats", kReport, "--seed", "1"}, "--seed belongs to montecarlo"},
    };
    for (const auto& [command, message] : cases) {
        const test::CliResult result = RunTool(command);
        EXPECT_EQ(result.Status, kExitError) << message;
        EXPECT_EQ(result.Err, "corvane4-cli: " + message + "\nTry 'corvane4-cli --help'.\n");
    }
}

TEST(MonteCarloCli, CompoundingABalanceAtOrBelowZeroIsRefused)
{
    const test::CliResult result = RunTool({"montecarlo", kReport, "--compound", "--deposit", "0", "--runs", "10"});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Err, "compounding needs a starting balance above 0\n");
}

TEST(MonteCarloCli, HelpOfItsOwn)
{
    const test::CliResult help = RunTool({"montecarlo", "--help"});
    EXPECT_EQ(help.Status, kExitOk);
    EXPECT_EQ(help.Out.rfind("Usage: corvane4-cli montecarlo REPORT", 0), 0U);
}

// Every real report, shuffled and in blocks: the permutation's final result is the report's in every run.
TEST(MonteCarloCli, EveryRealReportRuns)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const std::string& path : test::EverySampleReport()) {
        const std::string name = std::filesystem::path(path).filename().string();
        for (const char* method : {"permute", "block"}) {
            const test::CliResult result = RunTool({"montecarlo", path, "--method", method, "--runs", "200", "--json"});
            ASSERT_EQ(result.Status, kExitOk) << name << " " << method << ": " << result.Err;
            if (std::string(method) != "permute")
                continue;
            const std::string finalNet = Between(result.Out, "\"final_net\": {", "}");
            EXPECT_EQ(Between(finalNet, "\"p5\": ", ","), Between(finalNet, "\"p95\": ", ",")) << name;
            EXPECT_NE(Between(finalNet, "\"p5\": ", ","), "") << name;
        }
    }
}

} // namespace
} // namespace corvane
