#include "Cli.h"

#include "LoadReport.h"
#include "ReportBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

struct CliResult
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

CliResult RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    CliResult result;
    result.Status = RunCli(args, out, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

Lines SplitLines(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The cells of one printed row.
Lines Cells(const std::string& line)
{
    Lines cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

// One column of every printed row.
Lines Column(const std::string& output, std::size_t column)
{
    Lines values;
    for (const std::string& line : SplitLines(output)) {
        const Lines cells = Cells(line);
        values.push_back(column < cells.size() ? cells[column] : "<missing>");
    }
    return values;
}

test::StatementTrade Trade(const std::string& ticket, const std::string& symbol, const std::string& magic)
{
    test::StatementTrade trade;
    trade.Ticket = ticket;
    trade.Symbol = symbol;
    trade.Magic = magic;
    return trade;
}

/**
 * Deposit 10000 and two trades:
 *   1001 buy  eurusd 1.10000 -> 1.10100  P/L 100.00                            magic 111 "first"
 *   1002 sell gbpusd 1.25000 -> 1.25200  P/L -150.00  Comm -2.00  Swap -0.40   magic 222
 */
std::string TwoTradeStatement()
{
    test::StatementTrade first = Trade("1001", "eurusd", "111");
    first.Comment = "first";
    test::StatementTrade second = Trade("1002", "gbpusd", "222");
    second.OpenTime = "2024.01.03 09:00";
    second.Type = "sell";
    second.Price = "1.25000";
    second.CloseTime = "2024.01.05 17:00";
    second.ClosePrice = "1.25200";
    second.Commission = "-2.00";
    second.Swap = "-0.40";
    second.Profit = "-150.00";
    return test::StatementBuilder().Deposit("10000.00").Closed(first).Closed(second).Text();
}

class CliOnReports : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, const std::string& bytes) { return m_dir.Write(name, bytes); }

    test::TempDir m_dir;
};

// --- what each command prints ---------------------------------------------------------------------------

TEST_F(CliOnReports, SummaryPrintsHeadingEmptyLineAndFigures)
{
    const std::string path = Write("two.htm", TwoTradeStatement());
    const CliResult result = RunTool({"summary", path});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(result.Err, "");
    const Lines expected = {
        "Statement: 1 - Test, " + path,
        "",
        "Net profit                  -52.40              Initial deposit           10000.00",
        "Gross profit                100.00              Interest earned              -0.40",
        "Gross loss                  150.00              Commission paid               2.00",
        "",
        "Total number of trades           2              Percentage profitable         50.0%",
        "Total number of pips           -10              Average pips per trade          -5",
        "",
        "Number of winning trades         1              Number of losing trades          1",
        "Average winning trade       100.00              Average losing trade        150.00",
        "Average winning pips            10              Average losing pips             20",
        "",
        "Return (   3 days)            -0.5%             Maximum drawdown               1.5%",
    };
    EXPECT_EQ(SplitLines(result.Out), expected);
    EXPECT_EQ(result.Out.back(), '\n');
}

TEST_F(CliOnReports, TablePrintsTwentyCellsOfEveryTrade)
{
    const CliResult result = RunTool({"table", Write("two.htm", TwoTradeStatement())});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    const Lines lines = SplitLines(result.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Cells(lines[0]), (Lines{"1001",
                                      "2024.01.02 10:00",
                                      "buy",
                                      "1.00",
                                      "eurusd",
                                      "1.10000",
                                      "0.00000",
                                      "0.00000",
                                      "2024.01.02 12:00",
                                      "1.10100",
                                      "  0.00",
                                      "  0.00",
                                      "    100.00",
                                      "",
                                      "",
                                      "",
                                      "         111",
                                      "first",
                                      "",
                                      ""}));
    EXPECT_EQ(Cells(lines[1]).size(), 20u);
}

TEST_F(CliOnReports, GridPrintsFifteenCellsWithPipsBalanceAndMarks)
{
    const CliResult result = RunTool({"grid", Write("two.htm", TwoTradeStatement())});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    const Lines lines = SplitLines(result.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Cells(lines[1]), (Lines{"1002", "2024.01.03 09:00", "sell", "1.00", "gbpusd", "1.25000",
                                      "0.00000", "0.00000", "2024.01.05 17:00", "1.25200", " -2.00", " -0.40",
                                      "   -150.00", "   -20", "       9947.60 *"}));
    EXPECT_EQ(Column(result.Out, 14), (Lines{"      10100.00", "       9947.60 *"}));
}

TEST_F(CliOnReports, TesterReportIsReadUnderItsLowerCaseSymbol)
{
    const std::string report =
        test::TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "1.00", "1.10000"))
            .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "close", "1", "1.00", "1.10100", "100.00",
                                       "10100.00"))
            .Text();
    const CliResult result = RunTool({"grid", Write("tester.htm", report)});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    const Lines lines = SplitLines(result.Out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Cells(lines[0]), (Lines{"1", "2024.01.02 10:00", "buy", "1.00", "eurusd", "1.10000", "0.0000",
                                      "0.0000", "2024.01.02 12:00", "1.10100", "  0.00", "  0.00",
                                      "    100.00", "    10", "      10100.00"}));
}

// --- selecting list entries ------------------------------------------------------------------------------

TEST_F(CliOnReports, SymbolsAreMatchedWithLetterCaseIgnored)
{
    const CliResult result = RunTool({"grid", Write("two.htm", TwoTradeStatement()), "--symbols", "GBPUSD"});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(Column(result.Out, 0), (Lines{"1002"}));
    EXPECT_EQ(Column(result.Out, 14), (Lines{"       9847.60 *"}))
        << "the balance runs over the visible trades";
}

TEST_F(CliOnReports, SeveralSymbolsAndMagicsCombine)
{
    const std::string report = test::StatementBuilder()
                                   .Closed(Trade("1", "eurusd", "111"))
                                   .Closed(Trade("2", "gbpusd", "111"))
                                   .Closed(Trade("3", "eurusd", "222"))
                                   .Closed(Trade("4", "usdjpy", "111"))
                                   .Closed(Trade("5", "gbpusd", ""))
                                   .Text();
    const std::string path = Write("five.htm", report);
    EXPECT_EQ(Column(RunTool({"grid", path, "--symbols", "eurusd,gbpusd"}).Out, 0),
              (Lines{"1", "2", "3", "5"}));
    EXPECT_EQ(Column(RunTool({"grid", path, "--magics", "111,0"}).Out, 0), (Lines{"1", "2", "4", "5"}));
    EXPECT_EQ(Column(RunTool({"grid", path, "--symbols", "eurusd,gbpusd", "--magics", "111"}).Out, 0),
              (Lines{"1", "2"}));
}

TEST_F(CliOnReports, EntryNotInTheListIsAnError)
{
    const std::string path = Write("two.htm", TwoTradeStatement());
    CliResult result = RunTool({"summary", path, "--symbols", "xauusd"});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("xauusd"), std::string::npos) << result.Err;

    result = RunTool({"summary", path, "--magics", "333"});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_NE(result.Err.find("333"), std::string::npos) << result.Err;
}

// --- appending loads -------------------------------------------------------------------------------------

TEST_F(CliOnReports, AppendMergesInTicketOrderKeepingTheFirstDepositAndTitle)
{
    const std::string first = Write("first.htm", test::StatementBuilder()
                                                     .Title("Statement: 1 - First")
                                                     .Deposit("1000.00")
                                                     .Closed(Trade("10", "eurusd", ""))
                                                     .Closed(Trade("30", "eurusd", ""))
                                                     .Text());
    const std::string second = Write("second.htm", test::StatementBuilder()
                                                       .Title("Statement: 2 - Second")
                                                       .Deposit("5000.00")
                                                       .Closed(Trade("20", "gbpusd", ""))
                                                       .Closed(Trade("40", "eurusd", ""))
                                                       .Text());
    EXPECT_EQ(Column(RunTool({"table", first, "--append", second}).Out, 0), (Lines{"10", "20", "30", "40"}));

    const Lines summary = SplitLines(RunTool({"summary", first, "--append", second}).Out);
    ASSERT_EQ(summary.size(), 14u);
    EXPECT_EQ(summary[0], "Statement: 1 - First, " + second)
        << "the first title, the path of the last report";
    EXPECT_EQ(summary[2],
              "Net profit                  400.00              Initial deposit            1000.00");
}

TEST_F(CliOnReports, AppendAfterFewerThanTwoTradesLoadsAfresh)
{
    const std::string first =
        Write("one.htm", test::StatementBuilder().Closed(Trade("10", "eurusd", "")).Text());
    const std::string second = Write("two.htm", TwoTradeStatement());
    EXPECT_EQ(Column(RunTool({"table", first, "--append", second}).Out, 0), (Lines{"1001", "1002"}));
}

TEST_F(CliOnReports, AppendOfAnotherKindOfReportChangesNothing)
{
    const std::string statement = Write("two.htm", TwoTradeStatement());
    const std::string tester = Write(
        "tester.htm",
        test::TesterBuilder()
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "7", "1.00", "1.10000"))
            .Line(test::TesterCloseRow(2, "2024.01.02 12:00", "close", "7", "1.00", "1.10100", "100.00"))
            .Text());
    test::StatementTrade untagged = Trade("5", "eurusd", "");
    const std::string withoutTag =
        Write("untagged.htm", test::StatementBuilder().NoGenerator().Closed(untagged).Text());

    const std::string alone = RunTool({"table", statement}).Out;
    const CliResult afterTester = RunTool({"table", statement, "--append", tester});
    EXPECT_EQ(afterTester.Status, kExitOk) << afterTester.Err;
    EXPECT_EQ(afterTester.Out, alone);
    const CliResult afterUntagged = RunTool({"table", statement, "--append", withoutTag});
    EXPECT_EQ(afterUntagged.Status, kExitOk) << afterUntagged.Err;
    EXPECT_EQ(afterUntagged.Out, alone);
}

// --- failures --------------------------------------------------------------------------------------------

TEST_F(CliOnReports, ReportWithoutTheGeneratorTagIsRefused)
{
    const std::string path =
        Write("untagged.htm", test::StatementBuilder().NoGenerator().Closed(Trade("1", "eurusd", "")).Text());
    for (const char* command : {"summary", "table", "grid"}) {
        const CliResult result = RunTool({command, path});
        EXPECT_EQ(result.Status, kExitRefused) << command;
        EXPECT_EQ(result.Err, "Please use forward reports, generated by MetaTrader 4.177+\n") << command;
        EXPECT_EQ(result.Out, "") << command;
    }
}

TEST_F(CliOnReports, MissingFileOrFolderIsAnError)
{
    const std::string missing = m_dir.File("missing.htm");
    CliResult result = RunTool({"summary", missing});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find(missing), std::string::npos) << result.Err;

    result = RunTool({"summary", m_dir.Path().string()});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_NE(result.Err.find(m_dir.Path().string()), std::string::npos) << result.Err;

    const std::string present = Write("two.htm", TwoTradeStatement());
    result = RunTool({"summary", present, "--append", missing});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
}

TEST_F(CliOnReports, CommissionThatIsNotANumberIsAnErrorNamingTheCell)
{
    test::StatementTrade trade = Trade("1", "eurusd", "");
    trade.Commission = "abc";
    const CliResult result =
        RunTool({"summary", Write("abc.htm", test::StatementBuilder().Closed(trade).Text())});
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "'   abc' is not a valid floating point value\n")
        << "the cell holds \"%6s\" of abc";
}

TEST_F(CliOnReports, ThousandsSeparatedCommissionIsANumber)
{
    test::StatementTrade trade = Trade("1", "eurusd", "");
    trade.Commission = "-1 234.56";
    trade.Profit = "2 000.00";
    const CliResult result = RunTool(
        {"summary", Write("jpy.htm", test::StatementBuilder().Deposit("10 000").Closed(trade).Text())});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    const Lines lines = SplitLines(result.Out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], "Net profit                  765.44              Initial deposit           10000.00");
    EXPECT_EQ(lines[4], "Gross loss                    0.00              Commission paid            1234.56");
}

struct UsageCase
{
    const char* name;
    std::vector<std::string> args;
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(CliUsageTest, IsAnErrorPointingToHelp)
{
    const CliResult result = RunTool(GetParam().args);
    EXPECT_EQ(result.Status, kExitError);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("--help"), std::string::npos) << result.Err;
}

INSTANTIATE_TEST_SUITE_P(BadArguments, CliUsageTest,
                         ::testing::Values(UsageCase{"Nothing", {}}, UsageCase{"NoReport", {"summary"}},
                                           UsageCase{"UnknownCommand", {"print", "a.htm"}},
                                           UsageCase{"UnknownOption", {"summary", "a.htm", "--bogus"}},
                                           UsageCase{"OptionWithoutValue", {"summary", "a.htm", "--symbols"}},
                                           UsageCase{"SecondReport", {"summary", "a.htm", "b.htm"}}),
                         [](const ::testing::TestParamInfo<UsageCase>& param) {
                             return std::string(param.param.name);
                         });

// --- help ------------------------------------------------------------------------------------------------

TEST(Cli, HelpDocumentsTheCommands)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--help"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("summary"), std::string::npos);
    EXPECT_NE(out.str().find("--append"), std::string::npos);
}

TEST(Cli, HelpWinsOverEveryOtherArgument)
{
    const CliResult result = RunTool({"summary", "no-such-report.htm", "--bogus", "--help"});
    EXPECT_EQ(result.Status, kExitOk);
    EXPECT_EQ(result.Out.rfind("Usage: corvane4-cli", 0), 0u);
    EXPECT_EQ(result.Err, "");
}

TEST(Cli, HelpQuotesTheRefusalLineWhole)
{
    const CliResult result = RunTool({"--help"});
    EXPECT_NE(result.Out.find("\"" + std::string(kRefusal) + "\""), std::string::npos)
        << "the refusal line should stand between two quotation marks:\n"
        << result.Out;
}

} // namespace
} // namespace corvane
