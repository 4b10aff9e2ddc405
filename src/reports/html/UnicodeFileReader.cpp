#include "reports/html/UnicodeFileReader.h"

#include "platform/PlatformFiles.h"
#include "text/Simd.h"
#include "text/TextDecoding.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

constexpr unsigned kReplacement = 0xfffd;

bool IsHighSurrogate(unsigned unit)
{
    return unit >= 0xd800 && unit <= 0xdbff;
}

bool IsLowSurrogate(unsigned unit)
{
    return unit >= 0xdc00 && unit <= 0xdfff;
}

} // namespace

namespace {

} // namespace

char* Utf16Decoder::Unit(unsigned unit, char* out)
{
    if (m_high != 0) {
        const unsigned high = m_high;
        m_high = 0;
        if (IsLowSurrogate(unit))
            return PutUtf8(0x10000 + ((high - 0xd800) << 10) + (unit - 0xdc00), out);
        out = PutUtf8(kReplacement, out);
    }
    if (IsHighSurrogate(unit))
        m_high = unit;
    else if (IsLowSurrogate(unit))
        out = PutUtf8(kReplacement, out);
    else
        out = PutUtf8(unit == 0 ? ' ' : unit, out);
    return out;
}

void Utf16Decoder::Decode(std::string_view bytes, std::string& out)
{
    // The text is made a block at a time in a buffer of the worst case's size, then appended.
    constexpr std::size_t kBlock = 1 << 13;
    // A code unit makes at most three bytes of UTF-8 (a surrogate pair four for two units), and a
    // surrogate left waiting may add a U+FFFD.
    char buffer[(kBlock / 2 + 2) * 3];
    while (!bytes.empty()) {
        const std::size_t size = std::min(bytes.size(), kBlock);
        out.append(buffer, static_cast<std::size_t>(DecodeBlock(bytes.substr(0, size), buffer) - buffer));
        bytes.remove_prefix(size);
    }
}

char* Utf16Decoder::DecodeBlock(std::string_view bytes, char* o)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    if (m_oddByte >= 0 && p != end) {
        const unsigned first = static_cast<unsigned>(m_oddByte);
        m_oddByte = -1;
        o = Unit(m_bigEndian ? (first << 8) | *p : first | (*p << 8), o);
        ++p;
    }
    // Most of a report is ASCII: such units are taken several at a time, each one byte of UTF-8.
    const int low = m_bigEndian ? 1 : 0;
    const int high = 1 - low;
    [[maybe_unused]] const bool vectors = SimdInUse() >= SimdLevel::Sse2;
    while (end - p >= 2) {
#if defined(CORVANE_X86_SIMD)
        if (vectors && !m_bigEndian && m_high == 0 && end - p >= 16) {
            const unsigned char* before = p;
            DecodeAscii(p, end, o);
            if (p != before)
                continue;
        }
#endif
        if (end - p >= 8 && m_high == 0) {
            if ((p[high] | p[high + 2] | p[high + 4] | p[high + 6]) == 0
                && ((p[low] | p[low + 2] | p[low + 4] | p[low + 6]) & 0x80) == 0) {
                for (int i = 0; i < 4; ++i) {
                    const unsigned char c = p[2 * i + low];
                    o[i] = c != 0 ? static_cast<char>(c) : ' ';
                }
                o += 4;
                p += 8;
                continue;
            }
        }
        o = Unit(m_bigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8), o);
        p += 2;
    }
    if (p != end)
        m_oddByte = *p;
    return o;
}

#if defined(CORVANE_X86_SIMD)
void Utf16Decoder::DecodeAscii(const unsigned char*& p, const unsigned char* end, char*& o)
{
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xff80));
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, nonAscii), zero)) != 0xffff)
            return; // a unit that is not ASCII: the caller goes on unit by unit
        const __m128i bytes = _mm_packus_epi16(units, units);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)) != 0)
            return; // a NUL, which reads as a blank
        _mm_storel_epi64(reinterpret_cast<__m128i*>(o), bytes);
        o += 8;
        p += 16;
    }
}
#endif

void Utf16Decoder::Finish(std::string& out)
{
    if (m_high != 0) {
        m_high = 0;
        AppendUtf8(out, kReplacement);
    }
}

TextEncoding DetectTextEncoding(std::string_view head, std::size_t& markLength)
{
    markLength = 0;
    const auto byte = [&](std::size_t i) { return i < head.size() ? static_cast<unsigned char>(head[i]) : 0x100u; };
    if (byte(0) == 0xff && byte(1) == 0xfe) {
        markLength = 2;
        return TextEncoding::Utf16Le;
    }
    if (byte(0) == 0xfe && byte(1) == 0xff) {
        markLength = 2;
        return TextEncoding::Utf16Be;
    }
    if (byte(0) == 0xef && byte(1) == 0xbb && byte(2) == 0xbf) {
        markLength = 3;
        return TextEncoding::Utf8;
    }
    // Without a mark, an ASCII character and a zero byte make UTF-16: "<" and a zero, or a zero and "<".
    if (byte(0) != 0 && byte(0) < 0x80 && byte(1) == 0)
        return TextEncoding::Utf16Le;
    if (byte(0) == 0 && byte(1) != 0 && byte(1) < 0x80)
        return TextEncoding::Utf16Be;
    return TextEncoding::Utf8;
}

UnicodeFileReader::UnicodeFileReader(const std::string& path, std::size_t bufferBytes)
    : m_file(OpenFile(path, "rb"))
    , m_buffer(bufferBytes < 4 ? 4 : bufferBytes)
{
    Start();
}

UnicodeFileReader::UnicodeFileReader(std::FILE* file, std::size_t bufferBytes)
    : m_file(file)
    , m_owned(false)
    , m_buffer(bufferBytes < 4 ? 4 : bufferBytes)
{
    if (m_file) {
        std::clearerr(m_file);
        std::rewind(m_file);
    }
    Start();
}

void UnicodeFileReader::Start()
{
    if (!m_file)
        return;
    m_end = ReadBytes();
    std::size_t mark = 0;
    m_encoding = DetectTextEncoding(std::string_view(m_buffer.data(), m_end), mark);
    m_start = mark;
    m_decoder = Utf16Decoder(m_encoding == TextEncoding::Utf16Be);
}

UnicodeFileReader::~UnicodeFileReader()
{
    if (m_file && m_owned)
        std::fclose(m_file);
}

std::size_t UnicodeFileReader::ReadBytes()
{
    std::size_t got = 0;
    while (!m_atEnd && got < m_buffer.size()) {
        const std::size_t n = std::fread(m_buffer.data() + got, 1, m_buffer.size() - got, m_file);
        got += n;
        m_bytesRead.fetch_add(n, std::memory_order_relaxed);
        if (n == 0) {
            m_atEnd = true;
            m_failed = std::ferror(m_file) != 0;
        }
    }
    return got;
}

bool UnicodeFileReader::Next(std::string& piece)
{
    piece.clear();
    if (!m_file)
        return false;
    while (piece.empty()) {
        if (m_start == m_end) {
            if (m_atEnd) {
                if (m_encoding != TextEncoding::Utf8)
                    m_decoder.Finish(piece);
                return !piece.empty();
            }
            m_start = 0;
            m_end = ReadBytes();
            continue;
        }
        const std::string_view bytes(m_buffer.data() + m_start, m_end - m_start);
        m_start = m_end;
        if (m_encoding == TextEncoding::Utf8) {
            piece.assign(bytes);
            std::replace(piece.begin(), piece.end(), '\0', ' ');
        } else {
            piece.reserve(bytes.size() / 2 + 8);
            m_decoder.Decode(bytes, piece);
        }
    }
    return true;
}

ReadAheadReader::ReadAheadReader(std::FILE* file, std::size_t bufferBytes) : m_reader(file, bufferBytes)
{
    if (m_reader.IsOpen())
        m_thread = std::thread(&ReadAheadReader::Run, this);
    else
        m_pieces.Close();
}

ReadAheadReader::~ReadAheadReader()
{
    m_pieces.Stop();
    if (m_thread.joinable())
        m_thread.join();
}

void ReadAheadReader::Run()
{
    std::string piece;
    try {
        while (m_reader.Next(piece))
            if (!m_pieces.Put(piece))
                return;
        m_failed = m_reader.Failed();
        m_pieces.Close();
    } catch (...) {
        m_pieces.Close(std::current_exception());
    }
}

bool ReadAheadReader::Next(std::string& piece)
{
    try {
        if (m_pieces.Take(piece))
            return true;
    } catch (...) {
        piece.clear();
        throw;
    }
    piece.clear();
    return false;
}

} // namespace corvane
