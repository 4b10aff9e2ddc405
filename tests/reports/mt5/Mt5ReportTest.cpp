#include "Mt5ReportBuilder.h"
#include "Samples.h"
#include "TestReports.h"
#include "text/Errors.h"
#include "text/Numbers.h"
#include "text/TextDecoding.h"
#include "text/TextRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace corvane {
namespace {

using test::Cells;
using test::ColumnCells;
using test::Mt5Close;
using test::Mt5Deal;
using test::Mt5ReportBuilder;
using test::Mt5Trade;
using test::RowText;

// Positions that charge commission and fees on both deals, overlap on one symbol and close in parts,
// one of them in three equal parts of an entry commission that does not divide by three.
std::vector<Mt5Trade> Trades()
{
    return {
        {.Id = "1001",
         .Volume = "0.30",
         .StopLoss = "1.09500",
         .Commission = "-2.10",
         .Fee = "-0.30",
         .Comment = "ブレイク",
         .Closes = {{.Time = "2024.01.02 12:00:00", .Commission = "-0.70"},
                    {.Time = "2024.01.02 13:00:00",
                     .Volume = "0.20",
                     .Price = "1.10300",
                     .Profit = "60.00",
                     .Commission = "-1.40",
                     .Fee = "-0.10",
                     .Swap = "-0.50"}}},
        {.Id = "1002",
         .Symbol = "GBPUSD",
         .Type = "sell",
         .Time = "2024.01.02 10:30:00",
         .Price = "1.27000",
         .Commission = "-0.70",
         .Closes = {{.Time = "2024.01.02 11:00:00",
                     .Price = "1.27100",
                     .Profit = "-10.00",
                     .Commission = "-0.70",
                     .Comment = "[sl 1.27100]"}}},
        {.Id = "1003",
         .Volume = "0.20",
         .Time = "2024.01.02 11:30:00",
         .Price = "1.10050",
         .Commission = "-1.40",
         .Closes = {{.Time = "2024.01.02 12:30:00",
                     .Volume = "0.20",
                     .Price = "1.16000",
                     .Profit = "1 190.00",
                     .Commission = "-1.40",
                     .Swap = "-1 234.56"}}},
        {.Id = "1004",
         .Symbol = "USDJPY",
         .Type = "sell",
         .Volume = "0.30",
         .Time = "2024.01.02 13:30:00",
         .Price = "150.000",
         .Commission = "-1.00",
         .Closes = {{.Time = "2024.01.02 14:00:00", .Price = "149.900", .Profit = "6.67"},
                    {.Time = "2024.01.02 15:00:00", .Price = "149.900", .Profit = "6.67"},
                    {.Time = "2024.01.02 16:00:00", .Price = "149.900", .Profit = "6.66"}}},
    };
}

Mt5ReportBuilder History(const std::vector<Mt5Trade>& trades = Trades())
{
    Mt5ReportBuilder report;
    for (const Mt5Trade& trade : trades)
        report.Trade(trade);
    return report;
}

Mt5ReportBuilder Tester(const std::vector<Mt5Trade>& trades = Trades())
{
    Mt5ReportBuilder report(true);
    for (const Mt5Trade& trade : trades)
        report.Trade(trade);
    return report;
}

struct Sums
{
    int Closed = 0;
    long long Cents = 0; // P/L + Swap + Comm of the closed rows
};

Sums ClosedRows(const TextGrid& full)
{
    Sums sums;
    for (int row = 1; row < full.RowCount(); ++row) {
        if (full.Cell(kCloseTime, row).empty())
            continue;
        ++sums.Closed;
        for (const int column : {kProfit, kSwap, kComm})
            sums.Cents += std::llround(ParseMoneyCell(full.Cell(column, row)) * 100);
    }
    return sums;
}

// ---- What the rows hold ------------------------------------------------------------------------------

TEST(Mt5Reports, RowsAddUpToTheNetProfitWhateverTheLanguageAndEncoding)
{
    const std::string history = History().Utf16();
    const std::string tester = Tester().Utf16();
    const struct
    {
        const char* Name;
        std::string Bytes;
        ReportKind Kind;
    } reports[] = {
        {"history", history, ReportKind::Statement},
        {"history in Japanese", History().Japanese().Utf16(), ReportKind::Statement},
        {"history saved again as UTF-8", History().Html(), ReportKind::Statement},
        {"... with a byte-order mark", "\xef\xbb\xbf" + History().Html(), ReportKind::Statement},
        {"history with a stray odd byte", history + "\n", ReportKind::Statement},
        {"tester report", tester, ReportKind::Tester},
        {"tester report in Japanese", Tester().Japanese().Utf16(), ReportKind::Tester},
        {"history without the deals' totals row", History().WithoutTotals().Utf16(), ReportKind::Statement},
        {"tester report without it, its table closed", Tester().WithoutTotals().Utf16(), ReportKind::Tester},
    };
    for (const auto& report : reports) {
        SCOPED_TRACE(report.Name);
        const Session session = test::Load(report.Bytes);
        const Session first = test::Load(report.Kind == ReportKind::Tester ? tester : history);
        EXPECT_EQ(test::AllRows(session.Full), test::AllRows(first.Full));
        EXPECT_EQ(session.Report.Kind, report.Kind);
        EXPECT_EQ(session.Report.ReadWarning, "");
        EXPECT_EQ(session.Report.InitialDeposit, 10000.0);
        const Sums sums = ClosedRows(session.Full);
        EXPECT_EQ(sums.Closed, History().TotalTrades());
        EXPECT_EQ(sums.Cents, std::llround(History().NetProfit() * 100));
        EXPECT_EQ(session.Magic.Count(), 0) << "no magic numbers in these reports";
    }
}

TEST(Mt5Reports, ARowHasThePositionsFactsAndTheMoneyOfItsCloseWithItsShareOfTheEntry)
{
    std::vector<Mt5Trade> trades = Trades();
    trades.push_back({.Id = "1005",
                      .Type = "sell",
                      .Time = "2024.01.02 17:00:00",
                      .Price = "1.10200",
                      .Commission = "-0.70",
                      .MarketPrice = "1.10050",
                      .FloatingProfit = "15.00"});
    const Session session = test::Load(History(trades).Utf16());
    const std::string noMagic(12, ' ');
    const Cells expected = {
        "1002\t2024.01.02 10:30:00\tsell\t0.10\tGBPUSD\t1.27000\t0.00000\t0.00000\t2024.01.02 11:00:00\t1.27100\t "
        "-1.40\t  0.00\t    -10.00",
        "1001\t2024.01.02 10:00:00\tbuy\t0.10\tEURUSD\t1.10000\t1.09500\t0.00000\t2024.01.02 12:00:00\t1.10100\t "
        "-1.50\t  0.00\t     10.00",
        "1003\t2024.01.02 11:30:00\tbuy\t0.20\tEURUSD\t1.10050\t0.00000\t0.00000\t2024.01.02 12:30:00\t1.16000\t "
        "-2.80\t-1234.56\t   1190.00",
        "1001\t2024.01.02 10:00:00\tbuy\t0.20\tEURUSD\t1.10000\t1.09500\t0.00000\t2024.01.02 13:00:00\t1.10300\t "
        "-3.10\t -0.50\t     60.00",
        "1004\t2024.01.02 13:30:00\tsell\t0.10\tUSDJPY\t150.000\t0.000\t0.000\t2024.01.02 14:00:00\t149.900\t -0.33\t  "
        "0.00\t      6.67",
        "1004\t2024.01.02 13:30:00\tsell\t0.10\tUSDJPY\t150.000\t0.000\t0.000\t2024.01.02 15:00:00\t149.900\t -0.34\t  "
        "0.00\t      6.67",
        "1004\t2024.01.02 13:30:00\tsell\t0.10\tUSDJPY\t150.000\t0.000\t0.000\t2024.01.02 16:00:00\t149.900\t -0.33\t  "
        "0.00\t      6.66",
        "1005\t2024.01.02 17:00:00\tsell\t0.10\tEURUSD\t1.10200\t0.00000\t0.00000\t\t1.10050\t -0.70\t  0.00\t     "
        "15.00",
    };
    ASSERT_EQ(session.Full.RowCount(), 9);
    for (int row = 1; row < 9; ++row) {
        const std::string text = RowText(session.Full, row);
        EXPECT_EQ(text.substr(0, expected[static_cast<std::size_t>(row - 1)].size()),
                  expected[static_cast<std::size_t>(row - 1)]);
        EXPECT_EQ(session.Full.Cell(kMagic, row), noMagic);
    }
    EXPECT_EQ(session.Full.Cell(kComment, 2), "ブレイク");
    EXPECT_EQ(test::Entries(session.Pairs), (Cells{"GBPUSD", "EURUSD", "USDJPY"}));
    EXPECT_EQ(session.Report.Title, "1234567: Test Trader - Trade History Report");
    EXPECT_EQ(session.Report.CodePage, "UTF-8");

    const Session tester = test::Load(Tester().Utf16());
    EXPECT_EQ(ColumnCells(tester.Full, kItem),
              (Cells{"GBPUSD", "EURUSD", "EURUSD", "EURUSD", "USDJPY", "USDJPY", "USDJPY"}))
        << "as the terminal writes them";
    EXPECT_EQ(ColumnCells(tester.Full, kStopLoss)[1], "1.09500") << "from the opening order";
    EXPECT_EQ(tester.Report.Symbol, "EURUSD");
    EXPECT_EQ(test::Entries(tester.Pairs), (Cells{"EURUSD", "GBPUSD", "USDJPY"}));
}

// A page saved again in a code page of its own and declaring it is shown in that page, as an older report is.
TEST(Mt5Reports, APageSavedAgainInTheCodePageItsHeadDeclaresIsShownInIt)
{
    std::vector<Mt5Trade> trades = Trades();
    trades[0].Comment = "\xcf\xf0\xee\xe1\xee\xe9"; // "Пробой" in windows-1251
    std::string html = History(trades).Html();
    html.insert(html.find("<title>"),
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n");
    const std::string declared = html;
    for (std::size_t at = 0; (at = html.find("Test Trader", at)) != std::string::npos;)
        html.replace(at, 11, "\xd2\xe5\xf1\xf2"); // "Тест"
    const Session session = test::Load(html);
    EXPECT_EQ(session.Report.CodePage, "windows-1251");
    EXPECT_EQ(ReportTextToUtf8(session.Report.Title, session.Report.CodePage), "1234567: Тест - Trade History Report");
    EXPECT_EQ(ReportTextToUtf8(session.Full.Cell(kComment, 2), session.Report.CodePage), "Пробой");
    EXPECT_EQ(ClosedRows(session.Full).Closed, History().TotalTrades());
    EXPECT_EQ(test::Load(test::Utf16Le(declared)).Report.CodePage, "UTF-8") << "UTF-16 text is read into UTF-8";
}

// ---- Which position a closing deal closes -----------------------------------------------------------

TEST(Mt5Reports, EachCloseGoesToThePositionTheReportPointsTo)
{
    const auto at = [](const char* time) { return std::string("2024.01.02 ") + time; };
    const auto buy = [&](const char* id, const char* time, const char* price, std::vector<Mt5Close> closes,
                         const char* stopLoss = "", const char* volume = "0.10") {
        return Mt5Trade{
            .Id = id, .Volume = volume, .Time = at(time), .Price = price, .StopLoss = stopLoss, .Closes = closes};
    };
    const auto close = [&](const char* time, const char* price, const char* profit, const char* comment = "",
                           const char* volume = "0.10", const char* direction = "out") {
        return Mt5Close{.Time = at(time),
                        .Volume = volume,
                        .Price = price,
                        .Profit = profit,
                        .Comment = comment,
                        .Direction = direction};
    };
    const struct
    {
        const char* Name;
        Mt5ReportBuilder Report;
        Cells Expected; // ticket, lots and P/L of each row
    } cases[] = {
        {"the history's close times, when the later position closes first",
         History({buy("11", "10:00:00", "1.1", {close("14:00:00", "1.2", "1.00")}),
                  buy("12", "10:05:00", "1.1", {close("12:00:00", "1.2", "2.00")})}),
         {"12 0.10 2.00", "11 0.10 1.00"}},
        {"the history's partial closes, each completing the volume and profit of its position",
         History({buy("21", "10:00:00", "1.1", {close("11:00:00", "1.2", "1.00"), close("13:00:00", "1.2", "2.00")}, "",
                      "0.20"),
                  buy("22", "10:01:00", "1.1", {close("11:30:00", "1.2", "5.00"), close("12:30:00", "1.2", "6.00")}, "",
                      "0.20")}),
         {"21 0.10 1.00", "22 0.10 5.00", "22 0.10 6.00", "21 0.10 2.00"}},
        {"a stop loss names the position whose stop it is",
         Tester({buy("31", "10:00:00", "1.10000", {close("13:00:00", "1.10500", "50.00")}, "1.09000"),
                 buy("32", "10:01:00", "1.10100", {close("12:00:00", "1.09500", "-60.00", "sl 1.09500")}, "1.09500")}),
         {"32 0.10 -60.00", "31 0.10 50.00"}},
        {"the open price that explains the profit at the symbol's rate",
         Tester({buy("41", "09:00:00", "1.10000", {close("09:30:00", "1.10100", "10.00")}),
                 buy("42", "10:00:00", "1.20000", {close("13:00:00", "1.20100", "10.00")}),
                 buy("43", "10:01:00", "1.30000", {close("12:00:00", "1.30100", "10.00")})}),
         {"41 0.10 10.00", "43 0.10 10.00", "42 0.10 10.00"}},
        {"a close by, on the two positions it names",
         History({buy("51", "10:00:00", "1.14475",
                      {close("11:00:00", "1.14417", "-232.00", "#51 by #52", "4", "out by")}, "", "4"),
                  {.Id = "52",
                   .Type = "sell",
                   .Volume = "4",
                   .Time = at("10:01:00"),
                   .Price = "1.14417",
                   .Closes = {close("11:00:00", "1.14475", "0.00", "#51 by #52", "4", "out by")}}}),
         {"51 4 -232.00", "52 4 0.00"}},
        {"a netting account's reversal, closing the buy and opening a sell with the rest",
         Tester({})
             .Deal({.Time = at("10:00:00"), .Type = "buy", .Direction = "in", .Order = "61"})
             .Deal({.Time = at("11:00:00"), .Direction = "in/out", .Volume = "0.30", .Order = "62", .Profit = "100.00"})
             .Deal({.Time = at("12:00:00"), .Type = "buy", .Volume = "0.20", .Order = "63", .Profit = "200.00"}),
         {"61 0.10 100.00", "62 0.20 200.00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const Session session = test::Load(c.Report.Utf16());
        Cells rows;
        for (int row = 1; row < session.Full.RowCount(); ++row)
            rows.push_back(std::string(session.Full.Cell(kTicket, row)) + " "
                           + std::string(session.Full.Cell(kLots, row)) + " "
                           + WithoutBlanks(session.Full.Cell(kProfit, row)));
        EXPECT_EQ(rows, c.Expected);
        EXPECT_EQ(session.Report.ReadWarning, "");
    }
}

TEST(Mt5Reports, TheInitialDepositIsTheStatementsOrTheTestersOwn)
{
    const Mt5Deal later{.Time = "2024.01.03 10:00:00",
                        .Symbol = "",
                        .Type = "balance",
                        .Direction = "",
                        .Volume = "",
                        .Price = "",
                        .Order = "",
                        .Profit = "500.00",
                        .Comment = "Deposit"};
    const struct
    {
        const char* Name;
        Mt5ReportBuilder Report;
        double Deposit;
    } cases[] = {
        {"a balance deal commented Deposit", History(), 10000.0},
        {"... even after the first trade", History().Deposit("1 000.00", "Initial").Deal(later), 500.0},
        {"the first balance deal before the first trade", History().Deposit("3 000 000", "Funds"), 3000000.0},
        {"none", History().Deposit(""), 0.0},
        {"the tester's settings", Tester().Settings("EURUSD", "5 000.00"), 5000.0},
        {"the tester's first balance deal without them", Tester().Settings("EURUSD", "n/a"), 10000.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::Load(c.Report.Utf16()).Report.InitialDeposit, c.Deposit) << c.Name;
}

// ---- Appending -----------------------------------------------------------------------------------------

TEST(Mt5Reports, OnlyAnAccountHistoryAppendsToAnAccountHistory)
{
    const std::string second = History({{.Id = "1000", .Closes = {Mt5Close{}}}}).Utf16();
    const std::string statement = test::Statement({{.Ticket = "1"}, {.Ticket = "2"}});
    const struct
    {
        const char* Name;
        std::string First, Second;
        LoadOutcome Outcome;
    } cases[] = {
        {"history onto history", History().Utf16(), second, LoadOutcome::Loaded},
        {"tester report onto history", History().Utf16(), Tester().Utf16(), LoadOutcome::AppendIgnored},
        {"older statement onto history", History().Utf16(), statement, LoadOutcome::AppendIgnored},
        {"history onto older statement", statement, second, LoadOutcome::AppendIgnored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Session session = test::Load(c.First);
        const int rows = session.Full.RowCount();
        ASSERT_EQ(test::LoadBytes(session, c.Second, LoadMode::Append), c.Outcome);
        if (c.Outcome != LoadOutcome::Loaded) {
            EXPECT_EQ(session.Full.RowCount(), rows);
            continue;
        }
        EXPECT_EQ(ColumnCells(session.Full, kTicket),
                  (Cells{"1000", "1001", "1001", "1002", "1003", "1004", "1004", "1004"}));
    }
}

// A load says how much of the file it has read after every trade line, whichever reader reads it.
TEST(Mt5Reports, ProgressRisesThroughTheFileWhicheverReaderReadsIt)
{
    std::vector<Mt5Trade> many;
    std::vector<test::StatementTrade> statementTrades;
    for (int i = 0; i < 400; ++i) {
        many.push_back({.Id = std::to_string(2000 + i), .Closes = {Mt5Close{}}});
        statementTrades.push_back({.Ticket = std::to_string(2000 + i)});
    }
    const struct
    {
        const char* Name;
        std::string Report;
    } cases[] = {
        {"older statement, read line by line", test::Statement(statementTrades)},
        {"history in UTF-16, read by its own reader", History(many).Utf16()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const test::TempDir dir;
        std::vector<double> seen;
        Session session;
        ASSERT_EQ(LoadReport(session, dir.Write("report.htm", c.Report), LoadMode::Replace, {},
                             [&](double fraction) { seen.push_back(fraction); }),
                  LoadOutcome::Loaded);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_GT(seen.back(), 0.5);
        EXPECT_LE(seen.back(), 1.0);
    }
}

// ---- Damaged files ----------------------------------------------------------------------------------------

TEST(Mt5Reports, ADamagedFileEndsInARefusalAnErrorOrTheRowsThatCouldBeRead)
{
    const std::string head =
        "<html><head><meta name=\"generator\" content=\"client terminal\"></head><body><p>x</p></body></html>";
    std::vector<Mt5Trade> lone = Trades();
    lone[1].Comment = "stop\xed\xa0\x80"; // becomes a lone high surrogate in UTF-16
    const std::string loneSurrogate = History(lone).Utf16();
    const Mt5Deal unpaired{.Time = "2024.01.02 09:00:00", .Order = "9", .Profit = "-12.30"};
    Mt5Deal badVolume = unpaired;
    badVolume.Volume = "ten";
    const std::string longComment = History({{.Id = "1", .Comment = std::string(70'000, 'c'), .Closes = {{}}}}).Utf16();
    const struct
    {
        const char* Name;
        std::string Bytes;
        LoadOutcome Outcome; // when the load returns
        const char* Says;    // in the refusal's, the error's or the warning's text
    } cases[] = {
        {"a byte-order mark alone", "\xff\xfe", LoadOutcome::Refused, "Please use"},
        {"another program's page in UTF-16", test::Utf16Le("<html><meta name=\"generator\" content=\"Other\"></html>"),
         LoadOutcome::Refused, "Please use"},
        {"a head naming the terminal and no table", test::Utf16Le(head), LoadOutcome::Loaded, "holds no Deals table"},
        {"a closing deal with nothing open", History().Deal(unpaired).Utf16(), LoadOutcome::Loaded,
         "1 closing deal (5001) found no open position to close; its result, -12.30, is not in the table."},
        {"a volume that is no number", History().Deal(badVolume).Utf16(), LoadOutcome::Loaded,
         "report.htm: deal 5001, column Volume: 'ten' is not a valid floating point value"},
        {"a lone surrogate", loneSurrogate, LoadOutcome::Loaded, ""},
        {"a comment beyond the limit of a cell", longComment, LoadOutcome::Loaded,
         "2 rows (position 1, deal 5001) have a cell cut to their first 65,536 characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Session session;
        std::string said;
        try {
            EXPECT_EQ(test::LoadBytes(session, c.Bytes), c.Outcome);
            said = session.Memo.empty() ? "" : session.Memo.front();
            said += session.Report.ReadWarning;
        } catch (const std::runtime_error& error) {
            said = error.what();
        }
        EXPECT_NE(said.find(c.Says), std::string::npos) << said;
    }
    EXPECT_EQ(test::Load(loneSurrogate).Full.Cell(kComment, 1), "stop\xef\xbf\xbd");
    EXPECT_EQ(test::Load(longComment).Full.Cell(kComment, 1).size(), 65'536u) << "cut, at the limit";

    // Cut before its end, the file is refused (no head), fails with a message (no deals) or loads the
    // rows before the cut and says that the rest is missing.
    const std::string whole = History().Utf16();
    const int closed = ClosedRows(test::Load(whole).Full).Closed;
    for (std::size_t cut = 1; cut < whole.find(test::Utf16Le("</html>", false)); cut += whole.size() / 61) {
        Session session;
        try {
            if (test::LoadBytes(session, whole.substr(0, cut)) == LoadOutcome::Loaded) {
                EXPECT_NE(session.Report.ReadWarning, "") << "cut at " << cut;
            }
            EXPECT_LE(ClosedRows(session.Full).Closed, closed);
        } catch (const FileError&) {
        }
    }
}

// ---- The terminal's own reports ------------------------------------------------------------------------

TEST(Mt5Samples, EveryReportMatchesTheTerminalsOwnFigures)
{
    if (test::Mt5SamplesDir().empty())
        GTEST_SKIP() << "samples folder absent: " CORVANE_MT5_SAMPLES_DIR;
    const auto figures = test::SampleFigures(test::Mt5SamplesDir());
    ASSERT_FALSE(figures.empty());
    for (const auto& [name, row] : figures) {
        SCOPED_TRACE(name);
        Session session;
        ASSERT_EQ(LoadReport(session, test::Mt5SamplesDir() + "/" + name, LoadMode::Replace), LoadOutcome::Loaded);
        EXPECT_EQ(session.Report.ReadWarning, "");
        const Sums sums = ClosedRows(session.Full);
        EXPECT_EQ(sums.Closed, std::stoi(row.at("total_trades")));
        EXPECT_EQ(sums.Cents, *ParseScaled(row.at("net_profit"), 2));
        EXPECT_EQ(std::llround(session.Report.InitialDeposit * 100),
                  ParseScaled(row.at("initial_deposit"), 2).value_or(0));
    }
}

} // namespace
} // namespace corvane
