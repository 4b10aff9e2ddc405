#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// Gives each distinct text an id, in order of first appearance: the id indexes `texts`.
class TextIds
{
public:
    // Goes on from the texts already given ids.
    explicit TextIds(std::vector<std::string>& texts) : m_texts(texts)
    {
        for (std::size_t i = 0; i < texts.size(); ++i)
            m_index.try_emplace(texts[i], static_cast<int>(i));
    }

    int operator()(std::string_view text)
    {
        // Neighbouring rows mostly share their texts: the last one is tried first.
        if (m_last >= 0 && m_texts[static_cast<std::size_t>(m_last)] == text)
            return m_last;
        auto [found, added] = m_index.try_emplace(std::string(text), static_cast<int>(m_texts.size()));
        if (added)
            m_texts.emplace_back(text);
        m_last = found->second;
        return m_last;
    }

private:
    std::vector<std::string>& m_texts;
    std::unordered_map<std::string, int> m_index;
    int m_last = -1;
};

} // namespace corvane
