#include "reports/AccountCurrency.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

ReportState Report(Terminal writer, ReportKind kind)
{
    ReportState report;
    report.Writer = writer;
    report.Kind = kind;
    return report;
}

const ReportState kMt4Statement = Report(Terminal::Mt4, ReportKind::Statement);
const ReportState kMt5History = Report(Terminal::Mt5, ReportKind::Statement);
const ReportState kMt5Tester = Report(Terminal::Mt5, ReportKind::Tester);

TEST(AccountCurrency, AStatementNamesItInTheThirdCellOfItsHeadRow)
{
    const std::string head = "<table cellspacing=1 cellpadding=3 border=0>\r\n<tr align=left>\r\n"
                             "    <td colspan=2><b>Account: 9100113</b></td>\r\n"
                             "    <td colspan=6><b>Name: Sample Trader</b></td>\r\n"
                             "    <td colspan=2><b>Currency: EUR</b></td>\r\n"
                             "    <td colspan=4 align=right><b>2012 November 2, 20:59</b></td></tr>\r\n";
    EXPECT_EQ(AccountCurrencyOf(head, kMt4Statement), "EUR");
    // A broker's own rows of <th> cells come first; the labels may be in the broker's language.
    const std::string localized = "<tr align=left>\n<th>商号</th>\n<th>登録番号</th>\n</tr>\n"
                                  "<tr align=left>\n<td colspan=2><b>ログインID: 9100102</b></td>\n"
                                  "<td colspan=6><b>顧客氏名: Sample Trader</b></td>\n"
                                  "<td colspan=2><b>基準通貨: JPY</b></td>\n</tr>\n";
    EXPECT_EQ(AccountCurrencyOf(localized, kMt4Statement), "JPY");
    EXPECT_EQ(AccountCurrencyOf("<tr align=left><td colspan=2><b>Account: 1</b></td></tr>", kMt4Statement), "");
    EXPECT_EQ(AccountCurrencyOf(head, Report(Terminal::Mt4, ReportKind::Tester)), "") << "a tester names none";
    EXPECT_EQ(AccountCurrencyOf(head, ReportState{}), "") << "an import names none";
}

TEST(AccountCurrency, AHistoryNamesItInItsAccountCell)
{
    EXPECT_EQ(AccountCurrencyOf("<th>Account:</th><th><b>9200101&nbsp;(USD,&nbsp;MetaQuotes-Demo,&nbsp;demo,"
                                "&nbsp;Hedge)</b></th>",
                                kMt5History),
              "USD");
    // Saved again by a browser, the blanks are plain ones; a bracket after a word is no account.
    EXPECT_EQ(
        AccountCurrencyOf("<b>Sample (Trader)</b><b>9200102 (JPY, OANDA-Japan MT5 Demo, demo, Hedge)</b>", kMt5History),
        "JPY");
    EXPECT_EQ(AccountCurrencyOf("<b>9200102 (demo)</b>", kMt5History), "");
}

TEST(AccountCurrency, ATesterReportNamesItInItsSettings)
{
    std::string settings = "<td colspan=\"13\"><div><b>Settings</b></div></td>";
    for (const char* value : {"Expert", "EURUSD", "H1", "Inputs=1", "MetaQuotes Ltd.", "USD", "10000", "1:100"})
        settings +=
            std::string("<tr><td nowrap colspan=\"3\">Label:</td>\n<td nowrap colspan=\"10\" align=\"left\"><b>")
            + value + "</b></td></tr>\n";
    settings += "<td colspan=\"13\"><div><b>Results</b></div></td><td colspan=\"10\" align=\"left\"><b>9</b></td>";
    EXPECT_EQ(AccountCurrencyOf(settings, kMt5Tester), "USD");
    EXPECT_EQ(AccountCurrencyOf("<td nowrap colspan=\"10\" align=\"left\"><b>USD</b></td>", kMt5Tester), "");
}

} // namespace
} // namespace corvane
