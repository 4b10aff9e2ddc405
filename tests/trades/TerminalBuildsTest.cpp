// Reports as the terminal's builds of 2014 to 2026 write them, next to the older form of the same
// content: the newer forms must read to the same table, the older ones exactly as before.
#include "LoadReport.h"
#include "ReportBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::StatementBuilder;
using test::StatementTrade;
using test::TesterBuilder;

class TerminalBuildsTest : public ::testing::Test
{
protected:
    LoadOutcome Load(const std::string& text)
    {
        return LoadReport(m_session, m_dir.Write("report.htm", text));
    }

    std::string Cell(int column, int row) const { return std::string(m_session.Full.Cell(column, row)); }
    int Trades() const { return m_session.Full.RowCount() - 1; }

    // The cells a closed trade is judged by: ticket, type, lots, symbol, prices, times and money.
    std::vector<std::string> Row(int row) const
    {
        std::vector<std::string> cells;
        for (int column = 0; column <= kProfit; ++column)
            cells.push_back(Cell(column, row));
        return cells;
    }

    Session m_session;
    test::TempDir m_dir;
};

StatementTrade Trade(std::string ticket, std::string type, std::string profit)
{
    StatementTrade trade;
    trade.Ticket = std::move(ticket);
    trade.Type = std::move(type);
    trade.Profit = std::move(profit);
    trade.Commission = "-1.00";
    trade.Swap = "-0.50";
    return trade;
}

TEST_F(TerminalBuildsTest, HeadsWrittenWithoutTheGeneratorTagAreAccepted)
{
    EXPECT_EQ(Load(StatementBuilder().NewHead().Closed(Trade("1", "buy", "10.00")).Text()), LoadOutcome::Loaded);
    EXPECT_EQ(m_session.Report.GeneratorMark, kGeneratorMark);
    EXPECT_EQ(Load(TesterBuilder()
                       .VersionHead()
                       .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000"))
                       .Text()),
              LoadOutcome::Loaded);
    EXPECT_EQ(m_session.Report.Kind, ReportKind::Tester);
}

TEST_F(TerminalBuildsTest, OtherHeadsAreStillRefused)
{
    // A statement title over a tester's version line, a tester title over a statement's style
    // sheet, and a page another program wrote are all refused.
    std::string mixed = TesterBuilder().VersionHead().Text();
    mixed.replace(mixed.find("<title>Strategy Tester"), 22, "<title>Statement: 1");
    EXPECT_EQ(Load(mixed), LoadOutcome::Refused);
    std::string testerWithStyle = StatementBuilder().NewHead().Text();
    testerWithStyle.replace(testerWithStyle.find("<title>Statement"), 16, "<title>Strategy Tester");
    EXPECT_EQ(Load(testerWithStyle), LoadOutcome::Refused);
    std::string exported = StatementBuilder().Closed(Trade("1", "buy", "10.00")).Text();
    exported.replace(exported.find("MetaQuotes Software Corp."), 25, "Corvane");
    EXPECT_EQ(Load(exported), LoadOutcome::Refused);
    EXPECT_EQ(m_session.Memo, std::vector<std::string>{std::string(kRefusal)});
}

TEST_F(TerminalBuildsTest, BareRowsOfATaxesStatementReadTheirOwnCells)
{
    StatementTrade bare = Trade("7", "sell", "-1 234.00");
    bare.Bare = true;
    bare.Taxes = "9.99";
    StatementTrade titled = Trade("8", "buy", "5.00");
    titled.Magic = "42";
    titled.Comment = "grid";
    ASSERT_EQ(Load(StatementBuilder().Taxes().Closed(bare).Closed(titled).Text()), LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 2);
    const std::vector<std::string> expected = {"7", "2024.01.02 10:00", "sell", "1.00", "eurusd", "1.10000", "0.00000",
                                               "0.00000", "2024.01.02 12:00", "1.10100", " -1.00", " -0.50",
                                               "  -1234.00"};
    EXPECT_EQ(Row(1), expected);
    EXPECT_EQ(Cell(kMagic, 1), "            ");
    EXPECT_EQ(Cell(kTicket, 2), "8");
    EXPECT_EQ(Cell(kMagic, 2), "          42");
    EXPECT_EQ(Cell(kComment, 2), "grid");
    EXPECT_EQ(m_session.Pairs.Count(), 1);
}

TEST_F(TerminalBuildsTest, BareRowsWithoutTaxesReadAsBefore)
{
    StatementTrade bare = Trade("7", "sell", "-1 234.00");
    bare.Bare = true;
    ASSERT_EQ(Load(StatementBuilder().Closed(bare).Text()), LoadOutcome::Loaded);
    const std::vector<std::string> expected = {"7", "2024.01.02 10:00", "sell", "1.00", "eurusd", "1.10000", "0.00000",
                                               "0.00000", "2024.01.02 12:00", "1.10100", " -1.00", " -0.50",
                                               "  -1234.00"};
    EXPECT_EQ(Row(1), expected);
    EXPECT_EQ(m_session.Report.Layout, RowLayout::Bare);
}

TEST_F(TerminalBuildsTest, ATaxesColumnNamedInAnotherLanguageIsStillRead)
{
    // The header names the column in the broker's language, so only the row shows it: five money cells.
    StatementTrade bare = Trade("7", "buy", "967");
    bare.Bare = true;
    bare.Taxes = "0";
    bare.Swap = "-3";
    std::string text = StatementBuilder().Taxes().Closed(bare).Text();
    text.replace(text.find("<td>Taxes</td>"), 14, "<td>\x90\xc5\x95\xaa</td>");
    ASSERT_EQ(Load(text), LoadOutcome::Loaded);
    EXPECT_EQ(Cell(kSwap, 1), "    -3");
    EXPECT_EQ(Cell(kProfit, 1), "    967.00");
}

TEST_F(TerminalBuildsTest, MagicSubRowsAreNotTrades)
{
    StatementTrade trade = Trade("11", "buy", "3.00");
    trade.Magic = "20171016";
    trade.Comment = "sell later";
    ASSERT_EQ(Load(StatementBuilder()
                       .NewHead()
                       .Taxes()
                       .Closed(trade)
                       .Line(test::MagicSubRow("20171016", "sell later"))
                       .Closed(Trade("12", "sell", "-1.00"))
                       .Line(test::MagicSubRow("&nbsp;", "&nbsp;"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 2);
    EXPECT_EQ(Cell(kTicket, 1), "11");
    EXPECT_EQ(Cell(kComment, 1), "sell later");
    EXPECT_EQ(Cell(kTicket, 2), "12");
}

TEST_F(TerminalBuildsTest, RowsThatNameNoPositionAreNotTrades)
{
    StatementTrade deleted = Trade("5", "buy limit", "0.00");
    deleted.Title = "deleted";
    ASSERT_EQ(Load(StatementBuilder()
                       .Taxes()
                       .Line(test::BalanceRow("1", "bonus for a buy", "100.00"))
                       .Line("<tr align=right><td>2</td><td nowrap>2024.01.01 00:00</td><td>credit</td>"
                             "<td colspan=10 align=left>sell-off credit</td><td class=mspt>50.00</td></tr>")
                       .Closed(deleted)
                       .Closed(Trade("6", "sell", "1.00"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 1);
    EXPECT_EQ(Cell(kTicket, 1), "6");
}

TEST_F(TerminalBuildsTest, StatementDepositComesFromTheFirstBalanceRowBeforeTheFirstTrade)
{
    Load(StatementBuilder()
             .Line(test::BalanceRow("1", "Demo Initial Amount", "100 000.00"))
             .Closed(Trade("2", "buy", "1.00"))
             .Line(test::BalanceRow("3", "Withdrawal", "-50.00"))
             .Text());
    EXPECT_EQ(m_session.Report.InitialDeposit, 100000.0);

    Load(StatementBuilder()
             .Closed(Trade("2", "buy", "1.00"))
             .Line(test::BalanceRow("3", "Deposit: 10352 JPY", "10 352"))
             .Text());
    EXPECT_EQ(m_session.Report.InitialDeposit, 0.0);

    Load(StatementBuilder()
             .Line(test::BalanceRow("1", "Demo Initial Amount", "100.00"))
             .Closed(Trade("2", "buy", "1.00"))
             .Deposit("2 500.00")
             .Text());
    EXPECT_EQ(m_session.Report.InitialDeposit, 2500.0) << "a row titled Deposit wins wherever it stands";
}

TEST_F(TerminalBuildsTest, LocalizedStatementSectionsAreRecognised)
{
    const std::string openTrades = "<tr align=left><td colspan=14><b>"
                                   "\x83\x49\x81\x5b\x83\x76\x83\x93\x83\x7c\x83\x57\x83\x56\x83\x87\x83\x93\x8f\xee\x95\xf1:"
                                   "</b></td></tr>";
    const std::string workingOrders = "<tr align=left><td colspan=14><b>\x92\x8d\x95\xb6\x8f\xee\x95\xf1:</b></td></tr>";
    ASSERT_EQ(Load(StatementBuilder()
                       .Closed(Trade("1", "buy", "1.00"))
                       .Line(openTrades)
                       .Closed(Trade("2", "sell", "2.00"))
                       .Line(workingOrders)
                       .Closed(Trade("3", "buy", "3.00"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 2);
    EXPECT_EQ(Cell(kCloseTime, 1), "2024.01.02 12:00");
    EXPECT_EQ(Cell(kCloseTime, 2), "");
}

// A buy at 1.1000 closed at 1.1050 for 50.00, in the older plain cells and in the newer money cells.
TEST_F(TerminalBuildsTest, TesterMoneyCellsReadAsThePlainCellsDid)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000", "1.0900", "1.1050"))
                       .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.1050", "50.00"))
                       .Text()),
              LoadOutcome::Loaded);
    const std::vector<std::string> plain = Row(1);

    ASSERT_EQ(Load(TesterBuilder()
                       .VersionHead()
                       .TerminalHead()
                       .Line(test::TesterMoneyTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000", "1.0900",
                                                       "1.1050"))
                       .Line(test::TesterMoneyCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.1050", "50.00"))
                       .Text()),
              LoadOutcome::Loaded);
    EXPECT_EQ(Row(1), plain);
    const std::vector<std::string> expected = {"1", "2024.01.02 10:00", "buy", "0.10", "eurusd", "1.1000", "1.0900",
                                               "1.1050", "2024.01.02 12:00", "1.1050", "  0.00", "  0.00",
                                               "     50.00"};
    EXPECT_EQ(plain, expected);
}

TEST_F(TerminalBuildsTest, LocalizedTesterHeadGivesSymbolAndDepositByPlace)
{
    // "Символ" and "Начальный депозит" in windows-1251; the parameters mention a deposit and a sell.
    TesterBuilder report;
    report.TerminalHead("\xd1\xe8\xec\xe2\xee\xeb", "\xcd\xe0\xf7\xe0\xeb\xfc\xed\xfb\xe9 \xe4\xe5\xef\xee\xe7\xe8\xf2",
                        "MinDeposit=100; AllowSell=true; CloseAll=false; ")
        .Symbol("GBPUSD (Great Britain Pound vs US Dollar)")
        .Deposit("200.00")
        .Line(test::TesterMoneyTradeRow(1, "2024.01.02 10:00", "sell", "1", "0.10", "1.3000"))
        .Line(test::TesterMoneyCloseRow(2, "2024.01.02 12:00", "close", "1", "0.10", "1.2990", "10.00"));
    ASSERT_EQ(Load(report.Text()), LoadOutcome::Loaded);
    EXPECT_EQ(m_session.Report.Symbol, "gbpusd");
    EXPECT_EQ(m_session.Report.InitialDeposit, 200.0);
    ASSERT_EQ(Trades(), 1);
    EXPECT_EQ(Cell(kItem, 1), "gbpusd");
    EXPECT_EQ(Cell(kProfit, 1), "     10.00");
}

TEST_F(TerminalBuildsTest, EnglishTerminalHeadReadsAsTheWordsSay)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .TerminalHead()
                       .Deposit("5000.00")
                       .Line(test::TesterMoneyTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000"))
                       .Text()),
              LoadOutcome::Loaded);
    EXPECT_EQ(m_session.Report.Symbol, "eurusd");
    EXPECT_EQ(m_session.Report.InitialDeposit, 5000.0);
}

TEST_F(TerminalBuildsTest, LimitOrdersWaitAndTheirFillIsTheTrade)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .VersionHead()
                       .TerminalHead()
                       .Line(test::TesterMoneyTradeRow(1, "2024.01.02 10:00", "buy limit", "1", "0.10", "1.0950"))
                       .Line(test::TesterMoneyTradeRow(2, "2024.01.02 10:00", "sell limit", "2", "0.10", "1.1100"))
                       .Line(test::TesterMoneyTradeRow(3, "2024.01.02 11:00", "buy", "1", "0.10", "1.0950"))
                       .Line(test::TesterMoneyTradeRow(4, "2024.01.02 11:30", "expiration", "2", "0.10", "1.1100"))
                       .Line(test::TesterMoneyCloseRow(5, "2024.01.02 12:00", "t/p", "1", "0.10", "1.1000", "50.00"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 1);
    EXPECT_EQ(Cell(kTicket, 1), "1");
    EXPECT_EQ(Cell(kType, 1), "buy");
    EXPECT_EQ(Cell(kOpenTime, 1), "2024.01.02 11:00");
    EXPECT_EQ(Cell(kProfit, 1), "     50.00");
}

TEST_F(TerminalBuildsTest, ARolledOverPositionContinuesAsANewTradeOfTheSameSide)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .TerminalHead()
                       .Line(test::TesterMoneyTradeRow(1, "2018.01.02 09:00", "sell", "1", "0.10", "1.3546"))
                       .Line(test::TesterMoneyCloseRow(2, "2018.01.03 00:00", "swap close", "1", "0.10", "1.3588", "42.00"))
                       .Line(test::TesterMoneyTradeRow(3, "2018.01.03 00:00", "swap open", "4", "0.10", "1.358891"))
                       .Line(test::TesterMoneyCloseRow(4, "2018.01.04 10:00", "s/l", "4", "0.10", "1.3600", "-11.00"))
                       .Line(test::TesterMoneyTradeRow(5, "2018.01.05 10:00", "buy", "5", "0.10", "1.3500"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 3);
    EXPECT_EQ(Cell(kProfit, 1), "     42.00");
    EXPECT_EQ(Cell(kTicket, 2), "4");
    EXPECT_EQ(Cell(kType, 2), "sell");
    EXPECT_EQ(Cell(kOpenPrice, 2), "1.358891");
    EXPECT_EQ(Cell(kCloseTime, 2), "2018.01.04 10:00");
    EXPECT_EQ(Cell(kProfit, 2), "    -11.00");
    EXPECT_EQ(Cell(kCloseTime, 3), "");
}

TEST_F(TerminalBuildsTest, OrderNumbersMatchAsTextNotAsValues)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "7", "0.10", "1.1000"))
                       .Line(test::TesterTradeRow(2, "2024.01.02 10:05", "sell", "07", "0.10", "1.1000"))
                       .Line(test::TesterTradeRow(3, "2024.01.02 10:10", "buy", "A7", "0.10", "1.1000"))
                       .Line(test::TesterCloseRow(4, "2024.01.02 11:00", "close", "07", "0.10", "1.1010", "-1.00"))
                       .Line(test::TesterCloseRow(5, "2024.01.02 12:00", "close", "A7", "0.10", "1.1020", "2.00"))
                       .Line(test::TesterCloseRow(6, "2024.01.02 13:00", "close", "7", "0.10", "1.1030", "3.00"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 3);
    EXPECT_EQ(Cell(kProfit, 1), "      3.00");
    EXPECT_EQ(Cell(kProfit, 2), "     -1.00");
    EXPECT_EQ(Cell(kProfit, 3), "      2.00");
}

TEST_F(TerminalBuildsTest, TheCloseOfAnOrderNeverOpenedLandsNowhere)
{
    ASSERT_EQ(Load(TesterBuilder()
                       .Line(test::TesterCloseRow(1, "2024.01.02 09:00", "s/l", "99", "0.10", "1.0900", "-10.00"))
                       .Line(test::TesterTradeRow(2, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000"))
                       .Text()),
              LoadOutcome::Loaded);
    ASSERT_EQ(Trades(), 1);
    EXPECT_EQ(Cell(kTicket, 1), "1");
    for (const int column : {kCloseTime, kClosePrice, kComm, kSwap, kProfit})
        EXPECT_EQ(Cell(column, 1), "") << "column " << column;
}

} // namespace
} // namespace corvane
