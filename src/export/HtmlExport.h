#pragma once

#include "trades/Session.h"

#include <functional>
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

// Draws the page's picture and saves it at the path given (export/HtmlPicture.h: the equity curve as a JPEG).
using PictureWriter = std::function<void(const std::string& picturePath)>;

/**
 * Export html: writes the report page to `path` (ReplacingFile: complete or not at all). With a
 * `picture` writer, the page names PicturePath(report, page), next to the report loaded last, and the
 * writer saves the picture there before the page is put in place. Returns false and writes nothing
 * when no trade is loaded. Files that cannot be written throw FileError.
 */
bool ExportHtml(const Session& session, const std::string& path, const PictureWriter* picture);

} // namespace corvane
