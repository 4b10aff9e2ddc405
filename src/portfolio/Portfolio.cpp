#include "portfolio/Portfolio.h"

#include "text/TextRoutines.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr std::string_view kUnknown = "unknown";

std::string Listed(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::string ShownCurrency(const std::string& currency)
{
    return currency.empty() ? std::string(kUnknown) : currency;
}

// The rate given for a currency, its letter case ignored; "unknown" stands for a report that names none.
std::optional<double> RateOf(const std::vector<CurrencyRate>& rates, const std::string& currency)
{
    for (const CurrencyRate& rate : rates)
        if (EqualsIgnoringCase(rate.Currency, ShownCurrency(currency)))
            return rate.Rate;
    return std::nullopt;
}

void CheckFinite(const std::vector<double>& values, const char* what)
{
    for (const double value : values)
        if (!std::isfinite(value))
            throw CombineError(std::string("a ") + what + " is not a number");
}

// The members' days, figures and drawdowns once their factors are set.
void Finish(Combination& c, const std::vector<DailyResults>& daily)
{
    std::vector<const DailyResults*> members;
    for (const std::size_t m : c.Members)
        members.push_back(&daily[m]);
    c.Days = SharedCalendar(members);
    std::vector<double> sums(c.Days.size(), 0.0);
    std::vector<char> traded(c.Days.size(), 0);
    for (std::size_t i = 0; i < c.Members.size(); ++i) {
        const std::vector<long long> own = OnCalendar(*members[i], c.Days);
        std::vector<long long> weighted(own.size());
        for (std::size_t d = 0; d < own.size(); ++d) {
            const double amount = c.Factors[i] * static_cast<double>(own[d]);
            sums[d] += amount;
            weighted[d] = std::llround(amount);
        }
        c.SumOfSingleDrawdownsCents += MaxDrawdownOf(weighted);
        for (const long long day : members[i]->Days)
            traded[static_cast<std::size_t>(std::lower_bound(c.Days.begin(), c.Days.end(), day) - c.Days.begin())] = 1;
    }
    c.Cents.resize(c.Days.size());
    long long running = 0, peak = 0;
    std::optional<std::size_t> peakDay;
    for (std::size_t d = 0; d < c.Days.size(); ++d) {
        const long long cents = std::llround(sums[d]);
        c.Cents[d] = cents;
        c.NetCents += cents;
        c.DaysTraded += traded[d];
        c.WinningDays += cents > 0 ? 1 : 0;
        c.LosingDays += cents < 0 ? 1 : 0;
        c.BestDayCents = d == 0 ? cents : std::max(c.BestDayCents, cents);
        c.WorstDayCents = d == 0 ? cents : std::min(c.WorstDayCents, cents);
        running += cents;
        if (running > peak) {
            peak = running;
            peakDay = d;
        }
        if (peak - running > c.MaxDrawdownCents) {
            c.MaxDrawdownCents = peak - running;
            c.DrawdownPeak = peakDay;
            c.DrawdownTrough = d;
        }
    }
    if (c.MaxDrawdownCents > 0)
        c.RecoveryFactor = static_cast<double>(c.NetCents) / static_cast<double>(c.MaxDrawdownCents);
    const auto n = static_cast<double>(c.Cents.size());
    if (c.Cents.size() >= 2) {
        const double mean = static_cast<double>(c.NetCents) / n;
        double squares = 0.0;
        for (const long long cents : c.Cents)
            squares += (static_cast<double>(cents) - mean) * (static_cast<double>(cents) - mean);
        const double deviation = std::sqrt(squares / (n - 1));
        if (deviation > 0)
            c.SharpeRatioAnnual = mean / deviation * std::sqrt(252.0);
    }
}

} // namespace

long long MaxDrawdownOf(const std::vector<long long>& cents)
{
    long long running = 0, peak = 0, fall = 0;
    for (const long long day : cents) {
        running += day;
        peak = std::max(peak, running);
        fall = std::max(fall, peak - running);
    }
    return fall;
}

std::vector<Combination> Combine(const std::vector<DailyResults>& daily, const std::vector<std::string>& currencies,
                                 const std::vector<double>& weights, const std::vector<CurrencyRate>& rates,
                                 std::vector<std::string>& notes)
{
    CheckFinite(weights, "weight");
    for (const CurrencyRate& rate : rates)
        if (!std::isfinite(rate.Rate))
            throw CombineError("the rate of " + rate.Currency + " is not a number");
    std::vector<std::string> named; // the currencies, in order of first appearance
    for (const std::string& currency : currencies)
        if (std::find(named.begin(), named.end(), currency) == named.end())
            named.push_back(currency);
    std::vector<Combination> combinations;
    if (rates.empty()) {
        for (const std::string& currency : named) {
            Combination& c = combinations.emplace_back();
            c.Currency = currency;
            for (std::size_t i = 0; i < daily.size(); ++i)
                if (currencies[i] == currency) {
                    c.Members.push_back(i);
                    c.Factors.push_back(weights[i]);
                }
        }
        std::vector<std::string> shown;
        shown.reserve(named.size());
        for (const std::string& currency : named)
            shown.push_back(ShownCurrency(currency));
        if (named.size() > 1)
            notes.push_back("The reports name different account currencies (" + Listed(shown)
                            + "): each is combined on its own; give the rates to combine them all.");
        if (std::find(named.begin(), named.end(), std::string()) != named.end())
            notes.emplace_back("Some reports name no account currency: their strategies are combined as if in one.");
    } else {
        std::vector<std::string> unrated;
        for (const std::string& currency : named)
            if (!RateOf(rates, currency))
                unrated.push_back(currency);
        if (unrated.size() > 1) {
            std::vector<std::string> shown;
            shown.reserve(unrated.size());
            for (const std::string& currency : unrated)
                shown.push_back(ShownCurrency(currency));
            throw CombineError("no rate for " + Listed(shown) + ": all but one currency need a rate");
        }
        Combination& c = combinations.emplace_back();
        if (!unrated.empty()) {
            c.Currency = unrated.front();
        } else {
            for (const CurrencyRate& rate : rates)
                if (rate.Rate == 1.0 && c.Currency.empty())
                    c.Currency = rate.Currency;
        }
        for (std::size_t i = 0; i < daily.size(); ++i) {
            c.Members.push_back(i);
            c.Factors.push_back(weights[i] * RateOf(rates, currencies[i]).value_or(1.0));
        }
        notes.push_back("Combined in " + ShownCurrency(c.Currency) + " at the rates given.");
    }
    for (Combination& c : combinations)
        Finish(c, daily);
    return combinations;
}

} // namespace corvane
