#include "platform/PlatformFiles.h"

#ifdef _WIN32
#include "platform/WindowsApi.h"

#include <cerrno>
#endif

namespace corvane {

std::filesystem::path NativePath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32

std::FILE* OpenFile(const std::string& utf8, const char* mode)
{
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(NativePath(utf8).c_str(), wideMode.c_str());
}

std::FILE* CreateNewFile(const std::string& utf8)
{
    // The name is taken by a creation that fails when it exists, then opened as a C stream ("N": not
    // inherited by started programs).
    const std::filesystem::path native = NativePath(utf8);
    const HANDLE handle =
        ::CreateFileW(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS      ? EEXIST
                : error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ? ENOENT
                : error == ERROR_ACCESS_DENIED                                   ? EACCES
                                                                                 : EIO;
        return nullptr;
    }
    ::CloseHandle(handle);
    return ::_wfopen(native.c_str(), L"wbN");
}

bool SetFilePosition(std::FILE* file, std::int64_t position)
{
    return ::_fseeki64(file, position, SEEK_SET) == 0;
}

#else

std::FILE* OpenFile(const std::string& utf8, const char* mode)
{
    return std::fopen(utf8.c_str(), mode);
}

std::FILE* CreateNewFile(const std::string& utf8)
{
    // "x": the creation fails when the name exists; "e": closed in a started program.
    return std::fopen(utf8.c_str(), "wbxe");
}

bool SetFilePosition(std::FILE* file, std::int64_t position)
{
    return std::fseek(file, static_cast<long>(position), SEEK_SET) == 0;
}

#endif

} // namespace corvane
