// The CSV of the trade table: the quoting of RFC 4180 and the cells decoded from the report's code page.
#include "ExportSessions.h"
#include "export/CsvExport.h"

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
