#include "platform/PlatformDecoding.h"

#ifdef _WIN32
#include "platform/WindowsApi.h"

#include <cstdlib>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace corvane {

#ifdef _WIN32

namespace {

// The Windows code page of a name CodePage.cpp gives, or 0.
unsigned WindowsCodePage(const std::string& name)
{
    if (name == "GBK")
        return 936;
    if (name == "Shift_JIS")
        return 932;
    if (name.rfind("windows-125", 0) == 0 && name.size() == 12 && name[11] >= '0' && name[11] <= '8')
        return 1250 + static_cast<unsigned>(name[11] - '0');
    if (name.rfind("iso-8859-", 0) == 0 && name.size() > 9) {
        const int part = std::atoi(name.c_str() + 9);
        if (part >= 1 && part <= 15)
            return 28590 + static_cast<unsigned>(part);
    }
    return 0;
}

} // namespace

std::optional<std::string> DecodeWithPlatform(std::string_view bytes, const std::string& codePage)
{
    const unsigned page = WindowsCodePage(codePage);
    if (page == 0 || !IsValidCodePage(page))
        return std::nullopt;
    std::string utf8;
    if (bytes.empty())
        return utf8;
    const int size = static_cast<int>(bytes.size());
    // Without MB_ERR_INVALID_CHARS a byte the page cannot read becomes the page's default letter.
    const int wideSize = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, wide.data(), wideSize);
    const int utf8Size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(utf8Size));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), utf8Size, nullptr, nullptr);
    return utf8;
}

#else

std::optional<std::string> DecodeWithPlatform(std::string_view bytes, const std::string& codePage)
{
    const std::string name = codePage == "GBK" ? "CP936" : codePage == "Shift_JIS" ? "CP932" : codePage;
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    // iconv_open says "no converter" with the pointer of value -1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string utf8;
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; it does not write there
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<std::size_t>(out - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // A byte the page cannot read (EILSEQ), or a character cut off at the end (EINVAL).
        utf8 += "\xEF\xBF\xBD"; // U+FFFD
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return utf8;
}

#endif

} // namespace corvane
