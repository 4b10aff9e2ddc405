#include "portfolio/DailyResults.h"

#include "text/CivilTime.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvane {

long long ToCents(double amount)
{
    return std::llround(amount * 100);
}

DailyResults DailyResultsOf(const Strategy& strategy)
{
    // The trades run in the terminal's order, which is by close time: a day's trades follow one another,
    // unless a shift across the end of summer time moves a close an hour back over midnight.
    std::vector<std::pair<long long, double>> sums;
    for (const ClosedTrade& trade : strategy.Trades) {
        if (std::isnan(trade.Result))
            continue;
        const long long day = DayOfSeconds(strategy.Clock.ToTrader(trade.CloseSeconds));
        if (sums.empty() || sums.back().first != day)
            sums.emplace_back(day, 0.0);
        sums.back().second += trade.Result;
    }
    if (!std::is_sorted(sums.begin(), sums.end(), [](const auto& a, const auto& b) { return a.first < b.first; })) {
        std::stable_sort(sums.begin(), sums.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::pair<long long, double>> joined;
        for (const auto& [day, sum] : sums) {
            if (!joined.empty() && joined.back().first == day)
                joined.back().second += sum;
            else
                joined.emplace_back(day, sum);
        }
        sums = std::move(joined);
    }
    DailyResults daily;
    daily.Days.reserve(sums.size());
    daily.Cents.reserve(sums.size());
    for (const auto& [day, sum] : sums) {
        daily.Days.push_back(day);
        daily.Cents.push_back(ToCents(sum));
    }
    return daily;
}

std::vector<long long> SharedCalendar(const std::vector<const DailyResults*>& strategies)
{
    std::vector<long long> traded;
    for (const DailyResults* daily : strategies)
        traded.insert(traded.end(), daily->Days.begin(), daily->Days.end());
    std::sort(traded.begin(), traded.end());
    traded.erase(std::unique(traded.begin(), traded.end()), traded.end());
    std::vector<long long> calendar;
    if (traded.empty())
        return calendar;
    std::size_t next = 0;
    for (long long day = traded.front(); day <= traded.back(); ++day) {
        const bool tradedOn = next < traded.size() && traded[next] == day;
        if (tradedOn)
            ++next;
        if (tradedOn || WeekdayOfDay(day) % 6 != 0)
            calendar.push_back(day);
    }
    return calendar;
}

std::vector<long long> OnCalendar(const DailyResults& daily, const std::vector<long long>& calendar)
{
    std::vector<long long> cents(calendar.size(), 0);
    std::size_t at = 0;
    for (std::size_t i = 0; i < daily.Days.size(); ++i) {
        at = static_cast<std::size_t>(
            std::lower_bound(calendar.begin() + static_cast<std::ptrdiff_t>(at), calendar.end(), daily.Days[i])
            - calendar.begin());
        if (at < calendar.size() && calendar[at] == daily.Days[i])
            cents[at] = daily.Cents[i];
    }
    return cents;
}

} // namespace corvane
