#include "text/TextRoutines.h"

#include <algorithm>

namespace corvane {

bool ExtractBetween(std::string_view text, std::string_view open, std::string_view close, int n, std::string& out)
{
    out.clear();
    // A missing `open` or `close` fails in the walk below just as a first check for them would:
    // without `open` no occurrence is passed, and a `close` found nowhere is found nowhere after it.
    if (open.empty() || close.empty())
        return false;
    std::size_t pos = 0;
    const int passes = n < 1 ? 1 : n;
    for (int i = 0; i < passes; ++i) {
        const std::size_t at = text.find(open, pos);
        if (at == std::string_view::npos)
            return false;
        pos = at + open.size();
        if (pos >= text.size())
            return false;
    }
    const std::size_t end = text.find(close, pos);
    if (end == std::string_view::npos)
        return false;
    out.assign(text.substr(pos, end - pos));
    return true;
}

std::string Field(std::string_view text, std::string_view open, std::string_view close, int n)
{
    std::string out;
    ExtractBetween(text, open, close, n, out);
    return out;
}

void RemoveBlanks(std::string& text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}

std::string WithoutBlanks(std::string_view text)
{
    std::string out(text);
    RemoveBlanks(out);
    return out;
}

std::string_view UpToNul(std::string_view text)
{
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

namespace {
char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string PadLeft(std::string_view text, int width)
{
    std::string out;
    if (static_cast<int>(text.size()) < width)
        out.assign(static_cast<std::size_t>(width) - text.size(), ' ');
    out.append(text);
    return out;
}

} // namespace corvane
