#pragma once

#include "TradeRows.h"
#include "analysis/Filters.h"

namespace corvane::test {

/**
 * Deposit 10000 and three visible trades, filtered:
 *   1001 buy  eurusd 1.10000 -> 1.10100   P/L 100.00                          magic 111 "first"
 *   1002 sell gbpusd 1.25000 -> 1.25200   P/L -150.00 Comm -2.00 Swap -0.40   no magic, no comment
 *   1003 buy  eurusd 1.10000, still open  P/L 50.00 (price now 1.10050)       magic 111
 * Balances 10100.00, 9947.60 (the drawdown stretch: marked " *"), 9997.60; pips 10, -20, 5.
 */
inline Session ThreeTrades()
{
    // clang-format off
    Session session = SessionWith(10000, {
        {.Ticket = "1001", .Magic = MagicCell("111"), .Comment = "first"},
        {.Ticket = "1002", .OpenTime = "2024.01.03 09:00", .Type = "sell", .Item = "gbpusd",
         .Price = "1.25000", .CloseTime = "2024.01.05 17:00", .ClosePrice = "1.25200", .Comm = Cash("-2.00"),
         .Swap = Cash("-0.40"), .Profit = Pl("-150.00")},
        {.Ticket = "1003", .OpenTime = "2024.01.04 10:00", .CloseTime = "", .ClosePrice = "1.10050",
         .Profit = Pl("50.00"), .Magic = MagicCell("111")}});
    // clang-format on
    ApplyFilters(session, MagicFilterFor(session));
    return session;
}

} // namespace corvane::test
