#pragma once

#include "cli/CliOptions.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

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
