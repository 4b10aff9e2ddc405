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
    static std::uint16_t Pair(unsigned char first, unsigned char second)
    {
        return static_cast<std::uint16_t>(first | (second << 8));
    }

    std::vector<Word> m_words;
    std::array<std::uint8_t, 65536> m_chainOfPair{};     // 0: no word anchored there
    std::vector<std::vector<std::uint8_t>> m_chains{{}}; // words anchored on one pair
};

} // namespace corvane
