#pragma once

#include "platform/PlatformFiles.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * Reads a report file as the terminal's reports are meant to be read: as bytes, in pieces of at most
 * 1023 bytes. Each piece ends after the next newline, or after 1023 bytes when the line is longer, so
 * a long line arrives as several pieces. A CR LF line end reads as one newline, as a Windows text-mode
 * read gives it; a lone CR stays. A piece may hold NUL bytes.
 */
class LineReader
{
public:
    static constexpr std::size_t kMaxPiece = 1023;

    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    const std::string& Path() const { return m_path; }
    // The file's size when it is a regular file, else 0.
    std::size_t Size() const { return m_size; }
    // Whether reading stopped on an error rather than at the end of the file.
    bool Failed() const { return m_file != nullptr && std::ferror(m_file) != 0; }
    // The next piece, valid until the next call; false at the end of the file.
    bool Next(std::string_view& piece);
    // As Next, but at the end of the file the piece is empty: a missing line reads as an empty one.
    std::string_view NextOrEmpty();
    // Goes back to the start of the file, so that one opened file serves every pass of a load.
    void Rewind();
    // The opened file, for a reader of another text form (UTF-16) to read it; Rewind before reading on.
    std::FILE* File() const { return m_file; }
    // Up to `count` bytes from the start of the file, whatever was read before; then rewinds.
    std::string Start(std::size_t count);
    // The place in the file just after the last piece handed out.
    std::size_t Position() const { return m_read - (m_end - m_pos); }
    // Goes on reading from a place in the file, which should begin a piece; false when the file cannot
    // be moved there.
    bool Seek(std::size_t position);
    // How much of the file the pieces handed out so far cover, from 0 to 1 (0 for an empty file).
    double Fraction() const
    {
        const std::size_t position = m_shownPosition ? *m_shownPosition : Position();
        return m_size == 0 ? 0.0 : static_cast<double>(position) / static_cast<double>(m_size);
    }
    // Makes Fraction tell `position` (nothing: the reader's own place again), for lines read elsewhere:
    // another reader read them on another thread.
    void ShowPosition(std::optional<std::size_t> position) { m_shownPosition = position; }
    // As Fraction, for a file another reader (UTF-16) reads on a thread of its own: how far that reader
    // has come, as it counts the bytes it read (nothing: not followed, 0).
    void FollowReader(const std::atomic<std::uint64_t>* bytesRead) { m_followed = bytesRead; }
    double FileFraction() const
    {
        const std::uint64_t position = m_followed ? m_followed->load(std::memory_order_relaxed) : 0;
        return m_size == 0 ? 0.0 : static_cast<double>(position) / static_cast<double>(m_size);
    }

private:
    void Fill();

    std::string m_path;
    std::FILE* m_file = nullptr;
    const std::atomic<std::uint64_t>* m_followed = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    std::size_t m_read = 0; // bytes read from the file since its start
    std::size_t m_size = 0; // the file's size, when it is a regular file
    std::optional<std::size_t> m_shownPosition;
};

// Throws FileError when `reader` stopped on a read error: what was read of `path` is not the whole file,
// and the trades loaded before are kept.
void ThrowIfUnread(const LineReader& reader, const std::string& path);

} // namespace corvane
