#pragma once

#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

namespace corvane {

/**
 * A file written beside its target under a temporary name and renamed over the target only when
 * everything was written: a failed export leaves no half-written file and an existing file as it was.
 * An existing target keeps its permissions (a symbolic link stays and its file is replaced); a target that
 * exists but may not be written is refused, as opening it for writing would be. Bytes are written as given
 * (line ends are the writer's).
 *
 * Failures throw FileError naming the target and the reason. The temporary file is removed when the
 * object goes away without Commit(), also when an exception leaves the writer.
 */
class ReplacingFile
{
public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // The open temporary file, for writers that take a C stream (libjpeg).
    std::FILE* File() { return m_file; }
    // The same file as a C++ stream.
    std::ostream& Stream() { return m_stream; }

    // Flushes and closes the file, checks that every byte was written, and puts it in place.
    void Commit();

private:
    // Sends a C++ stream's bytes to the C stream, through a buffer of its own.
    class FileBuffer : public std::streambuf
    {
    public:
        explicit FileBuffer(std::FILE* file);
        int_type overflow(int_type c) override;
        int sync() override;
        int Error() const { return m_error; } // errno of the first failed write, or 0

    private:
        bool Drain();
        std::FILE* m_file;
        std::vector<char> m_buffer;
        int m_error = 0;
    };

    static std::FILE* CreateTemporary(const std::string& target, std::string& temporary);
    [[noreturn]] void Fail(std::error_code error);

    std::string m_target;
    std::string m_temporary;
    std::FILE* m_file = nullptr;
    FileBuffer m_buffer;
    std::ostream m_stream;
};

} // namespace corvane
