#include "UnicodeFileReader.h"

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

void AppendUtf8(unsigned code, std::string& out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xc0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xe0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
    } else {
        out.push_back(static_cast<char>(0xf0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3f)));
    }
}

void Utf16Decoder::Unit(unsigned unit, std::string& out)
{
    if (m_high != 0) {
        const unsigned high = m_high;
        m_high = 0;
        if (IsLowSurrogate(unit)) {
            AppendUtf8(0x10000 + ((high - 0xd800) << 10) + (unit - 0xdc00), out);
            return;
        }
        AppendUtf8(kReplacement, out);
    }
    if (IsHighSurrogate(unit))
        m_high = unit;
    else if (IsLowSurrogate(unit))
        AppendUtf8(kReplacement, out);
    else
        AppendUtf8(unit == 0 ? ' ' : unit, out);
}

void Utf16Decoder::Decode(std::string_view bytes, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    if (m_oddByte >= 0 && p != end) {
        const unsigned first = static_cast<unsigned>(m_oddByte);
        m_oddByte = -1;
        Unit(m_bigEndian ? (first << 8) | *p : first | (*p << 8), out);
        ++p;
    }
    const int lowByte = m_bigEndian ? 1 : 0;
    for (; end - p >= 2; p += 2) {
        // Most of a report is ASCII: such a unit is one byte of UTF-8.
        if (p[1 - lowByte] == 0 && p[lowByte] != 0 && p[lowByte] < 0x80 && m_high == 0)
            out.push_back(static_cast<char>(p[lowByte]));
        else
            Unit(m_bigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8), out);
    }
    if (p != end)
        m_oddByte = *p;
}

void Utf16Decoder::Finish(std::string& out)
{
    if (m_high != 0) {
        m_high = 0;
        AppendUtf8(kReplacement, out);
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
    if (byte(0) == '<' && byte(1) == 0)
        return TextEncoding::Utf16Le;
    return TextEncoding::Utf8;
}

UnicodeFileReader::UnicodeFileReader(const std::string& path, std::size_t bufferBytes)
    : m_file(std::fopen(path.c_str(), "rb"))
    , m_buffer(bufferBytes < 4 ? 4 : bufferBytes)
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
    if (m_file)
        std::fclose(m_file);
}

std::size_t UnicodeFileReader::ReadBytes()
{
    std::size_t got = 0;
    while (!m_atEnd && got < m_buffer.size()) {
        const std::size_t n = std::fread(m_buffer.data() + got, 1, m_buffer.size() - got, m_file);
        got += n;
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
            for (char* c = piece.data(); (c = static_cast<char*>(std::memchr(c, '\0', piece.data() + piece.size() - c)));)
                *c = ' ';
        } else {
            piece.reserve(bytes.size() / 2 + 8);
            m_decoder.Decode(bytes, piece);
        }
    }
    return true;
}

} // namespace corvane
