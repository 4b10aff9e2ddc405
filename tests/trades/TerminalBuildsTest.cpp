// Reports as the terminal's builds of 2014 to 2026 write them, next to the older form of the same
// content: the newer forms must read to the same table, the older ones exactly as before.
#include "TestReports.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::Load;
using test::StatementBuilder;
using test::StatementTrade;
using test::TesterBuilder;

std::string MoneyTrade(int number, const std::string& time, const std::string& type, const std::string& order,
                       const std::string& price, const std::string& stopLoss = "0.0000",
                       const std::string& takeProfit = "0.0000")
{
    return test::TesterTradeRow(number, time, type, order, "0.10", price, stopLoss, takeProfit, true);
}

std::string MoneyClose(int number, const std::string& time, const std::string& type, const std::string& order,
                       const std::string& price, const std::string& profit)
{
    return test::TesterCloseRow(number, time, type, order, "0.10", price, profit, "10000.00", true);
}

// The cells a closed trade is judged by, columns 0 to 12: ticket, type, lots, symbol, prices, times and
// money.
std::string TradeCells(const Session& session, int row)
{
    const std::string text = test::RowText(session.Full, row);
    std::size_t end = 0;
    for (int column = 0; column <= kProfit; ++column)
        end = text.find('\t', end) + 1;
    return text.substr(0, end - 1);
}

TEST(TerminalBuilds, HeadsWrittenWithoutTheGeneratorTagAreAcceptedAndOthersRefused)
{
    Session session = Load(StatementBuilder().NewHead().Closed({}).Text());
    EXPECT_EQ(session.Report.GeneratorMark, kGeneratorMark);
    session = Load(TesterBuilder().VersionHead().Text());
    EXPECT_EQ(session.Report.Kind, ReportKind::Tester);

    // A statement title over a tester's version line, a tester title over a statement's style sheet, and
    // a page another program wrote are all refused.
    std::string mixed = TesterBuilder().VersionHead().Text();
    mixed.replace(mixed.find("<title>Strategy Tester"), 22, "<title>Statement: 1");
    std::string testerWithStyle = StatementBuilder().NewHead().Text();
    testerWithStyle.replace(testerWithStyle.find("<title>Statement"), 16, "<title>Strategy Tester");
    std::string exported = StatementBuilder().Closed({}).Text();
    exported.replace(exported.find("MetaQuotes Software Corp."), 25, "Corvane");
    for (const std::string& text : {mixed, testerWithStyle, exported})
        EXPECT_EQ(test::LoadBytes(session, text), LoadOutcome::Refused);
}

TEST(TerminalBuilds, ATaxesColumnNamedInAnotherLanguageIsStillRead)
{
    // The header names the column in the broker's language, so only the row shows it: five money cells.
    std::string text =
        StatementBuilder().Taxes().Closed({.Taxes = "0", .Swap = "-3", .Profit = "967", .Bare = true}).Text();
    text.replace(text.find("<td>Taxes</td>"), 14, "<td>\x90\xc5\x95\xaa</td>");
    const Session session = Load(text);
    EXPECT_EQ(session.Full.Cell(kSwap, 1), "    -3");
    EXPECT_EQ(session.Full.Cell(kProfit, 1), "    967.00");
}

TEST(TerminalBuilds, SubRowsBalanceRowsAndCreditsAreNotTrades)
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

TEST(TerminalBuilds, StatementDepositComesFromTheFirstBalanceRowBeforeTheFirstTrade)
{
    const std::string trade = test::StatementRow({.Ticket = "2"}, false);
    EXPECT_EQ(Load(StatementBuilder()
                       .Line(test::BalanceRow("1", "Demo Initial Amount", "100 000.00"))
                       .Line(trade)
                       .Line(test::BalanceRow("3", "Withdrawal", "-50.00"))
                       .Text())
                  .Report.InitialDeposit,
              100000.0);
    EXPECT_EQ(
        Load(
            StatementBuilder().Line(trade).Line(test::BalanceRow("3", "Deposit: 10352 JPY", "10 352")).Text())
            .Report.InitialDeposit,
        0.0);
    EXPECT_EQ(Load(StatementBuilder()
                       .Line(test::BalanceRow("1", "Demo Initial Amount", "100.00"))
                       .Line(trade)
                       .Deposit("2 500.00")
                       .Text())
                  .Report.InitialDeposit,
              2500.0)
        << "a row titled Deposit wins wherever it stands";
}

TEST(TerminalBuilds, LocalizedStatementSectionsAreRecognised)
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
}

// A buy at 1.1000 closed at 1.1050 for 50.00, in the older plain cells and in the newer money cells.
TEST(TerminalBuilds, TesterMoneyCellsReadAsThePlainCellsDid)
{
    const Session plain =
        Load(TesterBuilder()
                 .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1000", "1.0900",
                                            "1.1050"))
                 .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "t/p", "1", "0.10", "1.1050", "50.00"))
                 .Text());
    EXPECT_EQ(TradeCells(plain, 1), "1\t2024.01.02 10:00\tbuy\t0.10\teurusd\t1.1000\t1.0900\t1.1050\t"
                                    "2024.01.02 12:00\t1.1050\t  0.00\t  0.00\t     50.00");
    const Session money =
        Load(TesterBuilder()
                 .VersionHead()
                 .TerminalHead()
                 .Line(MoneyTrade(1, "2024.01.02 10:00", "buy", "1", "1.1000", "1.0900", "1.1050"))
                 .Line(MoneyClose(2, "2024.01.02 12:00", "t/p", "1", "1.1050", "50.00"))
                 .Text());
    EXPECT_EQ(test::RowText(money.Full, 1), test::RowText(plain.Full, 1));
}

TEST(TerminalBuilds, TerminalHeadsGiveSymbolAndDepositByPlace)
{
    // "Символ" and "Начальный депозит" in windows-1251; the parameters mention a deposit and a sell.
    TesterBuilder localized;
    localized
        .TerminalHead("\xd1\xe8\xec\xe2\xee\xeb",
                      "\xcd\xe0\xf7\xe0\xeb\xfc\xed\xfb\xe9 \xe4\xe5\xef\xee\xe7\xe8\xf2",
                      "MinDeposit=100; AllowSell=true; CloseAll=false; ")
        .Symbol("GBPUSD (Great Britain Pound vs US Dollar)")
        .Deposit("200.00")
        .Line(MoneyTrade(1, "2024.01.02 10:00", "sell", "1", "1.3000"))
        .Line(MoneyClose(2, "2024.01.02 12:00", "close", "1", "1.2990", "10.00"));
    Session session = Load(localized.Text());
    EXPECT_EQ(session.Report.Symbol, "gbpusd");
    EXPECT_EQ(session.Report.InitialDeposit, 200.0);
    EXPECT_EQ(ColumnCells(session.Full, kItem), Cells{"gbpusd"});
    EXPECT_EQ(ColumnCells(session.Full, kProfit), Cells{"     10.00"});

    session = Load(TesterBuilder().TerminalHead().Deposit("5000.00").Text());
    EXPECT_EQ(session.Report.Symbol, "eurusd");
    EXPECT_EQ(session.Report.InitialDeposit, 5000.0);
}

TEST(TerminalBuilds, LimitOrdersWaitAndTheirFillIsTheTrade)
{
    const Session session = Load(TesterBuilder()
                                     .VersionHead()
                                     .TerminalHead()
                                     .Line(MoneyTrade(1, "2024.01.02 10:00", "buy limit", "1", "1.0950"))
                                     .Line(MoneyTrade(2, "2024.01.02 10:00", "sell limit", "2", "1.1100"))
                                     .Line(MoneyTrade(3, "2024.01.02 11:00", "buy", "1", "1.0950"))
                                     .Line(MoneyTrade(4, "2024.01.02 11:30", "expiration", "2", "1.1100"))
                                     .Line(MoneyClose(5, "2024.01.02 12:00", "t/p", "1", "1.1000", "50.00"))
                                     .Text());
    ASSERT_EQ(session.Full.RowCount(), 2);
    EXPECT_EQ(TradeCells(session, 1), "1\t2024.01.02 11:00\tbuy\t0.10\teurusd\t1.0950\t0.0000\t0.0000\t"
                                      "2024.01.02 12:00\t1.1000\t  0.00\t  0.00\t     50.00");
}

TEST(TerminalBuilds, ARolledOverPositionContinuesAsANewTradeOfTheSameSide)
{
    const Session session =
        Load(TesterBuilder()
                 .TerminalHead()
                 .Line(MoneyTrade(1, "2018.01.02 09:00", "sell", "1", "1.3546"))
                 .Line(MoneyClose(2, "2018.01.03 00:00", "swap close", "1", "1.3588", "42.00"))
                 .Line(MoneyTrade(3, "2018.01.03 00:00", "swap open", "4", "1.358891"))
                 .Line(MoneyClose(4, "2018.01.04 10:00", "s/l", "4", "1.3600", "-11.00"))
                 .Line(MoneyTrade(5, "2018.01.05 10:00", "buy", "5", "1.3500"))
                 .Text());
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "4", "5"}));
    EXPECT_EQ(ColumnCells(session.Full, kType), (Cells{"sell", "sell", "buy"}));
    EXPECT_EQ(ColumnCells(session.Full, kOpenPrice), (Cells{"1.3546", "1.358891", "1.3500"}));
    EXPECT_EQ(ColumnCells(session.Full, kCloseTime), (Cells{"2018.01.03 00:00", "2018.01.04 10:00", ""}));
    EXPECT_EQ(ColumnCells(session.Full, kProfit), (Cells{"     42.00", "    -11.00", ""}));
}

} // namespace
} // namespace corvane
