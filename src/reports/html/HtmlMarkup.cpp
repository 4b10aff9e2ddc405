#include "reports/html/HtmlMarkup.h"

#include "text/TextDecoding.h"

#include "reports/html/UnicodeFileReader.h"
#include "text/TextRoutines.h"

namespace corvane {

namespace {

// Whether a lower-cased tag name is `word`, without a call per comparison: tags come by the million.
template <std::size_t N> bool Is(std::string_view name, const char (&word)[N])
{
    if (name.size() != N - 1)
        return false;
    for (std::size_t i = 0; i + 1 < N; ++i)
        if (name[i] != word[i])
            return false;
    return true;
}

} // namespace

std::string_view TagName(std::string_view tag, char (&name)[10])
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < tag.size() && n < 9; ++i) {
        const char c = tag[i];
        if (IsHtmlSpace(c) || (c == '/' && i > 0))
            break;
        name[n++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return std::string_view(name, n);
}

TagKind KindOf(std::string_view name)
{
    if (name.size() == 2 && name[0] == 't')
        return name[1] == 'd' || name[1] == 'h' ? TagKind::Cell : name[1] == 'r' ? TagKind::Row : TagKind::Other;
    if (Is(name, "br"))
        return TagKind::Break;
    if (Is(name, "table"))
        return TagKind::Table;
    if (Is(name, "title"))
        return TagKind::Title;
    if (Is(name, "meta"))
        return TagKind::Meta;
    if (Is(name, "style") || Is(name, "script"))
        return TagKind::Raw;
    if (Is(name, "body"))
        return TagKind::Body;
    return Is(name, "html") ? TagKind::Html : TagKind::Other;
}

int ColSpan(std::string_view value)
{
    int span = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            break;
        span = std::min(span * 10 + (c - '0'), 1000);
    }
    return std::max(span, 1);
}

std::size_t CharacterReference(std::string_view text, std::string& out)
{
    const std::size_t semicolon = text.substr(0, 12).find(';');
    if (semicolon == std::string_view::npos || semicolon < 2)
        return 0;
    const std::string_view name = text.substr(1, semicolon - 1);
    if (name[0] == '#') {
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        unsigned long code = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return 0;
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return 0;
            code = std::min(code * (hex ? 16 : 10) + static_cast<unsigned long>(digit), 0x110000UL);
        }
        if (code == 0 || code == 0xa0)
            code = ' ';
        if (code >= 0x110000 || (code >= 0xd800 && code <= 0xdfff))
            code = 0xfffd;
        AppendUtf8(out, static_cast<char32_t>(code));
        return semicolon + 1;
    }
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
    };
    for (const auto& [entity, character] : kNamed) {
        if (name == entity) {
            out.push_back(character);
            return semicolon + 1;
        }
    }
    return 0;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from)
{
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i)
        if (EqualsIgnoringCase(text.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

} // namespace corvane
