#pragma once

#include <string>
#include <string_view>

namespace corvane {

/**
 * The Windows code page a report's text is written in, as a name the text decoders know
 * ("windows-1252", "windows-1251", "windows-1254", "GBK", "Shift_JIS"). Cells keep the report's bytes;
 * the code page is only for showing them.
 *
 * A charset declaration in the report's head wins. Without one (the terminal writes none) the bytes
 * decide: text without bytes above 0x7F is windows-1252; text that reads as Japanese double-byte
 * characters (kana and kanji lead bytes) is Shift_JIS; text that reads as GB2312 Chinese characters
 * throughout is GBK; words of three letters or more above 0xBF in a row are Cyrillic (windows-1251);
 * otherwise the Turkish letters ğ ı ş Ğ İ Ş (bytes that Western text hardly uses) make it windows-1254,
 * and anything else is windows-1252.
 */
std::string GuessCodePage(std::string_view text);

// The code page that "charset=" names in the first 4 KB of `text` (a report's head, a <meta> tag), as
// GuessCodePage names it: "Shift_JIS", "GBK", "windows-125x", "iso-8859-x" or "utf-8"; "" for none or another.
std::string DeclaredCodePage(std::string_view text);

} // namespace corvane
