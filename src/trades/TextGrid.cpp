#include "trades/TextGrid.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

namespace corvane {

namespace {

// A cell is stored as its length in little-endian base-128 digits followed by its bytes.
void PutLength(std::string& out, std::size_t length)
{
    do {
        unsigned char digit = length & 0x7f;
        length >>= 7;
        if (length)
            digit |= 0x80;
        out.push_back(static_cast<char>(digit));
    } while (length);
}

// Writes a cell, its length and its bytes, at `out`; returns the end of what it wrote.
char* PutCell(char* out, std::string_view text)
{
    std::size_t length = text.size();
    do {
        unsigned char digit = length & 0x7f;
        length >>= 7;
        if (length)
            digit |= 0x80;
        *out++ = static_cast<char>(digit);
    } while (length);
    if (!text.empty())
        std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// Reads a cell's length at `p` and moves `p` past it. Lengths below 128 take one byte.
inline std::size_t ReadLength(const unsigned char*& p, const unsigned char* end)
{
    std::size_t length = *p++;
    if (length < 0x80)
        return length;
    length &= 0x7f;
    int shift = 7;
    while (p < end) {
        const unsigned char digit = *p++;
        length |= static_cast<std::size_t>(digit & 0x7f) << shift;
        if (!(digit & 0x80))
            break;
        shift += 7;
    }
    return length;
}

std::size_t GetLength(const std::string& row, std::size_t& pos)
{
    const auto* start = reinterpret_cast<const unsigned char*>(row.data());
    const unsigned char* p = start + pos;
    const std::size_t length = ReadLength(p, start + row.size());
    pos = static_cast<std::size_t>(p - start);
    return length;
}

// Position of cell `column` in `row`; cells missing at the end count as empty. Returns false when
// the row holds fewer cells, with `pos` at the end and `present` the number of cells stored.
bool FindCell(const std::string& row, int column, std::size_t& pos, std::size_t& length, int& present)
{
    const auto* start = reinterpret_cast<const unsigned char*>(row.data());
    const unsigned char* end = start + row.size();
    const unsigned char* p = start;
    present = 0;
    while (p < end) {
        const unsigned char* cell = p;
        const std::size_t n = ReadLength(p, end);
        if (present == column) {
            length = n;
            pos = static_cast<std::size_t>(cell - start);
            return true;
        }
        p += n;
        ++present;
    }
    pos = row.size();
    length = 0;
    return false;
}

// The last version given to any table.
std::atomic<std::uint64_t> g_lastVersion{0};

} // namespace

TextGrid::TextGrid(int columns, int rows) : m_columns(columns), m_rowCount(0)
{
    SetRowCount(rows);
}

TextGrid::TextGrid(const TextGrid& other)
    : m_columns(other.m_columns)
    , m_rowCount(other.m_rowCount)
    , m_rows(other.m_rows)
{
    NewVersion();
}

TextGrid::TextGrid(TextGrid&& other) noexcept
    : m_columns(other.m_columns)
    , m_rowCount(other.m_rowCount)
    , m_rows(std::move(other.m_rows))
{
    NewVersion();
    other.NewVersion();
}

TextGrid& TextGrid::operator=(const TextGrid& other)
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_rowCount = other.m_rowCount;
        m_rows = other.m_rows;
        NewVersion();
    }
    return *this;
}

TextGrid& TextGrid::operator=(TextGrid&& other) noexcept
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_rowCount = other.m_rowCount;
        m_rows = std::move(other.m_rows);
        NewVersion();
        other.NewVersion();
    }
    return *this;
}

void TextGrid::NewVersion()
{
    m_version = g_lastVersion.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TextGrid::SetRowCount(int rows)
{
    NewVersion();
    if (rows < 0)
        rows = 0;
    // Only lowering discards: rows written beyond a count that grows stay until it reaches them. A
    // discarded row is emptied but keeps its room, so that a table filled again and again (the visible
    // table on every click) does not give its rows back to the heap and take them again.
    if (rows < m_rowCount)
        for (std::size_t row = static_cast<std::size_t>(rows); row < m_rows.size(); ++row)
            m_rows[row].clear();
    m_rowCount = rows;
}

std::string_view TextGrid::Cell(int column, int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0 || column >= m_columns)
        return {};
    const std::string& text = m_rows[row];
    std::size_t pos, length;
    int present;
    if (!FindCell(text, column, pos, length, present))
        return {};
    GetLength(text, pos);
    return std::string_view(text).substr(pos, length);
}

std::string* TextGrid::MutableRow(int row)
{
    NewVersion();
    if (row < 0)
        return nullptr;
    if (row >= static_cast<int>(m_rows.size()))
        m_rows.resize(static_cast<std::size_t>(row) + 1);
    return &m_rows[row];
}

void TextGrid::SetCell(int column, int row, std::string_view text)
{
    if (column < 0 || column >= m_columns)
        return;
    std::string* cells = MutableRow(row);
    if (!cells)
        return;
    std::size_t pos, length;
    int present;
    if (!FindCell(*cells, column, pos, length, present)) {
        if (text.empty())
            return; // missing cells already read as empty
        for (; present < column; ++present)
            cells->push_back('\0');
        PutLength(*cells, text.size());
        cells->append(text);
        return;
    }
    std::string encoded;
    PutLength(encoded, text.size());
    encoded.append(text);
    std::size_t end = pos;
    GetLength(*cells, end);
    end += length;
    cells->replace(pos, end - pos, encoded);
}

void TextGrid::SetRow(int row, std::span<const std::string_view> cells)
{
    std::string* text = MutableRow(row);
    if (!text)
        return;
    int count = static_cast<int>(std::min(cells.size(), static_cast<std::size_t>(m_columns)));
    while (count > 0 && cells[count - 1].empty())
        --count;
    std::size_t size = 0;
    for (int i = 0; i < count; ++i)
        size += cells[i].size() + (cells[i].size() < 0x80 ? 1 : 5);
    text->resize(size);
    char* out = text->data();
    for (int i = 0; i < count; ++i)
        out = PutCell(out, cells[i]);
    text->resize(static_cast<std::size_t>(out - text->data()));
}

void TextGrid::ReadCells(int row, std::span<std::string_view> cells) const
{
    const int count = static_cast<int>(cells.size());
    int column = 0;
    if (row >= 0 && row < static_cast<int>(m_rows.size())) {
        const std::string& text = m_rows[row];
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const unsigned char* end = p + text.size();
        const int wanted = std::min(count, m_columns);
        while (column < wanted && p < end) {
            const std::size_t length = ReadLength(p, end);
            cells[column++] = std::string_view(reinterpret_cast<const char*>(p), length);
            p += length;
        }
    }
    for (; column < count; ++column)
        cells[column] = {};
}

void TextGrid::AppendToCell(int column, int row, std::string_view text)
{
    std::string joined(Cell(column, row));
    joined.append(text);
    SetCell(column, row, joined);
}

void TextGrid::PrefetchRow(int row) const
{
#if defined(__GNUC__)
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        __builtin_prefetch(m_rows[static_cast<std::size_t>(row)].data());
#else
    (void)row;
#endif
}

void TextGrid::BlankRow(int row)
{
    NewVersion();
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        m_rows[row].clear();
}

void TextGrid::CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count, std::size_t room)
{
    std::string* cells = MutableRow(row);
    if (!cells)
        return;
    cells->clear();
    if (sourceRow < 0 || sourceRow >= static_cast<int>(source.m_rows.size()))
        return;
    const std::string& from = source.m_rows[sourceRow];
    count = std::min(count, m_columns);
    std::size_t pos, length;
    int present;
    if (!FindCell(from, count, pos, length, present))
        pos = from.size();
    cells->reserve(pos + room);
    cells->assign(from, 0, pos);
}

void TextGrid::CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count,
                             std::span<const std::string_view> more)
{
    count = std::max(0, std::min(count, m_columns));
    const int moreCount = std::min(static_cast<int>(more.size()), m_columns - count);
    // The source's cells [0, count) as stored: their lengths are walked, their bytes copied at once.
    std::size_t prefix = 0;
    int present = 0;
    if (sourceRow >= 0 && sourceRow < static_cast<int>(source.m_rows.size())) {
        const std::string& from = source.m_rows[sourceRow];
        const auto* start = reinterpret_cast<const unsigned char*>(from.data());
        const unsigned char* end = start + from.size();
        const unsigned char* p = start;
        while (present < count && p < end) {
            const std::size_t length = ReadLength(p, end);
            p += length;
            ++present;
        }
        prefix = static_cast<std::size_t>(std::min(p, end) - start);
    }
    std::size_t size = prefix + static_cast<std::size_t>(count - present);
    for (int i = 0; i < moreCount; ++i)
        size += more[i].size() + (more[i].size() < 0x80 ? 1 : 5);
    std::string* cells = MutableRow(row);
    if (!cells)
        return;
    cells->resize(size);
    char* out = cells->data();
    if (prefix > 0)
        std::memcpy(out, source.m_rows[sourceRow].data(), prefix);
    out += prefix;
    for (; present < count; ++present)
        *out++ = '\0'; // a cell missing from the source's row: empty
    for (int i = 0; i < moreCount; ++i)
        out = PutCell(out, more[i]);
    cells->resize(static_cast<std::size_t>(out - cells->data()));
}

void TextGrid::PermuteRows(int first, const std::vector<int>& order)
{
    NewVersion();
    if (first < 0)
        return;
    if (first + order.size() > m_rows.size())
        m_rows.resize(first + order.size());
    std::vector<std::string> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        moved[i] = std::move(m_rows[first + order[i]]);
    for (std::size_t i = 0; i < order.size(); ++i)
        m_rows[first + i] = std::move(moved[i]);
}

void ResetGrid(TextGrid& grid)
{
    grid.SetRowCount(2);
    grid.BlankRow(1);
}

} // namespace corvane
