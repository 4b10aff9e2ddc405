// A large body is read in two halves at once. Whatever the lines on either side of the middle, the
// outcome is the one of reading them one after the other: rows, lists, balance rows, layout, the places
// the trade lines report and where the reading leaves the file.
#include "Samples.h"
#include "TestReports.h"
#include "reports/mt4/Mt4Body.h"
#include "reports/mt4/Mt4Report.h"
#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

namespace corvane {
namespace {

using test::StatementBuilder;
using test::StatementTrade;
using test::TesterBuilder;

struct BodyOutcome
{
    std::vector<std::string> Rows; // each row's cells joined by tabs
    std::vector<std::string> Pairs;
    std::vector<std::string> Magic;
    std::vector<std::string> BalanceRows;
    RowLayout Layout = RowLayout::Titled;
    int NextRow = 0;
    std::vector<double> TradeLines; // the reader's fraction at each trade line
    std::string After;              // what the file holds after the body

    bool operator==(const BodyOutcome&) const = default;
};

BodyOutcome ReadBodyOf(const std::string& path, std::size_t halvesFrom)
{
    LineReader reader(path);
    Session session;
    const ReportHead head = ReadReportHead(reader);
    session.Report.Kind = head.Kind;
    session.Report.Layout = head.Layout;
    ReadPreamble(reader, session);
    BodyOutcome outcome;
    outcome.NextRow = ReadBody(
        reader, session, 1, [&] { outcome.TradeLines.push_back(reader.Fraction()); }, halvesFrom);
    for (int row = 0; row < outcome.NextRow; ++row) {
        std::string cells;
        for (int column = 0; column < kFullColumns; ++column)
            cells.append(session.Full.Cell(column, row)).append("\t");
        outcome.Rows.push_back(cells);
    }
    for (int i = 0; i < session.Pairs.Count(); ++i)
        outcome.Pairs.push_back(session.Pairs.Text(i));
    for (int i = 0; i < session.Magic.Count(); ++i)
        outcome.Magic.push_back(session.Magic.Text(i));
    for (const BalanceRow& row : session.Report.BalanceRows)
        outcome.BalanceRows.push_back(row.Time + "|" + std::to_string(row.Amount) + "|" + row.Comment + "|"
                                      + std::to_string(row.Ticket) + (row.Credit ? "|credit" : ""));
    outcome.Layout = session.Report.Layout;
    std::string_view piece;
    while (reader.Next(piece))
        outcome.After.append(piece);
    return outcome;
}

void ExpectSameBothWays(const std::string& path)
{
    const BodyOutcome lineByLine = ReadBodyOf(path, std::numeric_limits<std::size_t>::max());
    const BodyOutcome halves = ReadBodyOf(path, 0);
    EXPECT_EQ(halves.Rows, lineByLine.Rows) << path;
    EXPECT_EQ(halves.Pairs, lineByLine.Pairs) << path;
    EXPECT_EQ(halves.Magic, lineByLine.Magic) << path;
    EXPECT_EQ(halves.BalanceRows, lineByLine.BalanceRows) << path;
    EXPECT_TRUE(halves == lineByLine) << path;
}

StatementTrade Trade(int i)
{
    StatementTrade trade;
    trade.Ticket = std::to_string(5000 + i);
    trade.Symbol = i % 3 ? "eurusd" : "gbpjpy";
    trade.Profit = std::to_string(i % 7 - 3) + ".50";
    trade.Magic = i % 2 ? std::to_string(i % 5) : "";
    trade.Comment = i % 2 ? "c" + std::to_string(i) : "";
    return trade;
}

// Calls `trade` for trades 0 to count - 1, and `line` for the `early` lines among the first trades and
// the `late` lines among the last.
void Around(const test::Cells& early, const test::Cells& late, int count, const std::function<void(int)>& trade,
            const std::function<void(const std::string&)>& line)
{
    for (int i = 0; i < count; ++i) {
        for (const std::string& text : i == 5 ? early : i == count - 5 ? late : test::Cells())
            line(text);
        trade(i);
    }
}

// A statement of 400 trades with `early` lines among the first ones and `late` lines among the last.
std::string StatementAround(const test::Cells& early, const test::Cells& late)
{
    StatementBuilder builder;
    builder.Deposit("1000.00");
    Around(
        early, late, 400, [&](int i) { builder.Closed(Trade(i)); },
        [&](const std::string& text) { builder.Line(text); });
    return builder.Text();
}

std::string TesterAround(const test::Cells& early, const test::Cells& late)
{
    TesterBuilder builder;
    builder.TerminalHead();
    const auto trade = [&](int i) {
        const std::string order = std::to_string(i + 1);
        builder.Line(
            test::TesterTradeRow(2 * i + 1, "2024.01.02 10:00", i % 2 ? "sell" : "buy", order, "0.10", "1.10000"));
        builder.Line(test::TesterCloseRow(2 * i + 2, "2024.01.02 11:00", "close", order, "0.10", "1.10100", "10.00"));
    };
    Around(early, late, 400, trade, [&](const std::string& text) { builder.Line(text); });
    return builder.Text();
}

StatementTrade Process(const std::string& ticket)
{
    return {.Ticket = ticket, .Type = "process", .Magic = "5", .Comment = "filled"};
}

TEST(BodyHalves, EveryArrangementReadsAsLineByLine)
{
    const std::string longLine(3000, 'x');
    const std::string processLate = test::StatementRow(Process("77"), false);
    const std::string tradeOpen = test::TesterTradeRow(1, "2024.01.01 00:00", "buy", "9000", "0.10", "1.2");
    const std::string closeLate = test::TesterCloseRow(2, "2024.01.03 00:00", "t/p", "9000", "0.10", "1.3", "5.00");
    const struct
    {
        const char* Name;
        std::string Report;
    } cases[] = {
        {"plain statement", StatementAround({}, {})},
        {"open trades before the middle", StatementAround({"<tr><td><b>Open Trades:</b></td></tr>"}, {})},
        {"working orders before the middle", StatementAround({"<b>Working Orders:</b>"}, {})},
        {"working orders after the middle", StatementAround({}, {"<b>Working Orders:</b>", "<b>x</b>"})},
        {"a stop order filled after the middle",
         StatementAround({test::PendingOrderLine("sell stop", "77")}, {processLate})},
        {"a stop order registered in both halves",
         StatementAround({test::PendingOrderLine("sell stop", "77")},
                         {test::PendingOrderLine("buy stop", "77"), processLate})},
        {"balance rows, a symbol in other letters, NULs and a long line after the middle",
         StatementAround({test::BalanceRow("3", "Deposit", "50.00")},
                         {test::BalanceRow("4", "x", "-20.00"), test::WithNul("<td>sell</td>", "<td>buy</td>"),
                          longLine, test::StatementRow({.Ticket = "8", .Symbol = "EURUSD"}, false)})},
        {"plain tester report", TesterAround({}, {})},
        {"an order closed after the middle", TesterAround({tradeOpen}, {closeLate})},
        {"a swap close after the middle",
         TesterAround({tradeOpen},
                      {test::TesterCloseRow(2, "2024.01.03 00:00", "swap close", "9000", "0.10", "1.3", "5.00"),
                       test::TesterTradeRow(3, "2024.01.03 00:00", "swap open", "9001", "0.10", "1.3")})},
        {"an order number in both halves", TesterAround({tradeOpen}, {tradeOpen, closeLate})},
    };
    const test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectSameBothWays(dir.Write("report.htm", c.Report));
    }
}

TEST(BodyHalves, EveryRealReportReadsAsLineByLine)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const auto& entry : std::filesystem::directory_iterator(test::SamplesDir())) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".htm" || extension == ".html")
            ExpectSameBothWays(entry.path().string());
    }
}

} // namespace
} // namespace corvane
