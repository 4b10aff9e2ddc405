#pragma once

#include <string>
#include <string_view>

namespace corvane {

/**
 * Cuts a field out of a line of report text by counting marker texts, the way every reader of report
 * text does. Sets `out` to "" and returns false when `open` or `close` is missing. Otherwise passes
 * `n` occurrences of `open` from the start of `text` (at least one, so n = 0 and n = 1 both mean the
 * first); fails when an occurrence is missing or the position just past it is the end of `text`;
 * then copies the characters from there up to the first `close` at or after that position.
 * The search is plain and case-sensitive: a marker inside an attribute value counts like any other.
 */
bool ExtractBetween(std::string_view text, std::string_view open, std::string_view close, int n, std::string& out);

// The field as ExtractBetween cuts it, or "" when it cannot be found.
std::string Field(std::string_view text, std::string_view open, std::string_view close, int n);

// Deletes every blank (code 0x20) in place; tabs and newlines stay.
void RemoveBlanks(std::string& text);
std::string WithoutBlanks(std::string_view text);

inline bool Contains(std::string_view text, std::string_view needle)
{
    return text.find(needle) != std::string_view::npos;
}

// White space as C's isspace sees it: blank, tab, newline, vertical tab, form feed, carriage return.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// The text without the characters of `strip` at its start and its end: blanks (code 0x20) unless
// other characters are named.
inline std::string_view Trimmed(std::string_view text, std::string_view strip = " ")
{
    // A plain loop rather than find(), which calls memchr for every character of every number read.
    const auto stripped = [strip](char c) {
        for (const char s : strip)
            if (c == s)
                return true;
        return false;
    };
    while (!text.empty() && stripped(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && stripped(text.back()))
        text.remove_suffix(1);
    return text;
}

// A date cell that holds a date begins with a digit (an open trade's close time is empty).
inline bool StartsWithDigit(std::string_view text)
{
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

// The text as a C string routine sees it: up to its first NUL byte.
std::string_view UpToNul(std::string_view text);

// Letters A to Z lowered; other bytes (code-page letters included) unchanged.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// "%<width>s": the text right-aligned to `width` with leading blanks; a longer text stays whole.
std::string PadLeft(std::string_view text, int width);

} // namespace corvane
