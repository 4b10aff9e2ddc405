#include "text/LineReader.h"

#include "platform/PlatformFiles.h"
#include "text/Errors.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace corvane {

namespace {
constexpr std::size_t kChunk = 1 << 20;
}

LineReader::LineReader(const std::string& path) : m_path(path), m_file(OpenFile(path, "rb"))
{
    if (!m_file)
        return;
    // A small file needs no more room than itself; a large one is read a chunk at a time.
    std::error_code error;
    std::size_t chunk = kChunk;
    const std::filesystem::path native = NativePath(path);
    if (std::filesystem::is_regular_file(native, error)) {
        const std::uintmax_t size = std::filesystem::file_size(native, error);
        if (!error) {
            m_size = static_cast<std::size_t>(size);
            chunk = std::min(chunk, m_size);
        }
    }
    m_buffer.resize(chunk + kMaxPiece + 2);
}

LineReader::~LineReader()
{
    if (m_file)
        std::fclose(m_file);
}

void LineReader::Fill()
{
    // Keep at least one whole piece and the CR LF that may end it in the buffer.
    if (m_atEnd || m_end - m_pos > kMaxPiece + 1)
        return;
    std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
    m_end -= m_pos;
    m_pos = 0;
    while (!m_atEnd && m_end < m_buffer.size()) {
        const std::size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_file);
        m_end += got;
        m_read += got;
        if (got == 0)
            m_atEnd = true; // end of file, or a read error (a directory, a vanished file): nothing more
    }
}

bool LineReader::Next(std::string_view& piece)
{
    if (!m_file)
        return false;
    Fill();
    const std::size_t available = m_end - m_pos;
    if (available == 0)
        return false;
    char* start = m_buffer.data() + m_pos;
    const std::size_t window = available < kMaxPiece + 1 ? available : kMaxPiece + 1;
    if (auto* newline = static_cast<char*>(std::memchr(start, '\n', window))) {
        const std::size_t raw = static_cast<std::size_t>(newline - start) + 1;
        const bool crlf = raw >= 2 && newline[-1] == '\r';
        if (raw - (crlf ? 1 : 0) <= kMaxPiece) {
            m_pos += raw;
            if (crlf) {
                newline[-1] = '\n';
                piece = std::string_view(start, raw - 1);
            } else {
                piece = std::string_view(start, raw);
            }
            return true;
        }
    }
    const std::size_t length = available < kMaxPiece ? available : kMaxPiece;
    m_pos += length;
    piece = std::string_view(start, length);
    return true;
}

std::string_view LineReader::NextOrEmpty()
{
    std::string_view piece;
    return Next(piece) ? piece : std::string_view();
}

void LineReader::Rewind()
{
    if (!m_file)
        return;
    std::clearerr(m_file);
    std::rewind(m_file);
    m_pos = m_end = m_read = 0;
    m_atEnd = false;
}

bool LineReader::Seek(std::size_t position)
{
    if (!m_file)
        return false;
    std::clearerr(m_file);
    if (!SetFilePosition(m_file, static_cast<std::int64_t>(position)))
        return false;
    m_pos = m_end = 0;
    m_read = position;
    m_atEnd = false;
    return true;
}

std::string LineReader::Start(std::size_t count)
{
    std::string bytes;
    if (!m_file)
        return bytes;
    std::rewind(m_file);
    // No more room than the file needs, when its size is known: most reports are far below the count.
    if (m_size > 0)
        count = std::min(count, m_size);
    bytes.resize(count);
    bytes.resize(std::fread(bytes.data(), 1, count, m_file));
    Rewind();
    return bytes;
}

void ThrowIfUnread(const LineReader& reader, const std::string& path)
{
    if (reader.Failed())
        throw FileError("Could not read " + path
                        + ": the file ended in a read error; the trades loaded before are kept.");
}

} // namespace corvane
