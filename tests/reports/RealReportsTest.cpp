#include "Samples.h"
#include "TempDir.h"
#include "reports/LoadReport.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

namespace corvane {
namespace {

double FigureValue(const std::string& text)
{
    return text.empty() ? 0.0 : ParseMoneyCell(text);
}

// The deposit a statement starts from, read straight from the file: the amount of the first balance
// row that comes before the first trade row.
double FirstBalanceBeforeFirstTrade(const std::string& path)
{
    const std::string bytes = test::ReadBytes(path);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string_view line(bytes.data() + pos, end - pos);
        pos = end + 1;
        if (Contains(line, "<td>buy</td>") || Contains(line, "<td>sell</td>"))
            return 0.0;
        if (Contains(line, "<td>balance</td>"))
            return ParseMoneyCell(Field(line, "mspt>", "</td>", 1));
    }
    return 0.0;
}

struct Totals
{
    int Closed = 0;
    int Open = 0;
    double Result = 0.0;
};

Totals CountRows(const TextGrid& full)
{
    Totals totals;
    for (int row = 1; row < full.RowCount(); ++row) {
        if (full.Cell(kCloseTime, row).empty()) {
            ++totals.Open;
            continue;
        }
        ++totals.Closed;
        totals.Result += ParseProfitCell(full.Cell(kProfit, row));
        for (const int column : {kComm, kSwap})
            if (!IsBlankCell(full.Cell(column, row)))
                totals.Result += ParseMoneyCell(full.Cell(column, row));
    }
    return totals;
}

TEST(RealReports, EveryReportMatchesTheTerminalsOwnFigures)
{
    CORVANE_REQUIRE_SAMPLES();
    const auto figures = test::SampleFigures();
    ASSERT_FALSE(figures.empty());
    for (const auto& [name, row] : figures) {
        SCOPED_TRACE(name);
        const std::string path = test::SamplesDir() + "/" + name;
        Session session;
        ASSERT_EQ(LoadReport(session, path, LoadMode::Replace), LoadOutcome::Loaded);
        const bool tester = row.at("kind") == "tester";
        EXPECT_EQ(session.Report.Kind, tester ? ReportKind::Tester : ReportKind::Statement);

        const Totals totals = CountRows(session.Full);
        const std::string& total = row.at("total_trades");
        EXPECT_EQ(totals.Closed, std::stoi(total.empty() ? row.at("rows_closed") : total));
        if (!row.at("rows_open").empty())
            EXPECT_EQ(totals.Open, std::stoi(row.at("rows_open")));
        else
            EXPECT_EQ(totals.Open, 0);
        EXPECT_NEAR(totals.Result, FigureValue(row.at("net_profit")), tester ? 0.05 : 0.005);

        const double deposit = tester ? FigureValue(row.at("initial_deposit")) : FirstBalanceBeforeFirstTrade(path);
        EXPECT_DOUBLE_EQ(session.Report.InitialDeposit, deposit);
    }
}

TEST(RealReports, CodePageIsGuessedFromTheText)
{
    CORVANE_REQUIRE_SAMPLES();
    const std::map<std::string, std::string> expected = {
        {"statement-japanese-localized-sjis.htm", "Shift_JIS"},
        {"statement-chinese-gbk-comments.htm", "GBK"},
        {"tester-russian-swap-rollover-stoporders.htm", "windows-1251"},
        {"tester-spanish-large-buylimit-expiration.htm", "windows-1252"},
        {"tester-french-small.htm", "windows-1252"},
        {"statement-2012-no-seconds.htm", "windows-1252"},
    };
    for (const auto& [name, codePage] : expected) {
        Session session;
        LoadReport(session, test::SamplesDir() + "/" + name, LoadMode::Replace);
        EXPECT_EQ(session.Report.CodePage, codePage) << name;
    }
}

// The fifth line of a file as stored: the bytes after the fourth line feed up to the next one.
std::string FifthLine(const std::string& bytes)
{
    std::size_t start = 0;
    for (int line = 1; line < 5; ++line) {
        const std::size_t feed = bytes.find('\n', start);
        if (feed == std::string::npos)
            return "";
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
std::optional<int> ExpectedTrades(const decltype(test::SampleFigures())& figures, const std::string& name)
{
    const auto file = figures.find(name);
    if (file == figures.end())
        return std::nullopt;
    return Count(file->second, "rows_closed") + Count(file->second, "rows_open");
}

TEST(Samples, EveryReportTheTerminalWroteLoadsWithOneRowPerTrade)
{
    CORVANE_REQUIRE_SAMPLES();
    const auto reports = test::SampleReports();
    ASSERT_FALSE(reports.empty());
    const auto figures = test::SampleFigures();
    int untagged = 0;
    for (const std::string& path : reports) {
        const std::string name = std::filesystem::path(path).filename().string();
        const std::string bytes = test::ReadBytes(path);
        if (FifthLine(bytes).find("<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">")
            == std::string::npos)
            ++untagged;
        Session session;
        LoadOutcome outcome = LoadOutcome::AppendIgnored;
        EXPECT_NO_THROW(outcome = LoadReport(session, path, LoadMode::Replace)) << name;
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
