#include "Filters.h"

#include "Errors.h"
#include "TradeRows.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cash;
using test::ColumnOf;
using test::EntriesOf;
using test::FlagsOf;
using test::MagicCell;
using test::Pl;
using test::SessionWith;
using test::TradeRow;

using Cells = std::vector<std::string>;
using Flags = std::vector<bool>;

// Three trades on two symbols and two magic numbers: 1 eurusd/111, 2 gbpusd/222, 3 eurusd/222.
Session TwoSymbolsTwoMagics()
{
    return SessionWith(10000, {
                                  TradeRow{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                                  TradeRow{.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                                  TradeRow{.Ticket = "3", .Item = "eurusd", .Magic = MagicCell("222")},
                              });
}

void SelectOnly(SelectionList& list, const std::string& text)
{
    for (int i = 0; i < list.Count(); ++i)
        list.SetSelected(i, list.Text(i) == text);
}

// --- which trades pass ------------------------------------------------------------------------------

TEST(ApplyFilters, EmptySymbolSelectionSelectsEverySymbol)
{
    Session session = TwoSymbolsTwoMagics();
    session.Pairs.SetSelected(0, false);
    session.Pairs.SetSelected(1, false);
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2", "3"}));
    EXPECT_EQ(FlagsOf(session.Pairs), (Flags{true, true})) << "the list shows the empty selection as all";
}

TEST(ApplyFilters, EmptyMagicSelectionSelectsEveryKey)
{
    Session session = TwoSymbolsTwoMagics();
    ASSERT_TRUE(session.MagicListShown);
    session.Magic.SetSelected(0, false);
    session.Magic.SetSelected(1, false);
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2", "3"}));
    EXPECT_EQ(FlagsOf(session.Magic), (Flags{true, true}));
}

TEST(ApplyFilters, SymbolAndMagicSelectionsCombine)
{
    Session session = TwoSymbolsTwoMagics();
    SelectOnly(session.Pairs, "eurusd");
    SelectOnly(session.Magic, "     222");
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"3"}));
}

TEST(ApplyFilters, HiddenMagicListPlaysNoPart)
{
    Session session = TwoSymbolsTwoMagics();
    session.MagicListShown = false;
    SelectOnly(session.Magic, "     111");
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2", "3"}));

    session.Magic.Clear(); // not even the trades' keys are listed
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2", "3"}));
}

TEST(ApplyFilters, ShownMagicListLeavesOutKeysItDoesNotHold)
{
    Session session = TwoSymbolsTwoMagics();
    session.Magic.Clear();
    session.Magic.Append("     111");
    session.Magic.Append("     999");
    session.Magic.SelectAll();
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1"}));
}

TEST(ApplyFilters, SymbolMissingFromTheListIsLeftOut)
{
    Session session = TwoSymbolsTwoMagics();
    session.Full.SetRowCount(5);
    test::WriteTrade(session.Full, 4, TradeRow{.Ticket = "4", .Item = "xauusd", .Magic = MagicCell("111")});
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2", "3"}));
}

TEST(ApplyFilters, AChangedTradeTableIsReadAfresh)
{
    // The pass remembers the numbers it read from the trade table until the table changes.
    Session session = SessionWith(1000, {TradeRow{.Ticket = "1", .Profit = Pl("100.00")}});
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "       1100.00");
    session.Full.SetCell(kProfit, 1, Pl("-50.00"));
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "        950.00 *") << "below the deposit: in the drawdown";
    session.Full.SetCell(kProfit, 1, "abc");
    EXPECT_THROW(ApplyFilters(session), ConversionError);
}

TEST(ApplyFilters, SymbolIsFoundWithLetterCaseIgnored)
{
    Session session = SessionWith(1000, {TradeRow{.Ticket = "1", .Item = "eurusd"}});
    session.Full.SetRowCount(3);
    test::WriteTrade(session.Full, 2, TradeRow{.Ticket = "2", .Item = "EURUSD"});
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1", "2"}));
}

TEST(ApplyFilters, TenDigitMagicNumberIsListedAndFilteredWhole)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.Ticket = "1", .Magic = MagicCell("1234567890")},
                                            TradeRow{.Ticket = "2", .Magic = MagicCell("12345678")},
                                        });
    ASSERT_EQ(EntriesOf(session.Magic), (Cells{"1234567890", "12345678"}));
    SelectOnly(session.Magic, "1234567890");
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1"}));
}

TEST(ApplyFilters, TradesWithoutMagicNumberGoUnderKeyZero)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.Ticket = "1", .Magic = MagicCell("")},
                                            TradeRow{.Ticket = "2", .Magic = MagicCell("7")},
                                        });
    SelectOnly(session.Magic, test::kNoMagicKey);
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"1"}));
}

TEST(ApplyFilters, SelectionNobodySatisfiesLeavesHeaderRowsAndSummary)
{
    Session session =
        SessionWith(1000, {
                              TradeRow{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                              TradeRow{.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                          });
    ApplyFilters(session);
    const std::vector<std::string> summary = session.Memo;
    ASSERT_EQ(summary.size(), 14u);

    SelectOnly(session.Pairs, "eurusd");
    SelectOnly(session.Magic, "     222");
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.RowCount(), 1);
    EXPECT_EQ(session.XGrid.RowCount(), 1);
    EXPECT_EQ(session.Memo, summary) << "the summary text of the earlier selection stays on show";
}

TEST(ApplyFilters, NoTradeAtAllLeavesTheSummaryAlone)
{
    Session session;
    session.Memo = {"earlier text"};
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.RowCount(), 1);
    EXPECT_EQ(session.Memo, (Cells{"earlier text"}));
}

// --- what the grids hold ----------------------------------------------------------------------------

TEST(ApplyFilters, GridCopiesColumns0To14AndXGridTicketMagicComment)
{
    Session session = SessionWith(1000, {TradeRow{.Ticket = "1"}});
    for (int column = 0; column < kFullColumns; ++column)
        session.Full.SetCell(column, 1, "c" + std::to_string(column));
    session.Full.SetCell(kOpenTime, 1, "2024.01.02 10:00");
    session.Full.SetCell(kType, 1, "buy");
    session.Full.SetCell(kItem, 1, "eurusd");
    session.Full.SetCell(kOpenPrice, 1, "1.10000");
    session.Full.SetCell(kClosePrice, 1, "1.10100");
    session.Full.SetCell(kComm, 1, Cash("-1.00"));
    session.Full.SetCell(kSwap, 1, Cash("0.50"));
    session.Full.SetCell(kProfit, 1, Pl("10.00"));
    session.Full.SetCell(kMagic, 1, MagicCell("4242"));
    session.Full.SetCell(kComment, 1, "my comment");
    session.Magic.Clear();
    session.Magic.Append("    4242");
    session.Magic.SelectAll();

    ApplyFilters(session);
    ASSERT_EQ(session.Grid.RowCount(), 2);
    for (int column = 0; column < kPips; ++column)
        EXPECT_EQ(session.Grid.Cell(column, 1), session.Full.Cell(column, 1)) << "column " << column;
    EXPECT_EQ(session.Grid.Cell(kPips, 1), "    10") << "computed, not copied from c13";
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "       1009.50") << "computed, not copied from c14";
    EXPECT_EQ(session.Grid.Cell(15, 1), "") << "the visible table has 15 columns";

    ASSERT_EQ(session.XGrid.RowCount(), 2);
    EXPECT_EQ(session.XGrid.Cell(0, 1), "c0");
    EXPECT_EQ(session.XGrid.Cell(1, 1), "        4242");
    EXPECT_EQ(session.XGrid.Cell(2, 1), "my comment");
}

TEST(ApplyFilters, XGridRowsFollowTheVisibleRows)
{
    Session session = TwoSymbolsTwoMagics();
    session.Full.SetCell(kComment, 1, "first");
    session.Full.SetCell(kComment, 3, "third");
    SelectOnly(session.Pairs, "eurusd");
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.XGrid, 0), (Cells{"1", "3"}));
    EXPECT_EQ(ColumnOf(session.XGrid, 1), (Cells{"         111", "         222"}));
    EXPECT_EQ(ColumnOf(session.XGrid, 2), (Cells{"first", "third"}));
}

TEST(ApplyFilters, EveryPassRebuildsTheGridsAndTheirMarks)
{
    Session session = SessionWith(1000, {
                                            TradeRow{.Ticket = "1", .Profit = Pl("100.00")},
                                            TradeRow{.Ticket = "2", .Profit = Pl("-300.00")},
                                            TradeRow{.Ticket = "3", .Item = "gbpusd", .Profit = Pl("50.00")},
                                        });
    ApplyFilters(session);
    const Cells balances = ColumnOf(session.Grid, kBalance);
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), balances) << "drawdown marks do not pile up";

    SelectOnly(session.Pairs, "gbpusd");
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"3"}));
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"       1050.00"}));
    EXPECT_EQ(session.XGrid.RowCount(), 2);
}

// --- the Balance column ------------------------------------------------------------------------------

TEST(BalanceColumn, StartsFromTheDepositAndIncludesEachRowsTrade)
{
    Session session =
        SessionWith(10000, {
                               TradeRow{.Comm = Cash("-5.00"), .Swap = Cash("-1.50"), .Profit = Pl("100.00")},
                               TradeRow{.Comm = Cash("-2.00"), .Swap = Cash("0.25"), .Profit = Pl("50.00")},
                           });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"      10093.50", "      10141.75"}));
}

TEST(BalanceColumn, CommissionIsSubtractedWhateverItsSign)
{
    Session session =
        SessionWith(10000, {TradeRow{.Comm = Cash("5.00"), .Swap = Cash("-1.50"), .Profit = Pl("100.00")}});
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "      10093.50");
}

TEST(BalanceColumn, BlankCommissionAndSwapAddNothing)
{
    Session session = SessionWith(
        500, {
                 TradeRow{.Comm = test::kBlankCell, .Swap = Cash("-1.50"), .Profit = Pl("100.00")},
                 TradeRow{.Comm = Cash("-3.00"), .Swap = test::kBlankCell, .Profit = Pl("20.00")},
             });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance), (Cells{"        598.50", "        615.50"}));
}

TEST(BalanceColumn, EmptyCellsCountAsNothingAndEmptyProfitAsZero)
{
    Session session = SessionWith(500, {
                                           TradeRow{.Comm = "", .Swap = Cash("1.00"), .Profit = Pl("10.00")},
                                           TradeRow{.Comm = Cash("-1.00"), .Swap = "", .Profit = ""},
                                           TradeRow{.Comm = "   ", .Swap = " ", .Profit = "  "},
                                       });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kBalance),
              (Cells{"        511.00", "        510.00 *", "        510.00"}))
        << "the commission of row 2 is the only fall, so row 2 carries the drawdown mark";
    EXPECT_EQ(ColumnOf(session.Grid, kPips), (Cells{"    10", "     0", "     0"}))
        << "an empty P/L reads as 0, which gives 0 pips";
}

TEST(BalanceColumn, ThousandsSeparatedMoneyCellsReadAsTheirNumber)
{
    Session session =
        SessionWith(10000, {TradeRow{.Comm = "-1 234.56", .Swap = "2 000.00", .Profit = Pl("100.00")}});
    ApplyFilters(session);
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "      10865.44");
    EXPECT_EQ(session.Grid.Cell(kComm, 1), "-1 234.56") << "the cell keeps its text";
    EXPECT_EQ(session.Grid.Cell(kSwap, 1), "2 000.00");
}

// --- the Pips column ---------------------------------------------------------------------------------

TEST(PipsColumn, TradePipsOfEachRowInSixCharacters)
{
    Session session = SessionWith(
        1000, {
                  TradeRow{.Type = "buy", .Price = "1.2345", .ClosePrice = "1.2400"},
                  TradeRow{.Type = "sell", .Price = "1.2345", .ClosePrice = "1.2400", .Profit = Pl("-55.00")},
              });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kPips), (Cells{"    55", "   -55"}));
}

TEST(PipsColumn, ZeroProfitGivesZeroPipsWhateverThePrices)
{
    Session session =
        SessionWith(1000, {
                              TradeRow{.Price = "1.10000", .ClosePrice = "1.10500", .Profit = Pl("0.00")},
                              TradeRow{.Price = "1.10000", .ClosePrice = "1.10500", .Profit = Pl("-0.00")},
                          });
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kPips), (Cells{"     0", "     0"}));
}

// --- cells that are not numbers ----------------------------------------------------------------------

struct BadCellCase
{
    const char* name;
    TradeRow trade;
    const char* message;
};

class FilterBadCellTest : public ::testing::TestWithParam<BadCellCase>
{
};

TEST_P(FilterBadCellTest, StopsThePassWithTheCellTextAndKeepsTheSummary)
{
    Session session = SessionWith(1000, {TradeRow{.Ticket = "1"}, GetParam().trade});
    session.Memo = {"earlier summary"};
    try {
        ApplyFilters(session);
        FAIL() << "expected ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_EQ(session.Memo, (Cells{"earlier summary"}));
    EXPECT_EQ(session.Grid.RowCount(), 3) << "the grid is rebuilt before the numbers are read";
}

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, FilterBadCellTest,
    ::testing::Values(
        BadCellCase{"Comm", TradeRow{.Comm = "abc"}, "'abc' is not a valid floating point value"},
        BadCellCase{"PaddedComm", TradeRow{.Comm = "   abc"}, "'   abc' is not a valid floating point value"},
        BadCellCase{"CommaSwap", TradeRow{.Swap = "  1,50"}, "'  1,50' is not a valid floating point value"},
        BadCellCase{"Profit", TradeRow{.Profit = "    12.5x"},
                    "'    12.5x' is not a valid floating point value"}),
    [](const ::testing::TestParamInfo<BadCellCase>& param) { return std::string(param.param.name); });

// --- TradePips ---------------------------------------------------------------------------------------

struct PipsCase
{
    const char* type;
    const char* open;
    const char* close;
    long long pips;
};

void PrintTo(const PipsCase& c, std::ostream* os)
{
    *os << c.type << " " << c.open << " -> " << c.close;
}

class TradePipsTest : public ::testing::TestWithParam<PipsCase>
{
};

TEST_P(TradePipsTest, DifferenceOfFiveDigitPrices)
{
    const PipsCase& c = GetParam();
    EXPECT_EQ(TradePips(c.type, c.open, c.close), c.pips) << c.type << " " << c.open << " -> " << c.close;
}

INSTANTIATE_TEST_SUITE_P(
    Prices, TradePipsTest,
    ::testing::Values(PipsCase{"buy", "1.2345", "1.2400", 55}, PipsCase{"sell", "110.50", "110.20", 30},
                      PipsCase{"buy", "99.95", "100.05", 10},   // 09995 against 10005
                      PipsCase{"buy", "1.23456", "1.23506", 5}, // the fifth decimal is cut
                      PipsCase{"buy", "1.23459", "1.23501", 5}, // cut, not rounded
                      PipsCase{"sell", "1.234", "1.230", 4},    // 01234 against 01230
                      PipsCase{"buy", "1.23", "1.24", 100},     // 12300 against 12400
                      PipsCase{"buy", "1.2", "1.25", 500},      // each price by its own length
                      PipsCase{"sell", "1.2400", "1.2345", 55}, PipsCase{"buy", "1.2400", "1.2345", -55},
                      PipsCase{"buy limit", "1.2345", "1.2400", 55},
                      PipsCase{"Buy", "1.2345", "1.2400", -55}, // only a lower-case b buys
                      PipsCase{"", "1.2345", "1.2400", -55}, PipsCase{"buy", "", "", 0}));

// --- RebuildMagicList ----------------------------------------------------------------------------------

// eurusd trades with magic 111, 333, 111 and none; gbpusd trades with 222 and 111.
Session MixedMagics()
{
    return SessionWith(1000, {
                                 TradeRow{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                                 TradeRow{.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                                 TradeRow{.Ticket = "3", .Item = "eurusd", .Magic = MagicCell("333")},
                                 TradeRow{.Ticket = "4", .Item = "gbpusd", .Magic = MagicCell("111")},
                                 TradeRow{.Ticket = "5", .Item = "eurusd", .Magic = MagicCell("111")},
                                 TradeRow{.Ticket = "6", .Item = "eurusd", .Magic = MagicCell("")},
                             });
}

TEST(RebuildMagicList, ListsTheKeysOfSelectedSymbolsInOrderOfFirstAppearance)
{
    Session session = MixedMagics();
    ASSERT_EQ(EntriesOf(session.Magic), (Cells{"     111", "     222", "     333", "           0"}));

    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    EXPECT_EQ(EntriesOf(session.Magic), (Cells{"     222", "     111"}));

    SelectOnly(session.Pairs, "eurusd");
    RebuildMagicList(session);
    EXPECT_EQ(EntriesOf(session.Magic), (Cells{"     111", "     333", "           0"}));
}

TEST(RebuildMagicList, NoSymbolSelectedMeansEverySymbol)
{
    Session session = MixedMagics();
    session.Pairs.SetSelected(0, false);
    session.Pairs.SetSelected(1, false);
    RebuildMagicList(session);
    EXPECT_EQ(FlagsOf(session.Pairs), (Flags{true, true}));
    EXPECT_EQ(EntriesOf(session.Magic), (Cells{"     111", "     222", "     333", "           0"}));
}

TEST(RebuildMagicList, SameCountGivesBackTheFlagsByPosition)
{
    Session session =
        SessionWith(1000, {
                              TradeRow{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                              TradeRow{.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                              TradeRow{.Ticket = "3", .Item = "gbpusd", .Magic = MagicCell("444")},
                              TradeRow{.Ticket = "4", .Item = "eurusd", .Magic = MagicCell("555")},
                          });
    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    ASSERT_EQ(EntriesOf(session.Magic), (Cells{"     222", "     444"}));
    session.Magic.SetSelected(0, false);
    session.Magic.SetSelected(1, true);

    SelectOnly(session.Pairs, "eurusd");
    RebuildMagicList(session);
    EXPECT_EQ(EntriesOf(session.Magic), (Cells{"     111", "     555"}));
    EXPECT_EQ(FlagsOf(session.Magic), (Flags{false, true})) << "the flags go by position, whatever the text";
    ApplyFilters(session);
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"4"}));
}

TEST(RebuildMagicList, OtherCountSelectsNoneAndTheNextPassSelectsAll)
{
    Session session = MixedMagics();
    session.Magic.SetSelected(0, false); // 4 entries, 3 selected
    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    ASSERT_EQ(EntriesOf(session.Magic), (Cells{"     222", "     111"}));
    EXPECT_EQ(FlagsOf(session.Magic), (Flags{false, false}));

    session.MagicListShown = true;
    ApplyFilters(session);
    EXPECT_EQ(FlagsOf(session.Magic), (Flags{true, true}));
    EXPECT_EQ(ColumnOf(session.Grid, kTicket), (Cells{"2", "4"}));
}

} // namespace
} // namespace corvane
