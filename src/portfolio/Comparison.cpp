#include "portfolio/Comparison.h"

#include <cmath>
#include <utility>

namespace corvane {

Comparison Compare(std::vector<Strategy> strategies, const ComparisonSettings& settings)
{
    Comparison comparison;
    comparison.Weights = settings.Weights;
    if (comparison.Weights.empty())
        comparison.Weights.assign(strategies.size(), 1.0);
    if (comparison.Weights.size() != strategies.size())
        throw CombineError(std::to_string(comparison.Weights.size()) + " weights for "
                           + std::to_string(strategies.size()) + " strategies: give one weight a strategy");
    comparison.Strategies = std::move(strategies);
    std::vector<std::string> currencies;
    std::vector<const DailyResults*> all;
    comparison.Daily.reserve(comparison.Strategies.size());
    for (const Strategy& strategy : comparison.Strategies) {
        comparison.Daily.push_back(DailyResultsOf(strategy));
        currencies.push_back(strategy.Currency);
    }
    for (const DailyResults& daily : comparison.Daily)
        all.push_back(&daily);
    comparison.Calendar = SharedCalendar(all);
    comparison.Combinations =
        Combine(comparison.Daily, currencies, comparison.Weights, settings.Rates, comparison.Notes);
    comparison.Correlation = Correlate(comparison.Daily);
    return comparison;
}

std::vector<CurvePoint> EquityCurveOf(const Strategy& strategy, bool percent)
{
    std::vector<CurvePoint> curve;
    if (strategy.Trades.empty() || (percent && !strategy.Deposit))
        return curve;
    const double scale = percent ? 100 / *strategy.Deposit : 1.0;
    curve.reserve(strategy.Trades.size() + 1);
    curve.push_back({strategy.Clock.ToTrader(strategy.Trades.front().CloseSeconds), 0.0});
    double running = 0.0;
    for (const ClosedTrade& trade : strategy.Trades) {
        if (std::isnan(trade.Result))
            continue;
        running += trade.Result;
        curve.push_back({strategy.Clock.ToTrader(trade.CloseSeconds), running * scale});
    }
    return curve;
}

} // namespace corvane
