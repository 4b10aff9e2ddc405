#pragma once

#include "charts/ImageCanvas.h"
#include "trades/Session.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

// The address the report page's head names as the program's help.
inline constexpr std::string_view kHelpAddress = "https://corvane.example/help";

/**
 * The HTML report of the visible table, every line ending in CR LF: an HTML 4.01 head with fixed
 * styles and the report title, the heading "Corvane4 - 1.8", the summary table (WriteHtmlSummary),
 * then, when `picturePath` is given, "<br>" and an image element naming it unquoted, then the trade
 * table. Trade rows alternate between no background and #E0E0E0, starting plain; the ticket cell
 * carries the tooltip "#<magic> <comment>" from the alternate view's row of the same number; the
 * Balance cell is followed by a "DD" cell holding "*" for the rows of the drawdown stretch. Cell texts
 * are written as held, without escaping. A cell that is not a number throws ConversionError.
 */
void WriteHtmlReport(std::ostream& out, const Session& session, const std::string* picturePath);

// Where Export html draws its picture: a chart surface, and the width of the chart area on it.
struct PictureTarget
{
    ImageCanvas& Canvas;
    int ChartWidth;
};

/**
 * Export html: writes the report page to `path` (ReplacingFile: complete or not at all). With a
 * `picture` target, first draws the equity curve on its canvas (the view mode untouched) and saves
 * the whole 809 x 217 surface as a JPEG at PicturePath(report, page), next to the report loaded last;
 * the window passes its own surface, other callers one with the frame drawn. Returns false and writes
 * nothing when no trade is loaded. Files that cannot be written throw FileError.
 */
bool ExportHtml(const Session& session, const std::string& path, std::optional<PictureTarget> picture);

} // namespace corvane
