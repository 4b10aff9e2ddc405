#include "TestReports.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::Entries;
using test::Load;
using test::RowText;
using test::Statement;
using test::StatementBuilder;
using test::StatementTrade;

const std::string kNoMagic(12, ' ');
const std::string kNoMagicKey = "           0";
// The cells of the default trade from the open time to the close price, between tabs.
const std::string kTimesAndPrices = "\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t"
                                    "2024.01.02 12:00\t1.10100\t";

// ---- Whole rows of each layout -----------------------------------------------------------------------

struct RowCase
{
    const char* name;
    StatementTrade trade;
    bool taxes;
    std::string row; // the twenty cells joined by tabs
};

class StatementRowCells : public ::testing::TestWithParam<RowCase>
{
};

TEST_P(StatementRowCells, EveryColumnHoldsItsText)
{
    StatementBuilder builder;
    if (GetParam().taxes) builder.Taxes();
    const Session session = Load(builder.Closed(GetParam().trade).Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(session.Full, 1), GetParam().row);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Layouts, StatementRowCells,
    ::testing::Values(
        RowCase{"Titled",
                {.Commission = "-7.00", .Swap = "-0.35", .Profit = "1 234.56", .Magic = "123",
                 .Comment = "my comment"},
                false,
                "1001" + kTimesAndPrices + " -7.00\t -0.35\t   1234.56\t\t\t\t         123\tmy comment\t\t"},
        RowCase{"Bare",
                {.Ticket = "2002", .Type = "sell", .Lots = "0.50", .Symbol = "gbpusd", .Price = "1.27000",
                 .StopLoss = "1.28000", .TakeProfit = "1.25000", .CloseTime = "2024.01.03 15:30",
                 .ClosePrice = "1.26000", .Swap = "1.20", .Profit = "500.00", .Bare = true},
                false,
                "2002\t2024.01.02 10:00\tsell\t0.50\tgbpusd\t1.27000\t1.28000\t1.25000\t2024.01.03 15:30\t"
                "1.26000\t  0.00\t  1.20\t    500.00\t\t\t\t" + kNoMagic + "\t\t\t"},
        RowCase{"Taxes",
                {.Ticket = "3003", .Symbol = "usdjpy", .Price = "150.100", .StopLoss = "149.000",
                 .TakeProfit = "151.000", .ClosePrice = "150.900", .Commission = "-2.50", .Taxes = "-1.25",
                 .Swap = "-0.50", .Profit = "-1 234.50", .Magic = "777", .Comment = "grid[tp]"},
                true,
                "3003\t2024.01.02 10:00\tbuy\t1.00\tusdjpy\t150.100\t149.000\t151.000\t2024.01.02 12:00\t"
                "150.900\t -2.50\t -0.50\t  -1234.50\t\t\t\t         777\tgrid[tp]\t\t"},
        RowCase{"BareInTheTaxesLayout",
                {.Ticket = "7", .Commission = "-1.00", .Taxes = "9.99", .Swap = "-0.50",
                 .Profit = "-1 234.00", .Bare = true},
                true,
                "7" + kTimesAndPrices + " -1.00\t -0.50\t  -1234.00\t\t\t\t" + kNoMagic + "\t\t\t"},
        RowCase{"TitleWithoutMagic",
                {.Ticket = "4004", .Profit = "-12.00", .Title = "[sl]"},
                false,
                "4004" + kTimesAndPrices + "  0.00\t  0.00\t    -12.00\t\t\t\t" + kNoMagic + "\t\t\t"}),
    [](const ::testing::TestParamInfo<RowCase>& paramInfo) { return paramInfo.param.name; });
// clang-format on

TEST(StatementLayouts, EachRowIsReadInTheLayoutItsCellsShow)
{
    // A bare row switches to the bare layout, the titled row after it back to the titled one: the mixed file
    // gives the same rows as each row read on its own.
    const StatementTrade rows[] = {
        {.Ticket = "2002", .Type = "sell", .Symbol = "gbpusd", .ClosePrice = "1.26000", .Bare = true},
        {.Ticket = "1001", .Symbol = "usdchf", .ClosePrice = "0.91000", .Magic = "5", .Comment = "c"},
        {.Ticket = "2003", .Profit = "-3.00", .Bare = true}};
    const Session mixed = Load(Statement({rows[0], rows[1], rows[2]}));
    ASSERT_EQ(mixed.Full.RowCount(), 4);
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(RowText(mixed.Full, row), RowText(Load(Statement({rows[row - 1]})).Full, 1))
            << "row " << row;
    EXPECT_EQ(ColumnCells(mixed.Full, kItem), (Cells{"gbpusd", "usdchf", "eurusd"}));
    EXPECT_EQ(mixed.Report.Layout, RowLayout::Bare) << "the layout of the last row read stays";
}

TEST(StatementLayouts, TheTaxesLayoutHoldsForTheWholeFile)
{
    const Session session =
        Load(StatementBuilder()
                 .Taxes()
                 .Closed({.Ticket = "2002", .Bare = true})
                 .Closed({.Ticket = "1001", .Profit = "5.00", .Magic = "42", .Comment = "grid"})
                 .Text());
    EXPECT_EQ(session.Report.Layout, RowLayout::Taxes);
    EXPECT_EQ(RowText(session.Full, 2), "1001" + kTimesAndPrices +
                                            "  0.00\t  0.00\t      5.00\t\t\t\t"
                                            "          42\tgrid\t\t");
}

// ---- Magic number and comment ------------------------------------------------------------------------

struct MagicCase
{
    const char* name;
    StatementTrade trade;
    std::string cell;
    std::string key;
};

class MagicAndComment : public ::testing::TestWithParam<MagicCase>
{
};

TEST_P(MagicAndComment, FillTheMagicCellTheCommentCellAndTheMagicList)
{
    const MagicCase& c = GetParam();
    const Session session = Load(Statement({c.trade}));
    EXPECT_EQ(session.Full.Cell(kMagic, 1), c.cell);
    EXPECT_EQ(session.Full.Cell(kComment, 1), c.trade.Comment);
    EXPECT_EQ(Entries(session.Magic), Cells{c.key});
    EXPECT_EQ(session.Full.Cell(kTicket, 1), "1001");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Titles, MagicAndComment,
    ::testing::Values(
        MagicCase{"MagicAndComment", {.Magic = "123", .Comment = "my comment"}, "         123", "     123"},
        MagicCase{"NoTitleText", {}, kNoMagic, kNoMagicKey},
        MagicCase{"TitleWithoutHash", {.Title = "[tp]"}, kNoMagic, kNoMagicKey},
        MagicCase{"MagicWithEmptyComment", {.Magic = "21000"}, "       21000", "   21000"},
        MagicCase{"CommentWithoutMagic", {.Comment = "only comment"}, kNoMagic, kNoMagicKey},
        MagicCase{"NineDigits", {.Magic = "135797531", .Comment = "Tokyo Daily[sl]"}, "   135797531",
                  "135797531"},
        MagicCase{"TenDigits", {.Magic = "1234567890", .Comment = "ten"}, "  1234567890", "1234567890"},
        MagicCase{"LongerThanTheCell", {.Magic = "12345678901234", .Comment = "x"}, "12345678901234",
                  "12345678901234"},
        MagicCase{"DateAsMagic", {.Magic = "20171016", .Comment = "Buy[tp]"}, "    20171016", "20171016"}),
    [](const ::testing::TestParamInfo<MagicCase>& paramInfo) { return paramInfo.param.name; });
// clang-format on

TEST(MagicAndComment, RowsWithoutMagicShareOneListEntry)
{
    const Session session =
        Load(Statement({{.Ticket = "1"}, {.Ticket = "2", .Bare = true}, {.Ticket = "3", .Magic = "42"}}));
    EXPECT_EQ(Entries(session.Magic), (Cells{kNoMagicKey, "      42"}));
    EXPECT_EQ(ColumnCells(session.Full, kMagic), (Cells{kNoMagic, kNoMagic, "          42"}));
}

// ---- Which lines are trades --------------------------------------------------------------------------

TEST(StatementLines, OpenPositionsHaveNoCloseTimeAndTheirCurrentPrice)
{
    const Session session = Load(StatementBuilder()
                                     .Closed({.Ticket = "1"})
                                     .OpenTrades()
                                     .Open({.Ticket = "2", .ClosePrice = "1.23456"})
                                     .Open({.Ticket = "3", .ClosePrice = "1.11111", .Bare = true})
                                     .Text());
    ASSERT_EQ(session.Full.RowCount(), 4);
    EXPECT_EQ(ColumnCells(session.Full, kCloseTime), (Cells{"2024.01.02 12:00", "", ""}));
    EXPECT_EQ(ColumnCells(session.Full, kClosePrice), (Cells{"1.10100", "1.23456", "1.11111"}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"    100.00", "    100.00", "    100.00"}));
}

TEST(StatementLines, CancelledStopAndNonTradingLinesAreSkipped)
{
    const Session session =
        Load(Statement({{.Ticket = "1"},
                        {.Ticket = "2", .Type = "buy limit", .Title = "cancelled"},
                        {.Ticket = "3", .Type = "sell limit", .Magic = "7", .Comment = "expired"},
                        {.Ticket = "4", .Profit = "cancelled", .Bare = true},
                        {.Ticket = "6", .Magic = "1", .Comment = "trailing stop"},
                        {.Ticket = "7", .Symbol = "stopidx"},
                        {.Ticket = "8", .Type = "balance"},
                        {.Ticket = "9", .Type = "credit"},
                        {.Ticket = "5"}},
                       "1 000.00"));
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "5"}));
}

TEST(StatementLines, TheFirstWorkingOrdersLineEndsTheReport)
{
    const Session session = Load(StatementBuilder()
                                     .Closed({.Ticket = "1"})
                                     .OpenTrades()
                                     .Open({.Ticket = "2"})
                                     .WorkingOrders()
                                     .Closed({.Ticket = "3"})
                                     .WorkingOrders()
                                     .Closed({.Ticket = "4"})
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2"}));
    const Session named = Load(Statement(
        {{.Ticket = "1"}, {.Ticket = "2", .Magic = "1", .Comment = "see Working Orders"}, {.Ticket = "3"}}));
    EXPECT_EQ(ColumnCells(named.Full, kTicket), Cells{"1"})
        << "a trade line naming it ends the report unread";
}

// ---- Rows that fill a pending stop order -------------------------------------------------------------

StatementTrade Process(const std::string& ticket)
{
    return {.Ticket = ticket, .Type = "process", .Magic = "5", .Comment = "filled"};
}

TEST(PendingOrders, AProcessRowTakesTheSideOfItsStopOrder)
{
    const Session session = Load(StatementBuilder()
                                     .Line(test::PendingOrderLine("sell stop", "77"))
                                     .Line(test::PendingOrderLine("buy stop", "80"))
                                     .Line(test::PendingOrderLine("buy stop", "77"))
                                     .Closed(Process("77"))
                                     .Closed(Process("80"))
                                     .Closed(Process("78"))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"77", "80", "78"}))
        << "stop order lines are no trades";
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "buy", ""}))
        << "the first registration of a ticket wins; an unregistered order keeps an empty type";
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "    100.00");
    EXPECT_EQ(session.Full.Cell(kComment, 1), "filled");
}

TEST(PendingOrders, TheListHoldsEveryOrderOfTheReportAndStartsEmptyOnEveryLoad)
{
    StatementBuilder builder;
    for (int i = 1; i <= 6000; ++i)
        builder.Line(test::PendingOrderLine(i % 2 ? "sell stop" : "buy stop", std::to_string(100000 + i)));
    builder.Closed(Process("105999")).Closed(Process("106000")).Closed(Process("100001"));
    Session session = Load(builder.Text());
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "buy", "sell"}));
    test::LoadBytes(session, Statement({Process("100001")}));
    EXPECT_EQ(session.Full.Cell(kType, 1), "");
}

// ---- Money cells -------------------------------------------------------------------------------------

struct CellCase
{
    std::string field;
    std::string cell;
};

void PrintTo(const CellCase& c, std::ostream* os)
{
    *os << "'" << c.field << "' -> '" << c.cell << "'";
}

class ProfitCell : public ::testing::TestWithParam<CellCase>
{
};

TEST_P(ProfitCell, IsTheNumberWithoutBlanksInTenCharacters)
{
    const Session session = Load(Statement({{.Profit = GetParam().field}}));
    EXPECT_EQ(session.Full.Cell(kProfit, 1), GetParam().cell);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fields, ProfitCell,
    ::testing::Values(CellCase{"1 234.56", "   1234.56"}, CellCase{"0", "      0.00"},
                      CellCase{"-1 234.50", "  -1234.50"}, CellCase{"100", "    100.00"},
                      CellCase{"47", "     47.00"}, CellCase{"-276", "   -276.00"},
                      CellCase{"2.675", "      2.67"}, CellCase{"0.125", "      0.12"},
                      CellCase{"0.375", "      0.38"}, CellCase{"-0.001", "     -0.00"},
                      CellCase{"1e3", "   1000.00"}, CellCase{"12 345 678.90", "12345678.90"},
                      CellCase{"1234.56abc", "   1234.56"}, CellCase{"n/a", "      0.00"},
                      CellCase{"", "      0.00"}, CellCase{"-", "      0.00"}));
// clang-format on

class CommissionAndSwapCells : public ::testing::TestWithParam<CellCase>
{
};

TEST_P(CommissionAndSwapCells, KeepTheReportTextRightAlignedToSix)
{
    for (const bool taxes : {false, true}) {
        StatementBuilder builder;
        if (taxes) builder.Taxes();
        const StatementTrade trade{.Commission = GetParam().field, .Swap = GetParam().field};
        const Session session = Load(builder.Closed(trade).Text());
        EXPECT_EQ(session.Full.Cell(kComm, 1), GetParam().cell) << (taxes ? "taxes layout" : "titled layout");
        EXPECT_EQ(session.Full.Cell(kSwap, 1), GetParam().cell) << (taxes ? "taxes layout" : "titled layout");
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, CommissionAndSwapCells,
                         ::testing::Values(CellCase{"0.00", "  0.00"}, CellCase{"-7.00", " -7.00"},
                                           CellCase{"", "      "}, CellCase{"12.5", "  12.5"},
                                           CellCase{"-12.50", "-12.50"}, CellCase{"1 234.56", "1 234.56"},
                                           CellCase{"0", "     0"}));

// ---- Symbol and magic lists --------------------------------------------------------------------------

TEST(StatementLists, EntriesIgnoreLetterCaseAndKeepTheFirstSpelling)
{
    const char* symbols[] = {"EURUSD", "eurusd", "GbpUsd", "GBPUSD", "usdjpy.", "EurUsd"};
    const char* magics[] = {"abc", "ABC", "", "5", "Abc", ""};
    std::vector<StatementTrade> trades;
    for (int i = 0; i < 6; ++i)
        trades.push_back(
            {.Ticket = std::to_string(i + 1), .Symbol = symbols[i], .Magic = magics[i], .Comment = "c"});
    const Session session = Load(Statement(trades));
    EXPECT_EQ(Entries(session.Pairs), (Cells{"EURUSD", "GbpUsd", "usdjpy."}));
    EXPECT_EQ(Entries(session.Magic), (Cells{"     abc", kNoMagicKey, "       5"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem),
              (Cells{"EURUSD", "eurusd", "GbpUsd", "GBPUSD", "usdjpy.", "EurUsd"}))
        << "each row keeps its own spelling";
    EXPECT_EQ(test::SelectedFlags(session.Pairs), std::vector<bool>(3, true));
    EXPECT_EQ(test::SelectedFlags(session.Magic), std::vector<bool>(3, true));
}

} // namespace
} // namespace corvane
