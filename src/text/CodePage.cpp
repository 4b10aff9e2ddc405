#include "text/CodePage.h"

#include "text/Simd.h"
#include "text/TextRoutines.h"

#include <cctype>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view kWestern = "windows-1252";

bool High(unsigned char c)
{
    return c >= 0x80;
}

// Whether the sixteen bytes at `at` are all ASCII: a report is mostly markup, and such a block only
// ends the run of letters before it.
bool AsciiBlock(const char* at)
{
#if defined(CORVANE_X86_SIMD)
    if (SimdInUse() >= SimdLevel::Sse2)
        return _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))) == 0;
#endif
    for (int k = 0; k < 16; ++k)
        if (High(static_cast<unsigned char>(at[k])))
            return false;
    return true;
}

} // namespace

std::string DeclaredCodePage(std::string_view text)
{
    const std::string head = AsciiLower(text.substr(0, 4096));
    const std::size_t at = head.find("charset=");
    if (at == std::string::npos)
        return {};
    std::size_t start = at + 8;
    while (start < head.size() && (head[start] == '"' || head[start] == '\''))
        ++start;
    std::size_t end = start;
    while (end < head.size()
           && (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' || head[end] == '_'))
        ++end;
    std::string name = head.substr(start, end - start);
    if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "cp932" || name == "windows-31j")
        return "Shift_JIS";
    if (name == "gbk" || name == "gb2312" || name == "cp936" || name == "gb18030")
        return "GBK";
    if (name.rfind("windows-125", 0) == 0 || name.rfind("iso-8859-", 0) == 0 || name == "utf-8")
        return name;
    return {};
}

namespace {

struct DoubleByteScore
{
    bool Valid = true;
    int Pairs = 0;
    int Typical = 0; // pairs typical of the language: kana and kanji, or GB2312 characters
    int Singles = 0; // Shift-JIS half-width katakana, which Japanese text hardly uses
    int Chained = 0; // pairs followed at once by another double-byte character: words, not accents
};

void CountChained(DoubleByteScore& score, std::string_view text, std::size_t afterPair)
{
    if (afterPair < text.size() && High(static_cast<unsigned char>(text[afterPair])))
        ++score.Chained;
}

// Double-byte text comes in words of several characters; a Western accent pairs with the ASCII
// letter after it and stands alone.
bool LooksLike(const DoubleByteScore& score)
{
    return score.Valid && score.Pairs > 0 && score.Typical * 2 >= score.Pairs && score.Chained * 3 >= score.Pairs;
}

DoubleByteScore ScoreShiftJis(std::string_view text)
{
    DoubleByteScore score;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (!High(lead))
            continue;
        if (lead >= 0xa1 && lead <= 0xdf) {
            ++score.Singles;
            continue;
        }
        const bool leadOk = (lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc);
        const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (!leadOk || !((trail >= 0x40 && trail <= 0x7e) || (trail >= 0x80 && trail <= 0xfc))) {
            score.Valid = false;
            return score;
        }
        ++score.Pairs;
        if (lead == 0x82 || lead == 0x83 || (lead >= 0x88 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xea))
            ++score.Typical;
        CountChained(score, text, i + 2);
        ++i;
    }
    return score;
}

DoubleByteScore ScoreGbk(std::string_view text)
{
    DoubleByteScore score;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (!High(lead))
            continue;
        const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (lead == 0x80 || lead == 0xff || !((trail >= 0x40 && trail <= 0x7e) || (trail >= 0x80 && trail <= 0xfe))) {
            score.Valid = false;
            return score;
        }
        ++score.Pairs;
        if (lead >= 0xa1 && lead <= 0xf7 && trail >= 0xa1)
            ++score.Typical;
        CountChained(score, text, i + 2);
        ++i;
    }
    return score;
}

} // namespace

std::string GuessCodePage(std::string_view text)
{
    if (std::string declared = DeclaredCodePage(text); !declared.empty())
        return declared;

    int high = 0, inWords = 0, turkish = 0, lowHigh = 0;
    std::size_t run = 0; // letters above 0xBF in a row so far
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (text.size() - i >= 16 && AsciiBlock(text.data() + i)) {
            if (run >= 3)
                inWords += static_cast<int>(run);
            run = 0;
            i += 15;
            continue;
        }
        const auto c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        if (c >= 0xc0) {
            ++run;
        } else {
            if (run >= 3)
                inWords += static_cast<int>(run);
            run = 0;
        }
        if (!High(c))
            continue;
        ++high;
        if (c < 0xc0)
            ++lowHigh;
        if (c == 0xf0 || c == 0xfd || c == 0xfe || c == 0xd0 || c == 0xdd || c == 0xde)
            ++turkish;
    }
    if (high == 0)
        return std::string(kWestern);

    const DoubleByteScore sjis = ScoreShiftJis(text);
    if (LooksLike(sjis) && sjis.Singles * 4 < sjis.Pairs)
        return "Shift_JIS";
    const DoubleByteScore gbk = ScoreGbk(text);
    // Cyrillic words pair up as GB2312 characters too, but they hardly use the bytes below 0xC0 that
    // make up a good part of Chinese text.
    if (LooksLike(gbk) && lowHigh * 10 >= high)
        return "GBK";
    if (inWords * 2 >= high)
        return "windows-1251";
    if (turkish > 0)
        return "windows-1254";
    return std::string(kWestern);
}

} // namespace corvane
