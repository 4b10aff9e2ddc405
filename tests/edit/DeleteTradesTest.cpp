#include "edit/DeleteTrades.h"

#include "TradeRows.h"
#include "analysis/Filters.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::Entries;
using test::MagicCell;
using test::SelectedFlags;
using test::TradeRow;

TradeRow Trade(const char* ticket, const char* item, const char* magic = "")
{
    return TradeRow{.Ticket = ticket, .Item = item, .Magic = MagicCell(magic)};
}

// The trades, filtered with every symbol selected except `hidden`.
Session Filtered(std::initializer_list<TradeRow> trades, const char* hidden = "")
{
    Session session = test::SessionWith(10000, trades);
    if (session.Pairs.Find(hidden) >= 0)
        session.Pairs.SetSelected(session.Pairs.Find(hidden), false);
    RebuildMagicList(session);
    ApplyFilters(session, MagicFilterFor(session));
    return session;
}

// Every cell of every row of a grid, for comparing whole tables.
std::string AllCells(const TextGrid& grid)
{
    std::string text;
    for (int row = 0; row < grid.RowCount(); ++row)
        text += test::RowText(grid, row) + "\n";
    return text;
}

TEST(DeleteTrades, TheLastTradeLeftIsNeverDeleted)
{
    Session session = Filtered({Trade("1", "eurusd")});
    EXPECT_EQ(DeleteTrades(session, 1, 1, MagicFilterFor(session)), 0);
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), Cells{"1"});

    session = Filtered({Trade("1", "eurusd"), Trade("2", "eurusd"), Trade("3", "gbpusd")});
    EXPECT_EQ(DeleteTrades(session, 0, 99, MagicFilterFor(session)), 2)
        << "a range beyond the table is clipped to its rows";
    EXPECT_EQ(ColumnCells(session.Full, kTicket), Cells{"3"}) << "the trade of the last row stays";
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), Cells{"3"});
    EXPECT_EQ(Entries(session.Pairs), Cells{"gbpusd"});
}

TEST(DeleteTrades, AHiddenTradeGoesOnlyWhenItSharesTheTicketAndStandsAbove)
{
    Session session =
        Filtered({Trade("7", "gbpusd"), Trade("7", "eurusd"), Trade("8", "eurusd"), Trade("9", "gbpusd")}, "gbpusd");
    ASSERT_EQ(ColumnCells(session.Grid, kTicket), (Cells{"7", "8"}));
    EXPECT_EQ(DeleteTrades(session, 1, 2, MagicFilterFor(session)), 2);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"7", "9"}));
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"eurusd", "gbpusd"})) << "the hidden 7 above went instead";

    session = Filtered({Trade("5", "eurusd", "111"), Trade("5", "eurusd", "222"), Trade("6", "eurusd")});
    DeleteTrades(session, 2, 2, MagicFilterFor(session));
    EXPECT_EQ(ColumnCells(session.Full, kMagic), (Cells{MagicCell("222"), MagicCell("")}))
        << "a shared ticket takes the upper trade whichever row is selected";
}

TEST(DeleteTrades, TheLastTradeOfASymbolTakesItsEntryAndMagicNumbers)
{
    Session session = Filtered({Trade("1", "eurusd", "111"), Trade("2", "gbpusd", "222"), Trade("3", "usdjpy", "333"),
                                Trade("4", "eurusd", "111")},
                               "usdjpy");
    ASSERT_EQ(ColumnCells(session.Grid, kTicket), (Cells{"1", "2", "4"}));
    DeleteTrades(session, 2, 2, MagicFilterFor(session));
    EXPECT_EQ(Entries(session.Pairs), (Cells{"eurusd", "usdjpy"}));
    EXPECT_EQ(SelectedFlags(session.Pairs), (std::vector<bool>{true, false})) << "the others keep their selection";
    EXPECT_EQ(Entries(session.Magic), Cells{"     111"});
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), (Cells{"1", "4"}));

    // The entry keeps the letter case of its first trade; once that trade is gone, "eurusd" does not hold it.
    session = Filtered({Trade("1", "EURUSD"), Trade("2", "eurusd"), Trade("3", "gbpusd")});
    DeleteTrades(session, 1, 1, MagicFilterFor(session));
    EXPECT_EQ(Entries(session.Pairs), Cells{"gbpusd"});
    EXPECT_EQ(ColumnCells(session.Grid, kTicket), Cells{"3"});
}

// --- the linear walk against the row-by-row rules ------------------------------------------------------

// Delete trade as the rules put it: one selected row at a time, moving the rows below up.
void DeleteRowByRow(Session& session, int first, int last)
{
    TextGrid& full = session.Full;
    for (int gridRow = std::max(first, 1); gridRow <= last && gridRow < session.Grid.RowCount(); ++gridRow) {
        if (full.RowCount() <= 2)
            break;
        int found = 1;
        while (found < full.RowCount() && full.Cell(kTicket, found) != session.Grid.Cell(kTicket, gridRow))
            ++found;
        if (found == full.RowCount())
            continue;
        for (int row = found; row < full.RowCount() - 1; ++row)
            for (int column = 0; column < kFullColumns; ++column)
                full.SetCell(column, row, std::string(full.Cell(column, row + 1)));
        full.BlankRow(full.RowCount() - 1);
        full.SetRowCount(full.RowCount() - 1);
        for (int i = 0; i < session.Pairs.Count();) {
            bool present = false;
            for (int row = 1; row < full.RowCount() && !present; ++row)
                present = full.Cell(kItem, row) == session.Pairs.Text(i);
            if (present) {
                ++i;
                continue;
            }
            SelectionList kept;
            for (int j = 0; j < session.Pairs.Count(); ++j)
                if (j != i)
                    kept.SetSelected(kept.Append(session.Pairs.Text(j)), session.Pairs.Selected(j));
            session.Pairs = kept;
            i = 0;
        }
    }
    RebuildMagicList(session);
    ApplyFilters(session, MagicFilterFor(session));
}

TEST(DeleteTrades, GivesTheResultOfDeletingRowByRow)
{
    const char* const tickets[] = {"1", "2", "3", "4", "5", "6"};
    const char* const items[] = {"eurusd", "gbpusd", "EURUSD", "usdjpy"};
    const char* const magics[] = {"", "111", "222"};
    std::mt19937 random(20240312);
    for (int round = 0; round < 300; ++round) {
        Session session;
        session.Report.InitialDeposit = 10000;
        const int trades = 1 + static_cast<int>(random() % 14);
        session.Full.SetRowCount(trades + 1);
        for (int row = 1; row <= trades; ++row) {
            const TradeRow trade = Trade(tickets[random() % 6], items[random() % 4], magics[random() % 3]);
            test::WriteTrade(session.Full, row, trade);
            session.Pairs.AddIfAbsent(trade.Item);
            session.Magic.AddIfAbsent(test::MagicKey(trade.Magic));
        }
        for (int i = 0; i < session.Pairs.Count(); ++i)
            session.Pairs.SetSelected(i, random() % 3 != 0);
        for (int i = 0; i < session.Magic.Count(); ++i)
            session.Magic.SetSelected(i, random() % 3 != 0);
        ApplyFilters(session, MagicFilterFor(session));
        const int rows = session.Grid.RowCount() - 1;
        const int first = rows > 0 ? 1 + static_cast<int>(random() % rows) : 1;
        const int last = first + static_cast<int>(random() % 8);

        Session expected = session;
        DeleteRowByRow(expected, first, last);
        DeleteTrades(session, first, last, MagicFilterFor(session));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(AllCells(session.Full), AllCells(expected.Full));
        ASSERT_EQ(Entries(session.Pairs), Entries(expected.Pairs));
        ASSERT_EQ(SelectedFlags(session.Pairs), SelectedFlags(expected.Pairs));
        ASSERT_EQ(Entries(session.Magic), Entries(expected.Magic));
        ASSERT_EQ(AllCells(session.Grid), AllCells(expected.Grid));
    }
}

} // namespace
} // namespace corvane
