#include "edit/SortTrades.h"

#include "text/TextRoutines.h"
#include "trades/Session.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

namespace corvane {

void SortGridByTicket(TextGrid& grid)
{
    const int trades = grid.RowCount() - 1;
    if (trades < 2)
        return;
    // Views stay valid while rows are only compared; the rows move afterwards in one permutation.
    std::vector<std::string_view> tickets(static_cast<std::size_t>(trades));
    for (int i = 0; i < trades; ++i)
        tickets[i] = UpToNul(grid.Cell(kTicket, i + 1));
    std::vector<int> order(static_cast<std::size_t>(trades));
    std::iota(order.begin(), order.end(), 0);
    // std::string_view compares its bytes as unsigned characters.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return tickets[a] < tickets[b]; });
    if (!std::is_sorted(order.begin(), order.end()))
        grid.PermuteRows(1, order);
}

} // namespace corvane
