#include "NormalizeTrades.h"

#include "Errors.h"
#include "Filters.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cash;
using test::Pl;
using test::TradeRow;

using Cells = std::vector<std::string>;

// A trade of 0.50 lots, Comm -3.50, Swap -1.20, P/L 125.00, bought at 1.1000 and sold at
// `closePrice`, which sets the pips (1.1025: 25 pips, so 125 / (0.50 x 25) = 10 and the pip factor is 10).
TradeRow Example(const char* closePrice = "1.1025")
{
    return TradeRow{.Ticket = "50102", .Lots = "0.50", .Price = "1.1000", .ClosePrice = closePrice,
                    .Comm = Cash("-3.50"), .Swap = Cash("-1.20"), .Profit = Pl("125.00")};
}

Session Filtered(std::initializer_list<TradeRow> trades)
{
    Session session = test::SessionWith(5000, trades);
    ApplyFilters(session);
    return session;
}

// Lots, Comm, Swap, P/L and Balance of a trade-table row.
Cells Rescaled(const Session& session, int row)
{
    Cells cells;
    for (const int column : {kLots, kComm, kSwap, kProfit, kBalance})
        cells.emplace_back(session.Full.Cell(column, row));
    return cells;
}

struct NormalizeCase
{
    const char* name;
    const char* closePrice;
    bool timesTen;
    double deposit;
    Cells cells; // Lots, Comm, Swap, P/L, Balance
};

class NormalizeExample : public ::testing::TestWithParam<NormalizeCase>
{
};

TEST_P(NormalizeExample, RescalesAndWritesTheBalance)
{
    const NormalizeCase& c = GetParam();
    Session session = Filtered({Example(c.closePrice)});
    ASSERT_TRUE(NormalizeTrades(session, c.timesTen));
    EXPECT_EQ(Rescaled(session, 1), c.cells);
    EXPECT_EQ(session.Report.InitialDeposit, c.deposit);
    EXPECT_EQ(session.Full.Cell(kPips, 1), "") << "the Pips cell of the trade table is not touched";
    EXPECT_EQ(session.Grid.Cell(kProfit, 1), c.cells[3]) << "the filter pass ran";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeExample,
    ::testing::Values(
        NormalizeCase{"PipFactorTen", "1.1025", false, 10000.0,
                      {"1.00", " -0.70", " -0.24", "     25.00", "      10024.06"}},
        NormalizeCase{"TimesTen", "1.1025", true, 100000.0,
                      {"1.00", " -7.00", " -2.40", "    250.00", "     100240.60"}},
        // 125 / (0.50 x 50) is exactly 5: not above it, so the pip factor stays 1.
        NormalizeCase{"RatioOfExactlyFive", "1.1050", false, 10000.0,
                      {"1.00", " -7.00", " -2.40", "    250.00", "      10240.60"}},
        NormalizeCase{"NoPips", "1.1000", false, 10000.0,
                      {"1.00", " -7.00", " -2.40", "    250.00", "      10240.60"}}),
    [](const ::testing::TestParamInfo<NormalizeCase>& param) { return std::string(param.param.name); });

TEST(NormalizeTrades, BlankCommissionAndSwapCountAsZero)
{
    TradeRow trade = Example();
    trade.Comm = test::kBlankCell;
    trade.Swap = test::kBlankCell;
    Session session = Filtered({trade});
    ASSERT_TRUE(NormalizeTrades(session, false));
    EXPECT_EQ(Rescaled(session, 1), (Cells{"1.00", "  0.00", "  0.00", "     25.00", "      10025.00"}));
}

TEST(NormalizeTrades, PipFactorComesFromTheVisibleTableButEveryTradeIsRescaled)
{
    TradeRow hidden = Example("1.1050"); // ratio 5 alone would give factor 1
    hidden.Ticket = "1";
    hidden.Item = "gbpusd";
    Session session = test::SessionWith(5000, {hidden, Example()});
    session.Pairs.SetSelected(session.Pairs.Find("gbpusd"), false);
    ApplyFilters(session);
    ASSERT_TRUE(NormalizeTrades(session, false));
    EXPECT_EQ(Rescaled(session, 1), (Cells{"1.00", " -0.70", " -0.24", "     25.00", "      10024.06"}));
    EXPECT_EQ(Rescaled(session, 2), (Cells{"1.00", " -0.70", " -0.24", "     25.00", "      10048.12"}));
}

TEST(NormalizeTrades, NothingLoadedChangesNothing)
{
    Session session;
    EXPECT_FALSE(NormalizeTrades(session, true));
    EXPECT_EQ(session.Report.InitialDeposit, 0.0);
}

struct RefusalCase
{
    const char* name;
    int column;
    const char* cell;
    const char* message;
};

class NormalizeRefusal : public ::testing::TestWithParam<RefusalCase>
{
};

// The second row is bad: the first must not have been rewritten either.
TEST_P(NormalizeRefusal, LeavesTheTableUntouched)
{
    const RefusalCase& c = GetParam();
    Session session = Filtered({Example(), Example()});
    session.Full.SetCell(c.column, 2, c.cell);
    const Session before = session;
    try {
        NormalizeTrades(session, false);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
    }
    for (int row = 1; row <= 2; ++row)
        EXPECT_EQ(Rescaled(session, row), Rescaled(before, row)) << "row " << row;
    EXPECT_EQ(session.Report.InitialDeposit, 5000.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeRefusal,
    ::testing::Values(
        RefusalCase{"LotsNotANumber", kLots, "abc", "'abc' is not a valid floating point value"},
        RefusalCase{"ZeroLots", kLots, "0.00",
                    "Trade 50102 has a lot size of zero ('0.00'), so it cannot be rescaled to one lot; "
                    "nothing was normalized."},
        RefusalCase{"SwapNotANumber", kSwap, "  n/a", "'  n/a' is not a valid floating point value"}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace corvane
