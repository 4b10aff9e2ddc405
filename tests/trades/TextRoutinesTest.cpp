#include "TextRoutines.h"

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

INSTANTIATE_TEST_SUITE_P(Fields, ExtractBetweenTest,
                         ::testing::Values(ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 2, true, "b"},
                                           ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 1, true, "a"},
                                           ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 0, true, "a"},
                                           ExtractCase{"<td>a</td><td>b</td>", "<td>", "</td>", 3, false, ""},
                                           ExtractCase{"<td>a", "<td>", "</td>", 1, false, ""},
                                           ExtractCase{"x<td>", "<td>", "x", 1, false, ""},
                                           ExtractCase{"</td><td>a", "<td>", "</td>", 1, false, ""},
                                           ExtractCase{"<td></td>", "<td>", "</td>", 1, true, ""}));

TEST(RemoveBlanks, DeletesBlanksOnly)
{
    std::string text = "1 234.00";
    RemoveBlanks(text);
    EXPECT_EQ(text, "1234.00");
    text = " a\tb \n";
    RemoveBlanks(text);
    EXPECT_EQ(text, "a\tb\n");
}

} // namespace
} // namespace corvane
