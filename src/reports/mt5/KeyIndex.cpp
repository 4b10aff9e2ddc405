#include "reports/mt5/KeyIndex.h"

#include <algorithm>

namespace corvane {

void KeyIndex::Build()
{
    std::sort(Rows.begin(), Rows.end());
    std::size_t size = 16;
    while (size < Rows.size() * 2)
        size *= 2;
    Slots.assign(size, 0);
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (i > 0 && Rows[i].first == Rows[i - 1].first)
            continue;
        std::size_t slot = Rows[i].first & (size - 1);
        while (Slots[slot] != 0)
            slot = (slot + 1) & (size - 1);
        Slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::pair<std::size_t, std::size_t> KeyIndex::Under(std::uint64_t key) const
{
    if (Slots.empty())
        return {0, 0};
    const std::size_t mask = Slots.size() - 1;
    for (std::size_t slot = key & mask; Slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t first = Slots[slot] - 1;
        if (Rows[first].first != key)
            continue;
        // The run's end: most keys have one row, a few many, so the steps double before the search halves them.
        std::size_t below = first; // a row under the key
        std::size_t step = 1;
        while (below + step < Rows.size() && Rows[below + step].first == key) {
            below += step;
            step *= 2;
        }
        const auto last =
            std::upper_bound(Rows.begin() + static_cast<std::ptrdiff_t>(below),
                             Rows.begin() + static_cast<std::ptrdiff_t>(std::min(below + step, Rows.size())), key,
                             [](std::uint64_t wanted, const auto& row) { return wanted < row.first; });
        return {first, static_cast<std::size_t>(last - Rows.begin())};
    }
    return {0, 0};
}

} // namespace corvane
