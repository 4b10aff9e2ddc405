#pragma once

#include <string>
#include <string_view>

namespace corvane {

/**
 * The report's bytes as UTF-8 text, decoded from its code page ("windows-1251", "Shift_JIS"..., "UTF-8"
 * for the cells of a MetaTrader 5 report). windows-1251, windows-1252 and windows-1254 are decoded by
 * tables of their own; GBK, Shift_JIS and the other pages a report's head may declare by the platform
 * (PlatformDecoding.h). A code page neither knows falls back to windows-1252. A byte that has no letter
 * in its page, and a broken UTF-8 sequence, become U+FFFD. Gives the same letters as the window shows.
 */
std::string ReportTextToUtf8(std::string_view bytes, const std::string& codePage);

// Writes the UTF-8 form of `letter` (at most U+10FFFF) at `out` and returns the end of what it wrote (at
// most 4 bytes).
inline char* PutUtf8(char32_t letter, char* out)
{
    const auto part = [](char32_t bits) { return static_cast<char>(bits); };
    if (letter < 0x80) {
        *out++ = part(letter);
    } else if (letter < 0x800) {
        *out++ = part(0xc0 | (letter >> 6));
        *out++ = part(0x80 | (letter & 0x3f));
    } else if (letter < 0x10000) {
        *out++ = part(0xe0 | (letter >> 12));
        *out++ = part(0x80 | ((letter >> 6) & 0x3f));
        *out++ = part(0x80 | (letter & 0x3f));
    } else {
        *out++ = part(0xf0 | (letter >> 18));
        *out++ = part(0x80 | ((letter >> 12) & 0x3f));
        *out++ = part(0x80 | ((letter >> 6) & 0x3f));
        *out++ = part(0x80 | (letter & 0x3f));
    }
    return out;
}

// Appends the UTF-8 form of `letter`.
inline void AppendUtf8(std::string& out, char32_t letter)
{
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(PutUtf8(letter, bytes) - bytes));
}

} // namespace corvane
