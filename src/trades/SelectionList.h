#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

/**
 * The contents of a multi-select list box: entries in the order they were appended, each with a
 * selected flag. Entries are found by their whole text with letter case ignored, the first matching
 * entry winning, as the list's exact-match search does.
 */
class SelectionList
{
public:
    int Count() const { return static_cast<int>(m_entries.size()); }
    const std::string& Text(int index) const { return m_entries[index]; }
    bool Selected(int index) const { return m_selected[index] != 0; }
    void SetSelected(int index, bool selected) { m_selected[index] = selected ? 1 : 0; }

    // Index of the first entry equal to `text` apart from letter case, or -1.
    int Find(std::string_view text) const;
    // Appends `text` (unselected) and returns its index.
    int Append(std::string_view text);
    // Appends `text` unless an entry equals it apart from letter case; returns the entry's index.
    int AddIfAbsent(std::string_view text);
    void Clear();

    bool AnySelected() const;
    void SelectAll();

private:
    std::vector<std::string> m_entries;
    std::vector<char> m_selected;
    std::unordered_map<std::string, int> m_firstByFoldedText;
};

} // namespace corvane
