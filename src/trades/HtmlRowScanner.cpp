#include "trades/HtmlRowScanner.h"

#include "trades/HtmlMarkup.h"
#include "trades/TextRoutines.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::size_t kMaxTag = 1 << 16;
constexpr std::size_t kMaxText = 1 << 16;
constexpr int kMaxCells = 64;

bool IsLineSpace(char c)
{
    return c == '\t' || c == '\r' || c == '\n' || c == '\f';
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
        if (attribute.size() == 7 && EqualsIgnoringCase(attribute, "bgcolor"))
            m_row.HeaderColour = EqualsIgnoringCase(value, "#E5F0FC");
    });
    m_rowSkipped = !m_row.HeaderColour && m_sink.SkipsRows();
}

void HtmlRowScanner::EndRow(bool complete)
{
    if (!m_rowOpen)
        return;
    EndCell();
    m_row.Complete = complete;
    if (!m_rowSkipped)
        m_sink.OnRow(m_row);
    m_rowOpen = false;
    m_rowSkipped = false;
    m_row.m_size = 0;
}

void HtmlRowScanner::StartCell(std::string_view tag)
{
    EndCell();
    if (!m_rowOpen)
        StartRow(std::string_view());
    if (m_rowSkipped || m_row.m_size >= kMaxCells)
        return;
    if (static_cast<std::size_t>(m_row.m_size) == m_row.m_cells.size())
        m_row.m_cells.emplace_back();
    HtmlCell& cell = m_row.m_cells[static_cast<std::size_t>(m_row.m_size++)];
    cell.Text.clear();
    cell.ColSpan = 1;
    cell.Hidden = false;
    if (tag.size() > 2) {
        ForEachAttribute(tag, [&cell](std::string_view attribute, std::string_view value) {
            if (attribute.size() == 7 && EqualsIgnoringCase(attribute, "colspan"))
                cell.ColSpan = ColSpan(value);
            else if (attribute.size() == 5 && EqualsIgnoringCase(attribute, "class"))
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
    if (text.empty() || (text.front() != ' ' && text.back() != ' '))
        return;
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
