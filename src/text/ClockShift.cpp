#include "text/ClockShift.h"

#include "text/Numbers.h"

namespace corvane {

ClockShift ClockShift::Seconds(long long shift)
{
    ClockShift clock;
    clock.m_shift = shift;
    return clock;
}

ClockShift ClockShift::Zones(TimeZone server, TimeZone trader)
{
    ClockShift clock;
    clock.m_zones = ZonePair{std::move(server), std::move(trader)};
    return clock;
}

long long ClockShift::ToTrader(long long serverSeconds) const
{
    if (!m_zones)
        return serverSeconds + m_shift;
    return m_zones->Trader.ToLocal(m_zones->Server.ToUtc(serverSeconds));
}

long long ClockShift::Elapsed(long long fromServer, long long toServer) const
{
    if (!m_zones)
        return toServer - fromServer;
    return m_zones->Server.ToUtc(toServer) - m_zones->Server.ToUtc(fromServer);
}

std::string ClockShift::Describe() const
{
    if (m_zones)
        return m_zones->Server.Name() + " to " + m_zones->Trader.Name();
    if (m_shift == 0)
        return "";
    std::string hours = FormatRounded(static_cast<double>(m_shift) / 3600, 2);
    while (hours.back() == '0')
        hours.pop_back();
    if (hours.back() == '.')
        hours.pop_back();
    return (m_shift > 0 ? "+" : "") + hours + " h";
}

std::optional<long long> ShiftHoursSeconds(std::string_view hours)
{
    const bool plus = !hours.empty() && hours.front() == '+';
    const std::optional<long long> hundredths = ParseScaled(plus ? hours.substr(1) : hours, 2);
    if (!hundredths || *hundredths < -2400 || *hundredths > 2400 || hours.find(' ') != std::string_view::npos)
        return std::nullopt;
    return *hundredths * 36;
}

} // namespace corvane
