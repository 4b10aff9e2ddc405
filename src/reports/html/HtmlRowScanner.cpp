#include "reports/html/HtmlRowScanner.h"

#include "reports/html/HtmlMarkup.h"
#include "text/CodePage.h"
#include "text/Simd.h"
#include "text/TextRoutines.h"

#include <algorithm>
#include <array>
#include <bit>

namespace corvane {

namespace {

constexpr std::size_t kMaxTag = 1 << 16;
constexpr std::size_t kMaxText = HtmlRowScanner::kMaxCellText; // of a cell, the title or the generator
constexpr int kMaxCells = 64;

bool IsLineSpace(char c)
{
    return c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

#if defined(CORVANE_X86_SIMD)
// The bits of the bytes among the 16 at `at` that equal `c`.
unsigned Matches(const char* at, char c)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
}
#endif

// text.find(c, from), 16 bytes at a time: markup is dense and its runs are short.
std::size_t FindMarkupByte(std::string_view text, char c, std::size_t from)
{
#if defined(CORVANE_X86_SIMD)
    const bool vectors = SimdInUse() >= SimdLevel::Sse2;
    for (; vectors && from + 16 <= text.size(); from += 16)
        if (const unsigned found = Matches(text.data() + from, c))
            return from + static_cast<std::size_t>(std::countr_zero(found));
#endif
    for (; from < text.size(); ++from)
        if (text[from] == c)
            return from;
    return std::string_view::npos;
}

// The end of the run of bytes from `from` on that are neither "&" nor a line space.
std::size_t PlainRunEnd(std::string_view text, std::size_t from)
{
#if defined(CORVANE_X86_SIMD)
    const bool vectors = SimdInUse() >= SimdLevel::Sse2;
    for (; vectors && from + 16 <= text.size(); from += 16) {
        const char* at = text.data() + from;
        if (const unsigned found =
                Matches(at, '&') | Matches(at, '\t') | Matches(at, '\r') | Matches(at, '\n') | Matches(at, '\f'))
            return from + static_cast<std::size_t>(std::countr_zero(found));
    }
#endif
    static constexpr auto kNotPlain = [] {
        std::array<bool, 256> table{};
        for (const char c : {'&', '\t', '\r', '\n', '\f'})
            table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    while (from < text.size() && !kNotPlain[static_cast<unsigned char>(text[from])])
        ++from;
    return from;
}

// EqualsIgnoringCase(text, word) for a `word` without capitals, inline: rows and cells have their
// attributes looked at by the hundred thousand.
bool IsWord(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = text[i];
        const char w = word[i];
        if (c != w && !(w >= 'a' && w <= 'z' && c == w - ('a' - 'A')))
            return false;
    }
    return true;
}

// Row and cell tags make most of a report's tags: their kind when the tag's name at `at` is "tr", "td" or
// "th" in any letter case (ended by the tag's end, a blank or "/"), else Other.
TagKind RowOrCellAt(std::string_view tag, std::size_t at)
{
    if (tag.size() < at + 2 || (tag[at] | 0x20) != 't')
        return TagKind::Other;
    if (tag.size() > at + 2 && !IsHtmlSpace(tag[at + 2]) && tag[at + 2] != '/')
        return TagKind::Other;
    const char second = static_cast<char>(tag[at + 1] | 0x20);
    return second == 'd' || second == 'h' ? TagKind::Cell : second == 'r' ? TagKind::Row : TagKind::Other;
}

} // namespace

void HtmlRowScanner::Feed(std::string_view text)
{
    // What the last piece left is joined with the start of this one, which mostly completes it; the
    // rest of the piece is then cut where it stands, and only what it leaves is kept.
    constexpr std::size_t kJoined = 1 << 12;
    if (!m_buffer.empty()) {
        const std::size_t joined = std::min(text.size(), kJoined);
        m_buffer.append(text.substr(0, joined));
        text.remove_prefix(joined);
        m_buffer.erase(0, Process(m_buffer, false));
        if (!m_buffer.empty()) {
            m_buffer.append(text);
            m_buffer.erase(0, Process(m_buffer, false));
            return;
        }
    }
    m_buffer.assign(text.substr(Process(text, false)));
}

void HtmlRowScanner::Finish()
{
    Process(m_buffer, true);
    m_buffer.clear();
    EndRow(false);
}

std::size_t HtmlRowScanner::Process(std::string_view text, bool final)
{
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
        const std::size_t less = FindMarkupByte(text, '<', pos);
        if (less == std::string_view::npos) {
            std::size_t end = n;
            // A character reference may go on in the next piece: one that starts in the last 11 bytes.
            const std::size_t tail = std::max(pos, n < 11 ? 0 : n - 11);
            const std::size_t amp = text.substr(tail).rfind('&');
            if (!final && amp != std::string_view::npos && text.find(';', tail + amp) == std::string_view::npos)
                end = tail + amp;
            Text(text.substr(pos, end - pos));
            return end;
        }
        if (less > pos)
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
            nextGreater = FindMarkupByte(text, '>', less + 1);
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
        const std::string_view tag = text.substr(less + 1, nextGreater - less - 1);
        // In a row passed over, cell tags change nothing: no cell is opened, and the row is open already.
        if (!m_rowSkipped || RowOrCellAt(tag, tag.empty() || tag.front() != '/' ? 0 : 1) != TagKind::Cell)
            Tag(tag);
        pos = nextGreater + 1;
    }
    return pos;
}

void HtmlRowScanner::Tag(std::string_view tag)
{
    const bool closing = !tag.empty() && tag.front() == '/';
    char buffer[10];
    std::string_view name;
    TagKind kind = RowOrCellAt(tag, closing ? 1 : 0);
    if (kind == TagKind::Other) {
        name = TagName(tag, buffer);
        if (closing)
            name.remove_prefix(1);
        kind = KindOf(name);
    }
    switch (kind) {
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
        if (closing)
            m_sink.OnTableEnd();
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
    if (m_charset.empty())
        m_charset = DeclaredCodePage(tag);
}

std::string* HtmlRowScanner::TextTarget(std::size_t& start)
{
    if (m_cellOpen) {
        start = m_spans[static_cast<std::size_t>(m_cellCount - 1)].Start;
        return &m_rowText;
    }
    start = 0;
    return m_inTitle ? &m_title : nullptr;
}

void HtmlRowScanner::Text(std::string_view text)
{
    std::size_t start = 0;
    std::string* target = TextTarget(start);
    if (target == nullptr || text.empty())
        return;
    const std::size_t limit = start + kMaxText;
    std::size_t i = 0;
    while (i < text.size() && target->size() < limit) {
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
        const std::size_t j = PlainRunEnd(text, i + 1);
        target->append(text.substr(i, j - i));
        i = j;
    }
    // What is left of the text, and what the last run put beyond the limit, is dropped.
    bool dropped = text.find_first_not_of(" \t\r\n\f", i) != std::string_view::npos;
    if (target->size() > limit) {
        dropped = dropped || target->find_first_not_of(' ', limit) != std::string::npos;
        target->resize(limit);
    }
    if (dropped && m_cellOpen)
        m_cells[static_cast<std::size_t>(m_cellCount - 1)].Cut = true;
}

void HtmlRowScanner::StartRow(std::string_view tag)
{
    m_rowOpen = true;
    m_cellCount = 0;
    m_rowText.clear();
    m_headerColour = false;
    ForEachAttribute(tag, [this](std::string_view attribute, std::string_view value) {
        if (IsWord(attribute, "bgcolor"))
            m_headerColour = IsWord(value, "#e5f0fc");
    });
    m_rowSkipped = !m_headerColour && m_sink.SkipsRows();
}

void HtmlRowScanner::EndRow(bool complete)
{
    if (!m_rowOpen)
        return;
    EndCell();
    if (!m_rowSkipped) {
        for (int i = 0; i < m_cellCount; ++i) {
            const Span span = m_spans[static_cast<std::size_t>(i)];
            m_cells[static_cast<std::size_t>(i)].Text = std::string_view(m_rowText).substr(span.Start, span.Length);
        }
        HtmlRow row(m_cells.data(), m_cellCount);
        row.HeaderColour = m_headerColour;
        row.Complete = complete;
        m_sink.OnRow(row);
    }
    m_rowOpen = false;
    m_rowSkipped = false;
    m_cellCount = 0;
    m_rowText.clear();
}

void HtmlRowScanner::StartCell(std::string_view tag)
{
    EndCell();
    if (!m_rowOpen)
        StartRow(std::string_view());
    if (m_rowSkipped || m_cellCount >= kMaxCells)
        return;
    if (static_cast<std::size_t>(m_cellCount) == m_cells.size()) {
        m_cells.emplace_back();
        m_spans.emplace_back();
    }
    HtmlCell& cell = m_cells[static_cast<std::size_t>(m_cellCount)];
    m_spans[static_cast<std::size_t>(m_cellCount)] = {m_rowText.size(), 0};
    ++m_cellCount;
    cell.ColSpan = 1;
    cell.Hidden = false;
    cell.Cut = false;
    // Attributes without a value ("td nowrap") leave a cell as it is.
    if (tag.size() > 2 && std::find(tag.begin(), tag.end(), '=') != tag.end()) {
        ForEachAttribute(tag, [&cell](std::string_view attribute, std::string_view value) {
            if (IsWord(attribute, "colspan"))
                cell.ColSpan = ColSpan(value);
            else if (IsWord(attribute, "class"))
                cell.Hidden = FindIgnoringCase(value, "hidden", 0) != std::string_view::npos;
        });
    }
    m_cellOpen = true;
}

// Blanks at either end of the cell's text are left out of its span.
void HtmlRowScanner::EndCell()
{
    if (!m_cellOpen)
        return;
    m_cellOpen = false;
    Span& span = m_spans[static_cast<std::size_t>(m_cellCount - 1)];
    std::size_t start = span.Start;
    std::size_t end = m_rowText.size();
    while (end > start && m_rowText[end - 1] == ' ')
        --end;
    while (start < end && m_rowText[start] == ' ')
        ++start;
    span = {start, end - start};
}

} // namespace corvane
