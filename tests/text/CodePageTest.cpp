#include "text/CodePage.h"
#include "SimdLevels.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CodePage, IsGuessedFromTheText)
{
    const std::string row = "<tr align=right><td>1</td><td>buy</td></tr>\r\n";
    // clang-format off
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"ASCII", row + row, "windows-1252"},
        {"declared", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">" + row,
         "windows-1251"},
        {"declared GB2312", "<meta charset=\"gb2312\">", "GBK"},
        {"French", row + "<td>P\xe9riode</td><td>D\xe9p\xf4t initial</td><td>Mod\xe8le</td>",
         "windows-1252"},
        {"Spanish", row + "<td>S\xedmbolo</td><td>Dep\xf3sito inicial</td><td>Per\xedodo</td>",
         "windows-1252"},
        {"Russian", row + "<td>\xd1\xe8\xec\xe2\xee\xeb</td><td>\xcf\xe0\xf0\xe0\xec\xe5\xf2\xf0\xfb</td>",
         "windows-1251"},
        {"Russian word before sixteen ASCII bytes", std::string(13, ' ') + "\xcf\xf0\xe8" + std::string(16, ' '),
         "windows-1251"},
        {"Turkish", row + "<td>Ba\xfelang\xfd\xe7 mevduat\xfd</td><td>Sembol</td>", "windows-1254"},
        {"Japanese",
         row + "<b>\x83\x49\x81\x5b\x83\x76\x83\x93\x83\x7c\x83\x57\x83\x56\x83\x87\x83\x93"
               "\x8f\xee\x95\xf1:</b>",
         "Shift_JIS"},
        {"Chinese", row + "<td title=\"#16384 \xd4\xa4\xb2\xe2\xce\xb4\xc0\xb4\xb0\xe6\xcd\xa8\xb5\xc0\">",
         "GBK"}};
    // clang-format on
    test::ForEachSimdLevel([&] {
        for (const auto& [what, text, codePage] : cases)
            EXPECT_EQ(GuessCodePage(text), codePage) << what;
    });
}

} // namespace
} // namespace corvane
