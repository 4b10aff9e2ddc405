#include "trades/TextDecoding.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// What the grids, lists, summary and chart labels show of a cell's bytes under the report's code page;
// the newer terminal's reports are read into UTF-8 cells.
TEST(DecodeReportText, ShowsTheLettersOfTheReportsCodePage)
{
    const struct
    {
        const char* CodePage;
        std::string Bytes;
        QString Shown;
    } cases[] = {
        {"windows-1252", "caf\xe9", QStringLiteral("café")},
        {"windows-1251", "\xcf\xf0\xe8", QStringLiteral("При")},
        {"Shift_JIS", "\x91\xb9\x89\x76", QStringLiteral("損益")},
        {"UTF-8", "\xe6\x90\x8d\xe7\x9b\x8a \xd0\x9f\xd1\x80\xd0\xb8 caf\xc3\xa9", QStringLiteral("損益 При café")},
        {"UTF-8", "EURUSD", QStringLiteral("EURUSD")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeReportText(c.Bytes, c.CodePage), c.Shown) << c.CodePage << ": " << c.Bytes;
}

} // namespace
} // namespace corvane
