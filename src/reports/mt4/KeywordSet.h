#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * Finds which of up to 32 words occur in a text, in one pass over it. Each word is anchored on two of
 * its bytes that the text rarely holds elsewhere ("xp" of "expired"); the pass looks each pair of
 * bytes up in a table and compares a word only where its anchor stands. The result is the same as a
 * plain substring test for every word.
 *
 * Where the processor can look up sixteen bytes at once (SSSE3), the places are first sifted sixteen
 * at a time, thirty-two where it can look up thirty-two (AVX2): each anchor pair falls in one of sixteen
 * groups (two sets of eight), and a place goes on to the table only when both of its bytes, by their
 * high and low four bits, may belong to the same group. With sixteen anchor pairs or fewer the sifting
 * passes anchor places only.
 */
class KeywordSet
{
public:
    struct Word
    {
        std::string_view Text;
        std::size_t Anchor; // offset of the two anchor bytes within the word
    };

    explicit KeywordSet(std::span<const Word> words);

    // Bit i is set when word i occurs in `text`.
    std::uint32_t Scan(std::string_view text) const;

private:
    // Compares the words anchored on the pair at `i` and sets the bits of those found.
    void MatchAt(const unsigned char* bytes, std::size_t size, std::size_t i, std::uint32_t& found) const;
    std::uint32_t ScanPlain(const unsigned char* bytes, std::size_t size, std::size_t from, std::uint32_t found) const;
    // From `from` on, adding to the words `found` before it.
    std::uint32_t ScanSifted(const unsigned char* bytes, std::size_t size, std::size_t from, std::uint32_t found) const;
    std::uint32_t ScanWide(const unsigned char* bytes, std::size_t size) const;

    static std::uint16_t Pair(unsigned char first, unsigned char second)
    {
        return static_cast<std::uint16_t>(first | (second << 8));
    }

    std::vector<Word> m_words;
    std::array<std::uint8_t, 65536> m_chainOfPair{};     // 0: no word anchored there
    std::vector<std::vector<std::uint8_t>> m_chains{{}}; // words anchored on one pair
    // For each set of groups, the groups a first (second) anchor byte may belong to, by its low and its
    // high four bits.
    struct GroupTables
    {
        std::array<std::uint8_t, 16> FirstLow{}, FirstHigh{}, SecondLow{}, SecondHigh{};
    };
    std::array<GroupTables, 2> m_groups{};
};

} // namespace corvane
