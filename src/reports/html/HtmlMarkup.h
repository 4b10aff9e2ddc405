#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace corvane {

// The pieces of HTML that HtmlRowScanner reads: tag names, attributes and character references.

inline bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

enum class TagKind
{
    Other,
    Cell, // td, th
    Row,
    Table,
    Break,
    Title,
    Meta,
    Raw, // style or script: their content is no text
    Body,
    Html,
};

// The tag's name, lower-cased, after an optional "/": "td", "/tr"... Longer names are cut to 9 letters.
std::string_view TagName(std::string_view tag, char (&name)[10]);

// What a lower-cased tag name (without its "/") is.
TagKind KindOf(std::string_view name);

// Calls `visit(name, value)` for each attribute of a tag (its text after the name), the value quoted
// or not; an attribute without a value has an empty one.
template <typename Visit> void ForEachAttribute(std::string_view tag, Visit&& visit)
{
    std::size_t i = 0;
    const std::size_t n = tag.size();
    while (i < n && !IsHtmlSpace(tag[i]) && !(tag[i] == '/' && i > 0))
        ++i;
    while (i < n) {
        while (i < n && (IsHtmlSpace(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < n && !IsHtmlSpace(tag[i]) && tag[i] != '=' && tag[i] != '/')
            ++i;
        const std::string_view name = tag.substr(nameStart, i - nameStart);
        while (i < n && IsHtmlSpace(tag[i]))
            ++i;
        std::string_view value;
        if (i < n && tag[i] == '=') {
            ++i;
            while (i < n && IsHtmlSpace(tag[i]))
                ++i;
            if (i < n && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t end = std::min(tag.find(quote, i), n);
                value = tag.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t start = i;
                while (i < n && !IsHtmlSpace(tag[i]))
                    ++i;
                value = tag.substr(start, i - start);
            }
        } else if (name.empty() && i < n) {
            ++i;
        }
        if (!name.empty())
            visit(name, value);
    }
}

// A colspan value: its leading digits, at least 1 and at most 1000.
int ColSpan(std::string_view value);

// Decodes the character reference at the start of `text` ("&amp;", "&#12354;", "&nbsp;" as a blank)
// into `out` and returns its length, or 0 when it is none.
std::size_t CharacterReference(std::string_view text, std::string& out);

// text.find(c, from): markup is dense, so the next byte is looked for by hand a few bytes first.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from)
{
    const std::size_t near = std::min(text.size(), from + 24);
    for (std::size_t i = from; i < near; ++i)
        if (text[i] == c)
            return i;
    return near < text.size() ? text.find(c, near) : std::string_view::npos;
}

// Finds `needle` in `text` from `from` on, ignoring the letter case of ASCII letters.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from);

} // namespace corvane
