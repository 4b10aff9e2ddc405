#include "trades/SelectionList.h"

#include "text/TextRoutines.h"

#include <algorithm>

namespace corvane {

int SelectionList::Find(std::string_view text) const
{
    const auto found = m_firstByFoldedText.find(AsciiLower(text));
    return found == m_firstByFoldedText.end() ? -1 : found->second;
}

int SelectionList::Append(std::string_view text)
{
    const int index = Count();
    m_entries.emplace_back(text);
    m_selected.push_back(0);
    m_firstByFoldedText.emplace(AsciiLower(text), index); // keeps an earlier entry of the same text
    return index;
}

int SelectionList::AddIfAbsent(std::string_view text)
{
    const int found = Find(text);
    return found >= 0 ? found : Append(text);
}

void SelectionList::Clear()
{
    m_entries.clear();
    m_selected.clear();
    m_firstByFoldedText.clear();
}

bool SelectionList::AnySelected() const
{
    return std::find(m_selected.begin(), m_selected.end(), 1) != m_selected.end();
}

void SelectionList::SelectAll()
{
    std::fill(m_selected.begin(), m_selected.end(), 1);
}

} // namespace corvane
