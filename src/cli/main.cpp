#include "cli/Cli.h"
#include "platform/PlatformMemory.h"

#include <clocale>
#include <iostream>

#ifdef _WIN32
#include "platform/WindowsApi.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

// The command line as UTF-8 text: paths with letters beyond the ANSI code page arrive whole. Output is
// bytes, as on every system: no CR added before LF, the tool's text and files keep their own line ends.
std::vector<std::string> Utf8Arguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(length > 0 ? static_cast<std::size_t>(length) : 1, '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), length, nullptr, nullptr);
        text.resize(text.size() - 1);
        arguments.push_back(std::move(text));
    }
    ::LocalFree(wide);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    return arguments;
}

} // namespace
#endif

int main(int argc, char** argv)
{
    // The tool reads one report and ends: what it frees is kept for what it allocates next.
    corvane::KeepFreedMemory();
    std::setlocale(LC_NUMERIC, "C");
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    (void)argc;
    (void)argv;
    return corvane::RunCli(Utf8Arguments(), std::cout, std::cerr);
#else
    return corvane::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
#endif
}
