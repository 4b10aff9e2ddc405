#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane {

/**
 * A cell that must hold a number holds something else. The message is the one the user sees: where
 * the cell was met, as far as that is known, then "'<cell text>' is not a valid floating point value",
 * on one line:
 *   report.htm: trade 12 (ticket 50101), column P/L: '4.9x1' is not a valid floating point value
 * The parsers know only the text; the reader of a row adds the column and the row, the command that
 * reads a table the file. Each part is told once: the one told first, closest to the cell, stays.
 */
class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const std::string& cellText) : ConversionError(Place{cellText, {}, 0, {}, {}}) {}

    const std::string& CellText() const { return m_place.CellText; }
    // The header of the cell's column; "" while not told.
    const std::string& Column() const { return m_place.Column; }
    // The cell's row in the table it was read from, from 1; 0 while not told or for a report's row.
    int Row() const { return m_place.Row; }
    // The file the table was read from; "" while not told.
    const std::string& File() const { return m_place.File; }

    // The same error, told in the column with this header.
    ConversionError InColumn(std::string_view header) const;
    // ... in row `row` of a trade table, the trade with this ticket: "trade 12 (ticket 50101)".
    ConversionError InRow(int row, std::string_view ticket) const;
    // ... in a row of a report, as the report names it: "deal 5001".
    ConversionError InRow(std::string_view name) const;
    // ... read from this file.
    ConversionError InFile(std::string_view file) const;

private:
    struct Place
    {
        std::string CellText;
        std::string Column;
        int Row = 0;
        std::string RowName;
        std::string File;
    };

    explicit ConversionError(Place place);
    static std::string Message(const Place& place);

    Place m_place;
};

// A file could not be opened, read or written; the message names the file and the reason.
class FileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace corvane
