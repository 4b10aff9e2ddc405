#include "platform/PlatformModules.h"

#include "platform/PlatformFiles.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "platform/WindowsApi.h"
#else
#include <dlfcn.h>
#endif

namespace corvane {

#ifdef _WIN32

std::string ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Utf8Path(std::filesystem::path(path).parent_path());
}

void* LoadModule(const std::string& utf8, std::string& error)
{
    const HMODULE module = ::LoadLibraryW(NativePath(utf8).c_str());
    if (!module)
        error = utf8 + ": " + std::system_category().message(static_cast<int>(::GetLastError()));
    return reinterpret_cast<void*>(module);
}

void* ModuleFunction(void* module, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

#else

std::string ProgramFolder()
{
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : Utf8Path(program.parent_path());
}

void* LoadModule(const std::string& utf8, std::string& error)
{
    // Functions bound at their first call, as for the libraries a program links: binding all of Qt's at
    // once would make a drawing command a third slower.
    void* module = ::dlopen(utf8.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!module)
        error = ::dlerror(); // names the file
    return module;
}

void* ModuleFunction(void* module, const char* name)
{
    return ::dlsym(module, name);
}

#endif

} // namespace corvane
