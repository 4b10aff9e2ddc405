#include "text/Numbers.h"

#include "CommaLocale.h"
#include "text/Errors.h"
#include "text/TextRoutines.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

namespace corvane {
namespace {

// The message of the conversion error `parse` throws for `text`, or "no error".
template <typename Parse> std::string ErrorOf(Parse parse, const std::string& text)
{
    try {
        parse(text);
    } catch (const ConversionError& error) {
        EXPECT_NE(dynamic_cast<const std::runtime_error*>(&error), nullptr);
        return error.what();
    }
    return "no error";
}

// ---- Reading numbers ------------------------------------------------------------------------------

TEST(ParseNumber, ReadsADecimalNumberBetweenBlanksOrNamesTheCell)
{
    // clang-format off
    const std::pair<const char*, double> accepted[] = {
        {"0", 0.0}, {"100.00", 100.0}, {"    100.00", 100.0}, {"  -1234.50", -1234.5}, {"1.5  ", 1.5},
        {"  +3.25  ", 3.25}, {"-0.75", -0.75}, {".5", 0.5}, {"5.", 5.0}, {"1e3", 1000.0}, {"1.5E-2", 0.015},
        {"-2.5e+2", -250.0}, {"007", 7.0}, {"123456789012.25", 123456789012.25}};
    // clang-format on
    for (const auto& [text, value] : accepted)
        EXPECT_DOUBLE_EQ(ParseNumber(text), value) << "'" << text << "'";
    for (const std::string text : {"", "      ", "1 234", "abc", "nan", "inf", "-inf", "1,5", "1.2.3", "1e", "1e+", "-",
                                   ".", "+", "0x10", "12abc", "--1", "1.5 x"})
        EXPECT_EQ(ErrorOf(ParseNumber, text), "'" + text + "' is not a valid floating point value");
}

TEST(ParseNumber, ReadsEveryPlainAmountToTheBitAsFromChars)
{
    // Up to seventeen digits, so that the amounts of sixteen and more are read the long way too; ties
    // and zeros of either sign among them.
    std::mt19937_64 random(3);
    for (int i = 0; i < 200000; ++i) {
        const int digits = std::uniform_int_distribution<int>(1, 17)(random);
        const int fraction = std::uniform_int_distribution<int>(0, digits - 1)(random);
        std::string text = random() % 3 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == digits - fraction && fraction > 0)
                text += '.';
            text += static_cast<char>('0' + (random() % 4 == 0 ? 0 : random() % 10));
        }
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(ParseNumber(text)), std::bit_cast<std::uint64_t>(expected)) << text;
    }
}

TEST(MoneyCells, BlanksInsideANumberAreThousandsSeparatorsAndABlankCellIsZero)
{
    EXPECT_DOUBLE_EQ(ParseMoneyCell("-1 234.56"), -1234.56);
    EXPECT_DOUBLE_EQ(ParseMoneyCell("10 000 000.00"), 10000000.0);
    EXPECT_DOUBLE_EQ(ParseMoneyCell(" -7.00"), -7.0);
    for (const char* blank : {"      ", ""}) {
        EXPECT_EQ(ParseMoneyCell(blank), 0.0) << "'" << blank << "'";
        EXPECT_TRUE(IsBlankCell(blank)) << "'" << blank << "'";
        EXPECT_EQ(ParseProfitCell(blank), 0.0) << "'" << blank << "'";
    }
    EXPECT_FALSE(IsBlankCell("  0.00"));
    EXPECT_DOUBLE_EQ(ParseProfitCell("   1234.56"), 1234.56);
    EXPECT_EQ(ErrorOf(ParseMoneyCell, "1 234,56"), "'1 234,56' is not a valid floating point value");
    EXPECT_EQ(ErrorOf(ParseMoneyCell, " n/a  "), "' n/a  ' is not a valid floating point value");
    EXPECT_EQ(ErrorOf(ParseProfitCell, "  12.5x"), "'  12.5x' is not a valid floating point value");
}

TEST(PipsCells, AWholeNumberAsTheFilterPassWritesItAndABlankCellOnlyWhereZeroIsAsked)
{
    const auto parse = [](std::string_view text) { return ParsePipsCell(text); };
    const std::pair<const char*, long long> accepted[] = {
        {"    10", 10}, {"   -55", -55}, {"+7", 7}, {"     0", 0}, {"999999999999", 999999999999}};
    for (const auto& [text, pips] : accepted)
        EXPECT_EQ(parse(text), pips) << "'" << text << "'";
    for (const std::string text : {"", "      ", "   2.5", "1e3", "- 5", "-", "abc", "1000000000000"})
        EXPECT_EQ(ErrorOf(parse, text), "'" + text + "' is not a valid floating point value");
    EXPECT_EQ(ParsePipsCell("      ", BlankPips::Zero), 0);
}

TEST(ScanDouble, AgreesWithScanfAndStopsAtTheFirstNul)
{
    for (const char* text : {"12.5",    "  7",          "\t\n 4.25", "-3e2xyz",     "1e",
                             "1e+",     "1.5e3z",       ".5",        "+.5e1",       "-0",
                             "1,5",     "1234.56</td>", "0x1A",      "0x1p4",       "inf",
                             "-INF",    "nan",          "infinity",  "1e400",       "-1e400",
                             "1e-400",  "abc",          "",          "-",           ".",
                             "+.",      "  ",           "0.1",       "2.675",       "123456789012345678901234567890",
                             "-1e-400", "0x1p-1080",    "-0x.8p1",   "0x1p99999",   "-0x1.8",
                             "--5",     "+-5",          "-+5",       "0.0001e-320", "1e-999999999999999999999"}) {
        double expected = 0.0;
        const bool read = std::sscanf(text, "%lf", &expected) == 1;
        const std::optional<double> actual = ScanDouble(text);
        ASSERT_EQ(actual.has_value(), read) << "'" << text << "'";
        if (!read)
            continue;
        EXPECT_TRUE(std::isnan(expected) ? std::isnan(*actual) : *actual == expected)
            << "'" << text << "' gave " << *actual << " for " << expected;
        EXPECT_EQ(std::signbit(*actual), std::signbit(expected)) << "'" << text << "'";
    }
    EXPECT_EQ(ScanDouble(std::string({'1', '2', '\0', '3', '4'})), 12.0);
    EXPECT_EQ(ScanDouble(std::string({'\0', '3', '4'})), std::nullopt);
}

TEST(LeadingInteger, ReadsAsAtoi)
{
    // clang-format off
    const std::pair<const char*, long long> cases[] = {
        {"123", 123}, {"  -45x", -45}, {"+7", 7}, {"\t\n 8", 8}, {"12.9", 12}, {"abc", 0}, {"", 0}, {"-", 0},
        {"7x9", 7}, {"- 5", 0}, {"0042", 42}, {"9223372036854775807", LLONG_MAX},
        {"99999999999999999999", LLONG_MAX}, {"-99999999999999999999", LLONG_MIN}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadingInteger(text), value) << "'" << text << "'";
}

// ---- Writing numbers as printf does -----------------------------------------------------------------

TEST(FormatFixed, AgreesWithPrintf)
{
    // clang-format off
    const double values[] = {0.0, -0.0, 0.005, 0.015, 2.675, 1.005, 0.125, 0.375, 2.5, 3.5, -0.001, -0.004,
                             1234.5, -1234.5, 100.0, 12345678.9, 123456789.125, 1e15, 1e-7, 5e-324, DBL_MAX,
                             -DBL_MAX, std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    // clang-format on
    const int shapes[][2] = {{10, 2}, {14, 2}, {0, 0}, {6, 2}, {0, 6}, {1, 1}, {20, 10}};
    for (const double value : values)
        for (const auto& [width, precision] : shapes) {
            char buffer[512];
            std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
            EXPECT_EQ(FormatFixed(value, width, precision), buffer) << "%" << width << "." << precision << "f";
        }
}

TEST(FormatPlainAmountTo, WritesWhatScanfAndPrintfMakeOfAPlainAmountAndNothingElse)
{
    // clang-format off
    const std::pair<const char*, bool> cases[] = {
        {"12.5", true}, {"-0", true}, {"-0.00", true}, {"007.05", true}, {"0", true}, {"1 234 567.89", true},
        {" - 5 . 2 ", true}, {"9999999999999.99", true}, {"-1000000000000.01", true}, {"0000000000000.1", true},
        {"99999999999999", false}, {"1.005", false}, {"5.", false}, {".5", false}, {"+5", false}, {"-", false},
        {"", false}, {"1e3", false}, {"12.5x", false}, {"\t7", false}, {"--5", false}, {"1,5", false}};
    // clang-format on
    for (const auto& [text, plain] : cases) {
        char buffer[kFixedTextRoom];
        const std::optional<std::string_view> written = FormatPlainAmountTo(buffer, text, 10);
        ASSERT_EQ(written.has_value(), plain) << "'" << text << "'";
        double value = 0.0;
        std::sscanf(WithoutBlanks(text).c_str(), "%lf", &value);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%10.2f", value);
        if (plain) {
            EXPECT_EQ(*written, expected) << "'" << text << "'";
        }
    }
}

TEST(FormatFixed, AgreesWithPrintfOnRandomAmountsAndTies)
{
    // Amounts of every size up to 2^53 and beyond, and the ties halfway between two last decimals.
    std::mt19937_64 random(7);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::ldexp(1.0, static_cast<int>(random() % 130) - 70);
        const double value = magnitude * std::uniform_real_distribution<double>(-1.0, 1.0)(random);
        values.push_back(value);
        values.push_back(std::round(value * 1000) / 1000);
        values.push_back((std::floor(value * 8) + 0.5) / 8);
        values.push_back(std::nextafter(std::ldexp(1.0, 52), 0.0) * (i % 2 ? 1 : -1));
    }
    char expected[512];
    char buffer[kFixedTextRoom];
    for (const double value : values)
        for (int precision = 0; precision <= 4; ++precision) {
            std::snprintf(expected, sizeof expected, "%.*f", precision, value);
            ASSERT_EQ(FormatFixedTo(buffer, value, 0, precision), expected) << "%." << precision << "f";
        }
}

TEST(FormatInt, AgreesWithPrintfAndSoDoesPadLeft)
{
    char buffer[64];
    for (const long long value : {0LL, 7LL, -5LL, 123456LL, -123456LL, 1234567LL, LLONG_MIN, LLONG_MAX})
        for (const int width : {0, 1, 6, 25}) {
            std::snprintf(buffer, sizeof buffer, "%*lld", width, value);
            EXPECT_EQ(FormatInt(value, width), buffer) << "value " << value << " width " << width;
        }
    for (const char* text : {"", "a", "0.00", "-12.50", "123456", "1234567", "   1  "})
        for (const int width : {0, 6, 8, 12}) {
            std::snprintf(buffer, sizeof buffer, "%*s", width, text);
            EXPECT_EQ(PadLeft(text, width), buffer) << "text '" << text << "' width " << width;
        }
}

TEST(FormatFigures, WritesEachConversionAsPrintfWithoutNegativeZero)
{
    EXPECT_EQ(FormatFigure(-0.0, 10, 2), "      0.00");
    EXPECT_EQ(FormatFigure(-0.004, 6, 2), "  0.00");
    EXPECT_EQ(FormatFigure(-0.4, 0, 0), "0");
    EXPECT_EQ(FormatFigure(-0.005001, 0, 2), "-0.01");
    EXPECT_EQ(FormatFigure(-12.5, 8, 2), "  -12.50");
    EXPECT_EQ(FormatFigures("%d trades|%6d|", {5, -3}), "5 trades|    -3|");
    EXPECT_EQ(FormatFigures("%10.2f|%10.2f", {-0.001, -1234.567}), "      0.00|  -1234.57");
    EXPECT_EQ(FormatFigures("%.2f|%0.f|%0.f|%0.f", {2.675, 12.5, 13.5, -0.4}), "2.67|12|14|0");
    EXPECT_EQ(FormatFigures("%f|%14.2f|%f", {1.5, 1234567.891, 3}), "1.500000|    1234567.89|3.000000");
    EXPECT_EQ(FormatFigures("%6s|%s", {std::string_view("ab"), std::string_view("cd")}), "    ab|cd");
    EXPECT_EQ(FormatFigures("100%% %.2f%%", {12.3456}), "100% 12.35%");
    EXPECT_EQ(FormatFigures("%d and %d", {1}), "1 and ") << "a conversion without an argument prints nothing";
    EXPECT_EQ(FormatFigures("no conversions", {}), "no conversions");
}

// ---- Independence from the process locale -----------------------------------------------------------

// The terminal rounds the binary value half away from zero where printf rounds ties to even.
TEST(FormatRounded, RoundsTheBinaryValueHalfAwayFromZero)
{
    const struct
    {
        double Value;
        int Precision;
        const char* Text;
    } cases[] = {
        {-113.0 / 2, 0, "-57"}, {12.5, 0, "13"},
        {0.125, 2, "0.13"},     {-3031.70 / 140, 2, "-21.65"},
        {2.675, 2, "2.67"},     {-0.004, 2, "0.00"},
        {-0.005, 2, "-0.01"},   {999.995, 2, "1000.00"},
        {99.5, 0, "100"},       {1e20, 2, "100000000000000000000.00"},
        {0.0, 1, "0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRounded(c.Value, c.Precision), c.Text) << c.Value;
}

TEST(CommaLocale, ChangesNoNumberReadOrWritten)
{
    const test::CommaNumericLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    ASSERT_EQ(std::string(printed), "1,5") << "the locale is in force for C's own formatting";

    EXPECT_DOUBLE_EQ(ParseNumber("  -1234.50"), -1234.5);
    EXPECT_THROW(ParseNumber("1,5"), ConversionError);
    EXPECT_DOUBLE_EQ(ParseMoneyCell("-1 234.56"), -1234.56);
    EXPECT_EQ(FormatFixed(-1234.5, 10, 2), "  -1234.50");
    EXPECT_EQ(FormatFixed(1234567.891, 14, 2), "    1234567.89");
    EXPECT_EQ(FormatFigure(0.5, 6, 2), "  0.50");
    EXPECT_EQ(FormatFigures("%10.2f|%.1f", {1234.5, 2.25}), "   1234.50|2.2");
    EXPECT_EQ(ScanDouble("1234.56</td>"), 1234.56);
    EXPECT_EQ(ScanDouble("1,5"), 1.0);
}

} // namespace
} // namespace corvane
