#include "reports/mt4/LineFields.h"

#include "text/FindText.h"

#include <limits>

namespace corvane {

LineFields::Marker& LineFields::MarkerFor(std::string_view open)
{
    // The markers are the reader's own constants: the same text mostly comes at the same address.
    for (std::size_t i = 0; i < m_used; ++i)
        if (m_markers[i].Text.data() == open.data() && m_markers[i].Text.size() == open.size())
            return m_markers[i];
    for (std::size_t i = 0; i < m_used; ++i)
        if (m_markers[i].Text == open)
            return m_markers[i];
    if (m_used == m_markers.size()) {
        // More distinct markers than kept: forget the oldest one.
        for (std::size_t i = 1; i < m_markers.size(); ++i)
            m_markers[i - 1] = std::move(m_markers[i]);
        --m_used;
    }
    Marker& marker = m_markers[m_used++];
    marker.Text = open;
    marker.Ends.clear();
    marker.Complete = false;
    return marker;
}

void LineFields::FindOccurrences(Marker& marker, std::size_t wanted)
{
    while (!marker.Complete && marker.Ends.size() < wanted) {
        const std::size_t from = marker.Ends.empty() ? 0 : marker.Ends.back();
        const std::size_t at = FindText(m_line, marker.Text, from);
        if (at == std::string_view::npos) {
            marker.Complete = true;
            break;
        }
        marker.Ends.push_back(static_cast<std::uint32_t>(at + marker.Text.size()));
    }
}

std::string_view LineFields::Field(std::string_view open, std::string_view close, int n)
{
    if (open.empty() || close.empty())
        return {};
    const std::size_t passes = n < 1 ? 1 : static_cast<std::size_t>(n);
    Marker& marker = MarkerFor(open);
    FindOccurrences(marker, passes);
    if (marker.Ends.size() < passes)
        return {};
    const std::size_t pos = marker.Ends[passes - 1];
    if (pos >= m_line.size())
        return {};
    const std::size_t end = FindText(m_line, close, pos);
    if (end == std::string_view::npos)
        return {};
    return m_line.substr(pos, end - pos);
}

int LineFields::Count(std::string_view open)
{
    Marker& marker = MarkerFor(open);
    FindOccurrences(marker, std::numeric_limits<std::size_t>::max());
    return static_cast<int>(marker.Ends.size());
}

} // namespace corvane
