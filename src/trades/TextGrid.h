#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * A rectangle of text cells addressed by column and row, both counted from 0, as the program's
 * grids are: row 0 is the header row, trades occupy rows 1 to RowCount() - 1.
 *
 * Writing a cell of a row at or beyond the row count is allowed: the cell keeps its text and becomes
 * part of the table when the row count grows to include it. Lowering the row count discards the rows
 * beyond it, so a row that comes into use again later starts with all cells blank. A column outside
 * 0..ColumnCount()-1 reads as empty and is not stored.
 *
 * Each row is kept as its cells' length-prefixed texts, one after the other, in large pages of text
 * shared by all rows: a table of a million trades costs a few hundred allocations, not one for every
 * row, and little more than its text. A row written again reuses its room when the new text fits
 * (the visible table rewritten by every filter pass); otherwise it moves to new room, and the room
 * left behind is taken back when the row count changes and much of the pages lies unused. Copies of a
 * table share its pages and write to new ones.
 */
class TextGrid
{
public:
    TextGrid(int columns, int rows);

    int ColumnCount() const { return m_columns; }
    // Changes with every change of the table's cells or rows, and is never the same for two tables, so
    // that what is worked out from a table (and may view its cells) can tell whether it still holds.
    std::uint64_t Version() const { return m_version; }
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int rows);
    // Makes room for rows 0..rows-1 at once, for a writer that knows how many rows it will write.
    void ReserveRows(int rows);

    std::string_view Cell(int column, int row) const;
    void SetCell(int column, int row, std::string_view text);
    void AppendToCell(int column, int row, std::string_view text);

    // Replaces a whole row by `cells`, its first columns (the others empty), in one write; `room` more
    // bytes are kept free for cells written later.
    void SetRow(int row, std::span<const std::string_view> cells, std::size_t room = 0);
    // Views of the first cells.size() cells of a row, read in one walk; valid until the row is written.
    void ReadCells(int row, std::span<std::string_view> cells) const;

    // Asks the processor to bring a row's cells into its cache: a walk over many rows asks a few rows
    // ahead of the one it reads or writes, so that it does not wait on each.
    void PrefetchRow(int row) const;

    // Blanks every cell of one row.
    void BlankRow(int row);
    // Copies cells [0, count) of `source`'s row into cells [0, count) of this grid's row, replacing the
    // row; `room` more bytes are kept free for cells written after them.
    void CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count, std::size_t room = 0);
    // The same, followed by `more` as cells [count, count + more.size()), in one write.
    void CopyRowPrefix(int row, const TextGrid& source, int sourceRow, int count,
                       std::span<const std::string_view> more);
    // Moves rows [first, first + count) of `source` into this grid as rows [row, row + count), replacing
    // them, without copying their text: the source's pages become this grid's. `source` is left empty.
    void TakeRows(int row, TextGrid&& source, int first, int count);
    // Reorders rows first..first+order.size()-1 so that new row first+i is old row first+order[i].
    void PermuteRows(int first, const std::vector<int>& order);

    // A copy, or a table moved into another place, has a version of its own: views of the cells taken
    // before do not see it.
    TextGrid(const TextGrid& other);
    TextGrid& operator=(const TextGrid& other);
    TextGrid(TextGrid&& other) noexcept;
    TextGrid& operator=(TextGrid&& other) noexcept;
    ~TextGrid() = default;

private:
    // Where a row's text stands: `Size` bytes at `Offset` in page `Page`, in a slot of `Room` bytes. A row
    // without room has no page.
    struct Row
    {
        std::uint32_t Page = 0;
        std::uint32_t Offset = 0;
        std::uint32_t Size = 0;
        std::uint32_t Room = 0;
    };

    std::string_view RowText(int row) const;
    char* TextOf(const Row& row) const { return m_pages[row.Page].get() + row.Offset; }
    // Makes sure the row exists (blank) and counts a change.
    Row* RowToWrite(int row);
    // Puts `text` in place as the row's text: in its own room when it fits and no copy shares the page.
    void Place(Row& row, std::string_view text, std::size_t room);
    // Takes `size` bytes of the last page, or of a new one, for the row.
    void Allocate(std::size_t size, Row& row);
    void Release(const Row& row);
    // Moves every row to new pages when most of the pages' bytes are no longer used.
    void CompactIfSparse();
    void NewVersion();

    int m_columns;
    int m_rowCount;
    std::uint64_t m_version = 0;
    std::vector<Row> m_rows; // may be longer than m_rowCount (rows written beyond the count)
    std::vector<std::shared_ptr<char[]>> m_pages;
    char* m_free = nullptr;     // the unused end of the last page
    std::size_t m_freeSize = 0; // its size
    std::size_t m_pageBytes = 0;
    std::size_t m_usedBytes = 0; // the rooms of the rows
    std::string m_scratch;       // a row's new text, put together before it is placed
};

// Empties a table the way a load or an import leaves the visible tables: the header row and one
// blank trade row.
void ResetGrid(TextGrid& grid);

} // namespace corvane
