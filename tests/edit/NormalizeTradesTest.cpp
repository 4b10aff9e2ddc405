#include "edit/NormalizeTrades.h"

#include "TradeRows.h"
#include "analysis/Filters.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cash;
using test::Pl;
using test::TradeRow;

// A trade of 0.50 lots, Comm -3.50, Swap -1.20, P/L 125.00, bought at 1.1000 and sold at
// `closePrice`, which sets the pips (1.1025: 25 pips, so 125 / (0.50 x 25) = 10 and the pip factor is 10).
TradeRow Example(const char* closePrice = "1.1025", const char* ticket = "50102")
{
    // clang-format off
    return {.Ticket = ticket, .Lots = "0.50", .Price = "1.1000", .ClosePrice = closePrice,
            .Comm = Cash("-3.50"), .Swap = Cash("-1.20"), .Profit = Pl("125.00")};
    // clang-format on
}

// Lots, Comm, Swap, P/L and Balance of a trade-table row, joined by tabs.
std::string Rescaled(const Session& session, int row)
{
    std::string cells;
    for (const int column : {kLots, kComm, kSwap, kProfit, kBalance})
        cells.append(column == kLots ? "" : "\t").append(session.Full.Cell(column, row));
    return cells;
}

TEST(NormalizeTrades, RescalesToOneLotAndWritesTheBalance)
{
    struct Case
    {
        const char* name;
        TradeRow trade;
        bool timesTen;
        double deposit;
        std::string cells; // Lots, Comm, Swap, P/L, Balance
    };
    TradeRow blank = Example();
    blank.Comm = blank.Swap = test::kBlankCell;
    const Case cases[] = {
        {"pip factor ten", Example(), false, 10000.0, "1.00\t -0.70\t -0.24\t     25.00\t      10024.06"},
        {"times ten", Example(), true, 100000.0, "1.00\t -7.00\t -2.40\t    250.00\t     100240.60"},
        // 125 / (0.50 x 50) is exactly 5: not above it, so the pip factor stays 1.
        {"ratio of exactly five", Example("1.1050"), false, 10000.0,
         "1.00\t -7.00\t -2.40\t    250.00\t      10240.60"},
        {"no pips", Example("1.1000"), false, 10000.0, "1.00\t -7.00\t -2.40\t    250.00\t      10240.60"},
        {"blank commission and swap count as zero", blank, false, 10000.0,
         "1.00\t  0.00\t  0.00\t     25.00\t      10025.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session = test::SessionWith(5000, {c.trade});
        ApplyFilters(session, MagicFilterFor(session));
        ASSERT_TRUE(NormalizeTrades(session, c.timesTen, MagicFilterFor(session)));
        EXPECT_EQ(Rescaled(session, 1), c.cells);
        EXPECT_EQ(session.Report.InitialDeposit, c.deposit);
        EXPECT_EQ(session.Full.Cell(kPips, 1), "") << "the Pips cell of the trade table is not touched";
        EXPECT_EQ(session.Grid.Cell(kProfit, 1), session.Full.Cell(kProfit, 1)) << "the filter pass ran";
    }
}

TEST(NormalizeTrades, PipFactorComesFromTheVisibleTableButEveryTradeIsRescaled)
{
    TradeRow hidden = Example("1.1050", "1"); // ratio 5 alone would give factor 1
    hidden.Item = "gbpusd";
    Session session = test::SessionWith(5000, {hidden, Example()});
    session.Pairs.SetSelected(session.Pairs.Find("gbpusd"), false);
    ApplyFilters(session, MagicFilterFor(session));
    ASSERT_TRUE(NormalizeTrades(session, false, MagicFilterFor(session)));
    EXPECT_EQ(Rescaled(session, 1), "1.00\t -0.70\t -0.24\t     25.00\t      10024.06");
    EXPECT_EQ(Rescaled(session, 2), "1.00\t -0.70\t -0.24\t     25.00\t      10048.12");

    Session nothing;
    EXPECT_FALSE(NormalizeTrades(nothing, true, MagicFilterFor(nothing))) << "nothing loaded, nothing changed";
    EXPECT_EQ(nothing.Report.InitialDeposit, 0.0);
}

// The second row is bad: the first must not have been rewritten either.
TEST(NormalizeTrades, ABadCellRefusesTheWholeCommandNamingIt)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {kLots, "abc",
         "/reports/march.htm: trade 2 (ticket 50102), column Lots: 'abc' is not a valid floating point value"},
        {kLots, "0.00",
         "Trade 50102 has a lot size of zero ('0.00'), so it cannot be rescaled to one lot; "
         "nothing was normalized."},
        {kSwap, "  n/a",
         "/reports/march.htm: trade 2 (ticket 50102), column Swap: '  n/a' is not a valid floating point value"}};
    for (const auto& [column, cell, message] : cases) {
        Session session = test::SessionWith(5000, {Example(), Example()});
        ApplyFilters(session, MagicFilterFor(session));
        session.Full.SetCell(column, 2, cell);
        const Session before = session;
        try {
            NormalizeTrades(session, false, MagicFilterFor(session));
            ADD_FAILURE() << "no error for '" << cell << "'";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        for (int row = 1; row <= 2; ++row)
            EXPECT_EQ(Rescaled(session, row), Rescaled(before, row)) << "row " << row << ", '" << cell << "'";
        EXPECT_EQ(session.Report.InitialDeposit, 5000.0);
    }
}

} // namespace
} // namespace corvane
