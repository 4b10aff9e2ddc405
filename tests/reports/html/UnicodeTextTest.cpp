#include "Mt5ReportBuilder.h"
#include "SimdLevels.h"
#include "TempDir.h"
#include "reports/html/HtmlRowScanner.h"
#include "reports/html/RowReadAhead.h"
#include "reports/html/UnicodeFileReader.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace corvane {
namespace {

// ASCII, Cyrillic, Japanese and a character beyond the first plane (a surrogate pair in UTF-16).
const std::string kText = "<td>Profit Прибыль 損益 \xf0\x9f\x98\x80</td>\r\n";

std::string BigEndian(std::string littleEndian)
{
    for (std::size_t i = 0; i + 1 < littleEndian.size(); i += 2)
        std::swap(littleEndian[i], littleEndian[i + 1]);
    return littleEndian;
}

TEST(UnicodeFileReader, ReadsTheSameTextWhateverTheEncodingAndTheBufferSize)
{
    const test::TempDir dir;
    const struct
    {
        const char* Name;
        std::string Bytes;
    } files[] = {
        {"UTF-16LE with its mark", test::Utf16Le(kText)},
        {"UTF-16LE without one", test::Utf16Le(kText, false)},
        {"UTF-16BE with its mark", BigEndian(test::Utf16Le(kText))},
        {"UTF-16BE without one", BigEndian(test::Utf16Le(kText, false))},
        {"UTF-8 with its mark", "\xef\xbb\xbf" + kText},
        {"UTF-8", kText},
    };
    test::ForEachSimdLevel([&] {
        for (const auto& file : files) {
            const std::string path = dir.Write("text.htm", file.Bytes);
            for (const std::size_t buffer : {1u, 2u, 3u, 5u, 7u, 16u, 17u, 4096u}) {
                UnicodeFileReader reader(path, buffer);
                std::string text, piece;
                while (reader.Next(piece))
                    text += piece;
                EXPECT_EQ(text, kText) << file.Name << ", buffer of " << buffer;
            }
        }
    });
}

TEST(Utf16Decoder, ReadsAStraySurrogateAsAReplacementAndNulAsABlank)
{
    const std::string replacement = "\xef\xbf\xbd";
    const struct
    {
        const char* Name;
        std::string Bytes; // UTF-16LE
        std::string Text;
    } cases[] = {
        {"a high surrogate followed by a letter",
         std::string("\x00\xd8"
                     "a\x00",
                     4),
         replacement + "a"},
        {"a low surrogate alone", std::string("\x00\xdc", 2), replacement},
        {"a high surrogate at the end", std::string("a\x00\x3d\xd8", 4), "a" + replacement},
        {"a NUL",
         std::string("a\x00\x00\x00"
                     "b\x00",
                     6),
         "a b"},
        {"an odd byte at the end",
         std::string("a\x00"
                     "b",
                     3),
         "a"},
    };
    for (const auto& c : cases) {
        Utf16Decoder decoder(false);
        std::string text;
        for (const char byte : c.Bytes) // one byte at a time: every unit split
            decoder.Decode(std::string_view(&byte, 1), text);
        decoder.Finish(text);
        EXPECT_EQ(text, c.Text) << c.Name;
    }
}

struct Rows : HtmlRowSink
{
    std::vector<std::string> Seen;
    void OnRow(const HtmlRow& row) override
    {
        std::string text = row.HeaderColour ? "head:" : "";
        for (int i = 0; i < row.Size(); ++i)
            text += (row[i].Hidden ? "(" : "[") + std::string(row[i].Text)
                    + (row[i].ColSpan > 1 ? "*" + std::to_string(row[i].ColSpan) : "") + (row[i].Hidden ? ")" : "]");
        Seen.push_back(text + (row.Complete ? "" : " cut"));
    }
};

TEST(HtmlRowScanner, CutsTheSameRowsOutOfTheTextWhateverPiecesItComesIn)
{
    const std::string page =
        "<html><head><TITLE> A &amp; B </TITLE><meta content=\"client terminal\" name=generator>"
        "<style><td>not a cell</td></style></head><body><table>\r\n"
        "<tr bgcolor=\"#E5F0FC\"><td>Time</td><td class=\"hidden\">Cost</td>\r\n" // the terminal leaves out its </tr>
        "<tr align=right><td nowrap>1&nbsp;000.00</td><!-- <td>old</td> --><td "
        "colspan=2>a\tb\r\nc</td><th>&#x3042;</th></tr>\r\n"
        "</table><table><tr><td>half";
    const std::vector<std::string> expected = {
        "head:[Time](Cost)", "[1 000.00][a b  c*2][あ]", "[half] cut", // a CR LF is two blanks
    };
    test::ForEachSimdLevel([&] {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, page.size()}) {
            Rows rows;
            HtmlRowScanner scanner(rows);
            for (std::size_t at = 0; at < page.size(); at += piece)
                scanner.Feed(std::string_view(page).substr(at, piece));
            scanner.Finish();
            EXPECT_EQ(rows.Seen, expected) << "pieces of " << piece;
            EXPECT_EQ(scanner.Title(), " A & B ");
            EXPECT_EQ(scanner.Generator(), "client terminal");
            EXPECT_FALSE(scanner.EndSeen());
        }
    });
}

// Passes over the rows after the second column-header row, up to the next, as RowReadAhead's rule does.
struct RowsPassingOverTheSecondTable : Rows
{
    int HeaderRows = 0;
    void OnRow(const HtmlRow& row) override
    {
        HeaderRows += row.HeaderColour && row.Complete ? 1 : 0;
        Rows::OnRow(row);
    }
    bool SkipsRows() const override { return HeaderRows == 2; }
};

TEST(RowReadAhead, HandsOverTheRowsTheScannerCutsPassingOverTheNamedTable)
{
    // Enough rows for many batches and, in UTF-16, many pieces of the file.
    std::string page = "<html><head><title>Rows</title></head><body><table>\r\n";
    for (int table = 1; table <= 3; ++table) {
        page += "<tr bgcolor=\"#E5F0FC\"><td>Table " + std::to_string(table) + "</td></tr>\r\n";
        for (int row = 0; row < 2000; ++row)
            page += "<tr><td>" + std::to_string(row) + "</td><td class=\"hidden\" colspan=\"3\">&amp;"
                    + std::string(static_cast<std::size_t>(row % 40), 'x') + "</td>\r\n";
        page += "<tr><td colspan=\"12\">Section <title>inside</td></tr>\r\n"; // a title the skipped rows do not feed
    }
    page += "</table><table><tr><td>half";
    RowsPassingOverTheSecondTable expected;
    HtmlRowScanner scanner(expected);
    scanner.Feed(page);
    scanner.Finish();
    ASSERT_EQ(expected.Seen.size(), 2U * 2002U + 2U);

    const test::TempDir dir;
    for (const std::string& bytes : {page, test::Utf16Le(page)}) {
        std::FILE* file = std::fopen(dir.Write("page.htm", bytes).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        Rows seen;
        {
            RowReadAhead rows(file, 2);
            EXPECT_TRUE(rows.ReadRows(seen));
            EXPECT_EQ(rows.Title(), scanner.Title());
            EXPECT_FALSE(rows.EndSeen());
        }
        std::fclose(file);
        EXPECT_EQ(seen.Seen, expected.Seen);
    }
}

} // namespace
} // namespace corvane
