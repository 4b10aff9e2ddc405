#include "text/LineReader.h"
#include "platform/PlatformFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::TempDir;

std::vector<std::string> Pieces(const std::string& path)
{
    LineReader reader(path);
    std::vector<std::string> pieces;
    std::string_view piece;
    while (reader.Next(piece))
        pieces.emplace_back(piece);
    return pieces;
}

std::vector<std::string> PiecesOf(const std::string& bytes)
{
    const TempDir dir;
    return Pieces(dir.Write("lines.htm", bytes));
}

// What a text-mode read of lines into a 1024-byte buffer gives: CR LF turned into LF first, then
// pieces of at most 1023 bytes, each ending after the first LF within them.
std::vector<std::string> ExpectedPieces(const std::string& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text.push_back(bytes[i]);
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = std::min<std::size_t>(1023, text.size() - pos);
        const std::size_t newline = text.find('\n', pos);
        if (newline != std::string::npos && newline < pos + length)
            length = newline - pos + 1;
        pieces.push_back(text.substr(pos, length));
        pos += length;
    }
    return pieces;
}

TEST(LineReader, SplitsAsATextModeLineRead)
{
    const std::string a1022(1022, 'a');
    const std::string a1023(1023, 'a');
    const std::string a2500(2500, 'b');
    const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
        {"CrLfReadsAsOneNewline", "abc\r\ndef\r\n", {"abc\n", "def\n"}},
        {"LfOnly", "abc\ndef\n", {"abc\n", "def\n"}},
        {"LoneCrStays", "a\rb\r\n", {"a\rb\n"}},
        {"CrBeforeCrLf", "a\r\r\n", {"a\r\n"}},
        {"CrAtTheEnd", "a\nb\r", {"a\n", "b\r"}},
        {"LastLineWithoutNewline", "a\r\nlast", {"a\n", "last"}},
        {"EmptyLines", "\r\n\n\r\n", {"\n", "\n", "\n"}},
        {"Line1022WithCrLfIsOnePiece", a1022 + "\r\nx", {a1022 + "\n", "x"}},
        {"Line1022WithLfIsOnePiece", a1022 + "\nx", {a1022 + "\n", "x"}},
        {"Line1023WithCrLfIsTwoPieces", a1023 + "\r\nx", {a1023, "\n", "x"}},
        {"Line1023WithLfIsTwoPieces", a1023 + "\nx", {a1023, "\n", "x"}},
        {"Line1021WithCrCrLf", std::string(1021, 'a') + "\r\r\n", {std::string(1021, 'a') + "\r\n"}},
        {"LongLineWithoutNewline", a2500, {a2500.substr(0, 1023), a2500.substr(1023, 1023), a2500.substr(2046)}},
        {"NulBytesAreKept", std::string("a\0b\r\n\0\n", 7), {std::string("a\0b\n", 4), std::string("\0\n", 2)}},
        {"EmptyFile", "", {}},
    };
    for (const auto& [name, bytes, pieces] : cases)
        EXPECT_EQ(PiecesOf(bytes), pieces) << name;
}

// Lines of every length around the piece size, with all three kinds of line end, over a file larger than
// the reader's buffer, so that line ends also fall on the buffer's edges.
TEST(LineReader, RandomLinesAgreeWithATextModeRead)
{
    std::mt19937 random(7);
    std::string bytes;
    while (bytes.size() < 3'500'000) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        const int length = kind < 3 ? std::uniform_int_distribution<int>(1018, 1026)(random)
                                    : std::uniform_int_distribution<int>(0, 3000)(random);
        for (int i = 0; i < length; ++i)
            bytes.push_back(static_cast<char>('a' + i % 26));
        const int end = std::uniform_int_distribution<int>(0, 5)(random);
        bytes += end < 3 ? "\r\n" : end < 5 ? "\n" : "\r";
    }
    const std::vector<std::string> actual = PiecesOf(bytes);
    const std::vector<std::string> expected = ExpectedPieces(bytes);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "piece " << i;
}

TEST(LineReader, AMissingLineReadsAsEmptyAndAMissingFileOrFolderHasNone)
{
    const TempDir dir;
    LineReader reader(dir.Write("short.htm", "one\r\n"));
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.NextOrEmpty(), "one\n");
    EXPECT_EQ(reader.NextOrEmpty(), "");
    EXPECT_EQ(reader.NextOrEmpty(), "");
    std::string_view piece = "unchanged";
    EXPECT_FALSE(reader.Next(piece));
    EXPECT_TRUE(LineReader(dir.Write("empty.htm", "")).IsOpen());

    LineReader missing(dir.File("missing.htm"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Next(piece));
    EXPECT_EQ(missing.NextOrEmpty(), "");
    EXPECT_EQ(Pieces(dir.Path().string()), std::vector<std::string>{});

    // A name in another alphabet is UTF-8 text on every system.
    std::filesystem::create_directory(dir.Path() / NativePath("Отчёты"));
    EXPECT_EQ(Pieces(dir.Write("Отчёты/отчёт.htm", "<html>\r\n")), std::vector<std::string>{"<html>\n"});
}

} // namespace
} // namespace corvane
