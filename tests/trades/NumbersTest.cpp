#include "Numbers.h"
#include "Errors.h"
#include "TextRoutines.h"

#include "CommaLocale.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace corvane {
namespace {

// ---- ParseNumber ----------------------------------------------------------------------------------

struct AcceptedNumber
{
    const char* text;
    double value;
};

class ParseNumberAccepts : public ::testing::TestWithParam<AcceptedNumber>
{
};

TEST_P(ParseNumberAccepts, ReadsTheDecimalValue)
{
    const AcceptedNumber& c = GetParam();
    double value = 0.0;
    ASSERT_NO_THROW(value = ParseNumber(c.text)) << "text '" << c.text << "'";
    EXPECT_DOUBLE_EQ(value, c.value) << "text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Cells, ParseNumberAccepts,
                         ::testing::Values(AcceptedNumber{"0", 0.0}, AcceptedNumber{"100.00", 100.0},
                                           AcceptedNumber{"    100.00", 100.0},
                                           AcceptedNumber{"  -1234.50", -1234.5},
                                           AcceptedNumber{"1.5  ", 1.5}, AcceptedNumber{"  +3.25  ", 3.25},
                                           AcceptedNumber{"-0.75", -0.75}, AcceptedNumber{".5", 0.5},
                                           AcceptedNumber{"5.", 5.0}, AcceptedNumber{"1e3", 1000.0},
                                           AcceptedNumber{"1.5E-2", 0.015}, AcceptedNumber{"-2.5e+2", -250.0},
                                           AcceptedNumber{"007", 7.0},
                                           AcceptedNumber{"123456789012.25", 123456789012.25}));

class ParseNumberRejects : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ParseNumberRejects, ThrowsAConversionErrorNamingTheCell)
{
    const std::string text = GetParam();
    try {
        const double value = ParseNumber(text);
        ADD_FAILURE() << "'" << text << "' was read as " << value;
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid floating point value");
        EXPECT_NE(dynamic_cast<const std::runtime_error*>(&error), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, ParseNumberRejects,
                         ::testing::Values("", "      ", "1 234", "abc", "nan", "inf", "-inf", "1,5", "1.2.3",
                                           "1e", "1e+", "-", ".", "+", "0x10", "12abc", "--1", "1.5 x"));

// ---- Profit, commission and swap cells --------------------------------------------------------------

TEST(MoneyCells, BlanksInsideANumberAreThousandsSeparatorsAndABlankCellIsZero)
{
    EXPECT_DOUBLE_EQ(ParseMoneyCell("-1 234.56"), -1234.56);
    EXPECT_DOUBLE_EQ(ParseMoneyCell("10 000 000.00"), 10000000.0);
    EXPECT_DOUBLE_EQ(ParseMoneyCell(" -7.00"), -7.0);
    for (const char* blank : {"      ", ""}) {
        EXPECT_EQ(ParseMoneyCell(blank), 0.0) << "'" << blank << "'";
        EXPECT_TRUE(IsBlankCell(blank)) << "'" << blank << "'";
    }
    EXPECT_FALSE(IsBlankCell("  0.00"));
    EXPECT_EQ(ParseProfitCell("          "), 0.0);
    EXPECT_EQ(ParseProfitCell(""), 0.0);
    EXPECT_DOUBLE_EQ(ParseProfitCell("   1234.56"), 1234.56);
}

TEST(MoneyCells, TextThatIsNoNumberNamesTheCellAsItStands)
{
    const auto messageOf = [](double (*parse)(std::string_view), const std::string& text) {
        try {
            parse(text);
        } catch (const ConversionError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(ParseMoneyCell, "1 234,56"), "'1 234,56' is not a valid floating point value");
    EXPECT_EQ(messageOf(ParseMoneyCell, " n/a  "), "' n/a  ' is not a valid floating point value");
    EXPECT_EQ(messageOf(ParseProfitCell, "  12.5x"), "'  12.5x' is not a valid floating point value");
}

// ---- ScanDouble reads as "%lf" does -----------------------------------------------------------------

class ScanDoubleTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ScanDoubleTest, AgreesWithScanf)
{
    const char* text = GetParam();
    double expected = 0.0;
    const bool read = std::sscanf(text, "%lf", &expected) == 1;
    const std::optional<double> actual = ScanDouble(text);
    ASSERT_EQ(actual.has_value(), read) << "text '" << text << "'";
    if (!read) return;
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(*actual)) << "text '" << text << "' gave " << *actual;
    else
        EXPECT_EQ(*actual, expected) << "text '" << text << "'";
    EXPECT_EQ(std::signbit(*actual), std::signbit(expected)) << "text '" << text << "'";
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanDoubleTest,
                         ::testing::Values("12.5", "  7", "\t\n 4.25", "-3e2xyz", "1e", "1e+", "1.5e3z", ".5",
                                           "+.5e1", "-0", "1,5", "1234.56</td>", "0x1A", "0x1p4", "inf",
                                           "-INF", "nan", "infinity", "1e400", "-1e400", "1e-400", "abc", "",
                                           "-", ".", "+.", "  ", "0.1", "2.675",
                                           "123456789012345678901234567890"));

TEST(ScanDouble, StopsAtTheFirstNul)
{
    EXPECT_EQ(ScanDouble(std::string({'1', '2', '\0', '3', '4'})), 12.0);
    EXPECT_EQ(ScanDouble(std::string({'\0', '3', '4'})), std::nullopt);
}

// ---- Formatting as printf does ----------------------------------------------------------------------

std::string Printf(double value, int width, int precision)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    return buffer;
}

struct FixedCase
{
    double value;
    int width;
    int precision;
};

class FormatFixedTest : public ::testing::TestWithParam<FixedCase>
{
};

TEST_P(FormatFixedTest, AgreesWithPrintf)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.width, c.precision), Printf(c.value, c.width, c.precision))
        << "value " << c.value << " width " << c.width << " precision " << c.precision;
}

std::vector<FixedCase> FixedCases()
{
    // clang-format off
    const double values[] = {0.0, -0.0, 0.005, 0.015, 2.675, 1.005, 0.125, 0.375, 2.5, 3.5, -0.001, -0.004,
                             1234.5, -1234.5, 100.0, 12345678.9, 123456789.125, 1e15, 1e-7, 5e-324, DBL_MAX,
                             -DBL_MAX, std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    // clang-format on
    const int shapes[][2] = {{10, 2}, {14, 2}, {0, 0}, {6, 2}, {0, 6}, {1, 1}, {20, 10}};
    std::vector<FixedCase> cases;
    for (const double value : values)
        for (const auto& shape : shapes)
            cases.push_back({value, shape[0], shape[1]});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Values, FormatFixedTest, ::testing::ValuesIn(FixedCases()));

TEST(FormatInt, AgreesWithPrintf)
{
    const long long values[] = {0, 7, -5, 123456, -123456, 1234567, LLONG_MIN, LLONG_MAX};
    for (const long long value : values)
        for (const int width : {0, 1, 6, 25}) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%*lld", width, value);
            EXPECT_EQ(FormatInt(value, width), buffer) << "value " << value << " width " << width;
        }
}

TEST(PadLeft, AgreesWithPrintf)
{
    for (const char* text : {"", "a", "0.00", "-12.50", "123456", "1234567", "   1  "})
        for (const int width : {0, 6, 8, 12}) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%*s", width, text);
            EXPECT_EQ(PadLeft(text, width), buffer) << "text '" << text << "' width " << width;
        }
}

// ---- Summary figures --------------------------------------------------------------------------------

TEST(FormatFigure, AZeroFigureHasNoMinusSign)
{
    EXPECT_EQ(FormatFigure(-0.0, 10, 2), "      0.00");
    EXPECT_EQ(FormatFigure(-0.001, 10, 2), "      0.00");
    EXPECT_EQ(FormatFigure(-0.004, 6, 2), "  0.00");
    EXPECT_EQ(FormatFigure(-0.4, 0, 0), "0");
    EXPECT_EQ(FormatFigure(-0.005001, 0, 2), "-0.01");
    EXPECT_EQ(FormatFigure(-12.5, 8, 2), "  -12.50");
}

TEST(FormatFigures, WritesEachConversionAsPrintfWithoutNegativeZero)
{
    EXPECT_EQ(FormatFigures("%d trades", {5}), "5 trades");
    EXPECT_EQ(FormatFigures("%6d|", {-3}), "    -3|");
    EXPECT_EQ(FormatFigures("%10.2f", {-0.001}), "      0.00");
    EXPECT_EQ(FormatFigures("%10.2f", {-1234.567}), "  -1234.57");
    EXPECT_EQ(FormatFigures("%.2f", {2.675}), "2.67");
    EXPECT_EQ(FormatFigures("%0.f", {12.5}), "12");
    EXPECT_EQ(FormatFigures("%0.f", {13.5}), "14");
    EXPECT_EQ(FormatFigures("%0.f", {-0.4}), "0");
    EXPECT_EQ(FormatFigures("%f", {1.5}), "1.500000");
    EXPECT_EQ(FormatFigures("%14.2f", {1234567.891}), "    1234567.89");
    EXPECT_EQ(FormatFigures("%f", {3}), "3.000000");
    EXPECT_EQ(FormatFigures("%6s|%s", {std::string_view("ab"), std::string_view("cd")}), "    ab|cd");
    EXPECT_EQ(FormatFigures("100%%", {}), "100%");
    EXPECT_EQ(FormatFigures("%.2f%%", {12.3456}), "12.35%");
    EXPECT_EQ(FormatFigures("%d and %d", {1}), "1 and ") << "a conversion without an argument prints nothing";
    EXPECT_EQ(FormatFigures("no conversions", {}), "no conversions");
}

// ---- Leading whole numbers --------------------------------------------------------------------------

struct IntegerCase
{
    const char* text;
    long long value;
};

class LeadingIntegerTest : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(LeadingIntegerTest, ReadsAsAtoi)
{
    EXPECT_EQ(LeadingInteger(GetParam().text), GetParam().value) << "text '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingIntegerTest,
                         ::testing::Values(IntegerCase{"123", 123}, IntegerCase{"  -45x", -45},
                                           IntegerCase{"+7", 7}, IntegerCase{"\t\n 8", 8},
                                           IntegerCase{"12.9", 12}, IntegerCase{"abc", 0}, IntegerCase{"", 0},
                                           IntegerCase{"-", 0}, IntegerCase{"7x9", 7}, IntegerCase{"- 5", 0},
                                           IntegerCase{"0042", 42},
                                           IntegerCase{"9223372036854775807", LLONG_MAX},
                                           IntegerCase{"99999999999999999999", LLONG_MAX},
                                           IntegerCase{"-99999999999999999999", LLONG_MIN}));

// ---- Independence from the process locale -----------------------------------------------------------

TEST(CommaLocale, ChangesNoNumberReadOrWritten)
{
    const test::CommaNumericLocale locale;
    if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
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
