#include "cli/CliClock.h"

#include "analysis/TraderClock.h"
#include "cli/CliOptions.h"

namespace corvane {

namespace {

// The value of a per-report list for the report at `index`: the only one, or its own.
const std::string& ValueFor(const std::vector<std::string>& values, std::size_t index)
{
    return values.size() == 1 ? values.front() : values.at(index);
}

void CheckCount(const std::vector<std::string>& values, std::size_t reports, const char* option)
{
    if (!values.empty() && values.size() != 1 && values.size() != reports)
        throw UsageError(std::string(option) + " takes one value, or one for each of the " + std::to_string(reports)
                         + " reports");
}

} // namespace

void CheckClockOptions(const ClockOptions& options, std::size_t reports)
{
    if (!options.TimeZone.empty() && !options.ShiftHours.empty())
        throw UsageError("give either --time-zone or --shift-hours");
    if (!options.ServerZones.empty() && options.TimeZone.empty())
        throw UsageError("--server-zone needs --time-zone, the trader's zone");
    CheckCount(options.ServerZones, reports, "--server-zone");
    CheckCount(options.ShiftHours, reports, "--shift-hours");
    for (const std::string& hours : options.ShiftHours)
        if (!ShiftHoursSeconds(hours))
            throw UsageError("--shift-hours takes hours from -24 to 24, not '" + hours + "'");
}

ClockShift ClockFor(const ClockOptions& options, std::size_t index)
{
    if (!options.ShiftHours.empty())
        return ClockShift::Seconds(*ShiftHoursSeconds(ValueFor(options.ShiftHours, index)));
    if (options.TimeZone.empty())
        return {};
    const std::string server =
        options.ServerZones.empty() ? std::string(kDefaultServerZone) : ValueFor(options.ServerZones, index);
    return ClockShift::Zones(FindTimeZone(server), FindTimeZone(options.TimeZone));
}

void ApplyClock(Session& session, const ClockOptions& options, const ClockShift& clock)
{
    if (!clock.Shifts())
        return;
    ShowMoreStatisticsOnClock(session, clock);
    if (options.ShiftedTimes) {
        ShiftTableTimes(session.Full, clock);
        ShiftTableTimes(session.Grid, clock);
    }
}

} // namespace corvane
