#include "export/ReplacingFile.h"

#include "platform/PlatformFiles.h"
#include "text/Errors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

namespace corvane {

namespace {

std::string Reason(int error)
{
    return error ? std::strerror(error) : "an unknown error";
}

std::string Reason(std::error_code error)
{
    return error ? error.message() : "an unknown error";
}

// A symbolic link stays and the file it points to is replaced, as writing through the link would.
std::string FollowLink(std::string target)
{
    std::error_code error;
    const std::filesystem::path native = NativePath(target);
    if (std::filesystem::is_symlink(native, error)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(native, error);
        if (!error)
            return Utf8Path(resolved);
    }
    return target;
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(NativePath(path), ignored);
}

// A number that tells this program's temporary names from another's writing beside the same target.
unsigned ProcessMark()
{
    static const unsigned mark = std::random_device{}();
    return mark;
}

} // namespace

ReplacingFile::FileBuffer::FileBuffer(std::FILE* file) : m_file(file), m_buffer(1 << 16)
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

bool ReplacingFile::FileBuffer::Drain()
{
    const std::size_t length = static_cast<std::size_t>(pptr() - pbase());
    if (m_error || (length && std::fwrite(pbase(), 1, length, m_file) != length)) {
        if (!m_error)
            m_error = errno ? errno : EIO;
        return false;
    }
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return true;
}

ReplacingFile::FileBuffer::int_type ReplacingFile::FileBuffer::overflow(int_type c)
{
    if (!Drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int ReplacingFile::FileBuffer::sync()
{
    return Drain() ? 0 : -1;
}

std::FILE* ReplacingFile::CreateTemporary(const std::string& target, std::string& temporary)
{
    std::error_code error;
    const std::filesystem::file_status existing = std::filesystem::status(NativePath(target), error);
    const bool exists = std::filesystem::exists(existing);
    if (std::filesystem::is_directory(existing))
        throw FileError("Cannot write '" + target + "': it is a folder.");
    if (exists) {
        // Opening for appending writes nothing, and is refused just as replacing the file would be
        // (no permission, a read-only file, a file another program holds open on Windows).
        std::FILE* probe = OpenFile(target, "ab");
        if (!probe)
            throw FileError("Cannot write '" + target + "': " + Reason(errno) + ".");
        std::fclose(probe);
    }

    static unsigned counter = 0;
    for (int attempt = 0;; ++attempt) {
        temporary = target + "." + std::to_string(ProcessMark()) + "-" + std::to_string(counter++) + ".part";
        errno = 0;
        std::FILE* file = CreateNewFile(temporary);
        if (!file) {
            if (errno == EEXIST && attempt < 100)
                continue;
            throw FileError("Cannot create '" + target + "': " + Reason(errno) + ".");
        }
        if (exists) {
            // The new file takes the permissions of the one it replaces, where it may.
            std::filesystem::permissions(NativePath(temporary), existing.permissions(), error);
        }
        return file;
    }
}

ReplacingFile::ReplacingFile(std::string target)
    : m_target(FollowLink(std::move(target)))
    , m_file(CreateTemporary(m_target, m_temporary))
    , m_buffer(m_file)
    , m_stream(&m_buffer)
{
}

ReplacingFile::~ReplacingFile()
{
    if (m_file)
        std::fclose(m_file);
    if (!m_temporary.empty())
        RemoveQuietly(m_temporary);
}

void ReplacingFile::Fail(std::error_code error)
{
    if (m_file)
        std::fclose(std::exchange(m_file, nullptr));
    RemoveQuietly(m_temporary);
    m_temporary.clear();
    throw FileError("Cannot write '" + m_target + "': " + Reason(error) + ".");
}

void ReplacingFile::Commit()
{
    m_stream.flush();
    int error = m_buffer.Error();
    if (!error && m_stream.fail())
        error = EIO;
    if (!error && (std::fflush(m_file) != 0 || std::ferror(m_file)))
        error = errno ? errno : EIO;
    const int closed = std::fclose(std::exchange(m_file, nullptr));
    if (!error && closed != 0)
        error = errno ? errno : EIO;
    if (error)
        Fail(std::error_code(error, std::generic_category()));
    // Replaces an existing target on both systems (MoveFileEx with its replace flag on Windows).
    std::error_code renamed;
    std::filesystem::rename(NativePath(m_temporary), NativePath(m_target), renamed);
    if (renamed)
        Fail(renamed);
    m_temporary.clear();
}

} // namespace corvane
