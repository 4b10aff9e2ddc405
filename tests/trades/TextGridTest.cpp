#include "TextGrid.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> Row(const TextGrid& grid, int row)
{
    std::vector<std::string> cells;
    for (int column = 0; column < grid.ColumnCount(); ++column)
        cells.emplace_back(grid.Cell(column, row));
    return cells;
}

std::vector<std::string> Blank(int columns)
{
    return std::vector<std::string>(static_cast<std::size_t>(columns));
}

// Fills rows first..last with cells "c<column>r<row>" in every column.
void Fill(TextGrid& grid, int first, int last)
{
    for (int row = first; row <= last; ++row)
        for (int column = 0; column < grid.ColumnCount(); ++column)
            grid.SetCell(column, row, "c" + std::to_string(column) + "r" + std::to_string(row));
}

std::vector<std::string> Filled(int columns, int row)
{
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column)
        cells.push_back("c" + std::to_string(column) + "r" + std::to_string(row));
    return cells;
}

TEST(TextGridRows, StartsWithTheGivenShapeAndBlankCells)
{
    const TextGrid grid(20, 2);
    EXPECT_EQ(grid.ColumnCount(), 20);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(grid, 0), Blank(20));
    EXPECT_EQ(Row(grid, 1), Blank(20));
}

TEST(TextGridRows, TextWrittenBeyondTheRowCountJoinsTheTableWhenTheCountGrows)
{
    TextGrid grid(20, 2);
    grid.SetCell(3, 5, "1.00");
    grid.SetCell(12, 5, "    100.00");
    EXPECT_EQ(grid.RowCount(), 2) << "writing a cell must not change the row count";
    grid.SetRowCount(6);
    EXPECT_EQ(grid.Cell(3, 5), "1.00");
    EXPECT_EQ(grid.Cell(12, 5), "    100.00");
    EXPECT_EQ(Row(grid, 4), Blank(20));
}

TEST(TextGridRows, LoweringTheCountDiscardsRowsSoThatReusedRowsStartBlank)
{
    TextGrid grid(20, 6);
    Fill(grid, 1, 5);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.RowCount(), 3);
    grid.SetRowCount(6);
    EXPECT_EQ(Row(grid, 1), Filled(20, 1));
    EXPECT_EQ(Row(grid, 2), Filled(20, 2));
    EXPECT_EQ(Row(grid, 3), Blank(20));
    EXPECT_EQ(Row(grid, 4), Blank(20));
    EXPECT_EQ(Row(grid, 5), Blank(20));
}

TEST(TextGridRows, TextWrittenFarAheadSurvivesACountThatGrowsInSteps)
{
    TextGrid grid(20, 2);
    grid.SetCell(4, 6, "written ahead");
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(4, 6), "written ahead") << "raising the count to 4 must not drop row 6";
    grid.SetRowCount(7);
    EXPECT_EQ(grid.Cell(4, 6), "written ahead");
}

TEST(TextGridRows, LoweringTheCountAlsoDiscardsTextWrittenBeyondIt)
{
    TextGrid grid(20, 4);
    grid.SetCell(0, 7, "written ahead");
    grid.SetRowCount(2);
    grid.SetRowCount(8);
    EXPECT_EQ(grid.Cell(0, 7), "");
}

TEST(TextGridRows, ColumnsOutsideTheGridReadEmptyAndAreNotStored)
{
    TextGrid grid(3, 2);
    grid.SetCell(0, 1, "a");
    grid.SetCell(2, 1, "c");
    grid.SetCell(3, 1, "beyond");
    grid.SetCell(-1, 1, "before");
    grid.SetCell(0, -1, "no row");
    EXPECT_EQ(grid.Cell(3, 1), "");
    EXPECT_EQ(grid.Cell(-1, 1), "");
    EXPECT_EQ(grid.Cell(0, -1), "");
    EXPECT_EQ(grid.Cell(0, 99), "");
    EXPECT_EQ(Row(grid, 1), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(TextGridRows, CellsHoldAnyBytesAtAnyLength)
{
    TextGrid grid(20, 2);
    const std::string nul("a\0b", 3);
    const std::string high = "\x80\xff\x7f";
    const std::string longText(5000, 'x');
    grid.SetCell(19, 1, longText);
    grid.SetCell(0, 1, nul);
    grid.SetCell(10, 1, high);
    grid.SetCell(5, 1, std::string(128, 'y'));
    EXPECT_EQ(grid.Cell(19, 1), longText);
    EXPECT_EQ(grid.Cell(0, 1), nul);
    EXPECT_EQ(grid.Cell(10, 1), high);
    EXPECT_EQ(grid.Cell(5, 1), std::string(128, 'y'));
    grid.SetCell(5, 1, "");
    grid.SetCell(0, 1, "short");
    EXPECT_EQ(grid.Cell(5, 1), "");
    EXPECT_EQ(grid.Cell(0, 1), "short");
    EXPECT_EQ(grid.Cell(10, 1), high);
    EXPECT_EQ(grid.Cell(19, 1), longText);
}

// Random writes, appends, blanking and row-count changes against a plain map of cells that follows the
// row rules: text written ahead is kept, rows dropped by a lower count come back blank.
TEST(TextGridRows, RandomEditsMatchAPlainCellMap)
{
    std::mt19937 random(20240102);
    const int columns = 20;
    TextGrid grid(columns, 2);
    std::map<std::pair<int, int>, std::string> model; // (row, column) -> text
    int rowCount = 2;
    const auto randomText = [&random] {
        const int length = std::uniform_int_distribution<int>(0, 300)(random);
        std::string text;
        for (int i = 0; i < length; ++i)
            text.push_back(static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random)));
        return text;
    };
    for (int step = 0; step < 4000; ++step) {
        const int action = std::uniform_int_distribution<int>(0, 9)(random);
        const int row = std::uniform_int_distribution<int>(0, rowCount + 3)(random);
        const int column = std::uniform_int_distribution<int>(0, columns - 1)(random);
        if (action < 6) {
            const std::string text = randomText();
            grid.SetCell(column, row, text);
            model[{row, column}] = text;
        } else if (action == 6) {
            const std::string text = randomText();
            grid.AppendToCell(column, row, text);
            model[{row, column}] += text;
        } else if (action == 7 && row < rowCount) {
            grid.BlankRow(row);
            for (int c = 0; c < columns; ++c)
                model.erase({row, c});
        } else if (action == 8) {
            const int lower = std::uniform_int_distribution<int>(1, rowCount)(random);
            if (lower < rowCount) {
                grid.SetRowCount(lower);
                model.erase(model.lower_bound({lower, 0}), model.end());
                rowCount = lower;
            }
        } else {
            rowCount += std::uniform_int_distribution<int>(0, 3)(random);
            grid.SetRowCount(rowCount);
        }
        ASSERT_EQ(grid.RowCount(), rowCount) << "step " << step;
        if (step % 50 == 0) {
            for (int r = 0; r < rowCount + 4; ++r)
                for (int c = 0; c < columns; ++c) {
                    const auto found = model.find({r, c});
                    ASSERT_EQ(grid.Cell(c, r), found == model.end() ? "" : found->second)
                        << "step " << step << " row " << r << " column " << c;
                }
        }
    }
}

TEST(TextGridCopyRowPrefix, CopiesTheLeadingCellsAndBlanksTheRest)
{
    TextGrid full(20, 3);
    Fill(full, 1, 2);
    TextGrid visible(15, 3);
    visible.SetCell(14, 1, "stale balance");
    visible.CopyRowPrefix(1, full, 2, 13);
    std::vector<std::string> expected = Filled(15, 2);
    expected[13] = "";
    expected[14] = "";
    EXPECT_EQ(Row(visible, 1), expected);
}

TEST(TextGridCopyRowPrefix, StopsAtTheNarrowerGrid)
{
    TextGrid full(20, 2);
    Fill(full, 1, 1);
    TextGrid narrow(3, 2);
    narrow.CopyRowPrefix(1, full, 1, 20);
    EXPECT_EQ(Row(narrow, 1), Filled(3, 1));

    TextGrid wide(20, 2);
    wide.SetCell(19, 1, "stale");
    wide.CopyRowPrefix(1, narrow, 1, 20);
    std::vector<std::string> expected = Filled(3, 1);
    expected.resize(20);
    EXPECT_EQ(Row(wide, 1), expected);
}

TEST(TextGridCopyRowPrefix, CopyingFromAnEmptyRowBlanksTheTarget)
{
    const TextGrid source(20, 5);
    TextGrid target(20, 2);
    Fill(target, 1, 1);
    target.CopyRowPrefix(1, source, 4, 20);
    EXPECT_EQ(Row(target, 1), Blank(20));
    Fill(target, 1, 1);
    target.CopyRowPrefix(1, source, 40, 20);
    EXPECT_EQ(Row(target, 1), Blank(20));
    Fill(target, 1, 1);
    target.CopyRowPrefix(1, target, 1, 0);
    EXPECT_EQ(Row(target, 1), Blank(20));
}

TEST(TextGridCopyRowPrefix, KeepsEmptyCellsInTheMiddle)
{
    TextGrid full(20, 2);
    full.SetCell(0, 1, "1001");
    full.SetCell(12, 1, "    100.00");
    TextGrid visible(15, 2);
    Fill(visible, 1, 1);
    visible.CopyRowPrefix(1, full, 1, 15);
    std::vector<std::string> expected = Blank(15);
    expected[0] = "1001";
    expected[12] = "    100.00";
    EXPECT_EQ(Row(visible, 1), expected);
}

TEST(TextGridPermuteRows, MovesWholeRowsWithinTheRange)
{
    TextGrid grid(20, 7);
    Fill(grid, 0, 6);
    grid.PermuteRows(2, {2, 0, 3, 1});
    EXPECT_EQ(Row(grid, 0), Filled(20, 0));
    EXPECT_EQ(Row(grid, 1), Filled(20, 1));
    EXPECT_EQ(Row(grid, 2), Filled(20, 4));
    EXPECT_EQ(Row(grid, 3), Filled(20, 2));
    EXPECT_EQ(Row(grid, 4), Filled(20, 5));
    EXPECT_EQ(Row(grid, 5), Filled(20, 3));
    EXPECT_EQ(Row(grid, 6), Filled(20, 6));
    EXPECT_EQ(grid.RowCount(), 7);
}

TEST(TextGridPermuteRows, TheIdentityOrderChangesNothing)
{
    TextGrid grid(5, 4);
    Fill(grid, 1, 3);
    grid.PermuteRows(1, {0, 1, 2});
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(Row(grid, row), Filled(5, row)) << "row " << row;
}

TEST(TextGridRemoveRows, RowsBelowMoveUpAndTheCountFalls)
{
    TextGrid grid(20, 6);
    Fill(grid, 0, 5);
    grid.RemoveRows(2, 2);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(Row(grid, 0), Filled(20, 0));
    EXPECT_EQ(Row(grid, 1), Filled(20, 1));
    EXPECT_EQ(Row(grid, 2), Filled(20, 4));
    EXPECT_EQ(Row(grid, 3), Filled(20, 5));
    grid.SetRowCount(6);
    EXPECT_EQ(Row(grid, 4), Blank(20)) << "a row that comes into use again starts blank";
    EXPECT_EQ(Row(grid, 5), Blank(20));
}

TEST(TextGridRemoveRows, ACountPastTheEndRemovesToTheEnd)
{
    TextGrid grid(4, 6);
    Fill(grid, 0, 5);
    grid.RemoveRows(4, 10);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(Row(grid, 3), Filled(4, 3));
}

TEST(TextGridRemoveRows, NothingHappensOutsideTheRows)
{
    TextGrid grid(4, 3);
    Fill(grid, 0, 2);
    grid.RemoveRows(3, 1);
    grid.RemoveRows(-1, 1);
    grid.RemoveRows(1, 0);
    EXPECT_EQ(grid.RowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Row(grid, row), Filled(4, row)) << "row " << row;
}

TEST(TextGridRemoveRows, RemovingTheLastTradeLeavesTheHeader)
{
    TextGrid grid(4, 2);
    Fill(grid, 1, 1);
    grid.RemoveRows(1, 1);
    EXPECT_EQ(grid.RowCount(), 1);
    grid.SetRowCount(2);
    EXPECT_EQ(Row(grid, 1), Blank(4));
}

} // namespace
} // namespace corvane
