#include "analysis/Filters.h"

#include "Samples.h"
#include "TradeRows.h"
#include "analysis/Commands.h"
#include "analysis/MoreStatistics.h"
#include "analysis/Statistics.h"
#include "reports/LoadReport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace corvane {
namespace {

using test::Cash;
using test::Cells;
using test::ColumnCells;
using test::Entries;
using test::MagicCell;
using test::Pl;
using test::SelectedFlags;
using test::SessionWith;
using test::TradeRow;

using Flags = std::vector<bool>;

// Three trades on two symbols and two magic numbers: 1 eurusd/111, 2 gbpusd/222, 3 eurusd/222.
Session TwoSymbolsTwoMagics()
{
    return SessionWith(10000, {{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                               {.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                               {.Ticket = "3", .Item = "eurusd", .Magic = MagicCell("222")}});
}

void SelectOnly(SelectionList& list, const std::string& text)
{
    for (int i = 0; i < list.Count(); ++i)
        list.SetSelected(i, list.Text(i) == text);
}

Cells Tickets(const Session& session)
{
    return ColumnCells(session.Grid, kTicket);
}

// --- which trades pass ------------------------------------------------------------------------------

TEST(ApplyFilters, AnEmptySelectionOfEitherListSelectsEveryEntry)
{
    for (const bool magic : {false, true}) {
        Session session = TwoSymbolsTwoMagics();
        ASSERT_EQ(MagicFilterFor(session), MagicFilter::On);
        SelectionList& list = magic ? session.Magic : session.Pairs;
        list.SetSelected(0, false);
        list.SetSelected(1, false);
        ApplyFilters(session, MagicFilterFor(session));
        EXPECT_EQ(Tickets(session), (Cells{"1", "2", "3"})) << (magic ? "magic list" : "symbol list");
        EXPECT_EQ(SelectedFlags(list), (Flags{true, true})) << "the list shows the empty selection as all";
    }
}

TEST(ApplyFilters, SymbolAndMagicSelectionsCombine)
{
    Session session = TwoSymbolsTwoMagics();
    SelectOnly(session.Pairs, "eurusd");
    SelectOnly(session.Magic, "     222");
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"3"}));
}

TEST(ApplyFilters, HiddenMagicListPlaysNoPartAndAShownOneLeavesOutKeysItDoesNotHold)
{
    Session session = TwoSymbolsTwoMagics();
    SelectOnly(session.Magic, "     111");
    ApplyFilters(session, MagicFilter::Off);
    EXPECT_EQ(Tickets(session), (Cells{"1", "2", "3"}));
    session.Magic.Clear(); // not even the trades' keys are listed
    ApplyFilters(session, MagicFilter::Off);
    EXPECT_EQ(Tickets(session), (Cells{"1", "2", "3"}));

    session.Magic.Append("     111");
    session.Magic.Append("     999");
    session.Magic.SelectAll();
    ApplyFilters(session, MagicFilter::On);
    EXPECT_EQ(Tickets(session), (Cells{"1"}));
}

TEST(ApplyFilters, SymbolsAreFoundWithLetterCaseIgnoredAndThoseNotListedAreLeftOut)
{
    Session session = TwoSymbolsTwoMagics();
    session.Full.SetRowCount(6);
    test::WriteTrade(session.Full, 4, {.Ticket = "4", .Item = "xauusd", .Magic = MagicCell("111")});
    test::WriteTrade(session.Full, 5, {.Ticket = "5", .Item = "EURUSD", .Magic = MagicCell("111")});
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"1", "2", "3", "5"}));
}

TEST(ApplyFilters, MagicNumbersAreListedAndFilteredWholeAndNoneGoesUnderKeyZero)
{
    Session session = SessionWith(1000, {{.Ticket = "1", .Magic = MagicCell("1234567890")},
                                         {.Ticket = "2", .Magic = MagicCell("12345678")},
                                         {.Ticket = "3", .Magic = MagicCell("")}});
    ASSERT_EQ(Entries(session.Magic), (Cells{"1234567890", "12345678", test::kNoMagicKey}));
    SelectOnly(session.Magic, "1234567890");
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"1"}));
    SelectOnly(session.Magic, test::kNoMagicKey);
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"3"}));
}

TEST(ApplyFilters, AChangedTradeTableIsReadAfresh)
{
    // The pass remembers the numbers it read from the trade table until the table changes.
    Session session = SessionWith(1000, {{.Ticket = "1", .Profit = Pl("100.00")}});
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "       1100.00");
    session.Full.SetCell(kProfit, 1, Pl("-50.00"));
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(session.Grid.Cell(kBalance, 1), "        950.00 *") << "below the deposit: in the drawdown";
    session.Full.SetCell(kProfit, 1, "abc");
    EXPECT_THROW(ApplyFilters(session, MagicFilterFor(session)), ConversionError);
}

TEST(ApplyFilters, ASelectionNobodySatisfiesLeavesHeaderRowsAndTheSummary)
{
    Session session = TwoSymbolsTwoMagics();
    ApplyFilters(session, MagicFilterFor(session));
    const Cells summary = session.Memo;
    ASSERT_EQ(summary.size(), 14u);

    SelectOnly(session.Pairs, "gbpusd");
    SelectOnly(session.Magic, "     111");
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(session.Grid.RowCount(), 1);
    EXPECT_EQ(session.XGrid.RowCount(), 1);
    EXPECT_EQ(session.Memo, summary) << "the summary text of the earlier selection stays on show";

    Session empty;
    empty.Memo = {"earlier text"};
    ApplyFilters(empty, MagicFilterFor(empty));
    EXPECT_EQ(empty.Grid.RowCount(), 1);
    EXPECT_EQ(empty.Memo, (Cells{"earlier text"})) << "no trade at all";
}

// --- what the grids hold ----------------------------------------------------------------------------

TEST(ApplyFilters, GridCopiesColumns0To12AndXGridTicketMagicComment)
{
    Session session = SessionWith(1000, {{.Ticket = "1", .Magic = MagicCell("4242"), .Comment = "note"}});
    for (const int column : {0, 1, 3, 6, 7, 8, 13, 14, 15, 18, 19})
        session.Full.SetCell(column, 1, "c" + std::to_string(column));
    ApplyFilters(session, MagicFilterFor(session));
    ASSERT_EQ(session.Grid.RowCount(), 2);
    EXPECT_EQ(test::RowText(session.Grid, 1), "c0\tc1\tbuy\tc3\teurusd\t1.10000\tc6\tc7\tc8\t1.10100\t  0.00\t  0.00\t"
                                              "    100.00\t    10\t       1100.00")
        << "Pips and Balance are computed, not copied from c13 and c14";
    EXPECT_EQ(test::RowText(session.XGrid, 1), "c0\t        4242\tnote");
}

TEST(ApplyFilters, XGridRowsFollowTheVisibleRowsAndEveryPassRebuildsTheMarks)
{
    Session session = SessionWith(1000, {{.Ticket = "1", .Profit = Pl("100.00"), .Comment = "first"},
                                         {.Ticket = "2", .Item = "gbpusd", .Profit = Pl("50.00")},
                                         {.Ticket = "3", .Profit = Pl("-300.00"), .Comment = "third"}});
    ApplyFilters(session, MagicFilterFor(session));
    const Cells balances = ColumnCells(session.Grid, kBalance);
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(ColumnCells(session.Grid, kBalance), balances) << "drawdown marks do not pile up";

    SelectOnly(session.Pairs, "eurusd");
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"1", "3"}));
    EXPECT_EQ(ColumnCells(session.Grid, kBalance), (Cells{"       1100.00", "        800.00 *"}));
    EXPECT_EQ(ColumnCells(session.XGrid, kXTicket), (Cells{"1", "3"}));
    EXPECT_EQ(ColumnCells(session.XGrid, kXComment), (Cells{"first", "third"}));
}

// --- the Balance and Pips columns --------------------------------------------------------------------

TEST(BalanceColumn, StartsFromTheDepositAndIncludesEachRowsTrade)
{
    struct Case
    {
        const char* name;
        double deposit;
        std::vector<TradeRow> trades;
        Cells balances;
    };
    const Case cases[] = {
        {"commission and swap",
         10000,
         {{.Comm = Cash("-5.00"), .Swap = Cash("-1.50"), .Profit = Pl("100.00")},
          {.Comm = Cash("-2.00"), .Swap = Cash("0.25"), .Profit = Pl("50.00")}},
         {"      10093.50", "      10141.75"}},
        {"commission subtracted whatever its sign",
         10000,
         {{.Comm = Cash("5.00"), .Swap = Cash("-1.50"), .Profit = Pl("100.00")}},
         {"      10093.50"}},
        {"blank commission and swap add nothing",
         500,
         {{.Comm = test::kBlankCell, .Swap = Cash("-1.50"), .Profit = Pl("100.00")},
          {.Comm = Cash("-3.00"), .Swap = test::kBlankCell, .Profit = Pl("20.00")}},
         {"        598.50", "        615.50"}},
        {"empty cells count nothing, an empty P/L as zero; the commission of row 2 is the only fall",
         500,
         {{.Comm = "", .Swap = Cash("1.00"), .Profit = Pl("10.00")},
          {.Comm = Cash("-1.00"), .Swap = "", .Profit = ""},
          {.Comm = "   ", .Swap = " ", .Profit = "  "}},
         {"        511.00", "        510.00 *", "        510.00"}},
        {"thousands separated money cells",
         10000,
         {{.Comm = "-1 234.56", .Swap = "2 000.00", .Profit = Pl("100.00")}},
         {"      10865.44"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        session.Report.InitialDeposit = c.deposit;
        session.Full.SetRowCount(static_cast<int>(c.trades.size()) + 1);
        for (std::size_t i = 0; i < c.trades.size(); ++i)
            test::WriteTrade(session.Full, static_cast<int>(i) + 1, c.trades[i]);
        session.Pairs.AddIfAbsent("eurusd");
        ApplyFilters(session, MagicFilterFor(session));
        EXPECT_EQ(ColumnCells(session.Grid, kBalance), c.balances);
        EXPECT_EQ(ColumnCells(session.Grid, kComm), ColumnCells(session.Full, kComm)) << "the cells keep their text";
    }
}

TEST(PipsColumn, TradePipsOfEachRowInSixCharactersAndZeroForZeroProfit)
{
    Session session =
        SessionWith(1000, {{.Type = "buy", .Price = "1.2345", .ClosePrice = "1.2400"},
                           {.Type = "sell", .Price = "1.2345", .ClosePrice = "1.2400", .Profit = Pl("-55.00")},
                           {.Price = "1.10000", .ClosePrice = "1.10500", .Profit = Pl("0.00")},
                           {.Price = "1.10000", .ClosePrice = "1.10500", .Profit = Pl("-0.00")},
                           {.Price = "1.10000", .ClosePrice = "1.10500", .Profit = ""}});
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(ColumnCells(session.Grid, kPips), (Cells{"    55", "   -55", "     0", "     0", "     0"}));
}

TEST(ApplyFilters, ACellThatIsNoNumberStopsThePassWithItsPlaceAndTextAndKeepsTheSummary)
{
    const std::tuple<TradeRow, const char*, const char*> cases[] = {{{.Comm = "abc"}, "Comm", "abc"},
                                                                    {{.Comm = "   abc"}, "Comm", "   abc"},
                                                                    {{.Swap = "  1,50"}, "Swap", "  1,50"},
                                                                    {{.Profit = "    12.5x"}, "P/L", "    12.5x"}};
    for (const auto& [trade, column, cell] : cases) {
        Session session = SessionWith(1000, {{.Ticket = "1"}, trade});
        session.Full.SetCell(kTicket, 2, "50101");
        session.Memo = {"earlier summary"};
        try {
            ApplyFilters(session, MagicFilterFor(session));
            ADD_FAILURE() << "'" << cell << "' was read as a number";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "/reports/march.htm: trade 2 (ticket 50101), column " + std::string(column)
                                                 + ": '" + cell + "' is not a valid floating point value");
        }
        EXPECT_EQ(session.Memo, (Cells{"earlier summary"}));
        EXPECT_EQ(session.Grid.RowCount(), 3) << "the grid is rebuilt before the numbers are read";
    }
}

TEST(TradePips, DifferenceOfFivePlaceFieldsOfThePrices)
{
    struct Case
    {
        const char* type;
        const char* open;
        const char* close;
        long long pips;
    };
    const Case cases[] = {
        {"buy", "1.2345", "1.2400", 55},       {"sell", "110.50", "110.20", 30},
        {"buy", "99.95", "100.05", 10},   // 09995 against 10005
        {"buy", "1.23456", "1.23506", 5}, // the fifth decimal is cut
        {"buy", "1.23459", "1.23501", 5}, // cut, not rounded
        {"sell", "1.234", "1.230", 4},    // 01234 against 01230
        {"buy", "1.23", "1.24", 100},     // 12300 against 12400
        {"buy", "1.2", "1.25", 500},      // each price by its own length
        {"sell", "1.2400", "1.2345", 55},      {"buy", "1.2400", "1.2345", -55},
        {"buy limit", "1.2345", "1.2400", 55}, {"Buy", "1.2345", "1.2400", -55}, // only a lower-case b buys
        {"", "1.2345", "1.2400", -55},         {"buy", "", "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TradePips(c.type, c.open, c.close), c.pips) << c.type << " " << c.open << " -> " << c.close;
}

// --- RebuildMagicList ----------------------------------------------------------------------------------

// eurusd trades with magic 111, 333, 111 and none; gbpusd trades with 222 and 111.
Session MixedMagics()
{
    return SessionWith(1000, {{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                              {.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                              {.Ticket = "3", .Item = "eurusd", .Magic = MagicCell("333")},
                              {.Ticket = "4", .Item = "gbpusd", .Magic = MagicCell("111")},
                              {.Ticket = "5", .Item = "eurusd", .Magic = MagicCell("111")},
                              {.Ticket = "6", .Item = "eurusd", .Magic = MagicCell("")}});
}

TEST(RebuildMagicList, ListsTheKeysOfSelectedSymbolsInOrderOfFirstAppearance)
{
    Session session = MixedMagics();
    const Cells all = {"     111", "     222", "     333", "           0"};
    ASSERT_EQ(Entries(session.Magic), all);
    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    EXPECT_EQ(Entries(session.Magic), (Cells{"     222", "     111"}));
    SelectOnly(session.Pairs, "eurusd");
    RebuildMagicList(session);
    EXPECT_EQ(Entries(session.Magic), (Cells{"     111", "     333", "           0"}));

    SelectOnly(session.Pairs, "none");
    RebuildMagicList(session);
    EXPECT_EQ(SelectedFlags(session.Pairs), (Flags{true, true})) << "no symbol selected means every symbol";
    EXPECT_EQ(Entries(session.Magic), all);
}

TEST(RebuildMagicList, SameCountGivesBackTheFlagsByPosition)
{
    Session session = SessionWith(1000, {{.Ticket = "1", .Item = "eurusd", .Magic = MagicCell("111")},
                                         {.Ticket = "2", .Item = "gbpusd", .Magic = MagicCell("222")},
                                         {.Ticket = "3", .Item = "gbpusd", .Magic = MagicCell("444")},
                                         {.Ticket = "4", .Item = "eurusd", .Magic = MagicCell("555")}});
    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    ASSERT_EQ(Entries(session.Magic), (Cells{"     222", "     444"}));
    session.Magic.SetSelected(0, false);
    session.Magic.SetSelected(1, true);

    SelectOnly(session.Pairs, "eurusd");
    RebuildMagicList(session);
    EXPECT_EQ(Entries(session.Magic), (Cells{"     111", "     555"}));
    EXPECT_EQ(SelectedFlags(session.Magic), (Flags{false, true})) << "the flags go by position, whatever the text";
    ApplyFilters(session, MagicFilterFor(session));
    EXPECT_EQ(Tickets(session), (Cells{"4"}));
}

TEST(RebuildMagicList, OtherCountSelectsNoneAndTheNextPassSelectsAll)
{
    Session session = MixedMagics();
    session.Magic.SetSelected(0, false); // 4 entries, 3 selected
    SelectOnly(session.Pairs, "gbpusd");
    RebuildMagicList(session);
    ASSERT_EQ(Entries(session.Magic), (Cells{"     222", "     111"}));
    EXPECT_EQ(SelectedFlags(session.Magic), (Flags{false, false}));

    ApplyFilters(session, MagicFilter::On);
    EXPECT_EQ(SelectedFlags(session.Magic), (Flags{true, true}));
    EXPECT_EQ(Tickets(session), (Cells{"2", "4"}));
}

// --- what the pass works out once, against the tables it writes ------------------------------------

// What the views and the more statistics would read from the tables themselves, checked against what
// the pass left with the session.
void ExpectFactsOfTheTables(const Session& session, const std::string& name)
{
    SCOPED_TRACE(name);
    const VisibleTableFacts& facts = session.ShownFacts;
    ASSERT_EQ(facts.GridVersion, session.Grid.Version());
    ASSERT_EQ(facts.XGridVersion, session.XGrid.Version());
    const std::vector<TradeValues> values = ReadTradeValues(session.Grid);
    ASSERT_EQ(facts.Values.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        EXPECT_EQ(facts.Values[i].Profit, values[i].Profit) << "row " << row;
        EXPECT_EQ(facts.Values[i].Comm, values[i].Comm) << "row " << row;
        EXPECT_EQ(facts.Values[i].Swap, values[i].Swap) << "row " << row;
        EXPECT_EQ(facts.Values[i].Pips, values[i].Pips) << "row " << row;
        EXPECT_EQ(facts.Marked[i] != 0, session.Grid.Cell(kBalance, row).find('*') != std::string_view::npos)
            << "row " << row;
    }
    for (const auto& [grid, longest] :
         {std::pair(&session.Grid, &facts.GridLongest), std::pair(&session.XGrid, &facts.XGridLongest)})
        for (int column = 0; column < grid->ColumnCount(); ++column) {
            std::string_view first;
            for (int row = 1; row < grid->RowCount(); ++row)
                if (grid->Cell(column, row).size() > first.size())
                    first = grid->Cell(column, row);
            EXPECT_EQ(longest->at(static_cast<std::size_t>(column)), first) << "column " << column;
        }
    // The more statistics of the visible table alone, but for the gains: those earn on the balance of every
    // trade of the table.
    ASSERT_TRUE(session.ShownMore);
    const FigureDigits digits = DigitsOf(session.Report);
    const std::vector<std::string> lines = MoreStatisticsLines(*session.ShownMore, digits);
    ASSERT_GE(session.MoreMemo.size(), lines.size());
    EXPECT_EQ(std::vector<std::string>(session.MoreMemo.end() - static_cast<std::ptrdiff_t>(lines.size()),
                                       session.MoreMemo.end()),
              lines);
    MoreFigures more =
        ComputeMoreStatistics(ClosedTrades(session.Grid, session.XGrid, kXMagic, session.Report), session.Report);
    MoreFigures shown = *session.ShownMore;
    if (session.Grid.RowCount() != session.Full.RowCount()) {
        for (MoreFigures* figures : {&more, &shown}) {
            figures->GainPct = figures->SharpeRatioAnnual = figures->SortinoRatioAnnual = std::nullopt;
            for (MonthFigures& month : figures->Months)
                month.GainPct.reset();
        }
    }
    EXPECT_EQ(MoreStatisticsLines(shown, digits), MoreStatisticsLines(more, digits));
}

TEST(ApplyFilters, LeavesWhatTheTablesHoldWhenALargeTableIsReadInParts)
{
    // Symbols, magic numbers, the longest comments and balances first met in the second half of the rows,
    // others in both halves, the earliest date in the first, and close times out of order across the middle.
    Session session = SessionWith(10000, {});
    const int trades = 30'000;
    session.Full.SetRowCount(trades + 1);
    const char* const early[] = {"eurusd", "gbpusd"};
    const char* const late[] = {"usdjpy", "gbpusd", "audcad"};
    for (int i = 0; i < trades; ++i) {
        const bool second = i >= trades / 2;
        const std::string magic = second ? std::to_string(i % 4 * 111) : i % 2 ? "222" : "";
        test::TradeRow trade{.Ticket = std::to_string(i + 1),
                             .OpenTime = second ? "2024.01.02 10:00" : "2023.06.01 10:00",
                             .Item = second ? late[i % 3] : early[i % 2],
                             .CloseTime = "2024.0" + std::to_string(1 + (second ? i % 5 : 4 - i % 4)) + ".02 12:00",
                             .Profit = test::Pl(std::to_string(second ? i % 13 * 100 : i % 13 - 6) + ".25"),
                             .Magic = MagicCell(magic),
                             .Comment = second && i % 7 == 0 ? "a longer one " + std::to_string(i) : "short"};
        test::WriteTrade(session.Full, i + 1, trade);
        session.Pairs.AddIfAbsent(trade.Item);
        session.Magic.AddIfAbsent(test::MagicKey(trade.Magic));
    }
    session.Pairs.SelectAll();
    session.Magic.SelectAll();
    const auto shown = [&session] {
        std::string text;
        for (const TextGrid* grid : {&session.Grid, &session.XGrid})
            for (int row = 0; row < grid->RowCount(); ++row)
                text += test::RowText(*grid, row) + "\n";
        return text + test::JoinCrLf(session.Memo) + test::JoinCrLf(session.MoreMemo);
    };
    ApplyFilters(session, MagicFilter::On); // fresh tables: written in two parts
    ExpectFactsOfTheTables(session, "every trade");
    const std::string inParts = shown();
    ApplyFilters(session, MagicFilter::On); // written over: in one
    EXPECT_TRUE(shown() == inParts) << "the tables and the summary as written in one part differ";
    SelectOnly(session.Pairs, "gbpusd");
    PairsListChanged(session, MagicFilter::On);
    ExpectFactsOfTheTables(session, "a symbol of both halves");

    // A cell that is not a number in the second half stops the computed columns at its row.
    session.Full.SetCell(kProfit, 20'002, "abc");
    session.Full.SetCell(kBalance, 20'002, "kept");
    session.Pairs.SelectAll();
    ResetGrid(session.Grid); // as a load leaves them: written afresh, in parts
    ResetGrid(session.XGrid);
    try {
        ApplyFilters(session, MagicFilter::Off);
        ADD_FAILURE() << "'abc' was read as a number";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "/reports/march.htm: trade 20002 (ticket 20002), column P/L: 'abc' is not a valid "
                               "floating point value");
    }
    ASSERT_EQ(session.Grid.RowCount(), trades + 1);
    EXPECT_EQ(session.Grid.Cell(kPips, 20'001), "    10");
    EXPECT_EQ(session.Grid.Cell(kBalance, 20'002), "kept");
    EXPECT_EQ(session.Grid.Cell(kPips, 20'003), "");
}

TEST(ApplyFilters, LeavesWhatTheTablesHoldForEveryRealReportAndSelection)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const std::string& dir : {test::SamplesDir(), test::Mt5SamplesDir()}) {
        if (dir.empty())
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string path = entry.path().string();
            if (entry.path().extension() != ".htm" && entry.path().extension() != ".html")
                continue;
            Session session;
            if (LoadAndFilter(session, path, LoadMode::Replace) != LoadOutcome::Loaded || session.Grid.RowCount() < 2)
                continue;
            ExpectFactsOfTheTables(session, path + ", every trade");
            // The first symbol alone, then with the magic list shown, the first magic number alone.
            SelectOnly(session.Pairs, session.Pairs.Text(0));
            PairsListChanged(session, MagicFilter::Off);
            if (session.Grid.RowCount() > 1)
                ExpectFactsOfTheTables(session, path + ", first symbol");
            if (session.Magic.Count() >= 2) {
                SelectOnly(session.Magic, session.Magic.Text(0));
                MagicListChanged(session, MagicFilter::On);
                if (session.Grid.RowCount() > 1)
                    ExpectFactsOfTheTables(session, path + ", first magic number");
            }
        }
    }
}

} // namespace
} // namespace corvane
