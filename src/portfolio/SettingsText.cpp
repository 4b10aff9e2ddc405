#include "portfolio/SettingsText.h"

#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <string>

namespace corvane {

namespace {

std::string_view Stripped(std::string_view text)
{
    return Trimmed(text, kWhiteSpace);
}

std::optional<double> Decimal(std::string_view text)
{
    text = Stripped(text);
    if (text.empty() || text.find_first_not_of("+-.0123456789") != std::string_view::npos)
        return std::nullopt;
    return ScanDouble(text);
}

} // namespace

std::vector<CurrencyRate> ParseRates(std::string_view text)
{
    std::vector<CurrencyRate> rates;
    while (!Stripped(text).empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Stripped(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t equals = item.find('=');
        const std::optional<double> rate =
            equals == std::string_view::npos ? std::nullopt : Decimal(item.substr(equals + 1));
        if (!rate || Stripped(item.substr(0, equals)).empty())
            throw CombineError("a rate is given as CURRENCY=RATE, not '" + std::string(item) + "'");
        rates.push_back({std::string(Stripped(item.substr(0, equals))), *rate});
    }
    return rates;
}

double ParseWeight(std::string_view text)
{
    const std::optional<double> weight = Decimal(text);
    if (!weight)
        throw CombineError("a weight is a number, not '" + std::string(text) + "'");
    return *weight;
}

ClockShift ClockOfText(std::string_view server, std::string_view traderZone)
{
    server = Stripped(server);
    traderZone = Stripped(traderZone);
    if (server.empty())
        return {};
    if (const std::optional<long long> shift = ShiftHoursSeconds(server))
        return ClockShift::Seconds(*shift);
    if (traderZone.empty())
        throw ZoneError("the server's zone " + std::string(server) + " needs your own time zone");
    return ClockShift::Zones(FindTimeZone(server), FindTimeZone(traderZone));
}

} // namespace corvane
