#pragma once

#include "GridText.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "reports/LoadReport.h"

#include <string>
#include <string_view>

namespace corvane::test {

// A report head of five lines whose fourth line is `titleLine` and whose fifth line is `fifth`, the
// terminal's generator tag unless given otherwise.
inline constexpr std::string_view kGeneratorLine =
    "    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">";
Cells HeadLines(const std::string& titleLine, std::string fifth = std::string(kGeneratorLine));

// A line that registers a pending order: its third "align=right>" cell holds the order's ticket.
std::string PendingOrderLine(const std::string& type, const std::string& ticket);

// `before`, one NUL byte, `after`.
std::string WithNul(std::string_view before, std::string_view after);

// Writes `bytes` as a file of a folder of its own and loads it into `session`, a body of `halvesFrom` bytes
// or more read in two halves at once.
LoadOutcome LoadBytes(Session& session, std::string_view bytes, LoadMode mode = LoadMode::Replace,
                      const TradeLineCallback& onTradeLine = {}, std::size_t halvesFrom = kBodyHalvesFrom);
// A fresh session with `bytes` loaded; the load must succeed, and reading its body in two halves at once,
// however short it is, must come out the same in every respect: every rule of the rows is checked both ways.
Session Load(std::string_view bytes);

} // namespace corvane::test
