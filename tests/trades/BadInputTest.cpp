#include "LoadReport.h"

#include "ReportBuilder.h"
#include "TestReports.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::ColumnCells;
using test::CrLfLines;
using test::RowCells;
using test::StatementBuilder;
using test::StatementRow;
using test::StatementTrade;
using test::TempDir;
using test::TesterBuilder;
using test::WithNul;

const std::string kStatementTitle = "    <title>Statement: 1 - Test</title>";

StatementTrade Trade(const std::string& ticket)
{
    StatementTrade trade;
    trade.Ticket = ticket;
    trade.Magic = "5";
    trade.Comment = "note";
    return trade;
}

struct Loaded
{
    Session session;
    LoadOutcome outcome = LoadOutcome::Refused;
    int tradeLines = 0;
};

Loaded LoadText(const std::string& bytes)
{
    const TempDir dir;
    Loaded result;
    result.outcome =
        test::LoadBytes(result.session, dir, bytes, "input.htm", [&result] { ++result.tradeLines; });
    return result;
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    return bytes;
}

// ---- Short, empty and binary files -------------------------------------------------------------------

TEST(BadInput, AFileOfJustTheHeadIsLoadedWithoutTrades)
{
    const Loaded loaded = LoadText(CrLfLines(test::HeadLines(kStatementTitle)));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.session.Full.RowCount(), 1);
    EXPECT_EQ(loaded.session.Report.Title, "Statement: 1 - Test");
}

TEST(BadInput, RandomBytesAreRefused)
{
    const Loaded loaded = LoadText(RandomBytes(256 * 1024, 1234));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Refused);
    EXPECT_EQ(loaded.session.Memo, std::vector<std::string>{std::string(kRefusal)});
    EXPECT_EQ(loaded.session.Full.RowCount(), 2);
}

TEST(BadInput, RandomBytesAfterAGoodHeadGiveOneRowPerTradeLine)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        const Loaded loaded =
            LoadText(CrLfLines(test::HeadLines(kStatementTitle)) + RandomBytes(1 << 20, seed));
        EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded) << "seed " << seed;
        EXPECT_EQ(loaded.session.Full.RowCount(), loaded.tradeLines + 1) << "seed " << seed;
        EXPECT_EQ(RowCells(loaded.session.Full, 0), std::vector<std::string>(kFullColumns))
            << "seed " << seed;
    }
}

// Lines put together at random from the marker texts the reader looks for, in both kinds of report. Whatever
// the reader makes of them, it must end with one well-formed row per trade line.
TEST(BadInput, LinesOfScrambledMarkersGiveWellFormedRows)
{
    const std::vector<std::string> fragments = {"<td>",
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
        std::vector<std::string> body;
        for (int line = 0; line < 1500; ++line) {
            std::string text;
            const int parts = std::uniform_int_distribution<int>(0, 40)(random);
            for (int i = 0; i < parts; ++i)
                text +=
                    fragments[std::uniform_int_distribution<std::size_t>(0, fragments.size() - 1)(random)];
            body.push_back(text);
        }
        for (const bool tester : {false, true}) {
            std::vector<std::string> lines =
                test::HeadLines(tester ? "<title>Strategy Tester: Fuzz</title>" : kStatementTitle);
            if (tester) lines.push_back(std::string(kSymbolMarker) + "EURUSD (Euro vs US Dollar)</td></tr>");
            lines.insert(lines.end(), body.begin(), body.end());
            const Loaded loaded = LoadText(CrLfLines(lines));
            const std::string where =
                std::string(tester ? "tester" : "statement") + ", seed " + std::to_string(seed);
            ASSERT_EQ(loaded.outcome, LoadOutcome::Loaded) << where;
            ASSERT_EQ(loaded.session.Full.RowCount(), loaded.tradeLines + 1) << where;
            EXPECT_GT(loaded.tradeLines, 0) << where;
            for (int row = 1; row < loaded.session.Full.RowCount(); ++row) {
                const TextGrid& full = loaded.session.Full;
                if (tester) {
                    EXPECT_EQ(full.Cell(kItem, row), "eurusd") << where << ", row " << row;
                    EXPECT_TRUE(full.Cell(kProfit, row).empty() || full.Cell(kProfit, row).size() >= 10)
                        << where << ", row " << row << ": '" << full.Cell(kProfit, row) << "'";
                } else {
                    EXPECT_GE(full.Cell(kProfit, row).size(), 10u) << where << ", row " << row;
                    EXPECT_GE(full.Cell(kComm, row).size(), 6u) << where << ", row " << row;
                    EXPECT_GE(full.Cell(kSwap, row).size(), 6u) << where << ", row " << row;
                    EXPECT_GE(full.Cell(kMagic, row).size(), 12u) << where << ", row " << row;
                }
            }
        }
    }
}

// ---- Lines without end -------------------------------------------------------------------------------

TEST(BadInput, FiftyMegabytesWithoutALineEndAreRefused)
{
    const Loaded loaded = LoadText(std::string(50u << 20, 'a'));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Refused);
}

TEST(BadInput, FiftyMegabytesWithoutALineEndAfterAGoodHeadAreReadThrough)
{
    std::string bytes = CrLfLines(test::HeadLines(kStatementTitle));
    bytes.append(50u << 20, 'a');
    const Loaded loaded = LoadText(bytes);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.session.Full.RowCount(), 1);
    EXPECT_EQ(loaded.tradeLines, 0);
}

TEST(BadInput, ARowLongerThanAPieceIsReadPieceByPiece)
{
    // The title cell with a long comment fills the first piece, which holds no type and is no trade; the
    // second piece, from the end of the comment to the end of the row, is read as a row without a title.
    StatementTrade trade = Trade("1001");
    trade.Comment = std::string(1500, 'c');
    const Loaded loaded = LoadText(StatementBuilder().Closed(trade).Text());
    ASSERT_EQ(loaded.session.Full.RowCount(), 2);
    EXPECT_EQ(loaded.session.Full.Cell(kTicket, 1), "1001");
    EXPECT_EQ(loaded.session.Full.Cell(kType, 1), "buy");
    EXPECT_EQ(loaded.session.Full.Cell(kMagic, 1), std::string(12, ' '));
    EXPECT_EQ(loaded.session.Full.Cell(kComment, 1), "");
    EXPECT_EQ(loaded.session.Full.Cell(kProfit, 1), "    100.00");
}

// ---- NUL bytes ---------------------------------------------------------------------------------------

TEST(NulBytes, ATradeLineIsSearchedWhole)
{
    StatementTrade trade = Trade("1001");
    trade.Comment = WithNul("a", "b");
    const std::string row = StatementRow(trade, false);
    const Loaded loaded =
        LoadText(StatementBuilder().Line(WithNul("", row)).Line(row + WithNul("", "")).Text());
    ASSERT_EQ(loaded.session.Full.RowCount(), 3);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(loaded.session.Full.Cell(kTicket, r), "1001") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kComment, r), "a b") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kMagic, r), "           5") << "row " << r;
        EXPECT_EQ(loaded.session.Full.Cell(kProfit, r), "    100.00") << "row " << r;
    }
}

TEST(NulBytes, ATextAfterANulStillSkipsTheLine)
{
    const Loaded loaded = LoadText(StatementBuilder()
                                       .Line(StatementRow(Trade("1"), false) + WithNul("", "cancelled"))
                                       .Line(StatementRow(Trade("2"), false) + WithNul("", "trailing stop"))
                                       .Closed(Trade("3"))
                                       .Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kTicket), std::vector<std::string>{"3"});
}

TEST(NulBytes, WorkingOrdersAfterANulDoesNotEndTheReport)
{
    const Loaded loaded = LoadText(StatementBuilder()
                                       .Closed(Trade("1"))
                                       .Line(WithNul("<tr><td>", "Working Orders:</td></tr>"))
                                       .Closed(Trade("2"))
                                       .Line(WithNul("<tr><td>Working Orders:</td></tr>", ""))
                                       .Closed(Trade("3"))
                                       .Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kTicket), (std::vector<std::string>{"1", "2"}));
}

TEST(NulBytes, ALineOfNulBytesIsNoTrade)
{
    const Loaded loaded = LoadText(
        StatementBuilder().Closed(Trade("1")).Line(std::string(300, '\0')).Closed(Trade("2")).Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kTicket), (std::vector<std::string>{"1", "2"}));
}

// ---- Damaged rows ------------------------------------------------------------------------------------

TEST(DamagedRows, AReportCutOffAfterTheCloseTime)
{
    const std::string full = StatementBuilder().Closed(Trade("1")).Closed(Trade("2")).Text();
    const std::string cell = "<td class=msdate nowrap>2024.01.02 12:00</td>";
    const std::size_t cut = full.rfind(cell) + cell.size();
    const Loaded loaded = LoadText(full.substr(0, cut));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    ASSERT_EQ(loaded.session.Full.RowCount(), 3);
    EXPECT_EQ(RowCells(loaded.session.Full, 2), (std::vector<std::string>{"2",
                                                                          "2024.01.02 10:00",
                                                                          "buy",
                                                                          "1.00",
                                                                          "eurusd",
                                                                          "1.10000",
                                                                          "0.00000",
                                                                          "0.00000",
                                                                          "2024.01.02 12:00",
                                                                          "",
                                                                          "      ",
                                                                          "      ",
                                                                          "      0.00",
                                                                          "",
                                                                          "",
                                                                          "",
                                                                          "           5",
                                                                          "note",
                                                                          "",
                                                                          ""}));
}

TEST(DamagedRows, AReportCutOffInsideTheProfitCell)
{
    StatementTrade trade = Trade("1");
    trade.Profit = "1234.56";
    const std::string full = StatementBuilder().Closed(trade).Text();
    const Loaded loaded = LoadText(full.substr(0, full.find("1234.56") + 4));
    ASSERT_EQ(loaded.session.Full.RowCount(), 2);
    EXPECT_EQ(loaded.session.Full.Cell(kComm, 1), "  0.00");
    EXPECT_EQ(loaded.session.Full.Cell(kSwap, 1), "  0.00");
    EXPECT_EQ(loaded.session.Full.Cell(kProfit, 1), "      0.00");
}

TEST(DamagedRows, AProfitCellWithoutANumberIsZeroWhateverCameBefore)
{
    StatementTrade first = Trade("1");
    first.Profit = "n/a";
    StatementTrade second = Trade("2");
    second.Profit = "100";
    StatementTrade third = Trade("3");
    third.Profit = "abc";
    StatementTrade fourth = Trade("4");
    fourth.Profit = "&nbsp;";
    const Loaded loaded =
        LoadText(StatementBuilder().Closed(first).Closed(second).Closed(third).Closed(fourth).Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kProfit),
              (std::vector<std::string>{"      0.00", "    100.00", "      0.00", "      0.00"}));
}

TEST(DamagedRows, DatesTheCalendarLacksAreStoredAsTheyStand)
{
    StatementTrade trade = Trade("1");
    trade.OpenTime = "2023.02.30 25:61";
    trade.CloseTime = "2023.13.45 99:99";
    StatementTrade words = Trade("2");
    words.OpenTime = "yesterday";
    words.CloseTime = "";
    const Loaded loaded = LoadText(StatementBuilder().Closed(trade).Closed(words).Text());
    EXPECT_EQ(ColumnCells(loaded.session.Full, kOpenTime),
              (std::vector<std::string>{"2023.02.30 25:61", "yesterday"}));
    EXPECT_EQ(ColumnCells(loaded.session.Full, kCloseTime),
              (std::vector<std::string>{"2023.13.45 99:99", ""}));
    EXPECT_EQ(ColumnCells(loaded.session.Full, kProfit),
              (std::vector<std::string>{"    100.00", "    100.00"}));
}

TEST(DamagedRows, ATesterReportCutOffInsideAClosingLine)
{
    const std::string full =
        TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000"))
            .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "close", "1", "0.10", "1.2", "50.00"))
            .Text();
    const Loaded loaded = LoadText(full.substr(0, full.find("50.00")));
    ASSERT_EQ(loaded.session.Full.RowCount(), 2);
    EXPECT_EQ(loaded.session.Full.Cell(kCloseTime, 1), "2024.01.02 12:00");
    EXPECT_EQ(loaded.session.Full.Cell(kProfit, 1), "      0.00");
}

} // namespace
} // namespace corvane
