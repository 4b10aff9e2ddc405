#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * The fields of one line of report text, cut as ExtractBetween cuts them, as views into the line.
 * A trade row asks for some twenty fields by counting the same few markers ("<td>", "mspt>"...); the
 * places of each marker are found once per line and kept, so the line is not searched from its start
 * for every field.
 */
class LineFields
{
public:
    explicit LineFields(std::string_view line = {}) : m_line(line) {}

    // Starts over on another line, keeping the markers and the room of the places found before: the
    // next line mostly asks for the same markers.
    void Reset(std::string_view line)
    {
        m_line = line;
        for (std::size_t i = 0; i < m_used; ++i) {
            m_markers[i].Ends.clear();
            m_markers[i].Complete = false;
        }
    }

    std::string_view Line() const { return m_line; }
    // The text after the n-th `open` (n = 0 and 1 both mean the first) up to the next `close`; empty
    // when either is missing or the n-th `open` ends the line.
    std::string_view Field(std::string_view open, std::string_view close, int n);
    // How many times `open` occurs, counted without overlaps.
    int Count(std::string_view open);

private:
    struct Marker
    {
        std::string_view Text;
        std::vector<std::uint32_t> Ends; // positions just past each occurrence found so far
        bool Complete = false;           // every occurrence has been found
    };

    Marker& MarkerFor(std::string_view open);
    // Finds occurrences until there are `wanted` of them or none is left.
    void FindOccurrences(Marker& marker, std::size_t wanted);

    std::string_view m_line;
    std::array<Marker, 8> m_markers;
    std::size_t m_used = 0;
};

} // namespace corvane
