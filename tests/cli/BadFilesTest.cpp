// Files a trader may open by mistake, or that arrive damaged. Each goes through the load and the import
// the window runs, onto a session that already holds trades, and through the command-line tool. Each
// ends in the refusal line, a clear message or the rows the reader makes of it; a refused or failed
// load leaves the trades already loaded as they were.
#include "RunTool.h"

#include "GridText.h"
#include "ReportBuilder.h"
#include "TempDir.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "reports/LoadReport.h"
#include "reports/TextImport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace corvane {
namespace {

using test::AllRows;
using test::Cells;
using test::ColumnCells;
using test::RunTool;
using test::Statement;
using test::StatementBuilder;
using test::StatementTrade;

StatementTrade Trade(const std::string& ticket, const std::string& symbol = "eurusd")
{
    return {.Ticket = ticket, .Symbol = symbol, .Magic = "5", .Comment = "note"};
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    return bytes;
}

class BadFiles : public testing::Test
{
protected:
    // The window's load onto a session holding two trades. A refused load must show the refusal line
    // and leave the trades, lists and views as they were.
    Session LoadOnto(const std::string& path, LoadOutcome expected)
    {
        Session session = Loaded();
        const auto full = AllRows(session.Full), grid = AllRows(session.Grid);
        const auto pairs = test::Entries(session.Pairs);
        EXPECT_EQ(LoadAndFilter(session, path, LoadMode::Replace), expected);
        if (expected == LoadOutcome::Refused) {
            EXPECT_EQ(session.Memo, Cells{std::string(kRefusal)});
            EXPECT_EQ(AllRows(session.Full), full);
            EXPECT_EQ(AllRows(session.Grid), grid);
            EXPECT_EQ(test::Entries(session.Pairs), pairs);
            EXPECT_EQ(session.ReportPath, good);
        }
        return session;
    }

    // The window's import onto a session holding two trades, then its filter pass. Returns the
    // message the window would show, or "" when there is none.
    std::string ImportOnto(Session& session, const std::string& path)
    {
        session = Loaded();
        try {
            ImportText(session, path);
            ApplyFilters(session, MagicFilterFor(session));
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    // The tool refuses the report: the refusal line on standard error, exit status 2.
    void ToolRefuses(const std::string& path)
    {
        const test::CliResult result = RunTool({"summary", path});
        EXPECT_EQ(result.Status, kExitRefused);
        EXPECT_EQ(result.Err, std::string(kRefusal) + "\n");
        EXPECT_EQ(result.Out, "");
    }

    Session Loaded()
    {
        Session session;
        EXPECT_EQ(LoadAndFilter(session, good, LoadMode::Replace), LoadOutcome::Loaded);
        return session;
    }

    test::TempDir dir;
    const std::string good = dir.Write("good.htm", Statement({Trade("1"), Trade("2", "gbpusd")}, "1000.00"));
};

TEST_F(BadFiles, EmptyFile)
{
    const std::string path = dir.Write("empty.htm", "");
    LoadOnto(path, LoadOutcome::Refused);
    ToolRefuses(path);

    Session session;
    EXPECT_EQ(ImportOnto(session, path), "");
    EXPECT_EQ(session.Full.RowCount(), 1) << "a file without records leaves the header row only";
    EXPECT_EQ(session.Grid.RowCount(), 1);
    EXPECT_EQ(RunTool({"table", "--import", path}).Out, "");
}

TEST_F(BadFiles, OneByte)
{
    const std::string path = dir.Write("one.htm", "x");
    LoadOnto(path, LoadOutcome::Refused);
    ToolRefuses(path);

    Session session;
    EXPECT_EQ(ImportOnto(session, path), "");
    EXPECT_EQ(ColumnCells(session.Full, kTicket), Cells{"x"});
    EXPECT_EQ(RunTool({"table", "--import", path}).Out, "x" + std::string(19, '\t') + "\n");
}

TEST_F(BadFiles, BinaryFile)
{
    const std::string path = dir.Write("binary.htm", RandomBytes(256 * 1024, 7));
    LoadOnto(path, LoadOutcome::Refused);
    ToolRefuses(path);

    // Import validates nothing: every piece of the file is a record, and the filter pass either reads
    // the numbers or names the first cell that is not one.
    Session session;
    const std::string message = ImportOnto(session, path);
    EXPECT_GT(session.Full.RowCount(), 500);
    EXPECT_EQ(session.Grid.RowCount(), session.Full.RowCount());
    const test::CliResult tool = RunTool({"summary", "--import", path});
    if (message.empty()) {
        EXPECT_EQ(tool.Status, kExitOk);
    } else {
        EXPECT_NE(message.find("is not a valid floating point value"), std::string::npos) << message;
        EXPECT_EQ(tool.Status, kExitError);
        EXPECT_EQ(tool.Err, message + "\n");
    }
}

TEST_F(BadFiles, Utf16WithAByteOrderMark)
{
    // The statement the terminal writes, saved again by an editor as UTF-16: no line of its head holds
    // the generator tag in bytes the reader knows.
    std::string utf16 = "\xff\xfe";
    for (const char c : Statement({Trade("1")}))
        utf16 += std::string{c, '\0'};
    const std::string path = dir.Write("utf16.htm", utf16);
    LoadOnto(path, LoadOutcome::Refused);
    ToolRefuses(path);

    Session session;
    EXPECT_EQ(ImportOnto(session, path), "");
    for (int row = 1; row < session.Full.RowCount(); ++row)
        EXPECT_EQ(session.Full.Cell(kProfit, row), "") << "each record ends at its first NUL";
}

TEST_F(BadFiles, TwoHundredMegabytesWithoutALineEnd)
{
    const std::string path = dir.File("endless.htm");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, 'a');
        for (int i = 0; i < 200; ++i)
            out << block;
    }
    LoadOnto(path, LoadOutcome::Refused);
    ToolRefuses(path);
    // Imported, the file is one record per 1023 bytes, each a trade of no symbol without numbers.
    const test::CliResult tool = RunTool({"summary", "--import", path});
    EXPECT_EQ(tool.Status, kExitOk) << tool.Err;
    EXPECT_NE(tool.Out.find("Total number of trades      205001"), std::string::npos) << tool.Out;
}

TEST_F(BadFiles, ALineOfTenMegabytes)
{
    // A line of 10 MB between two trades (a wrapped comment, a pasted log): read piece by piece, no
    // piece of it is a trade, and the trades around it are read as ever.
    const std::string report = StatementBuilder()
                                   .Deposit("1000.00")
                                   .Closed(Trade("1"))
                                   .Line("<tr><td colspan=13>" + std::string(10 << 20, 'w') + "</td></tr>")
                                   .Closed(Trade("2", "gbpusd"))
                                   .Text();
    const std::string path = dir.Write("long-line.htm", report);
    const Session session = LoadOnto(path, LoadOutcome::Loaded);
    EXPECT_EQ(ColumnCells(session.Full, kTicket), (Cells{"1", "2"}));
    const test::CliResult tool = RunTool({"grid", path});
    EXPECT_EQ(tool.Status, kExitOk);
    EXPECT_EQ(tool.Out, test::RowText(session.Grid, 1) + "\n" + test::RowText(session.Grid, 2) + "\n");

    Session imported;
    const std::string text = dir.Write("long-line.txt", "1\t\tbuy\t1.00\t" + std::string(10 << 20, 'x') + "\r\n");
    EXPECT_EQ(ImportOnto(imported, text), "");
    EXPECT_EQ(imported.Full.RowCount(), 1 + (10 << 20) / 1023 + 1) << "a record per 1023 bytes";
}

TEST_F(BadFiles, NulBytesEverywhere)
{
    std::string interleaved;
    for (const char c : Statement({Trade("1")}))
        interleaved += std::string{c, '\0'};
    for (const std::string& bytes : {std::string(1 << 20, '\0'), interleaved}) {
        const std::string path = dir.Write("nul-bytes.htm", bytes); // "nul.htm" is Windows' null device
        LoadOnto(path, LoadOutcome::Refused);
        ToolRefuses(path);
        Session session;
        EXPECT_EQ(ImportOnto(session, path), "");
        EXPECT_EQ(test::Entries(session.Pairs), Cells{""});
    }
}

// Every cut of the first trade row: the head is whole, so each is a report, and the row is either no
// trade at all or a trade with the cells the reader found; nothing reads beyond the end.
TEST_F(BadFiles, AReportCutAtEveryPointOfItsFirstTradeRow)
{
    const std::string statementRow = test::StatementRow(Trade("1001"), false);
    const std::string testerRow = test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1001", "0.10", "1.10000");
    for (const auto& [report, row] : {std::pair{Statement({Trade("1001")}, "1000.00"), statementRow},
                                      std::pair{test::TesterBuilder().Line(testerRow).Text(), testerRow}}) {
        const std::size_t rowStart = report.find(row);
        ASSERT_NE(rowStart, std::string::npos);
        Session whole;
        ASSERT_EQ(LoadReport(whole, dir.Write("whole.htm", report), LoadMode::Replace), LoadOutcome::Loaded);
        const std::string ticket(whole.Full.Cell(kTicket, 1));
        int trades = 0;
        for (std::size_t cut = rowStart; cut <= report.size(); ++cut) {
            SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + report.substr(rowStart, 40));
            const std::string path = dir.Write("cut.htm", report.substr(0, cut));
            Session session;
            ASSERT_EQ(LoadReport(session, path, LoadMode::Replace), LoadOutcome::Loaded);
            ASSERT_LE(session.Full.RowCount(), 2);
            if (session.Full.RowCount() == 2) {
                ++trades;
                EXPECT_TRUE(ticket.starts_with(session.Full.Cell(kTicket, 1))) << session.Full.Cell(kTicket, 1);
            }
            const test::CliResult tool = RunTool({"summary", path});
            EXPECT_EQ(tool.Status, kExitOk) << tool.Err;
        }
        EXPECT_GT(trades, 0);
    }

    const std::string exported = "1001\t2024.01.02 10:00\tbuy\t1.00\teurusd\t1.10000\t0.00000\t0.00000\t"
                                 "2024.01.02 12:00\t1.10100\t  0.00\t  0.00\t    100.00\t   10\t  10100.00\r\n";
    for (std::size_t cut = 0; cut <= exported.size(); ++cut) {
        const std::string path = dir.Write("cut.txt", exported.substr(0, cut));
        Session session;
        const std::string message = ImportOnto(session, path);
        EXPECT_TRUE(message.empty() || message.find("is not a valid floating point value") != std::string::npos)
            << "cut at " << cut << ": " << message;
        EXPECT_EQ(session.Full.RowCount(), cut == 0 ? 1 : 2) << "cut at " << cut;
    }
}

TEST_F(BadFiles, AThousandSymbolsAndAThousandMagicNumbers)
{
    std::vector<StatementTrade> trades;
    for (int i = 0; i < 1000; ++i) {
        StatementTrade trade = Trade(std::to_string(1000 + i), "sym" + std::to_string(i));
        trade.Magic = std::to_string(70000 + i);
        trades.push_back(trade);
    }
    const std::string path = dir.Write("many.htm", Statement(trades, "1000.00"));
    Session session = LoadOnto(path, LoadOutcome::Loaded);
    EXPECT_EQ(session.Pairs.Count(), 1000);
    EXPECT_EQ(session.Magic.Count(), 1000);
    EXPECT_EQ(session.Grid.RowCount(), 1001);

    const test::CliResult tool = RunTool({"grid", path, "--symbols", "SYM0,sym999", "--magics", "70999"});
    EXPECT_EQ(tool.Status, kExitOk) << tool.Err;
    EXPECT_EQ(tool.Out.substr(0, tool.Out.find('\t')), "1999");
    EXPECT_EQ(std::count(tool.Out.begin(), tool.Out.end(), '\n'), 1);
}

TEST_F(BadFiles, CellsWithMarkupQuotesTabsAndNonAsciiBytes)
{
    StatementTrade odd = Trade("7", "eur<i>\"\tusd\xe9");
    odd.Comment = "a &lt;q&gt;\t\xd0\xf3"; // the terminal writes its title attribute escaped
    const std::string path = dir.Write("odd.htm", Statement({odd, Trade("8")}, "1000.00"));
    const Session session = LoadOnto(path, LoadOutcome::Loaded);
    EXPECT_EQ(ColumnCells(session.Full, kItem), (Cells{"eur<i>\"\tusd\xe9", "eurusd"}));
    EXPECT_EQ(ColumnCells(session.Full, kComment), (Cells{"a &lt;q&gt;\t\xd0\xf3", "note"}));

    // The text export keeps one field per column, so its file reads back into the same trades.
    const std::string text = dir.File("odd.txt");
    ASSERT_EQ(RunTool({"export-txt", path, "-o", text}).Status, kExitOk);
    Session imported;
    EXPECT_EQ(ImportOnto(imported, text), "");
    EXPECT_EQ(ColumnCells(imported.Full, kTicket), (Cells{"7", "8"}));
    EXPECT_EQ(ColumnCells(imported.Full, kProfit), ColumnCells(session.Full, kProfit));
    EXPECT_EQ(ColumnCells(imported.Full, kItem), (Cells{"eur<i>\" usd\xe9", "eurusd"}));
}

TEST_F(BadFiles, NumbersInEveryOddForm)
{
    const std::pair<std::string, std::string> profits[] = {
        {"1 234.56", "   1234.56"}, {"1e3", "   1000.00"}, {"1,5", "      1.00"}, {"", "      0.00"}};
    std::vector<StatementTrade> trades;
    for (const auto& [text, cell] : profits) {
        trades.push_back(Trade(std::to_string(trades.size() + 1)));
        trades.back().Profit = text;
    }
    const std::string path = dir.Write("numbers.htm", Statement(trades, "1 000.00"));
    const Session session = LoadOnto(path, LoadOutcome::Loaded);
    Cells expected;
    for (const auto& profit : profits)
        expected.push_back(profit.second);
    EXPECT_EQ(ColumnCells(session.Full, kProfit), expected);
    EXPECT_EQ(session.Report.InitialDeposit, 1000.0);
    EXPECT_EQ(RunTool({"summary", path}).Status, kExitOk);

    // A money cell that is no finite number stops the figures with a message naming it.
    const std::string huge(400, '9');
    for (const std::string& bad : {std::string("nan"), std::string("inf"), std::string("-inf"), huge, "1" + huge + ".5",
                                   std::string("1,234.56"), std::string("1e999")}) {
        for (const bool commission : {true, false}) {
            SCOPED_TRACE((commission ? "commission " : "profit ") + bad.substr(0, 20));
            StatementTrade trade = Trade("9");
            (commission ? trade.Commission : trade.Profit) = bad;
            const std::string badPath = dir.Write("bad-number.htm", Statement({Trade("1"), trade}, "1000.00"));
            Session loaded = Loaded();
            std::string message;
            try {
                LoadAndFilter(loaded, badPath, LoadMode::Replace);
            } catch (const ConversionError& e) {
                message = e.what();
            }
            const test::CliResult tool = RunTool({"summary", badPath});
            if (!commission && bad == "1,234.56") {
                EXPECT_EQ(message, "") << "the profit is read as far as it is a number";
                continue;
            }
            EXPECT_NE(message.find("is not a valid floating point value"), std::string::npos) << message;
            EXPECT_EQ(tool.Status, kExitError);
            EXPECT_EQ(tool.Err, message + "\n");
            EXPECT_EQ(tool.Out.find("nan"), std::string::npos);
            EXPECT_EQ(tool.Out.find("inf"), std::string::npos);
        }
    }
}

TEST_F(BadFiles, DatesTheCalendarLacks)
{
    std::vector<StatementTrade> trades;
    for (const std::string date : {"2024.13.02 10:00", "2024.01.00 10:00", "2024.01.02 25:00", "0000.01.02 10:00",
                                   "99999.01.02 10:00", "2024.01.02 10:00"}) {
        StatementTrade trade = Trade(std::to_string(trades.size() + 1));
        trade.OpenTime = date;
        trade.CloseTime = date;
        trades.push_back(trade);
    }
    const std::string path = dir.Write("dates.htm", Statement(trades, "1000.00"));
    const Session session = LoadOnto(path, LoadOutcome::Loaded);
    EXPECT_EQ(session.Full.Cell(kOpenTime, 5), "99999.01.02 10:00") << "dates are kept as they stand";
    EXPECT_EQ(session.Grid.RowCount(), 7);
    const test::CliResult summary = RunTool({"summary", path});
    EXPECT_EQ(summary.Status, kExitOk) << summary.Err; // the charts of these dates: CliPicturesTest.cpp
}

TEST_F(BadFiles, AFolder)
{
    const std::string path = dir.Path().string();
    LoadOnto(path, LoadOutcome::Refused);
    const test::CliResult tool = RunTool({"summary", path});
    EXPECT_EQ(tool.Status, kExitError);
    EXPECT_NE(tool.Err.find("it is a directory"), std::string::npos) << tool.Err;

    Session session = Loaded();
    const auto rows = AllRows(session.Full);
    EXPECT_THROW(ImportText(session, path), FileError);
    EXPECT_EQ(AllRows(session.Full), rows) << "an import that cannot read keeps the trades";
}

TEST_F(BadFiles, APathThatVanishesBeforeTheRead)
{
    const std::string path = dir.Write("gone.htm", Statement({Trade("9")}));
    std::filesystem::remove(path);
    LoadOnto(path, LoadOutcome::Refused);
    const test::CliResult tool = RunTool({"summary", path});
    EXPECT_EQ(tool.Status, kExitError);
    EXPECT_NE(tool.Err.find("no such file"), std::string::npos) << tool.Err;

    Session session = Loaded();
    const auto rows = AllRows(session.Full);
    EXPECT_THROW(ImportText(session, path), FileError);
    EXPECT_EQ(AllRows(session.Full), rows);
}

} // namespace
} // namespace corvane
