#include "reports/mt4/KeywordSet.h"

#include "text/Simd.h"

#include <cstring>
#include <stdexcept>

namespace corvane {

KeywordSet::KeywordSet(std::span<const Word> words) : m_words(words.begin(), words.end())
{
    if (m_words.size() > 32)
        throw std::logic_error("at most 32 words");
    for (std::size_t id = 0; id < m_words.size(); ++id) {
        const Word& word = m_words[id];
        if (word.Anchor + 2 > word.Text.size())
            throw std::logic_error("a word's anchor lies outside it");
        const auto first = static_cast<unsigned char>(word.Text[word.Anchor]);
        const auto second = static_cast<unsigned char>(word.Text[word.Anchor + 1]);
        const auto pair = Pair(first, second);
        if (!m_chainOfPair[pair]) {
            m_chainOfPair[pair] = static_cast<std::uint8_t>(m_chains.size());
            const std::size_t group = m_chains.size() % 16;
            GroupTables& tables = m_groups[group / 8];
            const auto bit = static_cast<std::uint8_t>(1u << (group % 8));
            tables.FirstLow[first & 15] |= bit;
            tables.FirstHigh[first >> 4] |= bit;
            tables.SecondLow[second & 15] |= bit;
            tables.SecondHigh[second >> 4] |= bit;
            m_chains.emplace_back();
        }
        m_chains[m_chainOfPair[pair]].push_back(static_cast<std::uint8_t>(id));
    }
}

void KeywordSet::MatchAt(const unsigned char* bytes, std::size_t size, std::size_t i, std::uint32_t& found) const
{
    const std::uint8_t chain = m_chainOfPair[Pair(bytes[i], bytes[i + 1])];
    if (!chain)
        return;
    for (const std::uint8_t id : m_chains[chain]) {
        const Word& word = m_words[id];
        if ((found >> id) & 1u || i < word.Anchor)
            continue;
        const std::size_t start = i - word.Anchor;
        if (start + word.Text.size() <= size && std::memcmp(bytes + start, word.Text.data(), word.Text.size()) == 0)
            found |= 1u << id;
    }
}

std::uint32_t KeywordSet::ScanPlain(const unsigned char* bytes, std::size_t size, std::size_t from,
                                    std::uint32_t found) const
{
    for (std::size_t i = from; i + 1 < size; ++i)
        if (m_chainOfPair[Pair(bytes[i], bytes[i + 1])])
            MatchAt(bytes, size, i, found);
    return found;
}

#if defined(CORVANE_X86_SIMD)
__attribute__((target("ssse3"))) std::uint32_t KeywordSet::ScanSifted(const unsigned char* bytes, std::size_t size,
                                                                      std::size_t from, std::uint32_t found) const
{
    const __m128i nibble = _mm_set1_epi8(0x0f);
    const auto load = [](const std::array<std::uint8_t, 16>& table) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data()));
    };
    struct Sift
    {
        __m128i FirstLow, FirstHigh, SecondLow, SecondHigh;
    };
    const Sift sifts[2] = {
        {load(m_groups[0].FirstLow), load(m_groups[0].FirstHigh), load(m_groups[0].SecondLow),
         load(m_groups[0].SecondHigh)},
        {load(m_groups[1].FirstLow), load(m_groups[1].FirstHigh), load(m_groups[1].SecondLow),
         load(m_groups[1].SecondHigh)},
    };
    std::size_t i = from;
    // Places i..i+15 with their second bytes at i+1..i+16.
    for (; i + 17 <= size; i += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 1));
        const __m128i firstLow = _mm_and_si128(first, nibble);
        const __m128i firstHigh = _mm_and_si128(_mm_srli_epi16(first, 4), nibble);
        const __m128i secondLow = _mm_and_si128(second, nibble);
        const __m128i secondHigh = _mm_and_si128(_mm_srli_epi16(second, 4), nibble);
        unsigned outside = 0xffffu;
        for (const Sift& sift : sifts) {
            const __m128i groups = _mm_and_si128(
                _mm_and_si128(_mm_shuffle_epi8(sift.FirstLow, firstLow), _mm_shuffle_epi8(sift.FirstHigh, firstHigh)),
                _mm_and_si128(_mm_shuffle_epi8(sift.SecondLow, secondLow),
                              _mm_shuffle_epi8(sift.SecondHigh, secondHigh)));
            outside &= static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(groups, _mm_setzero_si128())));
        }
        auto places = outside ^ 0xffffu;
        while (places != 0) {
            MatchAt(bytes, size, i + static_cast<std::size_t>(__builtin_ctz(places)), found);
            places &= places - 1;
        }
    }
    return ScanPlain(bytes, size, i, found);
}

// The same sifting, thirty-two places at a time, the rest sixteen at a time and then one by one.
__attribute__((target("avx2"))) std::uint32_t KeywordSet::ScanWide(const unsigned char* bytes, std::size_t size) const
{
    // Each lane of thirty-two bytes looks its sixteen up in its own copy of a table.
#define CORVANE_BOTH_LANES(table)                                                                                      \
    _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>((table).data())))
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    const __m256i firstLow[2] = {CORVANE_BOTH_LANES(m_groups[0].FirstLow), CORVANE_BOTH_LANES(m_groups[1].FirstLow)};
    const __m256i firstHigh[2] = {CORVANE_BOTH_LANES(m_groups[0].FirstHigh), CORVANE_BOTH_LANES(m_groups[1].FirstHigh)};
    const __m256i secondLow[2] = {CORVANE_BOTH_LANES(m_groups[0].SecondLow), CORVANE_BOTH_LANES(m_groups[1].SecondLow)};
    const __m256i secondHigh[2] = {CORVANE_BOTH_LANES(m_groups[0].SecondHigh),
                                   CORVANE_BOTH_LANES(m_groups[1].SecondHigh)};
#undef CORVANE_BOTH_LANES
    std::uint32_t found = 0;
    std::size_t i = 0;
    for (; i + 33 <= size; i += 32) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 1));
        const __m256i low1 = _mm256_and_si256(first, nibble);
        const __m256i high1 = _mm256_and_si256(_mm256_srli_epi16(first, 4), nibble);
        const __m256i low2 = _mm256_and_si256(second, nibble);
        const __m256i high2 = _mm256_and_si256(_mm256_srli_epi16(second, 4), nibble);
        __m256i groups = _mm256_setzero_si256();
        for (int set = 0; set < 2; ++set)
            groups = _mm256_or_si256(groups,
                                     _mm256_and_si256(_mm256_and_si256(_mm256_shuffle_epi8(firstLow[set], low1),
                                                                       _mm256_shuffle_epi8(firstHigh[set], high1)),
                                                      _mm256_and_si256(_mm256_shuffle_epi8(secondLow[set], low2),
                                                                       _mm256_shuffle_epi8(secondHigh[set], high2))));
        auto places = ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(groups, _mm256_setzero_si256())));
        while (places != 0) {
            MatchAt(bytes, size, i + static_cast<std::size_t>(__builtin_ctz(places)), found);
            places &= places - 1;
        }
    }
    return ScanSifted(bytes, size, i, found);
}
#endif

std::uint32_t KeywordSet::Scan(std::string_view text) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
#if defined(CORVANE_X86_SIMD)
    const SimdLevel level = SimdInUse();
    if (level >= SimdLevel::Avx2)
        return ScanWide(bytes, text.size());
    if (level >= SimdLevel::Ssse3)
        return ScanSifted(bytes, text.size(), 0, 0);
#endif
    return ScanPlain(bytes, text.size(), 0, 0);
}

} // namespace corvane
