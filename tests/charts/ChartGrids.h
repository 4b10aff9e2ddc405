#pragma once

#include "trades/Session.h"

#include <string>
#include <vector>

namespace corvane::test {

/**
 * Visible tables for the chart tests, holding only the cells the charts read: the two times, the money
 * cells, Pips and Balance. Cells are written exactly as given.
 */
struct ChartRow
{
    std::string OpenTime = "2005.01.03 10:15";
    std::string CloseTime = "2005.01.03 11:00";
    std::string Comm = "  0.00";
    std::string Swap = "  0.00";
    std::string Profit = "    100.00";
    std::string Pips = "    10";
    std::string Balance = "       1100.00";
};

inline TextGrid ChartGrid(const std::vector<ChartRow>& rows)
{
    TextGrid grid(kGridColumns, rows.empty() ? 2 : static_cast<int>(rows.size()) + 1);
    int row = 1;
    for (const ChartRow& r : rows) {
        grid.SetCell(kOpenTime, row, r.OpenTime);
        grid.SetCell(kCloseTime, row, r.CloseTime);
        grid.SetCell(kComm, row, r.Comm);
        grid.SetCell(kSwap, row, r.Swap);
        grid.SetCell(kProfit, row, r.Profit);
        grid.SetCell(kPips, row, r.Pips);
        grid.SetCell(kBalance, row, r.Balance);
        ++row;
    }
    return grid;
}

} // namespace corvane::test
