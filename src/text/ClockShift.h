#pragma once

#include "text/TimeZone.h"

#include <optional>
#include <string>

namespace corvane {

/**
 * How a report's times, the trade server's clock, are read on the trader's clock. None: the report's own
 * times. A fixed shift: every time moved by the same number of seconds. Two zones: a server time is the
 * moment the server's zone shows it (TimeZone::ToUtc), then shown on the trader's zone. Between two times
 * of a report passes the time of the moments they stand for: with zones, a trade held across a change of
 * the server's clock is held an hour more or less than its times differ.
 */
class ClockShift
{
public:
    ClockShift() = default;
    static ClockShift Seconds(long long shift);
    static ClockShift Zones(TimeZone server, TimeZone trader);

    // Whether the trader's clock differs from the report's in any way (a shift of 0 does not).
    bool Shifts() const { return m_zones.has_value() || m_shift != 0; }
    bool HasZones() const { return m_zones.has_value(); }

    // A report's time read on the trader's clock; seconds since 1970, both.
    long long ToTrader(long long serverSeconds) const;
    // The seconds that passed from one time of the report to a later one.
    long long Elapsed(long long fromServer, long long toServer) const;
    // "+3 h", "-0.5 h", "EET to Asia/Tokyo"; "" for none.
    std::string Describe() const;

private:
    struct ZonePair
    {
        TimeZone Server;
        TimeZone Trader;
    };
    long long m_shift = 0;
    std::optional<ZonePair> m_zones;
};

// A shift in hours as the user gives it ("3", "-1.5", "+2"), in whole seconds; none when the text is not a
// number of hours from -24 to 24.
std::optional<long long> ShiftHoursSeconds(std::string_view hours);

} // namespace corvane
