#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace corvane {

// Paths travel through the program as UTF-8 text, whatever the system's own form: a Windows user's
// "Отчёты" folder opens and saves as a Linux user's does. These are the only places where the two
// systems differ in how a file is named, opened or measured.

// The system's path for a UTF-8 path (UTF-16 on Windows, the same bytes elsewhere).
std::filesystem::path NativePath(const std::string& utf8);

// A path as UTF-8 text, for messages and for the program's own use.
std::string Utf8Path(const std::filesystem::path& path);

// Opens a file by its UTF-8 path in a binary C mode ("rb", "ab"); nullptr with errno set when it cannot.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

// Creates a new file for writing bytes, failing (errno EEXIST) when the name exists. The file is not
// handed to programs this one starts.
std::FILE* CreateNewFile(const std::string& utf8);

// Moves an open file to a position from its start, also beyond 2 GB; false when it cannot.
bool SetFilePosition(std::FILE* file, std::int64_t position);

} // namespace corvane
