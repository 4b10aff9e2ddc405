#pragma once

#include "analysis/MoreStatistics.h"
#include "analysis/Statistics.h"
#include "trades/Session.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Line 1 of the summary: the report title, ", " and the report's path; the path alone without a title.
std::string SummaryHeading(std::string_view title, std::string_view path);

// Lines 3 to 14 of the summary: two columns of label and figure, laid out for a fixed-pitch font.
std::vector<std::string> SummaryFigureLines(const SummaryFigures& figures);

/**
 * Rewrites the summary text: the heading and an empty line, then the figures of the visible table
 * with its days (ReportDays), marking the drawdown stretch in the Balance column. When a cell is not a
 * number the text keeps only its first two lines and ConversionError propagates.
 */
void ShowSummary(Session& session);

// What the filter pass has already worked out of the visible trades for the summary.
struct VisibleTrades
{
    std::vector<TradeValues> Values;                   // the numbers of the visible rows, in order
    const std::vector<ClosedTrade>* All = nullptr;     // the closed trades of the whole table, in the order the
                                                       // terminal runs them, those of the visible rows complete
    const std::vector<std::string>* Symbols = nullptr; // the names of their SymbolIds
    const std::vector<std::string>* Magics = nullptr;  // ... and MagicIds
    std::vector<char> Visible;                         // by position in All: the trade's row is visible
    int Days = 0;                                      // ReportDays of the visible table
    std::optional<MoreFigures> More;                   // their more statistics, when already worked out
};
// The same as ShowSummary(session), with what the filter pass has worked out; returns the statistics.
Statistics ShowSummary(Session& session, const VisibleTrades& visible);

} // namespace corvane
