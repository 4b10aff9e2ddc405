#include "LoadReport.h"
#include "ReportReader.h"

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

/**
 * The trades a loaded sample should give, from the figures counted beside the samples: every buy and sell row
 * of a statement's closed and open sections, and one row per closed order of a tester report that names
 * its symbol in English (a localized one names none, so no rows are read). Nothing when the sample has no
 * figures.
 */
std::optional<int> ExpectedTrades(const Figures& figures, const std::string& name, const Session& session,
                                  const std::string& bytes)
{
    const auto file = figures.find(name);
    if (file == figures.end()) return std::nullopt;
    if (session.Report.Kind == ReportKind::Statement)
        return Count(file->second, "rows_closed") + Count(file->second, "rows_open");
    return bytes.find(kSymbolMarker) == std::string::npos ? 0 : Count(file->second, "rows_closed");
}

TEST(Samples, EveryReportLoadsAndOnlyThoseWithoutTheGeneratorTagAreRefused)
{
    CORVANE_REQUIRE_SAMPLES();
    const auto reports = test::SampleReports();
    ASSERT_FALSE(reports.empty());
    const Figures figures = test::SampleFigures();
    int refused = 0;
    for (const std::string& path : reports) {
        const std::string name = std::filesystem::path(path).filename().string();
        const std::string bytes = test::ReadBytes(path);
        const bool tagged =
            FifthLine(bytes).find("<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">") !=
            std::string::npos;
        Session session;
        LoadOutcome outcome = LoadOutcome::AppendIgnored;
        EXPECT_NO_THROW(outcome = LoadReport(session, path)) << name;
        EXPECT_EQ(outcome, tagged ? LoadOutcome::Loaded : LoadOutcome::Refused) << name;
        if (outcome == LoadOutcome::Refused) {
            ++refused;
            EXPECT_EQ(session.Memo, std::vector<std::string>{std::string(kRefusal)}) << name;
            EXPECT_EQ(session.Full.RowCount(), 2) << name;
        } else if (outcome == LoadOutcome::Loaded) {
            EXPECT_EQ(session.Full.Cell(kTicket, 0), "") << name;
            if (const auto expected = ExpectedTrades(figures, name, session, bytes)) {
                EXPECT_EQ(session.Full.RowCount() - 1, *expected) << name;
            }
        }
    }
    EXPECT_GT(refused, 0) << "the samples include reports of builds without the generator tag";
    EXPECT_LT(refused, static_cast<int>(reports.size()));
}

} // namespace
} // namespace corvane
