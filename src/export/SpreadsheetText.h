#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * The texts of a report as a spreadsheet should receive them, in the CSV of the trade table and in the
 * rows the window copies. A report's comments and names are written by whoever wrote the expert advisor
 * or ran the account, and a spreadsheet runs a cell that starts with "=", "+", "-" or "@" as a formula.
 */

// `text` with its HTML character references decoded ("&quot;" as '"', "&amp;" as '&', "&#12354;" as its
// letter in UTF-8, "&nbsp;" as a blank); a '&' that starts no reference stays as it is.
std::string DecodeHtmlEntities(std::string_view text);

// Whether `text` is a number as the program reads a money cell: an optional sign, digits (blanks between
// them are thousands separators, as in "-2 538"), a decimal point and fraction, an exponent.
bool IsNumberCell(std::string_view text);

// `text`, with a leading apostrophe when it starts as a formula does and is not a number, so that a
// spreadsheet shows it as the text it is ("-5.00" stays a number, "=1+1" becomes "'=1+1").
std::string GuardedFromFormula(std::string text);

/**
 * A cell's text for a spreadsheet: `utf8` (the cell decoded from the report's code page) without the
 * blanks that pad it, its HTML entities decoded when the cells keep them as the report wrote them
 * (`entitiesKept`), then guarded from being run as a formula.
 */
std::string SpreadsheetCell(std::string_view utf8, bool entitiesKept);

// One line of tab-separated text ended by "\n", what a spreadsheet pastes into columns: the cells
// as given, a tab, CR or LF inside one turned into a blank.
std::string TabSeparatedLine(const std::vector<std::string>& cells);

} // namespace corvane
