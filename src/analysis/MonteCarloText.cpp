#include "analysis/MonteCarloText.h"

#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// A figure with `digits` decimals; a value that is not finite (a ratio without a drawdown) as "n/a".
std::string Figure(double value, int digits, const char* unit = "")
{
    return std::isfinite(value) ? FormatRounded(value, digits) + unit : "n/a";
}

std::string MethodText(const MonteCarloResult& result)
{
    const MonteCarloSettings& settings = result.Settings;
    switch (settings.Method) {
    case MonteCarloMethod::Permutation:
        return "permutation (the same trades in a random order)";
    case MonteCarloMethod::Bootstrap:
        return "bootstrap (" + std::to_string(result.Trades) + " trades drawn with replacement)";
    case MonteCarloMethod::BlockBootstrap:
        return "block bootstrap (blocks of " + std::to_string(settings.BlockLength)
               + " consecutive trades drawn with replacement)";
    case MonteCarloMethod::Skip:
        return "skip (each trade left out with probability " + FormatRounded(settings.SkipProbability, 4) + ")";
    }
    return {};
}

// Rows of cells as columns: the first left-aligned, the others right-aligned, two blanks apart.
void WriteTable(const std::vector<std::vector<std::string>>& rows, std::vector<std::string>& lines)
{
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : rows) {
        std::string line = row[0] + std::string(widths[0] - row[0].size(), ' ');
        for (std::size_t c = 1; c < row.size(); ++c)
            line += "  " + std::string(widths[c] - row[c].size(), ' ') + row[c];
        lines.push_back(line);
    }
}

std::vector<std::string> SpreadRow(const char* label, const FigureSpread& spread, int digits, const char* unit = "")
{
    std::vector<std::string> row{label};
    for (const double value : spread.Percentiles)
        row.push_back(Figure(value, digits, unit));
    row.push_back(Figure(spread.AtConfidence, digits, unit));
    row.push_back(Figure(spread.Mean, digits == 0 ? 2 : digits, unit));
    row.push_back(Figure(spread.Report, digits, unit));
    row.push_back(FormatRounded(spread.ReportRank, 2) + "%");
    return row;
}

} // namespace

std::string MonteCarloHeading(const MonteCarloResult& result)
{
    return "Monte Carlo analysis of " + std::to_string(result.Trades) + " trades, "
           + std::to_string(result.Settings.Runs) + " runs, seed " + std::to_string(result.Settings.Seed) + ": "
           + MethodText(result);
}

std::vector<std::string> MonteCarloLines(const MonteCarloResult& result)
{
    const MonteCarloSettings& settings = result.Settings;
    const int money = result.MoneyDigits;
    std::vector<std::string> lines{MonteCarloHeading(result)};
    lines.push_back(
        "Starting balance " + FormatRounded(result.Start, money) + (result.StartGiven ? " (given)" : " (the report's)")
        + ", results "
        + (settings.Compound ? "compounded as returns on the balance before them" : "added in money as printed"));
    lines.push_back("Ruin: a drawdown of " + FormatRounded(settings.RuinPct, 2) + "% of the starting balance"
                    + "; confidence level " + FormatRounded(settings.ConfidencePct, 2) + "%");
    lines.emplace_back();

    const std::string confidence = "at " + FormatRounded(settings.ConfidencePct, 2) + "%";
    std::vector<std::vector<std::string>> rows{
        {"", "5%", "25%", "50%", "75%", "95%", confidence, "mean", "report", "rank"}};
    rows.push_back(SpreadRow("Final net result", result.FinalNet, money));
    rows.push_back(SpreadRow("Maximal drawdown", result.MaxDrawdown, money));
    if (result.MaxDrawdownPct)
        rows.push_back(SpreadRow("Maximal drawdown %", *result.MaxDrawdownPct, 2, "%"));
    else
        rows.push_back({"Maximal drawdown %", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"});
    rows.push_back(SpreadRow("Longest losing streak", result.LosingStreak, 0));
    rows.push_back(SpreadRow("Net result / drawdown", result.NetOverDrawdown, 2));
    WriteTable(rows, lines);
    lines.emplace_back();

    std::vector<std::vector<std::string>> chances{
        {"Probability of ruin", result.RuinPct ? FormatRounded(*result.RuinPct, 2) + "%" : "n/a"},
        {"Probability of ending below the start", FormatRounded(result.BelowStartPct, 2) + "%"}};
    WriteTable(chances, lines);
    return lines;
}

} // namespace corvane
