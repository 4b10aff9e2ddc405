#pragma once

#include "reports/html/HandOver.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace corvane {

enum class TextEncoding
{
    Utf8,
    Utf16Le,
    Utf16Be,
};

/**
 * Turns UTF-16 bytes into UTF-8 a piece at a time: a code unit or a surrogate pair split between two
 * pieces is joined again. A surrogate without its partner becomes U+FFFD, and U+0000 a blank, so that
 * the text never holds a NUL. An odd byte left at the end of the text is dropped.
 */
class Utf16Decoder
{
public:
    explicit Utf16Decoder(bool bigEndian) : m_bigEndian(bigEndian) {}

    // Appends the UTF-8 form of `bytes` to `out`.
    void Decode(std::string_view bytes, std::string& out);
    // The end of the text: a high surrogate still waiting for its partner becomes U+FFFD.
    void Finish(std::string& out);
    // Whether the text ended in half a code unit.
    bool OddByteLeft() const { return m_oddByte >= 0; }

private:
    // Writes the UTF-8 form of at most 8 KB at `out`; returns the end of what it wrote.
    char* DecodeBlock(std::string_view bytes, char* out);
    // Writes the UTF-8 of one code unit at `out`; returns the end of what it wrote.
    char* Unit(unsigned unit, char* out);
    // Copies little-endian ASCII units eight at a time, as far as they go.
    static void DecodeAscii(const unsigned char*& p, const unsigned char* end, char*& o);

    bool m_bigEndian;
    int m_oddByte = -1;  // the first byte of a code unit whose second byte is still to come
    unsigned m_high = 0; // a high surrogate waiting for the low one
};

/**
 * Reads a text file as UTF-8 a piece at a time, whatever Unicode form it is written in: UTF-16 with a
 * byte-order mark (little- or big-endian) or without one (a text that begins with an ASCII character
 * and a zero byte, or the other way round), or UTF-8 with or without its mark. The mark is left out; a UTF-8 file's
 * bytes pass unchanged, but for NUL bytes, which read as blanks. Only one buffer of the file is held at a time.
 */
class UnicodeFileReader
{
public:
    explicit UnicodeFileReader(const std::string& path, std::size_t bufferBytes = 1 << 18);
    // Reads a file opened elsewhere, from its start; the file stays open when the reader ends.
    explicit UnicodeFileReader(std::FILE* file, std::size_t bufferBytes = 1 << 18);
    ~UnicodeFileReader();
    UnicodeFileReader(const UnicodeFileReader&) = delete;
    UnicodeFileReader& operator=(const UnicodeFileReader&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // Whether reading stopped on an error rather than at the end of the file.
    bool Failed() const { return m_failed; }
    TextEncoding Encoding() const { return m_encoding; }
    // The bytes of the file read so far, from its start: written by the reader's thread, read from any.
    const std::atomic<std::uint64_t>& BytesRead() const { return m_bytesRead; }

    // Replaces `piece` by the next piece of text; false once the whole file has been read.
    bool Next(std::string& piece);

private:
    void Start();
    std::size_t ReadBytes();

    std::FILE* m_file = nullptr;
    bool m_owned = true;
    std::vector<char> m_buffer;
    std::size_t m_start = 0; // the head's bytes not yet handed out (the byte-order mark is skipped)
    std::size_t m_end = 0;
    TextEncoding m_encoding = TextEncoding::Utf8;
    Utf16Decoder m_decoder{false};
    bool m_atEnd = false;
    bool m_failed = false;
    std::atomic<std::uint64_t> m_bytesRead{0};
};

/**
 * A UnicodeFileReader on a file opened elsewhere that reads and decodes the next pieces on a thread of
 * its own while the caller works on the one before. The pieces, and so all that is made of them, are the
 * reader's own, in the same order; only the waiting on the disk and the decoding leave the caller's
 * thread. The thread ends when the file is read or the reader ends.
 */
class ReadAheadReader
{
public:
    // `bufferBytes`: the size of a piece, as UnicodeFileReader's.
    explicit ReadAheadReader(std::FILE* file, std::size_t bufferBytes = 1 << 18);
    ~ReadAheadReader();
    ReadAheadReader(const ReadAheadReader&) = delete;
    ReadAheadReader& operator=(const ReadAheadReader&) = delete;

    bool IsOpen() const { return m_reader.IsOpen(); }
    TextEncoding Encoding() const { return m_reader.Encoding(); }
    // How far the reading thread has come in the file, for the caller's thread.
    const std::atomic<std::uint64_t>& BytesRead() const { return m_reader.BytesRead(); }
    // Once Next has returned false: whether reading stopped on an error.
    bool Failed() const { return m_failed; }
    // As UnicodeFileReader::Next, `piece` going back to be filled again; rethrows what the reading
    // thread ran into.
    bool Next(std::string& piece);

private:
    void Run();

    static constexpr std::size_t kAhead = 3; // pieces read before the caller asks for them

    UnicodeFileReader m_reader;
    HandOver<std::string> m_pieces{kAhead};
    bool m_failed = false; // the reading thread's, until it closes m_pieces
    std::thread m_thread;  // started last, once the members it uses are built
};

// The encoding that the first bytes of a file name, and the length of its byte-order mark.
TextEncoding DetectTextEncoding(std::string_view head, std::size_t& markLength);

} // namespace corvane
