#include "LoadReport.h"

#include "Samples.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace corvane {
namespace {

using Figures = std::map<std::string, std::map<std::string, std::string>>;

// The fifth line of a file as stored: the bytes after the fourth line feed up to the next one.
std::string FifthLine(const std::string& bytes)
{
    std::size_t start = 0;
    for (int line = 1; line < 5; ++line) {
        const std::size_t feed = bytes.find('\n', start);
        if (feed == std::string::npos) return "";
        start = feed + 1;
    }
    return bytes.substr(start, bytes.find('\n', start) - start);
}

int Count(const std::map<std::string, std::string>& file, const std::string& column)
{
    const auto cell = file.find(column);
    return cell == file.end() || cell->second.empty() ? 0 : std::stoi(cell->second);
}

// Every buy and sell row of a statement's closed and open sections, and one row per closed order of a
// tester report; nothing when the sample has no figures.
std::optional<int> ExpectedTrades(const Figures& figures, const std::string& name)
{
    const auto file = figures.find(name);
    if (file == figures.end()) return std::nullopt;
    return Count(file->second, "rows_closed") + Count(file->second, "rows_open");
}

TEST(Samples, EveryReportTheTerminalWroteLoadsWithOneRowPerTrade)
{
    CORVANE_REQUIRE_SAMPLES();
    const auto reports = test::SampleReports();
    ASSERT_FALSE(reports.empty());
    const Figures figures = test::SampleFigures();
    int untagged = 0;
    for (const std::string& path : reports) {
        const std::string name = std::filesystem::path(path).filename().string();
        const std::string bytes = test::ReadBytes(path);
        if (FifthLine(bytes).find("<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">") ==
            std::string::npos)
            ++untagged;
        Session session;
        LoadOutcome outcome = LoadOutcome::AppendIgnored;
        EXPECT_NO_THROW(outcome = LoadReport(session, path)) << name;
        EXPECT_EQ(outcome, LoadOutcome::Loaded) << name;
        EXPECT_EQ(session.Full.Cell(kTicket, 0), "") << name;
        if (const auto expected = ExpectedTrades(figures, name)) {
            EXPECT_EQ(session.Full.RowCount() - 1, *expected) << name;
        }
    }
    EXPECT_GT(untagged, 0) << "the samples include reports of builds without the generator tag";
}

} // namespace
} // namespace corvane
