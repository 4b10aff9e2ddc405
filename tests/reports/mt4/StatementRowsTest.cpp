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

TEST(StatementRows, EveryColumnHoldsItsTextInEachLayout)
{
    struct Case
    {
        const char* name;
        StatementTrade trade;
        bool taxes;
        std::string row; // the twenty cells joined by tabs
    };
    // clang-format off
    const Case cases[] = {
        {"titled", {.Commission = "-7.00", .Swap = "-0.35", .Profit = "1 234.56", .Magic = "123",
                    .Comment = "my comment"}, false,
         "1001" + kTimesAndPrices + " -7.00\t -0.35\t   1234.56\t\t\t\t         123\tmy comment\t\t"},
        {"bare", {.Ticket = "2002", .Type = "sell", .Lots = "0.50", .Symbol = "gbpusd", .Price = "1.27000",
                  .StopLoss = "1.28000", .TakeProfit = "1.25000", .CloseTime = "2024.01.03 15:30",
                  .ClosePrice = "1.26000", .Swap = "1.20", .Profit = "500.00", .Bare = true}, false,
         "2002\t2024.01.02 10:00\tsell\t0.50\tgbpusd\t1.27000\t1.28000\t1.25000\t2024.01.03 15:30\t"
         "1.26000\t  0.00\t  1.20\t    500.00\t\t\t\t" + kNoMagic + "\t\t\t"},
        {"taxes", {.Ticket = "3003", .Symbol = "usdjpy", .Price = "150.100", .StopLoss = "149.000",
                   .TakeProfit = "151.000", .ClosePrice = "150.900", .Commission = "-2.50", .Taxes = "-1.25",
                   .Swap = "-0.50", .Profit = "-1 234.50", .Magic = "777", .Comment = "grid[tp]"}, true,
         "3003\t2024.01.02 10:00\tbuy\t1.00\tusdjpy\t150.100\t149.000\t151.000\t2024.01.02 12:00\t"
         "150.900\t -2.50\t -0.50\t  -1234.50\t\t\t\t         777\tgrid[tp]\t\t"},
        {"bare in the taxes layout", {.Ticket = "7", .Commission = "-1.00", .Taxes = "9.99", .Swap = "-0.50",
                                      .Profit = "-1 234.00", .Bare = true}, true,
         "7" + kTimesAndPrices + " -1.00\t -0.50\t  -1234.00\t\t\t\t" + kNoMagic + "\t\t\t"},
        {"title without magic", {.Ticket = "4004", .Profit = "-12.00", .Title = "[sl]"}, false,
         "4004" + kTimesAndPrices + "  0.00\t  0.00\t    -12.00\t\t\t\t" + kNoMagic + "\t\t\t"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StatementBuilder builder;
        if (c.taxes)
            builder.Taxes();
        const Session session = Load(builder.Closed(c.trade).Text());
        ASSERT_EQ(session.Full.RowCount(), 2);
        EXPECT_EQ(RowText(session.Full, 1), c.row);
    }
}

TEST(StatementRows, EachRowIsReadInTheLayoutItsCellsShow)
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
        EXPECT_EQ(RowText(mixed.Full, row), RowText(Load(Statement({rows[row - 1]})).Full, 1)) << "row " << row;
    EXPECT_EQ(ColumnCells(mixed.Full, kItem), (Cells{"gbpusd", "usdchf", "eurusd"}));
    EXPECT_EQ(mixed.Report.Layout, RowLayout::Bare) << "the layout of the last row read stays";

    const Session taxes =
        Load(StatementBuilder().Taxes().Closed(rows[2]).Closed({.Magic = "42", .Comment = "grid"}).Text());
    EXPECT_EQ(taxes.Report.Layout, RowLayout::Taxes) << "the taxes layout holds for the whole file";
    EXPECT_EQ(RowText(taxes.Full, 2), "1001" + kTimesAndPrices
                                          + "  0.00\t  0.00\t    100.00\t\t\t\t"
                                            "          42\tgrid\t\t");
}

TEST(StatementRows, MagicNumberAndCommentFillTheirCellsAndTheMagicList)
{
    // clang-format off
    const Session session = Load(Statement({
        {.Magic = "123", .Comment = "my comment"}, {}, {.Title = "[tp]"}, {.Magic = "21000"},
        {.Comment = "only comment"}, {.Magic = "135797531", .Comment = "Tokyo Daily[sl]"},
        {.Magic = "1234567890", .Comment = "ten"}, {.Magic = "12345678901234", .Comment = "x"},
        {.Magic = "20171016", .Comment = "Buy[tp]"}, {.Bare = true}}));
    EXPECT_EQ(ColumnCells(session.Full, kMagic),
              (Cells{"         123", kNoMagic, kNoMagic, "       21000", kNoMagic, "   135797531",
                     "  1234567890", "12345678901234", "    20171016", kNoMagic}));
    EXPECT_EQ(ColumnCells(session.Full, kComment),
              (Cells{"my comment", "", "", "", "only comment", "Tokyo Daily[sl]", "ten", "x", "Buy[tp]",
                     ""}));
    EXPECT_EQ(Entries(session.Magic),
              (Cells{"     123", kNoMagicKey, "   21000", "135797531", "1234567890", "12345678901234",
                     "20171016"}))
        << "rows without a magic number share one entry";
    // clang-format on
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
    EXPECT_EQ(ColumnCells(session.Full, kProfit), Cells(3, "    100.00"));
}

TEST(StatementLines, CancelledStopAndNonTradingLinesAreSkipped)
{
    const Session session = Load(Statement({{.Ticket = "1"},
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
    const Session named = Load(
        Statement({{.Ticket = "1"}, {.Ticket = "2", .Magic = "1", .Comment = "see Working Orders"}, {.Ticket = "3"}}));
    EXPECT_EQ(ColumnCells(named.Full, kTicket), Cells{"1"}) << "a trade line naming it ends the report unread";
}

TEST(StatementLines, SubRowsBalanceRowsAndCreditsOfNewerBuildsAreNoTrades)
{
    const Session session =
        Load(StatementBuilder()
                 .NewHead()
                 .Taxes()
                 .Line(test::BalanceRow("1", "bonus for a buy", "100.00"))
                 .Line("<tr align=right><td>2</td><td nowrap>2024.01.01 00:00</td><td>credit</td>"
                       "<td colspan=10 align=left>sell-off credit</td><td class=mspt>50.00</td></tr>")
                 .Closed({.Ticket = "5", .Type = "buy limit", .Profit = "0.00", .Title = "deleted"})
                 .Closed({.Ticket = "11", .Magic = "20171016", .Comment = "sell later"})
                 .Line(test::MagicSubRow("20171016", "sell later"))
                 .Closed({.Ticket = "12", .Type = "sell"})
                 .Line(test::MagicSubRow("&nbsp;", "&nbsp;"))
                 .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"11", "12"}));
    EXPECT_EQ(ColumnCells(session.Full, kComment), (Cells{"sell later", ""}));
}

TEST(StatementLines, LocalizedSectionsAndTaxesColumnsAreRecognised)
{
    const std::string openTrades = "<tr align=left><td colspan=14><b>"
                                   "\x83\x49\x81\x5b\x83\x76\x83\x93\x83\x7c\x83\x57\x83\x56\x83\x87\x83\x93"
                                   "\x8f\xee\x95\xf1:</b></td></tr>";
    const std::string workingOrders =
        "<tr align=left><td colspan=14><b>\x92\x8d\x95\xb6\x8f\xee\x95\xf1:</b></td></tr>";
    const Session session = Load(StatementBuilder()
                                     .Closed({.Ticket = "1"})
                                     .Line(openTrades)
                                     .Closed({.Ticket = "2"})
                                     .Line(workingOrders)
                                     .Closed({.Ticket = "3"})
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kCloseTime), (Cells{"2024.01.02 12:00", ""}));

    // A header naming the taxes column in the broker's language: only the row shows it, by five money cells.
    std::string text =
        StatementBuilder().Taxes().Closed({.Taxes = "0", .Swap = "-3", .Profit = "967", .Bare = true}).Text();
    text.replace(text.find("<td>Taxes</td>"), 14, "<td>\x90\xc5\x95\xaa</td>");
    const Session taxes = Load(text);
    EXPECT_EQ(taxes.Full.Cell(kSwap, 1), "    -3");
    EXPECT_EQ(taxes.Full.Cell(kProfit, 1), "    967.00");
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
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"77", "80", "78"})) << "stop order lines are no trades";
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

TEST(MoneyCells, TheProfitIsTheNumberWithoutBlanksInTenCharacters)
{
    const Cells fields = {"1 234.56", "0",      "-1 234.50", "100",           "47",         "-276", "2.675", "0.125",
                          "0.375",    "-0.001", "1e3",       "12 345 678.90", "1234.56abc", "n/a",  "",      "-"};
    std::vector<StatementTrade> trades;
    for (const std::string& field : fields)
        trades.push_back({.Profit = field});
    EXPECT_EQ(ColumnCells(Load(Statement(trades)).Full, kProfit),
              (Cells{"   1234.56", "      0.00", "  -1234.50", "    100.00", "     47.00", "   -276.00", "      2.67",
                     "      0.12", "      0.38", "     -0.00", "   1000.00", "12345678.90", "   1234.56", "      0.00",
                     "      0.00", "      0.00"}));
}

TEST(MoneyCells, CommissionAndSwapKeepTheReportTextRightAlignedToSix)
{
    const Cells fields = {"0.00", "-7.00", "", "12.5", "-12.50", "1 234.56", "0"};
    const Cells cells = {"  0.00", " -7.00", "      ", "  12.5", "-12.50", "1 234.56", "     0"};
    for (const bool taxes : {false, true}) {
        StatementBuilder builder;
        if (taxes)
            builder.Taxes();
        for (const std::string& field : fields)
            builder.Closed({.Commission = field, .Taxes = "-9.99", .Swap = field});
        const Session session = Load(builder.Text());
        EXPECT_EQ(ColumnCells(session.Full, kComm), cells) << (taxes ? "taxes layout" : "titled layout");
        EXPECT_EQ(ColumnCells(session.Full, kSwap), cells) << (taxes ? "taxes layout" : "titled layout");
    }
}

// ---- Symbol and magic lists --------------------------------------------------------------------------

TEST(StatementLists, EntriesIgnoreLetterCaseAndKeepTheFirstSpelling)
{
    const char* symbols[] = {"EURUSD", "eurusd", "GbpUsd", "GBPUSD", "usdjpy.", "EurUsd"};
    const char* magics[] = {"abc", "ABC", "", "5", "Abc", ""};
    std::vector<StatementTrade> trades;
    for (int i = 0; i < 6; ++i)
        trades.push_back({.Ticket = std::to_string(i + 1), .Symbol = symbols[i], .Magic = magics[i], .Comment = "c"});
    const Session session = Load(Statement(trades));
    EXPECT_EQ(Entries(session.Pairs), (Cells{"EURUSD", "GbpUsd", "usdjpy."}));
    EXPECT_EQ(Entries(session.Magic), (Cells{"     abc", kNoMagicKey, "       5"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"EURUSD", "eurusd", "GbpUsd", "GBPUSD", "usdjpy.", "EurUsd"}))
        << "each row keeps its own spelling";
    EXPECT_EQ(test::SelectedFlags(session.Pairs), std::vector<bool>(3, true));
    EXPECT_EQ(test::SelectedFlags(session.Magic), std::vector<bool>(3, true));
}

} // namespace
} // namespace corvane
