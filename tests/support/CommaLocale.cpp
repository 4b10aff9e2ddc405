#include "CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace corvane::test {

namespace {

bool TrySet(const char* name)
{
    return std::setlocale(LC_NUMERIC, name) && std::string(std::localeconv()->decimal_point) == ",";
}

// Builds de_DE.UTF-8 into a folder shared by the test processes, once, and points LOCPATH at it.
// Each process builds beside the others and renames its build into place, so none reads a half one.
// Windows has its locales built in, under names of its own.
bool BuildGermanLocale()
{
#ifdef _WIN32
    return false;
#else
    static const bool built = [] {
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvane-test-locales";
        const std::filesystem::path target = folder / "de_DE.UTF-8";
        std::error_code ignored;
        if (!std::filesystem::exists(target / "LC_NUMERIC", ignored)) {
            std::filesystem::create_directories(folder, ignored);
            const std::filesystem::path own = folder / ("de_DE.UTF-8." + std::to_string(getpid()));
            const std::string command = "localedef -i de_DE -f UTF-8 '" + own.string() + "' >/dev/null 2>&1";
            std::system(command.c_str());
            std::filesystem::rename(own, target, ignored);
            std::filesystem::remove_all(own, ignored);
        }
        if (!std::filesystem::exists(target / "LC_NUMERIC", ignored))
            return false;
        setenv("LOCPATH", folder.c_str(), 1);
        return true;
    }();
    return built;
#endif
}

} // namespace

CommaNumericLocale::CommaNumericLocale()
{
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    m_previous = current ? current : "C";
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8",
          "nl_NL.UTF-8", "pt_BR.UTF-8", "de_DE", "fr_FR", "German_Germany.1252", "de-DE"}) {
        if (TrySet(name)) {
            m_name = name;
            return;
        }
    }
    if (BuildGermanLocale() && TrySet("de_DE.UTF-8")) {
        m_name = "de_DE.UTF-8";
        return;
    }
    std::setlocale(LC_NUMERIC, m_previous.c_str());
}

CommaNumericLocale::~CommaNumericLocale()
{
    std::setlocale(LC_NUMERIC, m_previous.c_str());
}

} // namespace corvane::test
