#include "cli/MonteCarloJson.h"

#include "cli/StatsJson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace corvane {

namespace {

using Json = nlohmann::ordered_json;

// To the cent as every figure of the tool's JSON; a value that is not finite (a ratio without a drawdown)
// as null.
Json Cents(double value)
{
    return std::isfinite(value) ? Json(JsonCents(value)) : Json(nullptr);
}

Json Spread(const FigureSpread& spread)
{
    Json json;
    for (std::size_t i = 0; i < kSpreadPercentiles.size(); ++i)
        json["p" + std::to_string(kSpreadPercentiles[i])] = Cents(spread.Percentiles[i]);
    json["at_confidence"] = Cents(spread.AtConfidence);
    json["mean"] = Cents(spread.Mean);
    json["report"] = Cents(spread.Report);
    json["report_rank_pct"] = Cents(spread.ReportRank);
    return json;
}

} // namespace

std::string MonteCarloJson(const MonteCarloResult& result)
{
    const MonteCarloSettings& settings = result.Settings;
    Json json;
    json["method"] = MethodName(settings.Method);
    json["block_length"] = settings.Method == MonteCarloMethod::BlockBootstrap ? Json(settings.BlockLength) : nullptr;
    json["skip_probability"] =
        settings.Method == MonteCarloMethod::Skip ? Json(settings.SkipProbability) : Json(nullptr);
    json["runs"] = settings.Runs;
    json["seed"] = settings.Seed;
    json["trades"] = result.Trades;
    json["compound"] = settings.Compound;
    json["start_balance"] = Cents(result.Start);
    json["start_given"] = result.StartGiven;
    json["ruin_pct"] = Cents(settings.RuinPct);
    json["confidence_pct"] = Cents(settings.ConfidencePct);
    json["final_net"] = Spread(result.FinalNet);
    json["max_drawdown"] = Spread(result.MaxDrawdown);
    json["max_drawdown_pct"] = result.MaxDrawdownPct ? Spread(*result.MaxDrawdownPct) : Json(nullptr);
    json["longest_losing_streak"] = Spread(result.LosingStreak);
    json["net_over_drawdown"] = Spread(result.NetOverDrawdown);
    json["ruin_probability_pct"] = result.RuinPct ? Cents(*result.RuinPct) : Json(nullptr);
    json["below_start_probability_pct"] = Cents(result.BelowStartPct);
    return json.dump(2);
}

} // namespace corvane
