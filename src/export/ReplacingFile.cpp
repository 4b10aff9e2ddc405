#include "export/ReplacingFile.h"

#include "trades/Errors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string Reason(int error)
{
    return error ? std::strerror(error) : "an unknown error";
}

// A symbolic link stays and the file it points to is replaced, as writing through the link would.
std::string FollowLink(std::string target)
{
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error)
            return resolved.string();
    }
    return target;
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
    struct stat existing = {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw FileError("Cannot write '" + target + "': it is a folder.");
    if (exists && ::access(target.c_str(), W_OK) != 0)
        throw FileError("Cannot write '" + target + "': " + Reason(errno) + ".");

    static unsigned counter = 0;
    for (int attempt = 0;; ++attempt) {
        temporary = target + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST && attempt < 100)
                continue;
            throw FileError("Cannot create '" + target + "': " + Reason(errno) + ".");
        }
        if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
            // The new file keeps the permissions it was created with.
        }
        if (std::FILE* file = ::fdopen(fd, "wb"))
            return file;
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        throw FileError("Cannot create '" + target + "': " + Reason(error) + ".");
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
        ::unlink(m_temporary.c_str());
}

void ReplacingFile::Fail(int error)
{
    if (m_file)
        std::fclose(std::exchange(m_file, nullptr));
    ::unlink(m_temporary.c_str());
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
        Fail(error);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        Fail(errno);
    m_temporary.clear();
}

} // namespace corvane
