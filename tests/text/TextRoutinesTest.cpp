#include "text/TextRoutines.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct ExtractCase
{
    const char* text;
    const char* open;
    const char* close;
    int n;
    bool found;
    const char* out;
};

void PrintTo(const ExtractCase& c, std::ostream* out)
{
    *out << "'" << c.text << "' between '" << c.open << "' number " << c.n << " and '" << c.close << "'";
}

class ExtractBetweenTest : public ::testing::TestWithParam<ExtractCase>
{
};

TEST_P(ExtractBetweenTest, CutsTheCountedField)
{
    const ExtractCase& c = GetParam();
    std::string out = "stale";
    EXPECT_EQ(ExtractBetween(c.text, c.open, c.close, c.n, out), c.found);
    EXPECT_EQ(out, c.out);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, ExtractBetweenTest, ::testing::Values(
    ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 2, true, "b"},
    ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 1, true, "a"},
    ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 0, true, "a"},
    ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 3, false, ""},
    ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", -3, true, "a"}, // a negative count passes one marker
    ExtractCase{"<td>a", "<td>", "</td>", 1, false, ""},
    ExtractCase{"x<td>", "<td>", "x", 1, false, ""},
    ExtractCase{"</td><td>a", "<td>", "</td>", 1, false, ""},
    ExtractCase{"<td></td>", "<td>", "</td>", 1, true, ""},
    ExtractCase{"", "<td>", "</td>", 1, false, ""},
    // the close marker is searched only after the counted open marker
    ExtractCase{"<td>a</td><td>b", "<td>", "</td>", 2, false, ""},
    // occurrences of the open marker do not overlap
    ExtractCase{"aaa|", "aa", "|", 2, false, ""}, ExtractCase{"aaaa|", "aa", "|", 2, true, ""},
    // open and close may be the same text; the search is case-sensitive
    ExtractCase{"<td>a<td>b", "<td>", "<td>", 1, true, "a"},
    ExtractCase{"<TD>a</TD>", "<td>", "</td>", 1, false, ""},
    ExtractCase{"<td>a</TD>", "<td>", "</td>", 1, false, ""},
    // the text runs to the first close marker, not the last
    ExtractCase{"\"#123 comment with blanks\">", "\"#", " ", 1, true, "123"}));

// The position just past the counted open marker must not be the end of the text.
INSTANTIATE_TEST_SUITE_P(OpenMarkerAtTheEnd, ExtractBetweenTest, ::testing::Values(
    ExtractCase{"abc<td>", "<td>", "c", 1, false, ""},
    ExtractCase{"<td>a</td><td>", "<td>", "</td>", 2, false, ""},
    ExtractCase{"<td>a</td><td>", "<td>", "</td>", 1, true, "a"},
    ExtractCase{"<td>", "<td>", "<td>", 0, false, ""},
    ExtractCase{"<td> ", "<td>", " ", 1, true, ""}));

// Markers are plain texts: they count wherever they stand, attribute values included.
INSTANTIATE_TEST_SUITE_P(MarkersInAttributes, ExtractBetweenTest, ::testing::Values(
    ExtractCase{"<td title=\"<td>x</td>\">y</td>", "<td>", "</td>", 1, true, "x"},
    ExtractCase{"<td title=\"a</td>b\">y</td>", "\">", "</td>", 1, true, "y"},
    ExtractCase{"<td title=\"a</td>b\">y</td>", "<td title=\"", "</td>", 1, true, "a"},
    ExtractCase{"<tr align=right><td align=right>7</td>", "align=right>", "</td>", 2, true, "7"},
    ExtractCase{"<tr align=right><td align=right>7</td>", "align=right>", "</td>", 1, true,
                "<td align=right>7"}));
// clang-format on

TEST(RemoveBlanks, DeletesBlanksOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"1 234.00", "1234.00"},
        {" a\tb \n", "a\tb\n"},
        {"      ", ""},
        {std::string({'\xa0', '1', '\r', ' ', '2', '\0', ' ', '3'}), std::string({'\xa0', '1', '\r', '2', '\0', '3'})},
    };
    for (auto [text, expected] : cases) {
        RemoveBlanks(text);
        EXPECT_EQ(text, expected) << "a non-breaking space, CR and NUL are not blanks";
    }
}

} // namespace
} // namespace corvane
