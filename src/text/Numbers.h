#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

/**
 * One way to read numbers and one way to write them, independent of the process locale: "." is
 * always the decimal point, whatever LC_NUMERIC says.
 */

// Reads a cell that must hold a decimal number: optional sign, digits with an optional "." and
// fraction, an optional exponent; leading and trailing blanks are allowed. Anything else throws
// ConversionError naming the cell text.
double ParseNumber(std::string_view text);

// What a blank Pips cell is to its reader. The filter pass leaves the Pips cells blank from the first
// row it could not read on: the statistics and the time chart stop there as at any cell that is not a
// number, Normalize passes over such a row while it looks for its pip factor.
enum class BlankPips
{
    NotANumber,
    Zero,
};

// Reads a Pips cell, the "%6d" text of a whole number: an optional sign and digits, blanks around
// them. Anything else throws ConversionError naming the cell text, and so do pips beyond a million
// million (a cell no report gives, whose sums would overflow), and a blank cell unless `blank` says
// it is 0.
long long ParsePipsCell(std::string_view text, BlankPips blank = BlankPips::NotANumber);

// A Comm or Swap cell that holds only blanks ("      ", the "%6s" form of an empty report cell) or
// nothing at all (a tester order that was never closed).
bool IsBlankCell(std::string_view text);

// Reads a P/L cell: an empty (or all-blank) cell, a tester order never closed, counts as 0; anything
// else as ParseNumber.
double ParseProfitCell(std::string_view text);

// Reads a Comm or Swap cell (P/L, Comm, Swap): a blank cell counts as nothing (0); blanks between digits are
// thousands separators ("-1 234.56" reads as -1234.56). Otherwise as ParseNumber; an error names the
// cell text as it stands.
double ParseMoneyCell(std::string_view text);

// The leading number of a text as C's "%lf" reads it (leading white space skipped, sign, decimal or
// hexadecimal digits, exponent, inf and nan), or nothing when no number starts the text.
std::optional<double> ScanDouble(std::string_view text);

// The leading whole number of a text as atoi reads it (white space, sign, digits); 0 when none.
// Values beyond the range of long long are clamped.
long long LeadingInteger(std::string_view text);

// "%<width>.<precision>f".
std::string FormatFixed(double value, int width, int precision);
// Room for a text of FormatFixedTo: the longest fixed text of a double, and its padding.
inline constexpr std::size_t kFixedTextRoom = 400;
// Room for a text of FormatIntTo: a sign and 19 digits, or the padding to 30.
inline constexpr std::size_t kIntTextRoom = 32;

// FormatFixed and FormatInt into `buffer`, without allocating; the result views the buffer. Widths
// above 30 pad to 30.
std::string_view FormatFixedTo(std::span<char, kFixedTextRoom> buffer, double value, int width, int precision);
// FormatFixedTo(buffer, value, width, 2) of the value "%lf" reads from `text` with its blanks removed,
// written straight from the digits when they are a plain amount (a minus, up to thirteen whole digits,
// up to two decimals): such an amount comes back from a double unchanged. Nothing for other text.
std::optional<std::string_view> FormatPlainAmountTo(std::span<char, kFixedTextRoom> buffer, std::string_view text,
                                                    int width);
std::string_view FormatIntTo(std::span<char, kIntTextRoom> buffer, long long value, int width);

// As FormatFixed, but a value that rounds to zero never prints with a minus sign: for figures.
std::string FormatFigure(double value, int width, int precision);
// "%<width>d".
std::string FormatInt(long long value, int width);
// The value with `precision` decimals as the terminal prints its figures: the binary value rounded half away
// from zero (-56.5 prints as -57 with no decimals), a value that rounds to zero without a minus sign.
std::string FormatRounded(double value, int precision);

// One value for FormatFigures: a whole number, a floating-point number or a text.
struct FigureArg
{
    FigureArg(int v) : IsInteger(true), Integer(v) {}
    FigureArg(long long v) : IsInteger(true), Integer(v) {}
    FigureArg(double v) : Real(v) {}
    FigureArg(std::string_view v) : IsText(true), Text(v) {}

    bool IsInteger = false;
    bool IsText = false;
    long long Integer = 0;
    double Real = 0.0;
    std::string_view Text;
};

/**
 * printf for the summary figures: "%[width][.precision]d", "%[width][.precision]f", "%[width]s" and
 * "%%", with "." as the decimal point whatever the locale. A figure that rounds to zero prints without
 * a minus sign. A conversion without a matching argument prints nothing.
 */
std::string FormatFigures(std::string_view format, std::initializer_list<FigureArg> args);

// The decimals of a printed amount ("1 324.50" has 2): 0 in an account in yen, whose money has none.
int PrintedDecimals(std::string_view text);

// Reads a decimal number exactly, as an amount scaled by 10^decimals and rounded half away from zero:
// optional sign, digits with single blanks between digit groups ("-1 324.5", "100 000.00"), an
// optional "." and fraction, blanks around it. Nothing for any other text, for an empty one, and for
// a number of 10^17 or more once scaled.
std::optional<long long> ParseScaled(std::string_view text, int decimals);

} // namespace corvane
