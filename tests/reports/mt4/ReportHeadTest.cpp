#include "reports/mt4/Mt4Report.h"

#include "text/LineReader.h"

#include "TestReports.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Cells;
using test::HeadLines;
using test::JoinCrLf;
using test::kGeneratorLine;
using test::StatementBuilder;
using test::TesterBuilder;
using test::WithNul;

const std::string kStatementTitle = "    <title>Statement: 1 - Test</title>";
const std::string kTesterTitle = "    <title>Strategy Tester: Test EA</title>";

// The head of a report followed by filler lines up to `lineCount` lines, with `text` on line `lineNumber`
// (counted from 1) when it is given.
Cells Report(const Cells& head, int lineCount, int lineNumber = 0, const std::string& text = "")
{
    Cells lines = head;
    while (static_cast<int>(lines.size()) < lineCount)
        lines.push_back("<tr><td class=filler>line " + std::to_string(lines.size() + 1) + "</td></tr>");
    if (lineNumber > 0)
        lines[static_cast<std::size_t>(lineNumber) - 1] = text;
    return lines;
}

ReportHead Detected(const std::string& bytes)
{
    const test::TempDir dir;
    LineReader reader(dir.Write("head.htm", bytes));
    return ReadReportHead(reader);
}

// ---- Report kind from the fourth line ----------------------------------------------------------------

TEST(ReportKind, OnlyTheFourthLineNamesTheKind)
{
    const auto fourth = [](const std::string& line) { return Report(HeadLines(line), 12); };
    Cells third = Report(HeadLines("<html>"), 12);
    third[2] = kTesterTitle;
    const std::tuple<const char*, Cells, ReportKind> cases[] = {
        {"Statement", fourth(kStatementTitle), ReportKind::Statement},
        {"Tester", fourth(kTesterTitle), ReportKind::Tester},
        {"BothTitlesStatementFirst", fourth("<title>Statement</title><title>Strategy</title>"), ReportKind::Tester},
        {"BothTitlesStrategyFirst", fourth("<title>Strategy</title><title>Statement</title>"), ReportKind::Tester},
        {"NeitherTitle", fourth("    <title>Some report</title>"), ReportKind::Statement},
        {"LetterCaseCounts", fourth("    <title>strategy tester: x</title>"), ReportKind::Statement},
        {"TitleAfterANul", fourth(WithNul("  ", "<title>Strategy Tester</title>")), ReportKind::Statement},
        {"TitleBeforeANul", fourth(WithNul("<title>Strategy Tester</title>", "x")), ReportKind::Tester},
        {"TitleOnLineThree", third, ReportKind::Statement},
        {"TitleOnLineSix", Report(HeadLines("<html>"), 12, 6, kTesterTitle), ReportKind::Statement},
        // A first line of 1500 bytes is read as two lines, so the title on line 3 of the file is the
        // fourth line read (and the generator tag on the fourth is the fifth).
        {"LongFirstLine",
         {std::string(1500, 'x'), "<html>", kTesterTitle, std::string(kGeneratorLine)},
         ReportKind::Tester},
    };
    for (const auto& [name, lines, kind] : cases)
        EXPECT_EQ(Detected(JoinCrLf(lines)).Kind, kind) << name;
}

// ---- Generator mark from the fifth line --------------------------------------------------------------

TEST(ReportHead, OnlyTheTerminalsTagOnLineFiveNamesItsWriter)
{
    const std::string tag(kGeneratorLine);
    const std::string author = "<meta name=\"author\">";
    const std::string version = "    <meta name=\"version\" content=\"Build 1441\">";
    const std::string style = "    <style type=\"text/css\" media=\"screen\">";
    const auto head = [](const std::string& fifth) { return JoinCrLf(Report(HeadLines(kStatementTitle, fifth), 12)); };
    Cells four = HeadLines(kStatementTitle);
    four.pop_back();
    const std::string five = JoinCrLf(HeadLines(kStatementTitle));
    const std::tuple<const char*, std::string, Terminal> cases[] = {
        {"OnLineFive", head(tag), Terminal::Mt4},
        {"OnLineFiveAmongOtherText", head("<link rel=x>" + tag + "<!-- more -->"), Terminal::Mt4},
        {"OnLineSixOnly", JoinCrLf(Report(HeadLines(kStatementTitle, author), 12, 6, tag)), Terminal::None},
        {"OnLineFourOnly", JoinCrLf(Report(HeadLines(kStatementTitle + tag, author), 12)), Terminal::None},
        {"AnotherGenerator", head("    <meta name=\"generator\" content=\"Corvane4\">"), Terminal::None},
        {"OtherQuoting", head("<meta name=generator content=\"MetaQuotes Software Corp.\">"), Terminal::None},
        {"VersionTagOfNewerTesterBuilds", JoinCrLf(Report(HeadLines(kTesterTitle, version), 12)), Terminal::Mt4},
        {"VersionTagUnderAStatementTitle", head(version), Terminal::None},
        {"StyleSheetOfNewerStatementBuilds", head(style), Terminal::Mt4},
        {"StyleSheetUnderATesterTitle", JoinCrLf(Report(HeadLines(kTesterTitle, style), 12)), Terminal::None},
        {"AfterANul", head(WithNul("", tag)), Terminal::None},
        {"BeforeANul", head(WithNul(tag, "")), Terminal::Mt4},
        {"FiveLinesExactly", five, Terminal::Mt4},
        {"LastLineWithoutLineEnd", five.substr(0, five.size() - 2), Terminal::Mt4},
        {"FourLines", JoinCrLf(four), Terminal::None},
    };
    for (const auto& [name, bytes, writer] : cases)
        EXPECT_EQ(Detected(bytes).Writer, writer) << name;
}

// ---- Taxes layout from lines 6 to 55 -----------------------------------------------------------------

TEST(TaxesLayout, ATaxesHeaderCellOnLinesSixToFiftyFiveSelectsTheTaxesLayout)
{
    const std::tuple<int, int, RowLayout> cases[] = {
        {4, 60, RowLayout::Titled}, {5, 60, RowLayout::Titled},  {6, 60, RowLayout::Taxes},
        {13, 60, RowLayout::Taxes}, {41, 60, RowLayout::Taxes},  {55, 60, RowLayout::Taxes},
        {55, 55, RowLayout::Taxes}, {56, 60, RowLayout::Titled}, {56, 56, RowLayout::Titled}};
    for (const auto& [lineNumber, lineCount, layout] : cases) {
        Cells lines = Report(HeadLines(kStatementTitle), lineCount);
        lines[static_cast<std::size_t>(lineNumber) - 1] += "<td>Commission</td><td>Taxes</td><td>Swap</td>";
        EXPECT_EQ(Detected(JoinCrLf(lines)).Layout, layout)
            << "taxes cell on line " << lineNumber << " of " << lineCount;
    }
}

TEST(TaxesLayout, WithoutTheCellOrWithItAfterANulTheLayoutIsTitled)
{
    Cells lines = Report(HeadLines(kStatementTitle), 80);
    EXPECT_EQ(Detected(JoinCrLf(lines)).Layout, RowLayout::Titled);
    lines[12] = WithNul("<tr>", "<td>Taxes</td>");
    EXPECT_EQ(Detected(JoinCrLf(lines)).Layout, RowLayout::Titled);
    EXPECT_EQ(Detected(StatementBuilder().Taxes().Text()).Layout, RowLayout::Taxes);
}

// ---- Initial deposit ---------------------------------------------------------------------------------

// A tester head followed by the given lines.
std::string TesterLines(const Cells& more)
{
    Cells lines = HeadLines(kTesterTitle);
    lines.insert(lines.end(), more.begin(), more.end());
    return JoinCrLf(lines);
}

TEST(InitialDeposit, IsReadFromTheRightLine)
{
    const std::string hidden = "<tr align=right><td title=\"Deposit\">1</td><td class=mspt>999.00</td></tr>";
    const std::string trade = test::StatementRow({.Ticket = "2"}, false);
    // "deposit" is 7 characters, so the number 28 characters after the word starts 21 characters after it.
    const auto after = [](int gap, const std::string& number) {
        return "<td>deposit" + std::string(static_cast<std::size_t>(gap), 'x') + number + "</td>";
    };
    const std::tuple<const char*, std::string, double> cases[] = {
        {"StatementRowWithoutBlanks", StatementBuilder().Deposit("10 000.00").Text(), 10000.0},
        {"TaxesStatement", StatementBuilder().Taxes().Deposit("2 500.75").Text(), 2500.75},
        {"FirstDepositRowWins", StatementBuilder().Deposit("500.00").Deposit("700.00").Text(), 500.0},
        {"NoBalanceRow", StatementBuilder().Text(), 0.0},
        {"BrokerTitleGivesTheFirstBalanceRow",
         StatementBuilder().Line(test::BalanceRow("1", "Deposit: 10352 JPY", "10 352")).Text(), 10352.0},
        {"NotANumber", StatementBuilder().Deposit("n/a").Text(), 0.0},
        {"TesterLineInAStatement",
         StatementBuilder().Line("<tr align=left><td>Initial deposit</td><td align=right>10000.00</td></tr>").Text(),
         0.0},
        {"FirstBalanceRowBeforeTheFirstTrade",
         StatementBuilder()
             .Lines({test::BalanceRow("1", "Demo", "100 000.00"), trade, test::BalanceRow("3", "Withdrawal", "-50")})
             .Text(),
         100000.0},
        {"NoBalanceRowBeforeTheFirstTrade",
         StatementBuilder().Line(trade).Line(test::BalanceRow("3", "Deposit: 10352 JPY", "10 352")).Text(), 0.0},
        {"ARowTitledDepositWinsWhereverItStands",
         StatementBuilder().Lines({test::BalanceRow("1", "Demo", "100.00"), trade}).Deposit("2 500.00").Text(), 2500.0},
        {"StatementRowAfterANul", StatementBuilder().Line(WithNul("<tr>", hidden)).Deposit("700.00").Text(), 700.0},
        {"Tester", TesterBuilder().Text(), 10000.0},
        {"TesterWithBlanks", TesterBuilder().Deposit("2 500.75").Text(), 2500.75},
        {"TwentyEightAfterTheWord", TesterLines({after(21, "1234.5")}), 1234.5},
        {"ALetterThere", TesterLines({after(22, "1234.5")}), 0.0},
        {"ADigitEarlier", TesterLines({after(20, "1234.5")}), 234.5},
        {"TheWordInTheTitleDecides", TesterBuilder().Title("Strategy Tester: deposit test").Text(), 0.0},
        {"AShortLineDecides", TesterLines({"deposit" + std::string(21, ' '), after(21, "1234.5")}), 0.0},
        {"WithoutTheWord",
         TesterLines({"<tr><td>Depot initial</td><td align=right>10000.00</td></tr>",
                      "<tr><td>Initial Deposit</td><td align=right>10000.00</td></tr>"}),
         0.0},
        {"TesterLineAfterANul", TesterLines({WithNul("<td>", after(21, "999")), after(21, "1234.5")}), 1234.5},
    };
    for (const auto& [name, bytes, deposit] : cases) {
        Session session;
        session.Report.InitialDeposit = 123.0;
        test::LoadBytes(session, bytes);
        EXPECT_EQ(session.Report.InitialDeposit, deposit) << name;
    }
}

// ---- Title and symbol --------------------------------------------------------------------------------

TEST(ReportTitle, AStatementTakesItsTitleAndATesterReportItsSymbolToo)
{
    Session session;
    session.Report.Symbol = "stale";
    test::LoadBytes(session, StatementBuilder().Title("Statement: 9100101 - Sample Trader").Text());
    EXPECT_EQ(session.Report.Title, "Statement: 9100101 - Sample Trader");
    EXPECT_EQ(session.Report.Symbol, "");
    EXPECT_EQ(session.Pairs.Count(), 0);

    test::LoadBytes(session, TesterBuilder().Title("Strategy Tester: My EA").Text());
    EXPECT_EQ(session.Report.Title, "Strategy Tester: My EA");
    EXPECT_EQ(session.Report.Symbol, "eurusd");
    EXPECT_EQ(test::Entries(session.Pairs), Cells{"eurusd"});
    EXPECT_TRUE(session.Pairs.Selected(0));
}

TEST(ReportTitle, ATesterReportWithoutTheSymbolLineReadsNoTrades)
{
    Session session;
    const std::string report =
        TesterBuilder().Symbol("").Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.1")).Text();
    EXPECT_EQ(test::LoadBytes(session, report), LoadOutcome::Loaded);
    EXPECT_EQ(session.Report.Title, "Strategy Tester: Test EA");
    EXPECT_EQ(session.Report.Symbol, "");
    EXPECT_EQ(session.Pairs.Count(), 0);
    EXPECT_EQ(session.Full.RowCount(), 1) << "the symbol search reads to the end of the file";
}

TEST(ReportTitle, ATitleAfterANulIsNotSeen)
{
    Session session;
    session.Report.Title = "earlier title";
    Cells lines = HeadLines(WithNul("", "<title>Statement: 1</title>"));
    lines.push_back("<p>no title here</p>");
    test::LoadBytes(session, JoinCrLf(lines));
    EXPECT_EQ(session.Report.Title, "earlier title");
}

} // namespace
} // namespace corvane
