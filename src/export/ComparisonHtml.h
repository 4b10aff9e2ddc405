#pragma once

#include "portfolio/Comparison.h"

#include <ostream>
#include <string>

namespace corvane {

/**
 * The comparison as an HTML 4.01 page in UTF-8, every line ending in CR LF: the comparison's text
 * (ComparisonLines) as preformatted text, the correlation matrix as a table whose cells are coloured as in
 * the picture (red where results go together, blue where they go apart), and, when `pictureName` is not
 * empty, an image element naming the picture (written beside the page). Texts are escaped.
 */
void WriteComparisonHtml(std::ostream& out, const Comparison& comparison, const std::string& pictureName);

// Writes the page to `path` (ReplacingFile: complete or not at all); throws FileError when it cannot.
void ExportComparisonHtml(const Comparison& comparison, const std::string& path, const std::string& pictureName);

} // namespace corvane
