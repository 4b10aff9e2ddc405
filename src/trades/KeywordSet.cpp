#include "trades/KeywordSet.h"

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
        const auto pair = Pair(static_cast<unsigned char>(word.Text[word.Anchor]),
                               static_cast<unsigned char>(word.Text[word.Anchor + 1]));
        if (!m_chainOfPair[pair]) {
            m_chainOfPair[pair] = static_cast<std::uint8_t>(m_chains.size());
            m_chains.emplace_back();
        }
        m_chains[m_chainOfPair[pair]].push_back(static_cast<std::uint8_t>(id));
    }
}

std::uint32_t KeywordSet::Scan(std::string_view text) const
{
    std::uint32_t found = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const std::uint8_t chain = m_chainOfPair[Pair(bytes[i], bytes[i + 1])];
        if (!chain)
            continue;
        for (const std::uint8_t id : m_chains[chain]) {
            const Word& word = m_words[id];
            if ((found >> id) & 1u || i < word.Anchor)
                continue;
            const std::size_t start = i - word.Anchor;
            if (start + word.Text.size() <= size && std::memcmp(bytes + start, word.Text.data(), word.Text.size()) == 0)
                found |= 1u << id;
        }
    }
    return found;
}

} // namespace corvane
