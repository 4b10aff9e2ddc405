#pragma once

#include <Qt>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* kShortTitle = "Corvane4 - 1.8";
inline constexpr const char* kAttributionTitle = "Corvane4 - 1.8 - made by the Corvane4 developers";

// The two arrangements of the chart area: narrow beside the magic list, or wide in its place.
struct ChartArea
{
    int Left;
    int Width;
};
inline constexpr int kChartTop = 32;
inline constexpr ChartArea kNarrowArea{200, 689};
inline constexpr ChartArea kWideArea{80, 809};

// The chart area is narrow beside the magic list while the list is shown (MagicListWanted), and wide
// in its place otherwise.
inline ChartArea AreaForMagicList(bool listShown)
{
    return listShown ? kNarrowArea : kWideArea;
}

/**
 * One timer tick of the title alternation: advances the caption counter and returns the title to set,
 * if any. The short title shows for 200 ticks, then the attribution title for 26, from the 201st tick on.
 */
std::optional<std::string> NextTitle(int& counter);

// "Held" for the command switches: Shift or Ctrl (or both); Alt and the mouse buttons do not count.
inline bool ModifierHeld(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
}

/**
 * Column widths that show every text in full: a column whose texts need more than its width is widened,
 * taking the room first from what the columns leave free of `available`, then from the widest columns
 * that are wider than their own texts need, one pixel at a time, so that no column is narrowed below
 * its need. Columns whose texts fit keep their widths when no other column needs room. When the room
 * runs out the columns stay wider than `available` (the grid then scrolls sideways).
 */
std::vector<int> FitColumnWidths(const std::vector<int>& widths, const std::vector<int>& needed, int available);

class TextGrid;

// The longest text (in bytes) of each of the first `columns` columns among the trade rows of `grid`.
std::vector<std::string_view> LongestCells(const TextGrid& grid, int columns);

} // namespace corvane
