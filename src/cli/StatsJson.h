#pragma once

#include "analysis/MoreStatistics.h"
#include "trades/Session.h"

#include <nlohmann/json.hpp>

#include <string>

namespace corvane {

/**
 * The more statistics of the trades the filters keep as one JSON object: each figure under its key,
 * money and percentages rounded to the cent, null for a figure without a value; the tables by month,
 * symbol and magic number as arrays; the report's own printed summary (or null) and whether all the
 * closed trades agree with it (null without one).
 */
std::string StatsJson(const Session& session);

// The figures of StatsJson, from "trades" to "magics", as one object; the names of the symbols and magic
// numbers decoded of HTML entities when `entitiesKept` says the cells keep them.
nlohmann::ordered_json FiguresJson(const MoreFigures& figures, bool entitiesKept = false);

// A figure in JSON: to the cent, as the terminal rounds the binary value (half away from zero), read back as
// the nearest double, and never "-0".
double JsonCents(double value);

} // namespace corvane
