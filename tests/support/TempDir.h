#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane::test {

// A folder of its own for one test, removed with everything in it when the test ends.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes `bytes` exactly as given to a file in the folder and returns its path.
    std::string Write(const std::string& name, std::string_view bytes) const;
    // The path of a file in the folder, without creating it.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::string& path);

} // namespace corvane::test
