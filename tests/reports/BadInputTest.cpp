#include "TestReports.h"
#include "reports/mt4/Mt4Report.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::JoinCrLf;
using test::RowText;
using test::Statement;
using test::StatementBuilder;
using test::StatementRow;
using test::StatementTrade;
using test::WithNul;

const std::string kHead = JoinCrLf(test::HeadLines("    <title>Statement: 1 - Test</title>"));

StatementTrade Trade(const std::string& ticket)
{
    return {.Ticket = ticket, .Magic = "5", .Comment = "note"};
}

struct Loaded
{
    Session session;
    LoadOutcome outcome = LoadOutcome::Refused;
    int tradeLines = 0;
};

Loaded LoadText(const std::string& bytes)
{
    Loaded result;
    result.outcome = test::LoadBytes(result.session, bytes, LoadMode::Replace, [&result] { ++result.tradeLines; });
    return result;
}

// ---- Short, empty, binary and endless files ----------------------------------------------------------

TEST(BadInput, AFileOfJustTheHeadIsLoadedWithoutTrades)
{
    for (const std::string& tail : {std::string(), std::string(50u << 20, 'a')}) {
        const Loaded loaded = LoadText(kHead + tail);
        EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded) << "a line without end of " << tail.size() << " bytes";
        EXPECT_EQ(loaded.session.Full.RowCount(), 1);
        EXPECT_EQ(loaded.tradeLines, 0);
        EXPECT_EQ(loaded.session.Report.Title, "Statement: 1 - Test");
    }
}

// Lines put together at random from the marker texts the reader looks for, in both kinds of report. Whatever
// the reader makes of them, it must end with one well-formed row per trade line.
TEST(BadInput, LinesOfScrambledMarkersGiveWellFormedRows)
{
    const Cells fragments = {"<td>",
                             "</td>",
                             "<td class=mspt>",
                             "<td class=msdate nowrap>",
                             "<td nowrap>",
                             "\">",
                             "\"#",
                             " ",
                             "buy",
                             "sell",
                             "process",
                             "stop",
                             "buy stop",
                             "sell stop",
                             "s/l",
                             "t/p",
                             "close",
                             "Open Trades:",
                             "align=right>",
                             "msdate>",
                             "mspt>",
                             "nowrap>",
                             "</td><td class=msdate",
                             "<td title=\"",
                             "1 234.56",
                             "-0.5",
                             "77",
                             "2024.01.02 10:00",
                             "x",
                             "\"",
                             ">",
                             std::string(1, '\0'),
                             "\r",
                             "cancelled",
                             "e5",
                             "-"};
    for (const unsigned seed : {11u, 12u, 13u, 14u}) {
        std::mt19937 random(seed);
        Cells body;
        for (int line = 0; line < 1500; ++line) {
            std::string text;
            const int parts = std::uniform_int_distribution<int>(0, 40)(random);
            for (int i = 0; i < parts; ++i)
                text += fragments[std::uniform_int_distribution<std::size_t>(0, fragments.size() - 1)(random)];
            body.push_back(text);
        }
        for (const bool tester : {false, true}) {
            Cells lines = test::HeadLines(tester ? "<title>Strategy Tester: Fuzz</title>" : "<title>Statement</title>");
            if (tester)
                lines.push_back(std::string(kSymbolMarker) + "EURUSD (Euro vs US Dollar)</td></tr>");
            lines.insert(lines.end(), body.begin(), body.end());
            const Loaded loaded = LoadText(JoinCrLf(lines));
            SCOPED_TRACE(std::string(tester ? "tester" : "statement") + ", seed " + std::to_string(seed));
            ASSERT_EQ(loaded.outcome, LoadOutcome::Loaded);
            ASSERT_EQ(loaded.session.Full.RowCount(), loaded.tradeLines + 1);
            EXPECT_GT(loaded.tradeLines, 0);
            const TextGrid& full = loaded.session.Full;
            for (int row = 1; row < full.RowCount(); ++row) {
                if (tester) {
                    EXPECT_EQ(full.Cell(kItem, row), "eurusd") << "row " << row;
                    EXPECT_TRUE(full.Cell(kProfit, row).empty() || full.Cell(kProfit, row).size() >= 10)
                        << "row " << row << ": '" << full.Cell(kProfit, row) << "'";
                } else {
                    EXPECT_GE(full.Cell(kProfit, row).size(), 10u) << "row " << row;
                    EXPECT_GE(full.Cell(kComm, row).size(), 6u) << "row " << row;
                    EXPECT_GE(full.Cell(kSwap, row).size(), 6u) << "row " << row;
                    EXPECT_GE(full.Cell(kMagic, row).size(), 12u) << "row " << row;
                }
            }
        }
    }
}

TEST(BadInput, ARowLongerThanAPieceIsReadPieceByPiece)
{
    // The title cell with a long comment fills the first piece, which holds no type and is no trade; the
    // second piece, from the end of the comment to the end of the row, is read as a row without a title.
    StatementTrade trade = Trade("1001");
    trade.Comment = std::string(1500, 'c');
    const Loaded loaded = LoadText(Statement({trade}));
    ASSERT_EQ(loaded.session.Full.RowCount(), 2);
    EXPECT_EQ(RowText(loaded.session.Full, 1), "1001\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t"
                                               "0.00000\t2024.01.02 12:00\t1.10100\t  0.00\t  0.00\t    100.00\t"
                                               "\t\t\t            \t\t\t");
}

// ---- NUL bytes ---------------------------------------------------------------------------------------

TEST(NulBytes, ATradeLineIsSearchedWhole)
{
    StatementTrade trade = Trade("1001");
    trade.Comment = WithNul("a", "b");
    const std::string row = StatementRow(trade, false);
    const Loaded loaded = LoadText(StatementBuilder().Line(WithNul("", row)).Line(row + WithNul("", "")).Text());
    ASSERT_EQ(loaded.session.Full.RowCount(), 3);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(loaded.session.Full.Cell(kTicket, r), "1001") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kComment, r), "a b") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kMagic, r), "           5") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kProfit, r), "    100.00") << "row " << r;
    }
}

TEST(NulBytes, TextsAfterANulStillCountButAWorkingOrdersLineAfterOneDoesNot)
{
    const Loaded loaded = LoadText(StatementBuilder()
                                       .Line(StatementRow(Trade("1"), false) + WithNul("", "cancelled"))
                                       .Line(StatementRow(Trade("2"), false) + WithNul("", "trailing stop"))
                                       .Closed(Trade("3"))
                                       .Line(std::string(300, '\0'))
                                       .Line(WithNul("<tr><td>", "Working Orders:</td></tr>"))
                                       .Closed(Trade("4"))
                                       .Line(WithNul("<tr><td>Working Orders:</td></tr>", ""))
                                       .Closed(Trade("5"))
                                       .Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kTicket), (Cells{"3", "4"}));
}

// ---- Damaged rows ------------------------------------------------------------------------------------

TEST(DamagedRows, AReportCutOffAfterTheCloseTime)
{
    const std::string full = Statement({Trade("1"), Trade("2")});
    const std::string cell = "<td class=msdate nowrap>2024.01.02 12:00</td>";
    const Loaded loaded = LoadText(full.substr(0, full.rfind(cell) + cell.size()));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    ASSERT_EQ(loaded.session.Full.RowCount(), 3);
    EXPECT_EQ(RowText(loaded.session.Full, 2), "2\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t"
                                               "0.00000\t2024.01.02 12:00\t\t      \t      \t      0.00\t"
                                               "\t\t\t           5\tnote\t\t");
}

TEST(DamagedRows, AReportCutOffInsideTheProfitCell)
{
    StatementTrade trade = Trade("1");
    trade.Profit = "1234.56";
    const std::string full = Statement({trade});
    const Loaded loaded = LoadText(full.substr(0, full.find("1234.56") + 4));
    ASSERT_EQ(loaded.session.Full.RowCount(), 2);
    EXPECT_EQ(loaded.session.Full.Cell(kComm, 1), "  0.00");
    EXPECT_EQ(loaded.session.Full.Cell(kSwap, 1), "  0.00");
    EXPECT_EQ(loaded.session.Full.Cell(kProfit, 1), "      0.00");

    const std::string tester =
        test::TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000"))
            .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "close", "1", "0.10", "1.2", "50.00"))
            .Text();
    const Loaded cut = LoadText(tester.substr(0, tester.find("50.00")));
    ASSERT_EQ(cut.session.Full.RowCount(), 2);
    EXPECT_EQ(cut.session.Full.Cell(kCloseTime, 1), "2024.01.02 12:00");
    EXPECT_EQ(cut.session.Full.Cell(kProfit, 1), "      0.00");
}

} // namespace
} // namespace corvane
