#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

/**
 * Decodes `bytes` from the named code page ("GBK", "Shift_JIS", "windows-1250", "iso-8859-5"...) into
 * UTF-8 through the platform: iconv on glibc, MultiByteToWideChar on Windows. Both read GBK as code
 * page 936 and Shift_JIS as code page 932, the pages the terminal writes. Bytes the page cannot read
 * become U+FFFD under iconv, and the page's default letter on Windows. Nothing when the platform does
 * not know the page.
 */
std::optional<std::string> DecodeWithPlatform(std::string_view bytes, const std::string& codePage);

} // namespace corvane
