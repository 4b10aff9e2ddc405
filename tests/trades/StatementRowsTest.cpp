#include "LoadReport.h"
#include "ReportBuilder.h"
#include "TestReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::ColumnCells;
using test::Entries;
using test::RowCells;
using test::StatementBuilder;
using test::StatementTrade;
using test::TempDir;

Session Load(const std::string& report)
{
    const TempDir dir;
    Session session;
    const LoadOutcome outcome = test::LoadBytes(session, dir, report);
    EXPECT_EQ(outcome, LoadOutcome::Loaded);
    return session;
}

StatementTrade Trade(const std::string& ticket)
{
    StatementTrade trade;
    trade.Ticket = ticket;
    return trade;
}

const std::string kNoMagic(12, ' ');
const std::string kNoMagicKey = "           0";

// ---- Whole rows of each layout -----------------------------------------------------------------------

struct RowCase
{
    const char* name;
    StatementTrade trade;
    bool taxes;
    std::vector<std::string> cells;
};

class StatementRowCells : public ::testing::TestWithParam<RowCase>
{
};

TEST_P(StatementRowCells, EveryColumnHoldsItsText)
{
    const RowCase& c = GetParam();
    StatementBuilder builder;
    if (c.taxes) builder.Taxes();
    const Session session = Load(builder.Closed(c.trade).Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(RowCells(session.Full, 1), c.cells);
}

std::vector<RowCase> RowCases()
{
    std::vector<RowCase> cases;

    StatementTrade titled = Trade("1001");
    titled.Magic = "123";
    titled.Comment = "my comment";
    titled.Commission = "-7.00";
    titled.Swap = "-0.35";
    titled.Profit = "1 234.56";
    cases.push_back({"Titled",
                     titled,
                     false,
                     {"1001",
                      "2024.01.02 10:00",
                      "buy",
                      "1.00",
                      "eurusd",
                      "1.10000",
                      "0.00000",
                      "0.00000",
                      "2024.01.02 12:00",
                      "1.10100",
                      " -7.00",
                      " -0.35",
                      "   1234.56",
                      "",
                      "",
                      "",
                      "         123",
                      "my comment",
                      "",
                      ""}});

    StatementTrade bare = Trade("2002");
    bare.Bare = true;
    bare.Type = "sell";
    bare.Lots = "0.50";
    bare.Symbol = "gbpusd";
    bare.Price = "1.27000";
    bare.StopLoss = "1.28000";
    bare.TakeProfit = "1.25000";
    bare.CloseTime = "2024.01.03 15:30";
    bare.ClosePrice = "1.26000";
    bare.Swap = "1.20";
    bare.Profit = "500.00";
    cases.push_back({"Bare",
                     bare,
                     false,
                     {"2002",
                      "2024.01.02 10:00",
                      "sell",
                      "0.50",
                      "gbpusd",
                      "1.27000",
                      "1.28000",
                      "1.25000",
                      "2024.01.03 15:30",
                      "1.26000",
                      "  0.00",
                      "  1.20",
                      "    500.00",
                      "",
                      "",
                      "",
                      kNoMagic,
                      "",
                      "",
                      ""}});

    StatementTrade taxes = Trade("3003");
    taxes.Magic = "777";
    taxes.Comment = "grid[tp]";
    taxes.Symbol = "usdjpy";
    taxes.Price = "150.100";
    taxes.StopLoss = "149.000";
    taxes.TakeProfit = "151.000";
    taxes.ClosePrice = "150.900";
    taxes.Commission = "-2.50";
    taxes.Taxes = "-1.25";
    taxes.Swap = "-0.50";
    taxes.Profit = "-1 234.50";
    cases.push_back({"Taxes",
                     taxes,
                     true,
                     {"3003",
                      "2024.01.02 10:00",
                      "buy",
                      "1.00",
                      "usdjpy",
                      "150.100",
                      "149.000",
                      "151.000",
                      "2024.01.02 12:00",
                      "150.900",
                      " -2.50",
                      " -0.50",
                      "  -1234.50",
                      "",
                      "",
                      "",
                      "         777",
                      "grid[tp]",
                      "",
                      ""}});

    StatementTrade ownTitle = Trade("4004");
    ownTitle.Title = "[sl]";
    ownTitle.Type = "sell";
    ownTitle.Profit = "-12.00";
    cases.push_back({"TitleWithoutMagic",
                     ownTitle,
                     false,
                     {"4004",
                      "2024.01.02 10:00",
                      "sell",
                      "1.00",
                      "eurusd",
                      "1.10000",
                      "0.00000",
                      "0.00000",
                      "2024.01.02 12:00",
                      "1.10100",
                      "  0.00",
                      "  0.00",
                      "    -12.00",
                      "",
                      "",
                      "",
                      kNoMagic,
                      "",
                      "",
                      ""}});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Layouts, StatementRowCells, ::testing::ValuesIn(RowCases()),
                         [](const ::testing::TestParamInfo<RowCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST(StatementLayouts, EachRowIsReadInTheLayoutItsCellsShow)
{
    // A bare row switches to the bare layout, the titled row after it back to the titled one: the mixed file
    // gives the same rows as each row read on its own.
    StatementTrade bare1 = Trade("2002");
    bare1.Bare = true;
    bare1.Type = "sell";
    bare1.Symbol = "gbpusd";
    bare1.ClosePrice = "1.26000";
    StatementTrade titled = Trade("1001");
    titled.Magic = "5";
    titled.Comment = "c";
    titled.Symbol = "usdchf";
    titled.ClosePrice = "0.91000";
    StatementTrade bare2 = Trade("2003");
    bare2.Bare = true;
    bare2.Profit = "-3.00";

    const Session mixed = Load(StatementBuilder().Closed(bare1).Closed(titled).Closed(bare2).Text());
    ASSERT_EQ(mixed.Full.RowCount(), 4);
    const StatementTrade* alone[] = {&bare1, &titled, &bare2};
    for (int row = 1; row <= 3; ++row) {
        const Session single = Load(StatementBuilder().Closed(*alone[row - 1]).Text());
        EXPECT_EQ(RowCells(mixed.Full, row), RowCells(single.Full, 1)) << "row " << row;
    }
    EXPECT_EQ(ColumnCells(mixed.Full, kTicket), (std::vector<std::string>{"2002", "1001", "2003"}));
    EXPECT_EQ(ColumnCells(mixed.Full, kItem), (std::vector<std::string>{"gbpusd", "usdchf", "eurusd"}));
    EXPECT_EQ(mixed.Report.Layout, RowLayout::Bare) << "the layout of the last row read stays";
}

TEST(StatementLayouts, TheTaxesLayoutHoldsForTheWholeFile)
{
    StatementTrade bare = Trade("2002");
    bare.Bare = true;
    StatementTrade titled = Trade("1001");
    titled.Magic = "9";
    titled.Profit = "5.00";
    const Session session = Load(StatementBuilder().Taxes().Closed(bare).Closed(titled).Text());
    EXPECT_EQ(session.Report.Layout, RowLayout::Taxes);
    EXPECT_EQ(session.Full.Cell(kTicket, 2), "1001");
    EXPECT_EQ(session.Full.Cell(kProfit, 2), "      5.00");
}

TEST(StatementRows, RowsStayInFileOrder)
{
    const Session session = Load(StatementBuilder()
                                     .Closed(Trade("5"))
                                     .Closed(Trade("3"))
                                     .Closed(Trade("9"))
                                     .Closed(Trade("1"))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"5", "3", "9", "1"}));
}

// ---- Magic number and comment ------------------------------------------------------------------------

struct MagicCase
{
    const char* name;
    std::string magic;
    std::string comment;
    std::string title; // used when magic and comment are empty
    std::string cell;
    std::string key;
    std::string storedComment;
};

class MagicAndComment : public ::testing::TestWithParam<MagicCase>
{
};

TEST_P(MagicAndComment, FillTheMagicCellTheCommentCellAndTheMagicList)
{
    const MagicCase& c = GetParam();
    StatementTrade trade = Trade("1001");
    trade.Magic = c.magic;
    trade.Comment = c.comment;
    trade.Title = c.title;
    const Session session = Load(StatementBuilder().Closed(trade).Text());
    EXPECT_EQ(session.Full.Cell(kMagic, 1), c.cell);
    EXPECT_EQ(session.Full.Cell(kComment, 1), c.storedComment);
    EXPECT_EQ(Entries(session.Magic), std::vector<std::string>{c.key});
    EXPECT_EQ(session.Full.Cell(kTicket, 1), "1001");
}

INSTANTIATE_TEST_SUITE_P(
    Titles, MagicAndComment,
    ::testing::Values(
        MagicCase{"MagicAndComment", "123", "my comment", "", "         123", "     123", "my comment"},
        MagicCase{"NoTitleText", "", "", "", kNoMagic, kNoMagicKey, ""},
        MagicCase{"TitleWithoutHash", "", "", "[tp]", kNoMagic, kNoMagicKey, ""},
        MagicCase{"MagicWithEmptyComment", "21000", "", "", "       21000", "   21000", ""},
        MagicCase{"CommentWithoutMagic", "", "only comment", "", kNoMagic, kNoMagicKey, "only comment"},
        MagicCase{"NineDigits", "135797531", "Tokyo Daily[sl]", "", "   135797531", "135797531",
                  "Tokyo Daily[sl]"},
        MagicCase{"TenDigits", "1234567890", "ten", "", "  1234567890", "1234567890", "ten"},
        MagicCase{"LongerThanTheCell", "12345678901234", "x", "", "12345678901234", "12345678901234", "x"},
        MagicCase{"DateAsMagic", "20171016", "Buy[tp]", "", "    20171016", "20171016", "Buy[tp]"}),
    [](const ::testing::TestParamInfo<MagicCase>& paramInfo) { return paramInfo.param.name; });

TEST(MagicAndComment, RowsWithoutMagicShareOneListEntry)
{
    StatementTrade first = Trade("1");
    StatementTrade second = Trade("2");
    second.Bare = true;
    StatementTrade third = Trade("3");
    third.Magic = "42";
    const Session session = Load(StatementBuilder().Closed(first).Closed(second).Closed(third).Text());
    EXPECT_EQ(Entries(session.Magic), (std::vector<std::string>{kNoMagicKey, "      42"}));
    EXPECT_EQ(ColumnCells(session.Full, kMagic),
              (std::vector<std::string>{kNoMagic, kNoMagic, "          42"}));
}

// ---- Which lines are trades --------------------------------------------------------------------------

TEST(StatementLines, OpenPositionsHaveNoCloseTimeAndTheirCurrentPrice)
{
    StatementTrade closed = Trade("1");
    StatementTrade open = Trade("2");
    open.ClosePrice = "1.23456";
    StatementTrade openBare = Trade("3");
    openBare.Bare = true;
    openBare.ClosePrice = "1.11111";
    const Session session =
        Load(StatementBuilder().Closed(closed).OpenTrades().Open(open).Open(openBare).Text());
    ASSERT_EQ(session.Full.RowCount(), 4);
    EXPECT_EQ(ColumnCells(session.Full, kCloseTime), (std::vector<std::string>{"2024.01.02 12:00", "", ""}));
    EXPECT_EQ(ColumnCells(session.Full, kClosePrice),
              (std::vector<std::string>{"1.10100", "1.23456", "1.11111"}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit),
              (std::vector<std::string>{"    100.00", "    100.00", "    100.00"}));
}

TEST(StatementLines, CancelledAndExpiredOrdersAreSkipped)
{
    StatementTrade cancelled = Trade("2");
    cancelled.Type = "buy limit";
    cancelled.Title = "cancelled";
    StatementTrade expired = Trade("3");
    expired.Type = "sell limit";
    expired.Magic = "7";
    expired.Comment = "expired";
    StatementTrade cancelledBare = Trade("4");
    cancelledBare.Bare = true;
    cancelledBare.Profit = "cancelled";
    const Session session = Load(StatementBuilder()
                                     .Deposit("1 000.00")
                                     .Closed(Trade("1"))
                                     .Closed(cancelled)
                                     .Closed(expired)
                                     .Closed(cancelledBare)
                                     .Closed(Trade("5"))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "5"}));
}

TEST(StatementLines, ALineMentioningStopIsNoTrade)
{
    StatementTrade trailing = Trade("2");
    trailing.Magic = "1";
    trailing.Comment = "trailing stop";
    StatementTrade stopSymbol = Trade("3");
    stopSymbol.Symbol = "stopidx";
    const Session session = Load(
        StatementBuilder().Closed(Trade("1")).Closed(trailing).Closed(stopSymbol).Closed(Trade("4")).Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "4"}));
}

TEST(StatementLines, LinesWithoutBuySellOrProcessAreNoTrades)
{
    StatementTrade balance = Trade("2");
    balance.Type = "balance";
    StatementTrade credit = Trade("3");
    credit.Type = "credit";
    const Session session = Load(StatementBuilder().Closed(Trade("1")).Closed(balance).Closed(credit).Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1"}));
}

TEST(StatementLines, TheFirstWorkingOrdersLineEndsTheReport)
{
    const Session session = Load(StatementBuilder()
                                     .Closed(Trade("1"))
                                     .OpenTrades()
                                     .Open(Trade("2"))
                                     .WorkingOrders()
                                     .Closed(Trade("3"))
                                     .WorkingOrders()
                                     .Closed(Trade("4"))
                                     .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1", "2"}));
}

TEST(StatementLines, ATradeLineNamingWorkingOrdersEndsTheReportUnread)
{
    StatementTrade named = Trade("2");
    named.Magic = "1";
    named.Comment = "see Working Orders";
    const Session session =
        Load(StatementBuilder().Closed(Trade("1")).Closed(named).Closed(Trade("3")).Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"1"}));
}

// ---- Rows that fill a pending stop order -------------------------------------------------------------

StatementTrade Process(const std::string& ticket)
{
    StatementTrade trade = Trade(ticket);
    trade.Type = "process";
    trade.Magic = "5";
    trade.Comment = "filled";
    return trade;
}

TEST(PendingOrders, AProcessRowTakesTheSideOfItsStopOrder)
{
    const Session session = Load(StatementBuilder()
                                     .Line(test::PendingOrderLine("sell stop", "77"))
                                     .Line(test::PendingOrderLine("buy stop", "80"))
                                     .Closed(Process("77"))
                                     .Closed(Process("80"))
                                     .Closed(Process("78"))
                                     .Text());
    ASSERT_EQ(session.Full.RowCount(), 4) << "stop order lines are no trades, process rows are";
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (std::vector<std::string>{"77", "80", "78"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (std::vector<std::string>{"sell", "buy", ""}))
        << "a process row without a registered order keeps an empty type";
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "    100.00");
    EXPECT_EQ(session.Full.Cell(kComment, 1), "filled");
}

TEST(PendingOrders, TheFirstRegistrationOfATicketWins)
{
    const Session session = Load(StatementBuilder()
                                     .Line(test::PendingOrderLine("sell stop", "90"))
                                     .Line(test::PendingOrderLine("buy stop", "90"))
                                     .Closed(Process("90"))
                                     .Text());
    EXPECT_EQ(session.Full.Cell(kType, 1), "sell");
}

TEST(PendingOrders, TheListHoldsEveryOrderOfTheReport)
{
    StatementBuilder builder;
    for (int i = 1; i <= 6000; ++i)
        builder.Line(test::PendingOrderLine(i % 2 ? "sell stop" : "buy stop", std::to_string(100000 + i)));
    builder.Closed(Process("105999")).Closed(Process("106000")).Closed(Process("100001"));
    const Session session = Load(builder.Text());
    EXPECT_EQ(ColumnCells(session.Full, kType), (std::vector<std::string>{"sell", "buy", "sell"}));
}

TEST(PendingOrders, TheListStartsEmptyOnEveryLoad)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(session, dir, StatementBuilder().Line(test::PendingOrderLine("sell stop", "77")).Text(),
                    "a.htm");
    test::LoadBytes(session, dir, StatementBuilder().Closed(Process("77")).Text(), "b.htm");
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
    StatementTrade trade = Trade("1");
    trade.Profit = GetParam().field;
    const Session session = Load(StatementBuilder().Closed(trade).Text());
    EXPECT_EQ(session.Full.Cell(kProfit, 1), GetParam().cell) << "profit field '" << GetParam().field << "'";
}

INSTANTIATE_TEST_SUITE_P(Fields, ProfitCell,
                         ::testing::Values(CellCase{"1 234.56", "   1234.56"}, CellCase{"0", "      0.00"},
                                           CellCase{"-1 234.50", "  -1234.50"}, CellCase{"100", "    100.00"},
                                           CellCase{"47", "     47.00"}, CellCase{"-276", "   -276.00"},
                                           CellCase{"2.675", "      2.67"}, CellCase{"0.125", "      0.12"},
                                           CellCase{"0.375", "      0.38"}, CellCase{"-0.001", "     -0.00"},
                                           CellCase{"1e3", "   1000.00"},
                                           CellCase{"12 345 678.90", "12345678.90"},
                                           CellCase{"1234.56abc", "   1234.56"},
                                           CellCase{"n/a", "      0.00"}, CellCase{"", "      0.00"},
                                           CellCase{"-", "      0.00"}));

class CommissionAndSwapCells : public ::testing::TestWithParam<CellCase>
{
};

TEST_P(CommissionAndSwapCells, KeepTheReportTextRightAlignedToSix)
{
    for (const bool taxes : {false, true}) {
        StatementTrade trade = Trade("1");
        trade.Commission = GetParam().field;
        trade.Swap = GetParam().field;
        StatementBuilder builder;
        if (taxes) builder.Taxes();
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
    StatementBuilder builder;
    for (int i = 0; i < 6; ++i) {
        StatementTrade trade = Trade(std::to_string(i + 1));
        trade.Symbol = symbols[i];
        trade.Magic = magics[i];
        trade.Comment = "c";
        builder.Closed(trade);
    }
    const Session session = Load(builder.Text());
    EXPECT_EQ(Entries(session.Pairs), (std::vector<std::string>{"EURUSD", "GbpUsd", "usdjpy."}));
    EXPECT_EQ(Entries(session.Magic), (std::vector<std::string>{"     abc", kNoMagicKey, "       5"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem),
              (std::vector<std::string>{"EURUSD", "eurusd", "GbpUsd", "GBPUSD", "usdjpy.", "EurUsd"}))
        << "each row keeps its own spelling";
    EXPECT_TRUE(test::AllSelected(session.Pairs));
    EXPECT_TRUE(test::AllSelected(session.Magic));
}

TEST(StatementCells, ACommaDecimalLocaleChangesNoCellOrDeposit)
{
    StatementTrade trade = Trade("1001");
    trade.Profit = "-1 234.56";
    trade.Commission = "-7.25";
    const std::string report = StatementBuilder().Deposit("10 000.50").Closed(trade).Text();
    const Session reference = Load(report);

    const test::CommaNumericLocale locale;
    if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const Session session = Load(report);
    EXPECT_EQ(RowCells(session.Full, 1), RowCells(reference.Full, 1));
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "  -1234.56");
    EXPECT_EQ(session.Report.InitialDeposit, 10000.5);
}

} // namespace
} // namespace corvane
