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

// Appends the UTF-8 form of `letter`.
void AppendUtf8(std::string& out, char32_t letter);

} // namespace corvane
