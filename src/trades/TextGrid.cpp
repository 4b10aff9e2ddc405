#include "trades/TextGrid.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>

namespace corvane {

namespace {

// A cell is stored as its length in little-endian base-128 digits followed by its bytes.

// Writes a length's digits at `out`; returns the end of what it wrote (at most ten bytes).
char* PutLengthAt(char* out, std::size_t length)
{
    do {
        unsigned char digit = length & 0x7f;
        length >>= 7;
        if (length)
            digit |= 0x80;
        *out++ = static_cast<char>(digit);
    } while (length);
    return out;
}

void PutLength(std::string& out, std::size_t length)
{
    char digits[10];
    out.append(digits, PutLengthAt(digits, length));
}

// Writes a cell, its length and its bytes, at `out`; returns the end of what it wrote.
char* PutCell(char* out, std::string_view text)
{
    out = PutLengthAt(out, text.size());
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

std::size_t GetLength(std::string_view row, std::size_t& pos)
{
    const auto* start = reinterpret_cast<const unsigned char*>(row.data());
    const unsigned char* p = start + pos;
    const std::size_t length = ReadLength(p, start + row.size());
    pos = static_cast<std::size_t>(p - start);
    return length;
}

// Position of cell `column` in `row`; cells missing at the end count as empty. Returns false when
// the row holds fewer cells, with `pos` at the end and `present` the number of cells stored.
bool FindCell(std::string_view row, int column, std::size_t& pos, std::size_t& length, int& present)
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

// Pages grow from 4 KB for small tables to 1 MB; a longer row gets a page of its own size.
constexpr std::size_t kFirstPage = 4096;
constexpr std::size_t kLargestPage = 1 << 20;

// The end of the versions handed out to the threads so far. Each thread takes them in blocks, so that
// threads writing tables of their own at the same time do not contend for one counter.
std::atomic<std::uint64_t> g_versionsTaken{0};
constexpr std::uint64_t kVersionBlock = 1 << 16;

std::uint64_t NextVersion()
{
    thread_local std::uint64_t next = 0;
    thread_local std::uint64_t end = 0;
    if (next == end) {
        next = g_versionsTaken.fetch_add(kVersionBlock, std::memory_order_relaxed);
        end = next + kVersionBlock;
    }
    return ++next;
}

} // namespace

TextGrid::TextGrid(int columns, int rows) : m_columns(columns), m_rowCount(0)
{
    SetRowCount(rows);
}

TextGrid::TextGrid(const TextGrid& other)
    : m_columns(other.m_columns)
    , m_rowCount(other.m_rowCount)
    , m_rows(other.m_rows)
    , m_pages(other.m_pages)
    , m_pageBytes(other.m_pageBytes)
    , m_usedBytes(other.m_usedBytes)
{
    // The rest of the last page stays the other table's: this one writes to pages of its own.
    NewVersion();
}

TextGrid& TextGrid::operator=(const TextGrid& other)
{
    if (this != &other)
        *this = TextGrid(other);
    return *this;
}

TextGrid::TextGrid(TextGrid&& other) noexcept
    : m_columns(other.m_columns)
    , m_rowCount(other.m_rowCount)
    , m_rows(std::move(other.m_rows))
    , m_pages(std::move(other.m_pages))
    , m_free(std::exchange(other.m_free, nullptr))
    , m_freeSize(std::exchange(other.m_freeSize, 0))
    , m_pageBytes(std::exchange(other.m_pageBytes, 0))
    , m_usedBytes(std::exchange(other.m_usedBytes, 0))
{
    other.m_rows.clear();
    other.m_pages.clear();
    NewVersion();
    other.NewVersion();
}

TextGrid& TextGrid::operator=(TextGrid&& other) noexcept
{
    if (this != &other) {
        m_columns = other.m_columns;
        m_rowCount = other.m_rowCount;
        m_rows = std::move(other.m_rows);
        m_pages = std::move(other.m_pages);
        m_free = std::exchange(other.m_free, nullptr);
        m_freeSize = std::exchange(other.m_freeSize, 0);
        m_pageBytes = std::exchange(other.m_pageBytes, 0);
        m_usedBytes = std::exchange(other.m_usedBytes, 0);
        other.m_rows.clear();
        other.m_pages.clear();
        NewVersion();
        other.NewVersion();
    }
    return *this;
}

void TextGrid::NewVersion()
{
    m_version = NextVersion();
}

std::string_view TextGrid::RowText(int row) const
{
    const Row& place = m_rows[static_cast<std::size_t>(row)];
    if (place.Size == 0)
        return {};
    return {TextOf(place), place.Size};
}

void TextGrid::Allocate(std::size_t size, Row& row)
{
    if (size > m_freeSize) {
        const std::size_t pageSize = std::max(size, std::clamp(m_pageBytes / 4, kFirstPage, kLargestPage));
        m_pages.emplace_back(new char[pageSize]);
        m_free = m_pages.back().get();
        m_freeSize = pageSize;
        m_pageBytes += pageSize;
    }
    row.Page = static_cast<std::uint32_t>(m_pages.size() - 1);
    row.Offset = static_cast<std::uint32_t>(m_free - m_pages.back().get());
    m_free += size;
    m_freeSize -= size;
}

void TextGrid::Release(const Row& row)
{
    m_usedBytes -= row.Room;
}

void TextGrid::Place(Row& row, std::string_view text, std::size_t room)
{
    const bool fits = row.Room > 0 && text.size() <= row.Room && m_pages[row.Page].use_count() == 1;
    if (!fits) {
        // A row that outgrew its room is likely to change again (a visible row holds another trade
        // after the next filter pass): it moves with an eighth to spare.
        if (row.Room > 0)
            room = std::max(room, text.size() + text.size() / 8);
        Release(row);
        row.Room = static_cast<std::uint32_t>(std::max(room, text.size()));
        if (row.Room)
            Allocate(row.Room, row);
        else
            row.Page = row.Offset = 0;
        m_usedBytes += row.Room;
    }
    if (!text.empty())
        std::memcpy(TextOf(row), text.data(), text.size());
    row.Size = static_cast<std::uint32_t>(text.size());
}

void TextGrid::CompactIfSparse()
{
    if (m_usedBytes >= m_pageBytes / 2 || m_pageBytes - m_usedBytes < kLargestPage) {
        if (m_usedBytes == 0 && m_rows.empty()) {
            m_pages.clear();
            m_free = nullptr;
            m_freeSize = m_pageBytes = 0;
        }
        return;
    }
    std::vector<std::shared_ptr<char[]>> old;
    old.swap(m_pages);
    m_free = nullptr;
    m_freeSize = m_pageBytes = m_usedBytes = 0;
    for (Row& row : m_rows) {
        if (row.Size == 0) {
            row = Row();
            continue;
        }
        const char* text = old[row.Page].get() + row.Offset;
        Allocate(row.Size, row);
        row.Room = row.Size;
        m_usedBytes += row.Room;
        std::memcpy(TextOf(row), text, row.Size);
    }
}

void TextGrid::SetRowCount(int rows)
{
    NewVersion();
    if (rows < 0)
        rows = 0;
    // Only lowering discards: rows written beyond a count that grows stay until it reaches them.
    if (rows < m_rowCount && rows < static_cast<int>(m_rows.size())) {
        for (std::size_t row = static_cast<std::size_t>(rows); row < m_rows.size(); ++row)
            Release(m_rows[row]);
        m_rows.resize(rows);
    }
    m_rowCount = rows;
    CompactIfSparse();
}

void TextGrid::TakeRows(int row, TextGrid&& source, int first, int count)
{
    NewVersion();
    if (row < 0 || first < 0 || count <= 0 || &source == this)
        return;
    const auto pageShift = static_cast<std::uint32_t>(m_pages.size());
    const auto end = static_cast<std::size_t>(row) + static_cast<std::size_t>(count);
    if (m_rows.size() < end)
        m_rows.resize(end);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        Row& target = m_rows[static_cast<std::size_t>(row) + i];
        Release(target);
        const std::size_t from = static_cast<std::size_t>(first) + i;
        target = from < source.m_rows.size() ? source.m_rows[from] : Row();
        if (target.Room > 0)
            target.Page += pageShift;
        else
            target = Row();
        m_usedBytes += target.Room;
    }
    for (std::shared_ptr<char[]>& page : source.m_pages)
        m_pages.push_back(std::move(page));
    m_pageBytes += source.m_pageBytes;
    // The free end of the page written last is no longer the last page's: new rows go to a new page.
    m_free = nullptr;
    m_freeSize = 0;
    source = TextGrid(source.m_columns, 0);
}

void TextGrid::ReserveRows(int rows)
{
    if (rows > 0)
        m_rows.reserve(static_cast<std::size_t>(rows));
}

std::string_view TextGrid::Cell(int column, int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0 || column >= m_columns)
        return {};
    const std::string_view text = RowText(row);
    std::size_t pos, length;
    int present;
    if (!FindCell(text, column, pos, length, present))
        return {};
    GetLength(text, pos);
    return text.substr(pos, length);
}

TextGrid::Row* TextGrid::RowToWrite(int row)
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
    Row* place = RowToWrite(row);
    if (!place)
        return;
    const std::string_view cells = RowText(row);
    std::size_t pos, length;
    int present;
    m_scratch.clear();
    if (!FindCell(cells, column, pos, length, present)) {
        if (text.empty())
            return; // missing cells already read as empty
        m_scratch.append(cells);
        for (; present < column; ++present)
            m_scratch.push_back('\0');
        PutLength(m_scratch, text.size());
        m_scratch.append(text);
    } else {
        std::size_t end = pos;
        GetLength(cells, end);
        end += length;
        m_scratch.append(cells.substr(0, pos));
        PutLength(m_scratch, text.size());
        m_scratch.append(text);
        m_scratch.append(cells.substr(end));
    }
    // A row changed cell by cell is likely to grow again: it moves with some room to spare.
    Place(*place, m_scratch, m_scratch.size() + m_scratch.size() / 4);
}

void TextGrid::SetRow(int row, std::span<const std::string_view> cells, std::size_t room)
{
    Row* place = RowToWrite(row);
    if (!place)
        return;
    int count = static_cast<int>(std::min(cells.size(), static_cast<std::size_t>(m_columns)));
    while (count > 0 && cells[count - 1].empty())
        --count;
    std::size_t most = 0;
    for (int i = 0; i < count; ++i)
        most += cells[i].size() + (cells[i].size() < 0x80 ? 1 : 5);
    if (m_scratch.size() < most)
        m_scratch.resize(std::max(most, 2 * m_scratch.size()));
    char* out = m_scratch.data();
    for (int i = 0; i < count; ++i)
        out = PutCell(out, cells[i]);
    const auto size = static_cast<std::size_t>(out - m_scratch.data());
    Place(*place, std::string_view(m_scratch.data(), size), size + room);
}

void TextGrid::ReadCells(int row, std::span<std::string_view> cells) const
{
    const int count = static_cast<int>(cells.size());
    int column = 0;
    if (row >= 0 && row < static_cast<int>(m_rows.size())) {
        const std::string_view text = RowText(row);
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
    if (row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[static_cast<std::size_t>(row)].Room > 0)
        __builtin_prefetch(TextOf(m_rows[static_cast<std::size_t>(row)]));
#else
    (void)row;
#endif
}

void TextGrid::BlankRow(int row)
{
    NewVersion();
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        m_rows[row].Size = 0;
}

void TextGrid::CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count, std::size_t room)
{
    Row* place = RowToWrite(row);
    if (!place)
        return;
    std::string_view prefix;
    if (sourceRow >= 0 && sourceRow < static_cast<int>(source.m_rows.size())) {
        const std::string_view from = source.RowText(sourceRow);
        count = std::min(count, m_columns);
        std::size_t pos, length;
        int present;
        if (!FindCell(from, count, pos, length, present))
            pos = from.size();
        prefix = from.substr(0, pos);
    }
    if (&source == this) {
        m_scratch.assign(prefix);
        prefix = m_scratch;
    }
    Place(*place, prefix, prefix.empty() ? 0 : prefix.size() + room);
}

void TextGrid::CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count,
                             std::span<const std::string_view> more)
{
    count = std::max(0, std::min(count, m_columns));
    const int moreCount = std::min(static_cast<int>(more.size()), m_columns - count);
    // The source's cells [0, count) as stored: their lengths are walked, their bytes copied at once.
    std::string_view from;
    std::size_t prefix = 0;
    int present = 0;
    if (sourceRow >= 0 && sourceRow < static_cast<int>(source.m_rows.size())) {
        from = source.RowText(sourceRow);
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
    Row* place = RowToWrite(row);
    if (!place)
        return;
    if (m_scratch.size() < size)
        m_scratch.resize(std::max(size, 2 * m_scratch.size()));
    char* out = m_scratch.data();
    if (prefix > 0)
        std::memcpy(out, from.data(), prefix);
    out += prefix;
    for (; present < count; ++present)
        *out++ = '\0'; // a cell missing from the source's row: empty
    for (int i = 0; i < moreCount; ++i)
        out = PutCell(out, more[i]);
    const auto written = static_cast<std::size_t>(out - m_scratch.data());
    Place(*place, std::string_view(m_scratch.data(), written), written);
}

void TextGrid::PermuteRows(int first, const std::vector<int>& order)
{
    NewVersion();
    if (first < 0)
        return;
    if (first + order.size() > m_rows.size())
        m_rows.resize(first + order.size());
    std::vector<Row> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        moved[i] = m_rows[first + order[i]];
    for (std::size_t i = 0; i < order.size(); ++i)
        m_rows[first + i] = moved[i];
}

void ResetGrid(TextGrid& grid)
{
    grid.SetRowCount(2);
    grid.BlankRow(1);
}

} // namespace corvane
