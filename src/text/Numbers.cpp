#include "text/Numbers.h"

#include "text/Errors.h"
#include "text/TextRoutines.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace corvane {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// What C's strtod gives for a number beyond the range of a double, which from_chars leaves unread:
// an infinity when it is too large, a zero of its sign when it is too small. `number` is the number's
// text without its sign, as from_chars took it (decimal, or hexadecimal digits after "0x").
double OutOfRange(std::string_view number, bool negative, bool hex)
{
    // The place of the first significant digit, in digits of the base, and the exponent: their sum
    // is far above zero for a number too large and far below it for one too small.
    long long place = 0;
    bool significant = false;
    bool fraction = false;
    std::size_t i = 0;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') {
            fraction = true;
        } else if (hex ? IsHexDigit(c) : IsDigit(c)) {
            if (c != '0' && !significant)
                significant = true;
            if (significant && !fraction)
                ++place;
            else if (!significant && fraction)
                --place;
        } else {
            break;
        }
    }
    long long exponent = 0;
    if (i + 1 < number.size()) {
        const std::string_view rest = number.substr(i + 1);
        const bool minus = rest.front() == '-';
        for (std::size_t j = rest.front() == '-' || rest.front() == '+' ? 1 : 0; j < rest.size() && IsDigit(rest[j]);
             ++j)
            exponent = std::min(exponent * 10 + (rest[j] - '0'), 1'000'000'000LL);
        exponent = minus ? -exponent : exponent;
    }
    // A hexadecimal exponent counts bits, four to a digit.
    const long long scale = hex ? place * 4 + exponent : place + exponent;
    const double magnitude = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

// Reads the number at the start of `text` as strtod does in the C locale: an optional sign, decimal
// digits with an exponent, hexadecimal digits after "0x" with a binary exponent, inf or nan. Returns
// where the number ends, or `text`'s start when no number starts it.
const char* ReadLeadingNumber(std::string_view text, double& value)
{
    const char* const first = text.data();
    const char* const last = first + text.size();
    const char* at = first;
    const bool negative = at < last && *at == '-';
    if (at < last && (*at == '-' || *at == '+'))
        ++at;
    if (at < last && *at == '-')
        return first; // from_chars would take a second sign
    const bool hex = last - at > 2 && at[0] == '0' && (at[1] == 'x' || at[1] == 'X')
                     && (IsHexDigit(at[2]) || (at[2] == '.' && last - at > 3 && IsHexDigit(at[3])));
    const char* const digits = hex ? at + 2 : at;
    const auto result = std::from_chars(digits, last, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return first;
    if (result.ec == std::errc::result_out_of_range)
        value = OutOfRange(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), false, hex);
    if (negative)
        value = -value;
    return result.ptr;
}

// A plain amount, digits with an optional "." and digits, of fifteen digits or fewer, read exactly as
// from_chars reads it: the digits as a whole number and the power of ten are both doubles without
// rounding, so their quotient is the double nearest the amount. Nothing for any other text.
std::optional<double> ReadPlainAmount(std::string_view text)
{
    constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = -1; // digits after the ".", once it is met
    for (const char c : text) {
        if (IsDigit(c)) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++count;
            if (fraction >= 0)
                ++fraction;
        } else if (c == '.' && fraction < 0 && count > 0) {
            fraction = 0;
        } else {
            return std::nullopt;
        }
        if (count > 15)
            return std::nullopt;
    }
    if (count == 0 || fraction == 0)
        return std::nullopt;
    return static_cast<double>(digits) / kPowers[fraction < 0 ? 0 : fraction];
}

// Reads a decimal number: optional sign, digits with an optional "." and fraction, an optional
// exponent, blanks around it; nothing for any other text (no "inf", no hexadecimal, no separators)
// nor for a number beyond the range of a double.
std::optional<double> ReadDecimal(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty()) {
        const bool negative = text.front() == '-';
        if (const auto amount = ReadPlainAmount(negative || text.front() == '+' ? text.substr(1) : text))
            return negative ? -*amount : *amount;
    }
    const bool signed_ = !text.empty() && (text.front() == '+' || text.front() == '-');
    if (signed_ && text.front() == '+')
        text.remove_prefix(1); // from_chars takes no plus sign
    const std::size_t first = signed_ && text.front() == '-' ? 1 : 0;
    if (first >= text.size() || !(IsDigit(text[first]) || text[first] == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ptr != text.data() + text.size() || result.ec == std::errc::invalid_argument)
        return std::nullopt;
    if (result.ec == std::errc::result_out_of_range) {
        // A number too small for a double is read as C reads it (a zero); one too large is no amount
        // of money at all.
        const bool negative = text.front() == '-';
        value = OutOfRange(text.substr(negative ? 1 : 0), negative, false);
        if (std::isinf(value))
            return std::nullopt;
    }
    return value;
}

} // namespace

double ParseNumber(std::string_view text)
{
    const auto value = ReadDecimal(text);
    if (!value)
        throw ConversionError(std::string(text));
    return *value;
}

long long ParsePipsCell(std::string_view text, BlankPips blank)
{
    if (blank == BlankPips::Zero && IsBlankCell(text))
        return 0;
    const std::string_view number = Trimmed(text);
    std::size_t i = (!number.empty() && (number.front() == '-' || number.front() == '+')) ? 1 : 0;
    if (i == number.size())
        throw ConversionError(std::string(text));
    long long value = 0;
    for (; i < number.size(); ++i) {
        if (!IsDigit(number[i]))
            throw ConversionError(std::string(text));
        value = value * 10 + (number[i] - '0');
        if (value >= 1'000'000'000'000LL)
            throw ConversionError(std::string(text));
    }
    return number.front() == '-' ? -value : value;
}

bool IsBlankCell(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

double ParseProfitCell(std::string_view text)
{
    return IsBlankCell(text) ? 0.0 : ParseNumber(text);
}

double ParseMoneyCell(std::string_view text)
{
    if (IsBlankCell(text))
        return 0.0;
    if (const auto value = ReadDecimal(text))
        return *value;
    if (const auto value = ReadDecimal(WithoutBlanks(text)))
        return *value;
    throw ConversionError(std::string(text));
}

std::optional<double> ScanDouble(std::string_view text)
{
    text = UpToNul(text);
    while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')))
        text.remove_prefix(1);
    double value = 0.0;
    if (ReadLeadingNumber(text, value) == text.data())
        return std::nullopt;
    return value;
}

long long LeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (value > (LLONG_MAX - digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

namespace {

// Right-aligns the `length` characters at the end of `buffer`'s first `end` bytes to `width`.
std::string_view PadInBuffer(char* buffer, std::size_t length, int width)
{
    if (static_cast<int>(length) >= width)
        return std::string_view(buffer, length);
    const std::size_t pad = static_cast<std::size_t>(width) - length;
    std::memmove(buffer + pad, buffer, length);
    std::memset(buffer, ' ', pad);
    return std::string_view(buffer, length + pad);
}

/**
 * The fixed text of a double with up to three decimals, computed exactly on the bits of the double for
 * a value below 2^52: its mantissa times 10^precision, shifted, is the scaled value's integer part, and
 * the bits shifted out tell how to round it (to nearest, a tie to even, as printf and to_chars round).
 * Writes at `out` and returns the length; 0 when the value is out of that range.
 */
std::size_t FormatSmallFixed(char* out, double value, int precision)
{
    static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000};
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52 & 0x7ff);
    if (precision < 0 || precision > 3 || biased >= 1075)
        return 0; // infinite, not a number, or 2^52 or more: the general way
    const std::uint64_t scale = kScale[precision];
    // The value is mantissa * 2^-shift; a subnormal value is far below the last decimal.
    const std::uint64_t mantissa = biased == 0 ? 0 : (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;
    const int shift = 1075 - biased;
    const std::uint64_t scaled = mantissa * scale; // below 2^53 * 1000 < 2^64
    std::uint64_t whole = 0;
    if (shift < 64) {
        whole = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (whole & 1) != 0))
            ++whole;
    } else if (shift == 64 && scaled > std::uint64_t{1} << 63) {
        whole = 1; // above half of the last decimal
    }
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, whole / scale).ptr;
    char* o = out;
    if (bits >> 63)
        *o++ = '-';
    o = std::copy(digits, end, o);
    if (precision > 0) {
        *o++ = '.';
        std::uint64_t fraction = whole % scale;
        for (int i = precision - 1; i >= 0; --i) {
            o[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        o += precision;
    }
    return static_cast<std::size_t>(o - out);
}

} // namespace

std::string_view FormatFixedTo(std::span<char, kFixedTextRoom> buffer, double value, int width, int precision)
{
    constexpr std::size_t kRoom = 360; // the longest fixed text of a double, with room for the padding
    char* const out = buffer.data();
    std::size_t length = FormatSmallFixed(out, value, precision);
    if (length > 0) {
        // Money and the other figures: the quick way.
    } else if (std::isnan(value) || std::isinf(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
        length = std::strlen(text);
        std::memcpy(out, text, length);
    } else {
        const auto result = std::to_chars(out, out + kRoom, value, std::chars_format::fixed, precision);
        length = static_cast<std::size_t>(result.ptr - out);
    }
    return PadInBuffer(out, length, width > 30 ? 30 : width);
}

std::optional<std::string_view> FormatPlainAmountTo(std::span<char, kFixedTextRoom> buffer, std::string_view text,
                                                    int width)
{
    constexpr int kMostWholeDigits = 13;
    char* const out = buffer.data();
    std::size_t length = 0;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    skipBlanks();
    if (i < text.size() && text[i] == '-') {
        out[length++] = '-';
        ++i;
    }
    int whole = 0;
    bool leading = true; // the whole digits so far are all zeros
    for (skipBlanks(); i < text.size() && IsDigit(text[i]); skipBlanks()) {
        if (++whole > kMostWholeDigits)
            return std::nullopt;
        if (!(leading && text[i] == '0')) {
            leading = false;
            out[length++] = text[i];
        }
        ++i;
    }
    if (whole == 0)
        return std::nullopt;
    if (leading)
        out[length++] = '0';
    out[length++] = '.';
    int decimals = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i, skipBlanks(); i < text.size() && IsDigit(text[i]); skipBlanks()) {
            if (++decimals > 2)
                return std::nullopt;
            out[length++] = text[i++];
        }
        if (decimals == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    for (; decimals < 2; ++decimals)
        out[length++] = '0';
    return PadInBuffer(out, length, width > 30 ? 30 : width);
}

std::string_view FormatIntTo(std::span<char, kIntTextRoom> buffer, long long value, int width)
{
    char* const out = buffer.data();
    const auto result = std::to_chars(out, out + buffer.size(), value);
    return PadInBuffer(out, static_cast<std::size_t>(result.ptr - out), width > 30 ? 30 : width);
}

std::string FormatFixed(double value, int width, int precision)
{
    char buffer[kFixedTextRoom];
    return std::string(FormatFixedTo(buffer, value, width, precision));
}

std::string FormatFigure(double value, int width, int precision)
{
    std::string text = FormatFixed(value, width, precision);
    const std::size_t minus = text.find('-');
    if (minus != std::string::npos && text.find_first_not_of("0.", minus + 1) == std::string::npos) {
        text.erase(minus, 1);
        text = PadLeft(text, width);
    }
    return text;
}

int PrintedDecimals(std::string_view text)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return 0;
    int decimals = 0;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++decimals;
    return decimals;
}

std::string FormatRounded(double value, int precision)
{
    if (!std::isfinite(value))
        return FormatFigure(value, 0, precision);
    // Enough digits beyond the kept ones to show the exact binary fraction of every amount a report holds:
    // the first of them decides, and a tie (a 5 and zeros after it) goes away from zero as the rest do.
    constexpr int kBeyond = 70;
    char digits[kFixedTextRoom + kBeyond + 8];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, precision + kBeyond);
    const std::string_view exact(digits, static_cast<std::size_t>(written.ptr - digits));
    const std::size_t point = exact.find('.');
    std::string text(exact.substr(0, precision > 0 ? point + 1 + static_cast<std::size_t>(precision) : point));
    if (exact[point + 1 + static_cast<std::size_t>(precision)] >= '5') {
        std::size_t i = text.size();
        for (; i > 0; --i) {
            char& c = text[i - 1];
            if (c == '.')
                continue;
            if (c != '9') {
                ++c;
                break;
            }
            c = '0';
        }
        if (i == 0)
            text.insert(text.begin(), '1');
    }
    if (value < 0 && text.find_first_not_of("0.") != std::string::npos)
        text.insert(text.begin(), '-');
    return text;
}

std::string FormatInt(long long value, int width)
{
    char buffer[kIntTextRoom];
    return std::string(FormatIntTo(buffer, value, width));
}

std::string FormatFigures(std::string_view format, std::initializer_list<FigureArg> args)
{
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out.push_back(format[i]);
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int width = 0;
        while (j < format.size() && IsDigit(format[j]))
            width = width * 10 + (format[j++] - '0');
        int precision = -1;
        if (j < format.size() && format[j] == '.') {
            precision = 0;
            ++j;
            while (j < format.size() && IsDigit(format[j]))
                precision = precision * 10 + (format[j++] - '0');
        }
        if (j >= format.size())
            break;
        const char conversion = format[j];
        i = j;
        if (next == args.end())
            continue;
        const FigureArg& arg = *next++;
        if (conversion == 'd')
            out += FormatInt(arg.IsInteger ? arg.Integer : static_cast<long long>(arg.Real), width);
        else if (conversion == 'f')
            out += FormatFigure(arg.IsInteger ? static_cast<double>(arg.Integer) : arg.Real, width,
                                precision < 0 ? 6 : precision);
        else if (conversion == 's')
            out += PadLeft(arg.Text, width);
    }
    return out;
}

std::optional<long long> ParseScaled(std::string_view text, int decimals)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr long long kLimit = 100'000'000'000'000'000LL;
    long long value = 0;
    int digits = 0;
    int fraction = -1; // digits read after the point, or -1 before it
    bool roundUp = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ') {
            // a thousands separator stands between two digits of the whole part
            if (fraction >= 0 || i == 0 || !IsDigit(text[i - 1]) || i + 1 >= text.size() || !IsDigit(text[i + 1]))
                return std::nullopt;
            continue;
        }
        if (c == '.') {
            if (fraction >= 0)
                return std::nullopt;
            fraction = 0;
            continue;
        }
        if (!IsDigit(c))
            return std::nullopt;
        ++digits;
        if (fraction >= decimals) {
            if (fraction == decimals)
                roundUp = c >= '5';
            ++fraction;
            continue;
        }
        value = value * 10 + (c - '0');
        if (value >= kLimit)
            return std::nullopt;
        if (fraction >= 0)
            ++fraction;
    }
    if (digits == 0)
        return std::nullopt;
    for (int i = std::max(fraction, 0); i < decimals; ++i) {
        value *= 10;
        if (value >= kLimit)
            return std::nullopt;
    }
    if (roundUp)
        ++value;
    return negative ? -value : value;
}

} // namespace corvane
