#pragma once

#include <optional>
#include <string>

namespace corvane {

/**
 * The name the save dialog proposes for an export: the path of the report loaded last with its first
 * ".htm" (case-sensitive) and everything after it replaced by `extension` (".txt" or ".html"), so
 * x.htm and x.html both give x.txt. Nothing when the path holds no ".htm" (a ".cvn" report, or none
 * loaded): the dialog then keeps the name of its last use.
 */
std::optional<std::string> ProposedExportName(const std::string& reportPath, const std::string& extension);

/**
 * Where the HTML report's picture goes: beside the report loaded last, its name cut at the first
 * ".htm" and ending in ".jpg", whatever folder the page is saved to. When the report's name has no
 * ".htm", the page's name is used the same way (or gets ".jpg" appended). A name that would be the
 * loaded report itself or the page gets "-chart" before its ".jpg", so the picture never replaces
 * either.
 */
std::string PicturePath(const std::string& reportPath, const std::string& pagePath);

} // namespace corvane
