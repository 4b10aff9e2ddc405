#pragma once

#include "text/ClockShift.h"
#include "trades/Session.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

/**
 * The options of the trader's clock, as given: the trader's zone with the server's (by default EET, the
 * rule most trade servers keep), or a fixed shift in hours. Each of --server-zone and --shift-hours takes
 * one value for every report, or one value a report in their order (compare).
 */
struct ClockOptions
{
    std::string TimeZone;                 // --time-zone: the trader's zone
    std::vector<std::string> ServerZones; // --server-zone
    std::vector<std::string> ShiftHours;  // --shift-hours
    bool ShiftedTimes = false;            // --shifted-times: table and grid show the times shifted

    bool Given() const { return !TimeZone.empty() || !ServerZones.empty() || !ShiftHours.empty(); }
};

// The server's zone when only the trader's is given.
inline constexpr const char* kDefaultServerZone = "EET";

// Checks that the clock options fit together and fit `reports` reports; throws UsageError.
void CheckClockOptions(const ClockOptions& options, std::size_t reports);

// The clock of the report at `index`: none when no time option was given. Throws UsageError for a shift
// that is not a number of hours, and ZoneError for a zone that cannot be found.
ClockShift ClockFor(const ClockOptions& options, std::size_t index);

/**
 * What a clock changes in the session before a command prints: the more statistics read on it (stats), and,
 * with --shifted-times, the times of the trade table (table) or of the visible table (grid). Nothing when
 * the clock does not shift.
 */
void ApplyClock(Session& session, const ClockOptions& options, const ClockShift& clock);

} // namespace corvane
