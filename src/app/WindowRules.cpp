#include "app/WindowRules.h"

#include "trades/TextGrid.h"

#include <algorithm>
#include <numeric>

namespace corvane {

std::optional<std::string> NextTitle(int& counter)
{
    std::optional<std::string> title;
    if (++counter > 450) {
        title = kShortTitle;
        counter = 0;
    }
    if (++counter > 400)
        title = kAttributionTitle;
    return title;
}

std::vector<int> FitColumnWidths(const std::vector<int>& widths, const std::vector<int>& needed, int available)
{
    std::vector<int> fitted = widths;
    int missing = 0;
    for (std::size_t i = 0; i < fitted.size() && i < needed.size(); ++i) {
        if (needed[i] > fitted[i]) {
            missing += needed[i] - fitted[i];
            fitted[i] = needed[i];
        }
    }
    missing -= std::max(0, available - std::accumulate(widths.begin(), widths.end(), 0));
    while (missing > 0) {
        int widest = -1;
        for (std::size_t i = 0; i < fitted.size(); ++i) {
            const int need = i < needed.size() ? needed[i] : 0;
            if (fitted[i] > need && (widest < 0 || fitted[i] > fitted[widest]))
                widest = static_cast<int>(i);
        }
        if (widest < 0)
            break;
        --fitted[widest];
        --missing;
    }
    return fitted;
}

std::vector<std::string_view> LongestCells(const TextGrid& grid, int columns)
{
    std::vector<std::string_view> longest(columns);
    std::vector<std::string_view> cells(columns);
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        for (int column = 0; column < columns; ++column)
            if (cells[column].size() > longest[column].size())
                longest[column] = cells[column];
    }
    return longest;
}

} // namespace corvane
