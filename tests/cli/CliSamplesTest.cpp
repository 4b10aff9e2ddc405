#include "cli/Cli.h"

#include "Samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace corvane {
namespace {

// Every report the terminal wrote is summarised; none is refused or makes the tool fail.
TEST(CliSamples, EveryReportTheTerminalWroteIsSummarised)
{
    CORVANE_REQUIRE_SAMPLES();
    const std::vector<std::string> reports = test::SampleReports();
    ASSERT_FALSE(reports.empty());
    for (const std::string& path : reports) {
        const std::string name = std::filesystem::path(path).filename().string();
        std::ostringstream out, err;
        EXPECT_EQ(RunCli({"summary", path}, out, err), kExitOk) << name << ": " << err.str();
        EXPECT_EQ(err.str(), "") << name;
        const std::string summary = out.str();
        const std::string heading = summary.substr(0, summary.find('\n'));
        EXPECT_NE(heading.find(path), std::string::npos) << name << ": " << heading;
        EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 14) << name;
    }
}

// Sort trades reorders the visible table only: the figures, defined in the terminal's order, stay.
TEST(CliSamples, SortingChangesNoFigureOfTheStatistics)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const std::string& path : test::EverySampleReport()) {
        std::ostringstream plain, sorted, err;
        ASSERT_EQ(RunCli({"stats", path, "--json"}, plain, err), kExitOk) << path << ": " << err.str();
        ASSERT_EQ(RunCli({"stats", path, "--json", "--sort"}, sorted, err), kExitOk) << path << ": " << err.str();
        EXPECT_EQ(sorted.str(), plain.str()) << path;
    }
}

} // namespace
} // namespace corvane
