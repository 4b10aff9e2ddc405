#include "edit/SortTrades.h"

#include "TradeRows.h"
#include "analysis/Filters.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;

TEST(SortGrid, OrdersTicketsAsTextMovingWholeRows)
{
    const std::pair<Cells, Cells> cases[] = {
        {{"9", "10", "100"}, {"10", "100", "9"}}, // text, not numbers
        {{"1234", "123"}, {"123", "1234"}},       // a prefix first
        {{"1", "2", "3"}, {"1", "2", "3"}},       // already sorted
        {{"\xe9", "z", "A"}, {"A", "z", "\xe9"}}, // bytes are unsigned
        {{"5"}, {"5"}},
    };
    for (const auto& [tickets, sorted] : cases) {
        TextGrid grid(kGridColumns, static_cast<int>(tickets.size()) + 1);
        for (std::size_t i = 0; i < tickets.size(); ++i) {
            grid.SetCell(kTicket, static_cast<int>(i) + 1, tickets[i]);
            grid.SetCell(kBalance, static_cast<int>(i) + 1, "balance of " + tickets[i]);
        }
        SortGridByTicket(grid);
        EXPECT_EQ(ColumnCells(grid, kTicket), sorted);
        for (int row = 1; row < grid.RowCount(); ++row)
            EXPECT_EQ(grid.Cell(kBalance, row), "balance of " + std::string(grid.Cell(kTicket, row)));
    }
}

TEST(SortGrid, TheAlternateViewKeepsItsOrder)
{
    Session session = test::SessionWith(10000, {test::TradeRow{.Ticket = "20", .Comment = "second"},
                                                test::TradeRow{.Ticket = "10", .Comment = "first"}});
    ApplyFilters(session, MagicFilterFor(session));
    SortGridByTicket(session.Grid);
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), (Cells{"10", "20"}));
    EXPECT_EQ(ColumnCells(session.XGrid, kXComment), (Cells{"second", "first"}));
}

} // namespace
} // namespace corvane
