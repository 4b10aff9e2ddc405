#include "SortTrades.h"

#include "Filters.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::ColumnCells;
using test::TradeRow;

using Cells = std::vector<std::string>;

struct SortCase
{
    const char* name;
    Cells tickets;
    Cells sorted;
};

class SortGrid : public ::testing::TestWithParam<SortCase>
{
};

TEST_P(SortGrid, OrdersTicketsAsText)
{
    TextGrid grid(kGridColumns, static_cast<int>(GetParam().tickets.size()) + 1);
    for (std::size_t i = 0; i < GetParam().tickets.size(); ++i) {
        grid.SetCell(kTicket, static_cast<int>(i) + 1, GetParam().tickets[i]);
        grid.SetCell(kBalance, static_cast<int>(i) + 1, "balance of " + GetParam().tickets[i]);
    }
    SortGridByTicket(grid);
    EXPECT_EQ(ColumnCells(grid, kTicket), GetParam().sorted);
    for (int row = 1; row < grid.RowCount(); ++row)
        EXPECT_EQ(grid.Cell(kBalance, row), "balance of " + std::string(grid.Cell(kTicket, row)))
            << "every cell moves with its row";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortGrid,
    ::testing::Values(SortCase{"TextNotNumbers", {"9", "10", "100"}, {"10", "100", "9"}},
                      SortCase{"PrefixFirst", {"1234", "123"}, {"123", "1234"}},
                      SortCase{"AlreadySorted", {"1", "2", "3"}, {"1", "2", "3"}},
                      SortCase{"BytesAreUnsigned", {"\xe9", "z", "A"}, {"A", "z", "\xe9"}},
                      SortCase{"OneTrade", {"5"}, {"5"}}),
    [](const ::testing::TestParamInfo<SortCase>& param) { return std::string(param.param.name); });

TEST(SortTrades, AlternateViewKeepsItsOrder)
{
    Session session = test::SessionWith(
        10000, {TradeRow{.Ticket = "20", .Comment = "second"}, TradeRow{.Ticket = "10", .Comment = "first"}});
    ApplyFilters(session);
    SortGridByTicket(session.Grid);
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), (Cells{"10", "20"}));
    EXPECT_EQ(ColumnCells(session.XGrid, 2), (Cells{"second", "first"}));
}

} // namespace
} // namespace corvane
