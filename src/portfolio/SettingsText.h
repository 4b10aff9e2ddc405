#pragma once

#include "portfolio/Portfolio.h"
#include "text/ClockShift.h"

#include <string_view>
#include <vector>

namespace corvane {

/**
 * The settings of a comparison as the user types them, in the window and on the command line.
 */

// "JPY=0.0067, EUR=1.08": the worth of one unit of each currency in the currency combined in. Blanks around
// the items are allowed, an empty text gives none. Throws CombineError for an item of another form.
std::vector<CurrencyRate> ParseRates(std::string_view text);

// A weight: a decimal number ("1", "0.5", "2"). Throws CombineError for anything else.
double ParseWeight(std::string_view text);

/**
 * A report's clock from what is typed for its server and the trader's zone: nothing for the report's own
 * times; a number of hours ("+3", "-1.5") for a fixed shift; a zone's name (IANA, or a POSIX TZ string) for
 * the server's zone, read on `traderZone`. Throws ZoneError for a zone that cannot be found or a server zone
 * without the trader's.
 */
ClockShift ClockOfText(std::string_view server, std::string_view traderZone);

} // namespace corvane
