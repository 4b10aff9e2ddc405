#include "SimdLevels.h"
#include "reports/mt4/KeywordSet.h"
#include "reports/mt4/LineFields.h"
#include "text/FindText.h"
#include "text/TextRoutines.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace corvane {
namespace {

// Random lines made of pieces of report markup, so that markers and near misses stand at every place.
std::string RandomLine(std::mt19937& random)
{
    static constexpr std::array<std::string_view, 14> kPieces = {
        "<td>", "</td>", "\">", "<td class=mspt>", "msdate>", "msdate nowrap>", "buy", "sell", "sto",
        "op",   " ",     "x",   "\x92\x8d",        "s/l"};
    std::string line;
    const int pieces = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < pieces; ++i) {
        const std::string_view piece =
            kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(random)];
        line.append(piece.substr(0, std::uniform_int_distribution<std::size_t>(1, piece.size())(random)));
    }
    return line;
}

// At every width the processor can search, the plain one included.
TEST(FindText, FindsWhatStringFindFindsFromEveryPlace)
{
    test::ForEachSimdLevel([] {
        std::mt19937 random(7);
        const std::array<std::string_view, 6> needles = {"<td>", "</td>", "\">", "mspt>", "msdate nowrap>", "s"};
        for (int i = 0; i < 400; ++i) {
            const std::string line = RandomLine(random);
            for (const std::string_view needle : needles)
                for (std::size_t from = 0; from <= line.size() + 1; ++from)
                    ASSERT_EQ(FindText(line, needle, from), std::string_view(line).find(needle, from))
                        << "'" << needle << "' from " << from << " in '" << line << "'";
        }
    });
}

TEST(KeywordSet, FindsTheWordsASubstringTestFinds)
{
    // Words that share anchors ("op"), anchors at either end, a word of bytes above 127, and more anchor
    // pairs than one set of sifting groups holds.
    const std::array<KeywordSet::Word, 13> words = {{{"buy stop", 6},
                                                     {"stop", 2},
                                                     {"buy", 1},
                                                     {"sell", 2},
                                                     {"msdate>", 5},
                                                     {"<td class=mspt>", 12},
                                                     {"\x92\x8d", 0},
                                                     {"s/l", 0},
                                                     {"nowrap>", 3},
                                                     {"x x", 0},
                                                     {"</td>", 1},
                                                     {"\">", 0},
                                                     {"sto", 1}}};
    const KeywordSet set(words);
    test::ForEachSimdLevel([&] {
        std::mt19937 random(11);
        for (int i = 0; i < 4000; ++i) {
            const std::string line = RandomLine(random);
            std::uint32_t expected = 0;
            for (std::size_t w = 0; w < words.size(); ++w)
                if (line.find(words[w].Text) != std::string::npos)
                    expected |= 1u << w;
            ASSERT_EQ(set.Scan(line), expected) << "'" << line << "'";
        }
    });
}

TEST(LineFields, CutsWhatExtractBetweenCutsAndCountsWhatFindCounts)
{
    // Markers ending in the line's '>' and others, closes with a '>' inside or none; one LineFields
    // goes from line to line, keeping what it learnt of the markers.
    // More of them than it keeps, some asked for at other addresses.
    const std::string copies[] = {"<td>", "</td>"};
    const std::array<std::string_view, 16> opens = {
        "<td>", "\">", "mspt>", "msdate nowrap>", "\"#", "s",      "td>x", "/td", copies[0], "e>",
        "p>",   ">",   "d>",    "nowrap>",        "sd",  "msdate>"};
    const std::array<std::string_view, 5> closes = {"</td>", "</td><td class=msdate", " ", ">", copies[1]};
    std::mt19937 random(5);
    LineFields fields;
    std::string expected;
    for (int i = 0; i < 400; ++i) {
        const std::string line = RandomLine(random);
        fields.Reset(line);
        for (const std::string_view open : opens) {
            int count = 0;
            for (std::size_t at = line.find(open); at != std::string::npos; at = line.find(open, at + open.size()))
                ++count;
            ASSERT_EQ(fields.Count(open), count) << "'" << open << "' in '" << line << "'";
            for (int n = 0; n <= 6; ++n)
                for (const std::string_view close : closes) {
                    ExtractBetween(line, open, close, n, expected);
                    ASSERT_EQ(fields.Field(open, close, n), expected)
                        << "'" << open << "' " << n << " to '" << close << "' in '" << line << "'";
                }
        }
    }
}

} // namespace
} // namespace corvane
