#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Where the texts of one record stand in a TextArena: the offset of the first, and each one's length.
template <int Fields> struct ArenaRecord
{
    std::size_t Offset = 0;
    std::array<std::uint32_t, Fields> Length{};
};

/**
 * The texts of many records kept end to end in one string, so that a hundred thousand rows of a report
 * cost a few allocations, not one or more a text.
 */
class TextArena
{
public:
    template <int Fields> ArenaRecord<Fields> Add(const std::array<std::string_view, Fields>& texts)
    {
        ArenaRecord<Fields> record;
        record.Offset = m_text.size();
        for (int i = 0; i < Fields; ++i) {
            const std::string_view text = texts[static_cast<std::size_t>(i)];
            record.Length[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(text.size());
            m_text.append(text);
        }
        return record;
    }

    template <int Fields> std::string_view Text(const ArenaRecord<Fields>& record, int field) const
    {
        std::size_t offset = record.Offset;
        for (int i = 0; i < field; ++i)
            offset += record.Length[static_cast<std::size_t>(i)];
        return std::string_view(m_text).substr(offset, record.Length[static_cast<std::size_t>(field)]);
    }

    void Clear()
    {
        m_text.clear();
        m_text.shrink_to_fit();
    }

private:
    std::string m_text;
};

} // namespace corvane
