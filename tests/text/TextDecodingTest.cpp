#include "text/TextDecoding.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// What the CSV table writes of a cell's bytes under the report's code page; the newer terminal's reports
// are read into UTF-8 cells. The window's decoders give the same letters (charts/ReportTextTest.cpp).
TEST(ReportTextToUtf8, GivesTheLettersOfTheReportsCodePage)
{
    const struct
    {
        const char* CodePage;
        std::string Bytes;
        std::string Shown;
    } cases[] = {
        {"windows-1252", "caf\xe9 \x80", "café €"},
        {"windows-1252", "\x81", "\xef\xbf\xbd"}, // no letter in the page: U+FFFD
        {"windows-1251", "\xcf\xf0\xe8\xe1\xfb\xeb\xfc", "Прибыль"},
        {"windows-1254", "K\xe2r \xfe\xfd\xf0", "Kâr şığ"},
        {"GBK", "\xd3\xaf\xc0\xfb \x80", "盈利 €"},
        {"Shift_JIS", "\x91\xb9\x89\x76", "損益"},
        {"Shift_JIS", "\x91\xb9\\~", "損\\~"}, // code page 932: a backslash and a tilde, not a yen sign
        {"windows-1250", "\x8a\xe8", "Šč"},    // declared in the head: decoded by the platform
        {"x-unknown", "caf\xe9", "café"},      // a page no decoder knows: windows-1252
        {"UTF-8", "\xe6\x90\x8d\xe7\x9b\x8a \xd0\x9f caf\xc3\xa9", "損益 П café"},
        {"UTF-8", "caf\xc3 \xed\xa0\x80", "caf\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {"UTF-8", "EURUSD", "EURUSD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportTextToUtf8(c.Bytes, c.CodePage), c.Shown) << c.CodePage << ": " << c.Bytes;
}

} // namespace
} // namespace corvane
