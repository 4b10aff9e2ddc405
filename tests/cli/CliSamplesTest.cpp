#include "Cli.h"

#include "LoadReport.h"
#include "Samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvane {
namespace {

// Line 5 of a file, as the report detection reads it (up to the line feed).
std::string FifthLine(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (int i = 0; i < 5 && std::getline(in, line); ++i) {
    }
    return line;
}

bool HasGeneratorTag(const std::string& path)
{
    return FifthLine(path).find("<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">") !=
           std::string::npos;
}

// Every report the terminal wrote is either summarised or refused; none makes the tool fail.
TEST(CliSamples, EveryReportIsSummarisedOrRefusedByItsGeneratorTag)
{
    CORVANE_REQUIRE_SAMPLES();
    const std::vector<std::string> reports = test::SampleReports();
    ASSERT_FALSE(reports.empty());
    for (const std::string& path : reports) {
        const std::string name = std::filesystem::path(path).filename().string();
        std::ostringstream out, err;
        const int status = RunCli({"summary", path}, out, err);
        if (HasGeneratorTag(path)) {
            EXPECT_EQ(status, kExitOk) << name << ": " << err.str();
            EXPECT_EQ(err.str(), "") << name;
            // A report without trade rows (a localized tester report names no symbol, so none of its
            // lines is read) leaves the summary text empty, as the filter pass keeps no trade.
            std::ostringstream table, tableErr;
            ASSERT_EQ(RunCli({"table", path}, table, tableErr), kExitOk) << name << ": " << tableErr.str();
            const std::string summary = out.str();
            if (table.str().empty()) {
                EXPECT_EQ(summary, "") << name;
                continue;
            }
            const std::string heading = summary.substr(0, summary.find('\n'));
            EXPECT_NE(heading.find(path), std::string::npos) << name << ": " << heading;
            EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 14) << name;
        } else {
            EXPECT_EQ(status, kExitRefused) << name << ": " << err.str();
            EXPECT_EQ(err.str(), std::string(kRefusal) + "\n") << name;
            EXPECT_EQ(out.str(), "") << name;
        }
    }
}

} // namespace
} // namespace corvane
