#include "cli/CliCompare.h"

#include "cli/CliClock.h"
#include "cli/CliPictures.h"
#include "cli/StatsJson.h"
#include "export/ComparisonHtml.h"
#include "platform/PlatformFiles.h"
#include "portfolio/ComparisonText.h"
#include "portfolio/SettingsText.h"
#include "text/CivilTime.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace corvane {

namespace {

using Json = nlohmann::ordered_json;

ComparisonSettings Settings(const CompareOptions& options)
{
    ComparisonSettings settings;
    try {
        for (const std::string& weight : options.Weights)
            settings.Weights.push_back(ParseWeight(weight));
        for (const std::string& rate : options.Rates) {
            const std::vector<CurrencyRate> rates = ParseRates(rate);
            settings.Rates.insert(settings.Rates.end(), rates.begin(), rates.end());
        }
    } catch (const CombineError& error) {
        throw UsageError(std::string("--weights and --rates: ") + error.what());
    }
    return settings;
}

Json Money(long long cents)
{
    return static_cast<double>(cents) / 100;
}

Json OrNull(const std::optional<double>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json StrategyJson(const Comparison& comparison, std::size_t i)
{
    const Strategy& s = comparison.Strategies[i];
    return {{"number", i + 1},
            {"name", s.Name},
            {"source", s.Source},
            {"magic", s.Magic ? Json(*s.Magic) : Json(nullptr)},
            {"currency", s.Currency.empty() ? Json(nullptr) : Json(s.Currency)},
            {"terminal", s.Writer == Terminal::Mt5 ? "MetaTrader 5" : "MetaTrader 4"},
            {"kind", s.Kind == ReportKind::Tester ? "tester" : "statement"},
            {"clock", s.Clock.Shifts() ? Json(s.Clock.Describe()) : Json(nullptr)},
            {"weight", comparison.Weights[i]},
            {"deposit", s.Deposit ? Json(JsonCents(*s.Deposit)) : Json(nullptr)},
            {"won_pct", JsonCents(WonPct(s))},
            {"first_trade", FirstTradeText(s)},
            {"last_trade", LastTradeText(s)},
            {"days_traded", comparison.Daily[i].Days.size()},
            {"figures", FiguresJson(s.Figures)}};
}

Json CombinationJson(const Combination& c)
{
    Json members = Json::array(), daily = Json::array();
    for (const std::size_t m : c.Members)
        members.push_back(m + 1);
    for (std::size_t d = 0; d < c.Days.size(); ++d)
        daily.push_back({{"date", DateText(c.Days[d])}, {"result", Money(c.Cents[d])}});
    const bool fell = c.MaxDrawdownCents > 0;
    return {{"currency", c.Currency.empty() ? Json(nullptr) : Json(c.Currency)},
            {"members", members},
            {"factors", c.Factors},
            {"days", c.Days.size()},
            {"days_traded", c.DaysTraded},
            {"net_profit", Money(c.NetCents)},
            {"max_drawdown", Money(c.MaxDrawdownCents)},
            {"max_drawdown_from", fell && c.DrawdownPeak ? Json(DateText(c.Days[*c.DrawdownPeak])) : Json(nullptr)},
            {"max_drawdown_to", fell ? Json(DateText(c.Days[c.DrawdownTrough])) : Json(nullptr)},
            {"sum_of_single_drawdowns", Money(c.SumOfSingleDrawdownsCents)},
            {"saved", Money(c.SumOfSingleDrawdownsCents - c.MaxDrawdownCents)},
            {"recovery_factor", OrNull(c.RecoveryFactor)},
            {"sharpe_ratio_annual", OrNull(c.SharpeRatioAnnual)},
            {"winning_days", c.WinningDays},
            {"losing_days", c.LosingDays},
            {"best_day", Money(c.BestDayCents)},
            {"worst_day", Money(c.WorstDayCents)},
            {"daily", daily}};
}

// Each day of the shared calendar with every strategy's result, null on a day it closed no trade.
Json DaysJson(const Comparison& comparison)
{
    Json days = Json::array();
    std::vector<std::size_t> next(comparison.Daily.size(), 0);
    for (const long long day : comparison.Calendar) {
        Json results = Json::array();
        for (std::size_t i = 0; i < comparison.Daily.size(); ++i) {
            const DailyResults& daily = comparison.Daily[i];
            if (next[i] < daily.Days.size() && daily.Days[next[i]] == day)
                results.push_back(Money(daily.Cents[next[i]++]));
            else
                results.push_back(nullptr);
        }
        days.push_back({{"date", DateText(day)}, {"results", results}});
    }
    return days;
}

Json CorrelationJson(const CorrelationMatrix& m)
{
    Json values = Json::array(), together = Json::array(), counted = Json::array();
    for (std::size_t r = 0; r < m.Size; ++r) {
        Json valueRow = Json::array(), togetherRow = Json::array(), countedRow = Json::array();
        for (std::size_t c = 0; c < m.Size; ++c) {
            valueRow.push_back(OrNull(m.Value(r, c)));
            togetherRow.push_back(m.Together(r, c));
            countedRow.push_back(m.Counted(r, c));
        }
        values.push_back(valueRow);
        together.push_back(togetherRow);
        counted.push_back(countedRow);
    }
    return {{"matrix", values}, {"days_together", together}, {"days_counted", counted}};
}

} // namespace

std::string ReadablePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), error).lexically_normal();
    if (std::filesystem::is_directory(absolute, error))
        throw std::runtime_error("cannot read '" + path + "': it is a directory");
    std::ifstream probe(absolute, std::ios::binary);
    if (!probe)
        throw std::runtime_error("cannot read '" + path + "': no such file, or no permission to read it");
    return Utf8Path(absolute);
}

std::string ComparisonJson(const Comparison& comparison)
{
    Json json;
    Json strategies = Json::array(), combinations = Json::array();
    for (std::size_t i = 0; i < comparison.Strategies.size(); ++i)
        strategies.push_back(StrategyJson(comparison, i));
    for (const Combination& combination : comparison.Combinations)
        combinations.push_back(CombinationJson(combination));
    json["strategies"] = strategies;
    json["days"] = DaysJson(comparison);
    json["combinations"] = combinations;
    json["correlation"] = CorrelationJson(comparison.Correlation);
    json["notes"] = comparison.Notes;
    return json.dump(2);
}

void RunCompare(const Options& options, std::ostream& out, std::ostream&)
{
    std::vector<std::string> reports{options.Report};
    reports.insert(reports.end(), options.Compare.Reports.begin(), options.Compare.Reports.end());
    std::vector<Strategy> strategies;
    std::vector<std::string> empty;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const StrategySource source = LoadStrategySource(ReadablePath(reports[i]));
        std::vector<Strategy> loaded = StrategiesOf(source, options.Compare.ByMagic, ClockFor(options.Clock, i));
        if (loaded.empty())
            empty.push_back(reports[i]);
        for (Strategy& strategy : loaded)
            strategies.push_back(std::move(strategy));
    }
    Comparison comparison = Compare(std::move(strategies), Settings(options.Compare));
    for (const std::string& report : empty)
        comparison.Notes.push_back(report + ": no closed trade, no strategy.");
    if (options.Json) {
        out << ComparisonJson(comparison) << '\n';
    } else {
        for (const std::string& line : ComparisonLines(comparison))
            out << line << '\n';
    }
    const auto absolute = [](const std::string& path) {
        return std::filesystem::absolute(NativePath(path)).lexically_normal();
    };
    if (!options.Output.empty())
        WriteComparisonPicture(comparison, options.Compare.Percent, Utf8Path(absolute(options.Output)));
    if (!options.Compare.Html.empty()) {
        // The page names the picture relative to itself when both lie in one folder, else by its full path.
        std::string picture;
        if (!options.Output.empty()) {
            const std::filesystem::path page = absolute(options.Compare.Html), image = absolute(options.Output);
            picture = Utf8Path(image.parent_path() == page.parent_path() ? image.filename() : image);
        }
        ExportComparisonHtml(comparison, Utf8Path(absolute(options.Compare.Html)), picture);
    }
}

} // namespace corvane
