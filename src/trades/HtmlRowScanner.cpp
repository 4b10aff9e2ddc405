#include "HtmlRowScanner.h"

#include "TextRoutines.h"
#include "UnicodeFileReader.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::size_t kMaxTag = 1 << 16;
constexpr std::size_t kMaxText = 1 << 16;
constexpr int kMaxCells = 64;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsLineSpace(char c)
{
    return c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The tag's name, lower-cased, after an optional "/": "td", "/tr"... Longer names are cut to 8 letters.
std::string_view TagName(std::string_view tag, char (&name)[10])
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < tag.size() && n < 9; ++i) {
        const char c = tag[i];
        if (IsSpace(c) || (c == '/' && i > 0))
            break;
        name[n++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return std::string_view(name, n);
}

enum class TagKind
{
    Other,
    Cell,
    Row,
    Table,
    Break,
    Title,
    Meta,
    Raw, // style or script: their content is no text
    Body,
    Html,
};

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

// Calls `visit(name, value)` for each attribute of a tag (its text after the name), the value quoted
// or not; an attribute without a value has an empty one.
template <typename Visit> void ForEachAttribute(std::string_view tag, Visit&& visit)
{
    std::size_t i = 0;
    const std::size_t n = tag.size();
    while (i < n && !IsSpace(tag[i]) && !(tag[i] == '/' && i > 0))
        ++i;
    while (i < n) {
        while (i < n && (IsSpace(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < n && !IsSpace(tag[i]) && tag[i] != '=' && tag[i] != '/')
            ++i;
        const std::string_view name = tag.substr(nameStart, i - nameStart);
        while (i < n && IsSpace(tag[i]))
            ++i;
        std::string_view value;
        if (i < n && tag[i] == '=') {
            ++i;
            while (i < n && IsSpace(tag[i]))
                ++i;
            if (i < n && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t end = std::min(tag.find(quote, i), n);
                value = tag.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t start = i;
                while (i < n && !IsSpace(tag[i]))
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

// Decodes the character reference at the start of `text` ("&amp;", "&#12354;"...) into `out` and
// returns its length, or 0 when it is none.
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
        AppendUtf8(static_cast<unsigned>(code), out);
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

// text.find(c, from): markup is dense, so the next byte is looked for by hand a few bytes first.
std::size_t FindByte(std::string_view text, char c, std::size_t from)
{
    const std::size_t near = std::min(text.size(), from + 24);
    for (std::size_t i = from; i < near; ++i)
        if (text[i] == c)
            return i;
    return near < text.size() ? text.find(c, near) : std::string_view::npos;
}

// Finds `needle` in `text` from `from` on, ignoring the letter case of ASCII letters.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from)
{
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i)
        if (EqualsIgnoringCase(text.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

} // namespace

void HtmlRowScanner::Feed(std::string_view text)
{
    m_buffer.append(text);
    const std::size_t used = Process(false);
    m_buffer.erase(0, used);
}

void HtmlRowScanner::Finish()
{
    Process(true);
    m_buffer.clear();
    EndRow(false);
}

std::size_t HtmlRowScanner::Process(bool final)
{
    const std::string_view text = m_buffer;
    const std::size_t n = text.size();
    std::size_t pos = 0;
    std::size_t nextGreater = 0; // the first ">" at or after the last place searched, or npos
    bool greaterKnown = false;
    while (pos < n) {
        if (m_mode == Mode::Comment) {
            const std::size_t end = text.find("-->", pos);
            if (end == std::string_view::npos) // keep what may be the start of "-->"
                return final ? n : std::max(pos, n < 2 ? 0 : n - 2);
            m_mode = Mode::Markup;
            pos = end + 3;
            continue;
        }
        if (m_mode == Mode::RawText) {
            const std::size_t end = FindIgnoringCase(text, m_rawEnd, pos);
            if (end == std::string_view::npos)
                return final ? n : std::max(pos, n < m_rawEnd.size() ? 0 : n - m_rawEnd.size());
            m_mode = Mode::Markup;
            pos = end;
            continue;
        }
        const std::size_t less = FindByte(text, '<', pos);
        if (less == std::string_view::npos) {
            std::size_t end = n;
            const std::size_t amp = text.rfind('&');
            if (!final && amp != std::string_view::npos && amp >= pos && n - amp < 12
                && text.find(';', amp) == std::string_view::npos)
                end = amp; // a character reference that may go on in the next piece
            Text(text.substr(pos, end - pos));
            return end;
        }
        Text(text.substr(pos, less - pos));
        pos = less;
        const std::string_view rest = text.substr(less, 4);
        const bool comment = rest.size() > 1 && rest[1] == '!' && rest == "<!--";
        if (!final && rest.size() < 4 && std::string_view("<!--").substr(0, rest.size()) == rest)
            return pos;
        if (comment) {
            m_mode = Mode::Comment;
            pos += 4;
            continue;
        }
        if (!greaterKnown || (nextGreater != std::string_view::npos && nextGreater <= less)) {
            nextGreater = FindByte(text, '>', less + 1);
            greaterKnown = true;
        }
        if (nextGreater == std::string_view::npos) {
            if (!final && n - less <= kMaxTag)
                return pos;
            Text("<");
            ++pos;
            continue;
        }
        if (nextGreater - less > kMaxTag) {
            Text("<");
            ++pos;
            continue;
        }
        Tag(text.substr(less + 1, nextGreater - less - 1));
        pos = nextGreater + 1;
    }
    return pos;
}

void HtmlRowScanner::Tag(std::string_view tag)
{
    char buffer[10];
    std::string_view name = TagName(tag, buffer);
    const bool closing = !name.empty() && name.front() == '/';
    if (closing)
        name.remove_prefix(1);
    switch (KindOf(name)) {
    case TagKind::Cell:
        if (closing)
            EndCell();
        else
            StartCell(tag);
        break;
    case TagKind::Row:
        EndRow(true);
        if (!closing)
            StartRow(tag);
        break;
    case TagKind::Table:
        EndRow(true);
        break;
    case TagKind::Break:
        Text(" ");
        break;
    case TagKind::Title:
        m_inTitle = !closing;
        break;
    case TagKind::Meta:
        if (!closing)
            Meta(tag);
        break;
    case TagKind::Raw:
        if (!closing) {
            m_mode = Mode::RawText;
            m_rawEnd = "</" + std::string(name);
        }
        break;
    case TagKind::Body:
        m_bodyStarted = m_bodyStarted || !closing;
        break;
    case TagKind::Html:
        m_endSeen = m_endSeen || closing;
        break;
    case TagKind::Other:
        break;
    }
}

void HtmlRowScanner::Meta(std::string_view tag)
{
    bool generator = false;
    std::string_view content;
    ForEachAttribute(tag, [&](std::string_view attribute, std::string_view value) {
        if (EqualsIgnoringCase(attribute, "name"))
            generator = EqualsIgnoringCase(value, "generator");
        else if (EqualsIgnoringCase(attribute, "content"))
            content = value;
    });
    if (generator)
        m_generator.assign(content.substr(0, kMaxText));
}

std::string* HtmlRowScanner::TextTarget()
{
    if (m_cellOpen)
        return &m_row.m_cells[static_cast<std::size_t>(m_row.m_size - 1)].Text;
    return m_inTitle ? &m_title : nullptr;
}

void HtmlRowScanner::Text(std::string_view text)
{
    std::string* target = TextTarget();
    if (target == nullptr || text.empty())
        return;
    std::size_t i = 0;
    while (i < text.size() && target->size() < kMaxText) {
        const char c = text[i];
        if (c == '&') {
            const std::size_t length = CharacterReference(text.substr(i), *target);
            if (length > 0) {
                i += length;
                continue;
            }
        }
        if (IsLineSpace(c)) {
            target->push_back(' ');
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && text[j] != '&' && !IsLineSpace(text[j]))
            ++j;
        target->append(text.substr(i, j - i));
        i = j;
    }
    if (target->size() > kMaxText)
        target->resize(kMaxText);
}

void HtmlRowScanner::StartRow(std::string_view tag)
{
    m_rowOpen = true;
    m_row.m_size = 0;
    m_row.HeaderColour = false;
    ForEachAttribute(tag, [this](std::string_view attribute, std::string_view value) {
        if (EqualsIgnoringCase(attribute, "bgcolor"))
            m_row.HeaderColour = EqualsIgnoringCase(value, "#E5F0FC");
    });
}

void HtmlRowScanner::EndRow(bool complete)
{
    if (!m_rowOpen)
        return;
    EndCell();
    m_row.Complete = complete;
    m_sink.OnRow(m_row);
    m_rowOpen = false;
    m_row.m_size = 0;
}

void HtmlRowScanner::StartCell(std::string_view tag)
{
    EndCell();
    if (!m_rowOpen)
        StartRow(std::string_view());
    if (m_row.m_size >= kMaxCells)
        return;
    if (static_cast<std::size_t>(m_row.m_size) == m_row.m_cells.size())
        m_row.m_cells.emplace_back();
    HtmlCell& cell = m_row.m_cells[static_cast<std::size_t>(m_row.m_size++)];
    cell.Text.clear();
    cell.ColSpan = 1;
    cell.Hidden = false;
    if (tag.size() > 2) {
        ForEachAttribute(tag, [&cell](std::string_view attribute, std::string_view value) {
            if (EqualsIgnoringCase(attribute, "colspan"))
                cell.ColSpan = ColSpan(value);
            else if (EqualsIgnoringCase(attribute, "class"))
                cell.Hidden = FindIgnoringCase(value, "hidden", 0) != std::string_view::npos;
        });
    }
    m_cellOpen = true;
}

void HtmlRowScanner::EndCell()
{
    if (!m_cellOpen)
        return;
    m_cellOpen = false;
    std::string& text = m_row.m_cells[static_cast<std::size_t>(m_row.m_size - 1)].Text;
    const std::size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos) {
        text.clear();
        return;
    }
    text.resize(last + 1);
    const std::size_t first = text.find_first_not_of(' ');
    if (first > 0)
        text.erase(0, first);
}

} // namespace corvane
