#include "ReportReader.h"

#include "LoadReport.h"
#include "ReportBuilder.h"
#include "TestReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::CrLfLines;
using test::HeadLines;
using test::kGeneratorLine;
using test::TempDir;
using test::WithNul;

const std::string kStatementTitle = "    <title>Statement: 1 - Test</title>";
const std::string kTesterTitle = "    <title>Strategy Tester: Test EA</title>";

// The head of a report followed by filler lines up to `lineCount` lines, with `text` on line `lineNumber`
// (counted from 1) when it is given.
std::vector<std::string> Report(const std::vector<std::string>& head, int lineCount, int lineNumber = 0,
                                const std::string& text = "")
{
    std::vector<std::string> lines = head;
    while (static_cast<int>(lines.size()) < lineCount)
        lines.push_back("<tr><td class=filler>line " + std::to_string(lines.size() + 1) + "</td></tr>");
    if (lineNumber > 0) lines[static_cast<std::size_t>(lineNumber) - 1] = text;
    return lines;
}

Session Detected(const std::string& bytes)
{
    const TempDir dir;
    Session session;
    session.Report.Kind = ReportKind::Tester;
    session.Report.GeneratorMark = 99;
    session.Report.Layout = RowLayout::Bare;
    DetectReportKind(dir.Write("head.htm", bytes), session);
    return session;
}

// ---- Report kind from the fourth line ----------------------------------------------------------------

struct KindCase
{
    const char* name;
    std::string fourthLine;
    ReportKind kind;
};

class ReportKindTest : public ::testing::TestWithParam<KindCase>
{
};

TEST_P(ReportKindTest, TheFourthLineNamesTheKind)
{
    const KindCase& c = GetParam();
    Session session = Detected(CrLfLines(Report(HeadLines(c.fourthLine), 12)));
    EXPECT_EQ(session.Report.Kind, c.kind) << "fourth line: " << c.fourthLine;
    EXPECT_EQ(session.DisplayEnabled, c.kind == ReportKind::Statement)
        << "the Display button serves statements";
}

INSTANTIATE_TEST_SUITE_P(
    Titles, ReportKindTest,
    ::testing::Values(
        KindCase{"Statement", kStatementTitle, ReportKind::Statement},
        KindCase{"Tester", kTesterTitle, ReportKind::Tester},
        KindCase{"BothTitlesStatementFirst", "<title>Statement</title><title>Strategy</title>",
                 ReportKind::Tester},
        KindCase{"BothTitlesStrategyFirst", "<title>Strategy</title><title>Statement</title>",
                 ReportKind::Tester},
        KindCase{"NeitherTitle", "    <title>Some report</title>", ReportKind::Statement},
        KindCase{"LetterCaseCounts", "    <title>strategy tester: x</title>", ReportKind::Statement},
        KindCase{"TitleAfterANul", WithNul("  ", "<title>Strategy Tester</title>"), ReportKind::Statement},
        KindCase{"TitleBeforeANul", WithNul("<title>Strategy Tester</title>", "x"), ReportKind::Tester}),
    [](const ::testing::TestParamInfo<KindCase>& paramInfo) { return paramInfo.param.name; });

TEST(ReportKind, OnlyTheFourthLineCounts)
{
    std::vector<std::string> lines = Report(HeadLines("<html>"), 12);
    lines[2] = kTesterTitle;
    EXPECT_EQ(Detected(CrLfLines(lines)).Report.Kind, ReportKind::Statement) << "title on line 3";
    lines = Report(HeadLines("<html>"), 12, 6, kTesterTitle);
    EXPECT_EQ(Detected(CrLfLines(lines)).Report.Kind, ReportKind::Statement) << "title on line 6";
}

TEST(ReportKind, ALongFirstLineCountsAsSeveralLines)
{
    // A first line of 1500 bytes is read as two lines, so the title on the third line of the file is the
    // fourth line read and the generator tag on the fourth is the fifth.
    const std::vector<std::string> lines = {std::string(1500, 'x'), "<html>", kTesterTitle,
                                            std::string(kGeneratorLine), "<body>"};
    const Session session = Detected(CrLfLines(lines));
    EXPECT_EQ(session.Report.Kind, ReportKind::Tester);
    EXPECT_EQ(session.Report.GeneratorMark, kGeneratorMark);
}

TEST(ReportKind, AFileThatCannotBeOpenedIsAStatementWithoutMark)
{
    const TempDir dir;
    Session session;
    session.Report.Kind = ReportKind::Tester;
    session.Report.GeneratorMark = kGeneratorMark;
    DetectReportKind(dir.File("missing.htm"), session);
    EXPECT_EQ(session.Report.Kind, ReportKind::Statement);
    EXPECT_EQ(session.Report.GeneratorMark, 0);
}

// ---- Generator mark from the fifth line --------------------------------------------------------------

struct GeneratorCase
{
    const char* name;
    std::vector<std::string> lines;
    int mark;
};

class GeneratorMarkTest : public ::testing::TestWithParam<GeneratorCase>
{
};

TEST_P(GeneratorMarkTest, OnlyTheTerminalsTagOnLineFiveCounts)
{
    EXPECT_EQ(Detected(CrLfLines(GetParam().lines)).Report.GeneratorMark, GetParam().mark);
}

std::vector<GeneratorCase> GeneratorCases()
{
    const std::string tag(kGeneratorLine);
    std::vector<GeneratorCase> cases;
    cases.push_back({"OnLineFive", Report(HeadLines(kStatementTitle), 12), kGeneratorMark});
    cases.push_back({"OnLineFiveAmongOtherText",
                     Report(HeadLines(kStatementTitle, "<link rel=x>" + tag + "<!-- more -->"), 12),
                     kGeneratorMark});
    cases.push_back(
        {"OnLineSixOnly", Report(HeadLines(kStatementTitle, "<meta name=\"author\">"), 12, 6, tag), 0});
    cases.push_back(
        {"OnLineFourOnly", Report(HeadLines(kStatementTitle + tag, "<meta name=\"author\">"), 12), 0});
    cases.push_back(
        {"AnotherGenerator",
         Report(HeadLines(kStatementTitle, "    <meta name=\"generator\" content=\"Corvane4\">"), 12), 0});
    cases.push_back(
        {"OtherQuoting",
         Report(HeadLines(kStatementTitle, "<meta name=generator content=\"MetaQuotes Software Corp.\">"),
                12),
         0});
    cases.push_back(
        {"VersionTagOfNewerBuilds",
         Report(HeadLines(kTesterTitle, "    <meta name=\"version\" content=\"Build 1441\">"), 12),
         kGeneratorMark});
    cases.push_back({"AfterANul", Report(HeadLines(kStatementTitle, WithNul("", tag)), 12), 0});
    cases.push_back({"BeforeANul", Report(HeadLines(kStatementTitle, WithNul(tag, "")), 12), kGeneratorMark});
    cases.push_back({"FiveLinesExactly", HeadLines(kStatementTitle), kGeneratorMark});
    std::vector<std::string> four = HeadLines(kStatementTitle);
    four.pop_back();
    cases.push_back({"FourLines", four, 0});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Heads, GeneratorMarkTest, ::testing::ValuesIn(GeneratorCases()),
                         [](const ::testing::TestParamInfo<GeneratorCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST(GeneratorMark, ALastLineWithoutLineEndCounts)
{
    std::string bytes = CrLfLines(HeadLines(kStatementTitle));
    bytes.resize(bytes.size() - 2);
    EXPECT_EQ(Detected(bytes).Report.GeneratorMark, kGeneratorMark);
}

// ---- Taxes layout from lines 6 to 55 -----------------------------------------------------------------

struct TaxesCase
{
    int lineNumber;
    int lineCount;
    RowLayout layout;
};

class TaxesLayoutTest : public ::testing::TestWithParam<TaxesCase>
{
};

TEST_P(TaxesLayoutTest, ATaxesHeaderCellOnLinesSixToFiftyFiveSelectsTheTaxesLayout)
{
    const TaxesCase& c = GetParam();
    std::vector<std::string> lines = Report(HeadLines(kStatementTitle), c.lineCount);
    lines[static_cast<std::size_t>(c.lineNumber) - 1] += "<td>Commission</td><td>Taxes</td><td>Swap</td>";
    EXPECT_EQ(Detected(CrLfLines(lines)).Report.Layout, c.layout)
        << "taxes cell on line " << c.lineNumber << " of " << c.lineCount;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TaxesLayoutTest,
    ::testing::Values(TaxesCase{4, 60, RowLayout::Titled}, TaxesCase{5, 60, RowLayout::Titled},
                      TaxesCase{6, 60, RowLayout::Taxes}, TaxesCase{13, 60, RowLayout::Taxes},
                      TaxesCase{41, 60, RowLayout::Taxes}, TaxesCase{55, 60, RowLayout::Taxes},
                      TaxesCase{55, 55, RowLayout::Taxes}, TaxesCase{56, 60, RowLayout::Titled},
                      TaxesCase{56, 56, RowLayout::Titled}));

TEST(TaxesLayout, ACellAfterANulIsNotSeen)
{
    std::vector<std::string> lines = Report(HeadLines(kStatementTitle), 20);
    lines[12] = WithNul("<tr>", "<td>Taxes</td>");
    EXPECT_EQ(Detected(CrLfLines(lines)).Report.Layout, RowLayout::Titled);
}

TEST(TaxesLayout, WithoutTheCellTheLayoutStartsTitled)
{
    EXPECT_EQ(Detected(CrLfLines(Report(HeadLines(kStatementTitle), 80))).Report.Layout, RowLayout::Titled);
    EXPECT_EQ(Detected(test::StatementBuilder().Taxes().Text()).Report.Layout, RowLayout::Taxes);
}

// ---- Initial deposit ---------------------------------------------------------------------------------

double DepositAfterLoad(const std::string& bytes, double before = 123.0)
{
    const TempDir dir;
    Session session;
    session.Report.InitialDeposit = before;
    test::LoadBytes(session, dir, bytes);
    return session.Report.InitialDeposit;
}

TEST(StatementDeposit, TheDepositRowGivesTheAmountWithoutItsBlanks)
{
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Deposit("10 000.00").Text()), 10000.0);
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Taxes().Deposit("2 500.75").Text()), 2500.75);
}

TEST(StatementDeposit, TheFirstDepositRowWins)
{
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Deposit("500.00").Deposit("700.00").Text()), 500.0);
}

TEST(StatementDeposit, WithoutAnExactDepositTitleTheFirstBalanceRowGivesIt)
{
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Text()), 0.0);
    const std::string brokerTitle =
        "<tr align=right><td title=\"Deposit: 10352 JPY\">1</td><td class=msdate nowrap>"
        "2024.01.01 00:00</td><td>balance</td><td colspan=10 align=left>Deposit</td>"
        "<td class=mspt>10 352</td></tr>";
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Line(brokerTitle).Text()), 10352.0);
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Deposit("n/a").Text()), 0.0);
}

TEST(StatementDeposit, ATesterDepositLineIsNotReadInAStatement)
{
    const std::string testerLine =
        "<tr align=left><td>Initial deposit</td><td align=right>10000.00</td></tr>";
    EXPECT_EQ(DepositAfterLoad(test::StatementBuilder().Line(testerLine).Text()), 0.0);
}

TEST(TesterDeposit, TheNumberStandsTwentyEightCharactersAfterTheWord)
{
    EXPECT_EQ(DepositAfterLoad(test::TesterBuilder().Text()), 10000.0);
    EXPECT_EQ(DepositAfterLoad(test::TesterBuilder().Deposit("2 500.75").Text()), 2500.75);

    // "deposit" is 7 characters, so the number starts 21 characters after the word.
    std::vector<std::string> lines = HeadLines(kTesterTitle);
    lines.push_back("<td>deposit" + std::string(21, 'x') + "1234.5</td>");
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 1234.5);
    lines.back() = "<td>deposit" + std::string(22, 'x') + "1234.5</td>";
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 0.0) << "a character that starts no number stands there";
    lines.back() = "<td>deposit" + std::string(20, 'x') + "1234.5</td>";
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 234.5);
}

TEST(TesterDeposit, TheFirstLineWithTheWordDecidesEvenWhenItIsTooShort)
{
    EXPECT_EQ(DepositAfterLoad(test::TesterBuilder().Title("Strategy Tester: deposit test").Text()), 0.0);
    std::vector<std::string> lines = HeadLines(kTesterTitle);
    lines.push_back("deposit" + std::string(21, ' '));
    lines.push_back("<td>deposit" + std::string(21, 'x') + "1234.5</td>");
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 0.0);
}

TEST(TesterDeposit, WithoutTheWordTheDepositIsZero)
{
    std::vector<std::string> lines = HeadLines(kTesterTitle);
    lines.push_back("<tr><td>Depot initial</td><td align=right>10000.00</td></tr>");
    lines.push_back("<tr><td>Initial Deposit</td><td align=right>10000.00</td></tr>");
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 0.0);
}

TEST(Deposit, ADepositLineIsNotSeenAfterANul)
{
    const std::string hidden = "<tr align=right><td title=\"Deposit\">1</td><td class=mspt>999.00</td></tr>";
    EXPECT_EQ(
        DepositAfterLoad(test::StatementBuilder().Line(WithNul("<tr>", hidden)).Deposit("700.00").Text()),
        700.0);

    std::vector<std::string> lines = HeadLines(kTesterTitle);
    lines.push_back(WithNul("<td>", "deposit" + std::string(21, 'x') + "999</td>"));
    lines.push_back("<td>deposit" + std::string(21, 'x') + "1234.5</td>");
    EXPECT_EQ(DepositAfterLoad(CrLfLines(lines)), 1234.5);
}

// ---- Title and symbol --------------------------------------------------------------------------------

TEST(ReportTitle, AStatementTakesItsTitleElement)
{
    const TempDir dir;
    Session session;
    session.Report.Symbol = "stale";
    test::LoadBytes(session, dir,
                    test::StatementBuilder().Title("Statement: 9100101 - Sample Trader").Text());
    EXPECT_EQ(session.Report.Title, "Statement: 9100101 - Sample Trader");
    EXPECT_EQ(session.Report.Symbol, "");
    EXPECT_EQ(session.Pairs.Count(), 0);
}

TEST(ReportTitle, ATesterReportTakesItsTitleAndSymbol)
{
    const TempDir dir;
    Session session;
    test::LoadBytes(session, dir, test::TesterBuilder().Title("Strategy Tester: My EA").Text());
    EXPECT_EQ(session.Report.Title, "Strategy Tester: My EA");
    EXPECT_EQ(session.Report.Symbol, "eurusd");
    EXPECT_EQ(test::Entries(session.Pairs), std::vector<std::string>{"eurusd"});
    EXPECT_TRUE(test::AllSelected(session.Pairs));
}

TEST(ReportTitle, ATesterReportWithoutTheSymbolLineReadsNoTrades)
{
    const TempDir dir;
    Session session;
    const std::string report =
        test::TesterBuilder()
            .Symbol("")
            .Line(test::TesterTradeRow(1, "2024.01.02 10:00", "buy", "1", "0.10", "1.10000"))
            .Text();
    EXPECT_EQ(test::LoadBytes(session, dir, report), LoadOutcome::Loaded);
    EXPECT_EQ(session.Report.Title, "Strategy Tester: Test EA");
    EXPECT_EQ(session.Report.Symbol, "");
    EXPECT_EQ(session.Pairs.Count(), 0);
    EXPECT_EQ(session.Full.RowCount(), 1) << "the symbol search reads to the end of the file";
}

TEST(ReportTitle, ATitleAfterANulIsNotSeen)
{
    const TempDir dir;
    Session session;
    session.Report.Title = "earlier title";
    std::vector<std::string> lines = HeadLines(WithNul("", "<title>Statement: 1</title>"));
    lines.push_back("<p>no title here</p>");
    test::LoadBytes(session, dir, CrLfLines(lines));
    EXPECT_EQ(session.Report.Title, "earlier title");
}

} // namespace
} // namespace corvane
