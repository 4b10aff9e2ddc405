#include "portfolio/ComparisonText.h"

#include "text/CivilTime.h"
#include "text/Numbers.h"

#include <algorithm>
#include <climits>

namespace corvane {

namespace {

std::string Money(double value, int digits)
{
    return FormatRounded(value, digits);
}

std::string Cents(long long cents, int digits)
{
    return FormatRounded(static_cast<double>(cents) / 100, digits);
}

std::string Optional(const std::optional<double>& value, std::string_view unit = {})
{
    return value ? FormatRounded(*value, 2) + std::string(unit) : std::string("n/a");
}

std::string Weight(double weight)
{
    std::string text = FormatRounded(weight, 4);
    while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string TerminalName(const Strategy& strategy)
{
    const char* terminal = strategy.Writer == Terminal::Mt5 ? "MetaTrader 5" : "MetaTrader 4";
    return std::string(terminal) + (strategy.Kind == ReportKind::Tester ? " tester report" : " statement");
}

// Rows of cells: the first column at the left, the others at the right, each as wide as its widest cell.
void WriteTable(const std::vector<std::vector<std::string>>& rows, std::vector<std::string>& lines)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - row[c].size(), ' ');
            line += c == 0 ? row[c] + padding : "  " + padding + row[c];
        }
        lines.push_back(line);
    }
}

void AddStrategies(const Comparison& comparison, std::vector<std::string>& lines)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < comparison.Strategies.size(); ++i) {
        const Strategy& s = comparison.Strategies[i];
        rows.push_back({std::to_string(i + 1) + "  " + s.Name, TerminalName(s),
                        s.Currency.empty() ? "currency unknown" : s.Currency,
                        s.Clock.Shifts() ? "clock " + s.Clock.Describe() : "report's clock",
                        "weight " + Weight(comparison.Weights[i])});
    }
    WriteTable(rows, lines);
}

void AddFigures(const Comparison& comparison, std::vector<std::string>& lines)
{
    std::vector<std::vector<std::string>> rows(16);
    const char* labels[] = {"",
                            "Trades",
                            "Net profit",
                            "Gain",
                            "Profit factor",
                            "Expected payoff",
                            "Maximal drawdown",
                            "Maximal drawdown %",
                            "Recovery factor",
                            "Sharpe ratio (trades)",
                            "Sharpe ratio (annual)",
                            "Won",
                            "Average holding time",
                            "First trade",
                            "Last trade",
                            "Days traded"};
    for (std::size_t r = 0; r < rows.size(); ++r)
        rows[r].emplace_back(labels[r]);
    for (std::size_t i = 0; i < comparison.Strategies.size(); ++i) {
        const Strategy& s = comparison.Strategies[i];
        const MoreFigures& f = s.Figures;
        const int money = s.MoneyDigits;
        const std::string cells[] = {std::to_string(i + 1),
                                     std::to_string(f.Trades),
                                     Money(f.NetProfit, money),
                                     Optional(f.GainPct, "%"),
                                     f.ProfitFactor ? FormatRounded(*f.ProfitFactor, 2) : "n/a (no loss)",
                                     FormatRounded(f.ExpectedPayoff, 2),
                                     Money(f.MaxDrawdown, money),
                                     FormatRounded(f.MaxDrawdownPct, 2) + "%",
                                     Optional(f.RecoveryFactor),
                                     Optional(f.SharpeRatio),
                                     Optional(f.SharpeRatioAnnual),
                                     FormatRounded(WonPct(s), 2) + "%",
                                     HoldingText(f.AverageHoldingSeconds),
                                     FirstTradeText(s),
                                     LastTradeText(s),
                                     std::to_string(comparison.Daily[i].Days.size())};
        for (std::size_t r = 0; r < rows.size(); ++r)
            rows[r].push_back(cells[r]);
    }
    WriteTable(rows, lines);
}

void AddCombination(const Comparison& comparison, const Combination& c, std::vector<std::string>& lines)
{
    const int digits = CombinationDigits(comparison, c);
    std::string members;
    for (std::size_t m = 0; m < c.Members.size(); ++m)
        members += (m ? ", " : "") + std::to_string(c.Members[m] + 1);
    lines.push_back("Combined: strategies " + members + " in " + (c.Currency.empty() ? "unknown" : c.Currency)
                    + (c.Days.empty() ? ", no trades"
                                      : ", " + std::to_string(c.Days.size()) + " days from " + DateText(c.Days.front())
                                            + " to " + DateText(c.Days.back())));
    if (c.Days.empty())
        return;
    const std::string stretch = c.MaxDrawdownCents > 0
                                    ? " (from " + (c.DrawdownPeak ? DateText(c.Days[*c.DrawdownPeak]) : "the start")
                                          + " to " + DateText(c.Days[c.DrawdownTrough]) + ")"
                                    : "";
    const long long saved = c.SumOfSingleDrawdownsCents - c.MaxDrawdownCents;
    std::vector<std::vector<std::string>> rows = {
        {"  Net profit", Cents(c.NetCents, digits)},
        {"  Maximal drawdown (daily)", Cents(c.MaxDrawdownCents, digits) + stretch},
        {"  Sum of the single drawdowns", Cents(c.SumOfSingleDrawdownsCents, digits)},
        {"  Saved by combining",
         Cents(saved, digits)
             + (c.SumOfSingleDrawdownsCents > 0
                    ? " ("
                          + FormatRounded(
                              static_cast<double>(saved) * 100 / static_cast<double>(c.SumOfSingleDrawdownsCents), 2)
                          + "%)"
                    : "")},
        {"  Recovery factor", Optional(c.RecoveryFactor)},
        {"  Sharpe ratio (annual, days)", Optional(c.SharpeRatioAnnual)},
        {"  Days with trades", std::to_string(c.DaysTraded)},
        {"  Winning / losing days", std::to_string(c.WinningDays) + " / " + std::to_string(c.LosingDays)},
        {"  Best / worst day", Cents(c.BestDayCents, digits) + " / " + Cents(c.WorstDayCents, digits)},
    };
    // The values stand at the left, after the labels.
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row[0].size());
    for (const auto& row : rows)
        lines.push_back(row[0] + std::string(width - row[0].size() + 2, ' ') + row[1]);
}

void AddMatrix(const Comparison& comparison, std::vector<std::string>& lines)
{
    const CorrelationMatrix& m = comparison.Correlation;
    lines.emplace_back("Correlation of the daily results (Pearson; the days neither of a pair traded are left out)");
    std::vector<std::vector<std::string>> values(1, {""}), days(1, {""});
    for (std::size_t c = 0; c < m.Size; ++c) {
        values[0].push_back(std::to_string(c + 1));
        days[0].push_back(std::to_string(c + 1));
    }
    for (std::size_t r = 0; r < m.Size; ++r) {
        values.push_back({std::to_string(r + 1)});
        days.push_back({std::to_string(r + 1)});
        for (std::size_t c = 0; c < m.Size; ++c) {
            values.back().push_back(m.Value(r, c) ? FormatRounded(*m.Value(r, c), 3) : "n/a");
            days.back().push_back(std::to_string(m.Together(r, c)) + "/" + std::to_string(m.Counted(r, c)));
        }
    }
    WriteTable(values, lines);
    lines.emplace_back();
    lines.emplace_back("Days both traded / days counted (either traded)");
    WriteTable(days, lines);
}

} // namespace

int CombinationDigits(const Comparison& comparison, const Combination& combination)
{
    for (const std::size_t m : combination.Members)
        if (comparison.Strategies[m].MoneyDigits > 0)
            return 2;
    return combination.Members.empty() ? 2 : 0;
}

std::string FirstTradeText(const Strategy& strategy)
{
    long long first = LLONG_MAX;
    for (const ClosedTrade& trade : strategy.Trades)
        first = std::min(first, trade.OpenSeconds != 0 ? trade.OpenSeconds : trade.CloseSeconds);
    return first == LLONG_MAX ? "" : TimeText(strategy.Clock.ToTrader(first), false);
}

std::string LastTradeText(const Strategy& strategy)
{
    long long last = LLONG_MIN;
    for (const ClosedTrade& trade : strategy.Trades)
        last = std::max(last, trade.CloseSeconds);
    return last == LLONG_MIN ? "" : TimeText(strategy.Clock.ToTrader(last), false);
}

std::vector<std::string> ComparisonLines(const Comparison& comparison)
{
    std::vector<std::string> lines;
    lines.push_back("Strategies compared: " + std::to_string(comparison.Strategies.size()));
    if (comparison.Strategies.empty()) {
        lines.insert(lines.end(), comparison.Notes.begin(), comparison.Notes.end());
        return lines;
    }
    AddStrategies(comparison, lines);
    lines.emplace_back();
    AddFigures(comparison, lines);
    for (const Combination& combination : comparison.Combinations) {
        lines.emplace_back();
        AddCombination(comparison, combination, lines);
    }
    lines.emplace_back();
    AddMatrix(comparison, lines);
    if (!comparison.Notes.empty())
        lines.emplace_back();
    for (const std::string& note : comparison.Notes)
        lines.push_back(note);
    return lines;
}

} // namespace corvane
