// The CSV of the trade table: the quoting of RFC 4180 and the cells decoded from the report's code page.
#include "ExportSessions.h"
#include "export/CsvExport.h"
#include "export/SpreadsheetText.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

TEST(CsvTable, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    const struct
    {
        std::string_view Text;
        std::string_view Field;
    } cases[] = {
        {"", ""},
        {"plain text", "plain text"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {"cr\r", "\"cr\r\""},
        {"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"},
        {"\xe6\x97\xa5\xe6\x9c\xac,x", "\"\xe6\x97\xa5\xe6\x9c\xac,x\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(c.Text), c.Field) << c.Text;
}

// A text a spreadsheet would run as a formula is written as text; numbers stay numbers; a report's
// entities are decoded where its cells keep them.
TEST(CsvTable, SpreadsheetCellsAreTextUnlessTheyAreNumbers)
{
    const struct
    {
        std::string_view Cell;
        bool EntitiesKept;
        std::string_view Text;
    } cases[] = {
        {"=HYPERLINK(&quot;http://x.example&quot;,&quot;ok&quot;)", true, "'=HYPERLINK(\"http://x.example\",\"ok\")"},
        {"=HYPERLINK(&quot;x&quot;)", false, "'=HYPERLINK(&quot;x&quot;)"},
        {"  +cmd|' /C calc'!A0", true, "'+cmd|' /C calc'!A0"},
        {"@SUM(A1)", true, "'@SUM(A1)"},
        {"-", true, "'-"},
        {"  -150.00", true, "-150.00"},
        {"+5", true, "+5"},
        {"-0.5.1", true, "'-0.5.1"},
        {"-2 538", true, "-2 538"},
        {"-0[tp]", true, "'-0[tp]"},
        {"a &amp; b &lt;c&gt; &#12354; &bogus; &", true, "a & b <c> \xe3\x81\x82 &bogus; &"},
        {"&nbsp;=1&nbsp;", true, "'=1"},
        {"Buy[tp]", true, "Buy[tp]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpreadsheetCell(c.Cell, c.EntitiesKept), c.Text) << c.Cell;
    EXPECT_EQ(TabSeparatedLine({"a\tb", "c\r\nd", ""}), "a b\tc  d\t\n");
}

TEST(CsvTable, HeaderThenTradesInUtf8WithCrLf)
{
    // clang-format off
    Session session = test::SessionWith(10000, {
        {.Ticket = "1001", .Comm = test::Cash("-2.00"), .Magic = test::MagicCell("111"),
         .Comment = "\xcf\xf0\xe8\xe2\xe5\xf2, \"tp\""},
        {.Ticket = "1002", .CloseTime = "", .Profit = test::Pl("-5.00")}});
    // clang-format on
    session.Report.CodePage = "windows-1251";
    std::ostringstream out;
    WriteCsvTable(out, session);
    EXPECT_EQ(out.str(), "Ticket,Open Time,Type,Lots,Item,Open Price,S/L,T/P,Close Time,Close Price,Comm,Swap,P/L,"
                         "Pips,Balance,Magic,Comment\r\n"
                         "1001,2024.01.02 10:00,buy,1.00,eurusd,1.10000,0.00000,0.00000,2024.01.02 12:00,1.10100,"
                         "-2.00,0.00,100.00,,,111,\"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, \"\"tp\"\"\"\r\n"
                         "1002,2024.01.02 10:00,buy,1.00,eurusd,1.10000,0.00000,0.00000,,1.10100,"
                         "0.00,0.00,-5.00,,,,\r\n");

    std::ostringstream empty;
    WriteCsvTable(empty, Session{});
    EXPECT_EQ(empty.str().find("\r\n"), empty.str().size() - 2) << "the header alone";
}

} // namespace
} // namespace corvane
