#include "trades/TextGrid.h"

#include "GridText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

using test::RowText;

std::string Blank(int columns)
{
    return std::string(static_cast<std::size_t>(columns) - 1, '\t');
}

// Fills rows first..last with cells "c<column>r<row>" in every column.
void Fill(TextGrid& grid, int first, int last)
{
    for (int row = first; row <= last; ++row)
        for (int column = 0; column < grid.ColumnCount(); ++column)
            grid.SetCell(column, row, "c" + std::to_string(column) + "r" + std::to_string(row));
}

// The row text of a row filled by Fill; cells from `blankFrom` on are empty.
std::string Filled(int columns, int row, int blankFrom = 1000)
{
    std::string text;
    for (int column = 0; column < columns; ++column)
        text += (column ? "\t" : "")
                + (column < blankFrom ? "c" + std::to_string(column) + "r" + std::to_string(row) : std::string());
    return text;
}

// The text of rows first..last, one line each.
std::string Rows(const TextGrid& grid, int first, int last)
{
    std::string text;
    for (int row = first; row <= last; ++row)
        text += RowText(grid, row) + "\n";
    return text;
}

TEST(TextGridRows, TextWrittenBeyondTheRowCountSurvivesACountThatGrowsInSteps)
{
    TextGrid grid(20, 2);
    grid.SetCell(3, 5, "1.00");
    grid.SetCell(12, 6, "written ahead");
    EXPECT_EQ(grid.RowCount(), 2) << "writing a cell must not change the row count";
    grid.SetRowCount(6);
    EXPECT_EQ(grid.Cell(3, 5), "1.00");
    EXPECT_EQ(RowText(grid, 4), Blank(20));
    EXPECT_EQ(grid.Cell(12, 6), "written ahead") << "raising the count to 6 must not drop row 6";
    grid.SetRowCount(7);
    EXPECT_EQ(grid.Cell(12, 6), "written ahead");
}

TEST(TextGridRows, LoweringTheCountDiscardsRowsSoThatReusedRowsStartBlank)
{
    TextGrid grid(20, 6);
    Fill(grid, 1, 5);
    grid.SetCell(0, 7, "written ahead");
    grid.SetRowCount(3);
    EXPECT_EQ(grid.RowCount(), 3);
    grid.SetRowCount(8);
    EXPECT_EQ(Rows(grid, 1, 7), Filled(20, 1) + "\n" + Filled(20, 2) + "\n" + Blank(20) + "\n" + Blank(20) + "\n"
                                    + Blank(20) + "\n" + Blank(20) + "\n" + Blank(20) + "\n");
}

// Dropping most of a large table moves the rows left to new pages; their cells, and those of a copy
// taken before, stay as they were.
TEST(TextGridRows, RowsKeepTheirCellsWhenMostOfTheTableIsDropped)
{
    TextGrid grid(20, 6000);
    Fill(grid, 1, 5999);
    const TextGrid copy(grid);
    grid.SetRowCount(4);
    EXPECT_EQ(Rows(grid, 1, 3), Filled(20, 1) + "\n" + Filled(20, 2) + "\n" + Filled(20, 3) + "\n");
    grid.SetCell(0, 2, "rewritten");
    EXPECT_EQ(grid.Cell(0, 2), "rewritten");
    EXPECT_EQ(copy.Cell(0, 2), "c0r2");
    EXPECT_EQ(RowText(copy, 5999), Filled(20, 5999));
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
    EXPECT_EQ(RowText(grid, 1), "a\t\tc");
    EXPECT_EQ(grid.RowCount(), 2);
}

// Random writes of cells and whole rows, appends, blanking and row-count changes against a plain map of
// cells that follows the row rules: text written ahead is kept, rows dropped by a lower count come back
// blank. A copy taken half-way keeps its cells while the table goes on changing.
TEST(TextGridRows, RandomEditsMatchAPlainCellMap)
{
    std::mt19937 random(20240102);
    const int columns = 20;
    TextGrid grid(columns, 2);
    std::map<std::pair<int, int>, std::string> model; // (row, column) -> text
    int rowCount = 2;
    const auto number = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto randomText = [&number] { // any bytes, up to more than a one-byte length can hold
        std::string text(static_cast<std::size_t>(number(0, 300)), '\0');
        for (char& c : text)
            c = static_cast<char>(number(0, 255));
        return text;
    };
    std::optional<TextGrid> copy;
    std::map<std::pair<int, int>, std::string> copyModel;
    for (int step = 0; step < 4000; ++step) {
        if (step == 2000) {
            copy.emplace(grid);
            copyModel = model;
        }
        const int action = number(0, 10);
        const int row = number(0, rowCount + 3);
        const int column = number(0, columns - 1);
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
            const int lower = number(1, rowCount);
            if (lower < rowCount) {
                grid.SetRowCount(lower);
                model.erase(model.lower_bound({lower, 0}), model.end());
                rowCount = lower;
            }
        } else if (action == 9) {
            std::vector<std::string> texts(static_cast<std::size_t>(number(0, columns)));
            for (int c = 0; c < columns; ++c)
                model.erase({row, c});
            for (std::size_t c = 0; c < texts.size(); ++c)
                if (!(texts[c] = number(0, 3) ? randomText() : std::string()).empty())
                    model[{row, static_cast<int>(c)}] = texts[c];
            const std::vector<std::string_view> cells(texts.begin(), texts.end());
            grid.SetRow(row, cells, static_cast<std::size_t>(number(0, 40)));
        } else {
            rowCount += number(0, 3);
            grid.SetRowCount(rowCount);
        }
        ASSERT_EQ(grid.RowCount(), rowCount) << "step " << step;
        if (step % 50 != 0)
            continue;
        for (int r = 0; r < rowCount + 4; ++r)
            for (int c = 0; c < columns; ++c) {
                const auto found = model.find({r, c});
                ASSERT_EQ(grid.Cell(c, r), found == model.end() ? "" : found->second)
                    << "step " << step << " row " << r << " column " << c;
            }
    }
    for (const auto& [place, text] : copyModel)
        ASSERT_EQ(copy->Cell(place.second, place.first), text) << "copy, row " << place.first;
}

TEST(TextGridCopyRowPrefix, CopiesTheLeadingCellsAndBlanksTheRest)
{
    TextGrid full(20, 3);
    Fill(full, 1, 2);
    full.SetCell(5, 2, "");
    TextGrid visible(15, 3);
    Fill(visible, 1, 1);
    visible.CopyRowPrefix(1, full, 2, 13);
    std::string expected = Filled(15, 2, 13);
    expected.replace(expected.find("c5r2"), 4, "");
    EXPECT_EQ(RowText(visible, 1), expected) << "an empty cell in the middle replaces the old text too";

    TextGrid narrow(3, 2);
    narrow.CopyRowPrefix(1, full, 1, 20);
    EXPECT_EQ(RowText(narrow, 1), Filled(3, 1)) << "the copy stops at the narrower grid";
    TextGrid wide(20, 2);
    wide.SetCell(19, 1, "stale");
    wide.CopyRowPrefix(1, narrow, 1, 20);
    EXPECT_EQ(RowText(wide, 1), Filled(20, 1, 3));

    const std::string_view more[] = {"pips", "balance"};
    visible.CopyRowPrefix(1, narrow, 1, 13, more);
    EXPECT_EQ(RowText(visible, 1), Filled(3, 1) + Blank(11) + "\tpips\tbalance")
        << "cells the source lacks are blank before the cells that follow";
}

TEST(TextGridTakeRows, RowsMoveWithTheirTextAndTheTablesStayApart)
{
    TextGrid full(4, 3);
    Fill(full, 1, 2);
    TextGrid half(4, 6);
    Fill(half, 0, 5);
    half.SetCell(2, 3, "");
    const TextGrid copy = half; // shares the pages the rows move with
    full.TakeRows(3, std::move(half), 2, 3);
    full.SetRowCount(6);
    EXPECT_EQ(Rows(full, 1, 5), Rows(full, 1, 2) + Rows(copy, 2, 4));
    EXPECT_EQ(Rows(full, 1, 2), Filled(4, 1) + "\n" + Filled(4, 2) + "\n");
    EXPECT_EQ(half.RowCount(), 0);
    full.SetCell(1, 3, "written after");
    full.SetCell(0, 6, "a row of its own");
    full.SetRowCount(7);
    EXPECT_EQ(RowText(copy, 2), Filled(4, 2)) << "a taken row written again leaves the copy's row alone";
    EXPECT_EQ(full.Cell(1, 3), "written after");
    EXPECT_EQ(full.Cell(0, 6), "a row of its own");
    EXPECT_EQ(RowText(full, 5), Filled(4, 4));
}

TEST(TextGridVersion, EveryChangeCopyAndMoveGivesAVersionNoTableHadBefore)
{
    TextGrid grid(3, 2);
    std::vector<std::uint64_t> seen{grid.Version()};
    grid.SetCell(0, 1, "a");
    seen.push_back(grid.Version());
    TextGrid copy(grid);
    seen.push_back(copy.Version());
    TextGrid assigned(1, 1);
    assigned = grid;
    seen.push_back(assigned.Version());
    TextGrid moved(std::move(copy));
    seen.push_back(moved.Version());
    grid = std::move(moved);
    seen.push_back(grid.Version());
    grid.SetRowCount(1);
    seen.push_back(grid.Version());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(RowText(assigned, 1), "a\t\t");
}

TEST(TextGridCopyRowPrefix, CopyingFromAnEmptyRowBlanksTheTarget)
{
    const TextGrid source(20, 5);
    TextGrid target(20, 2);
    for (const auto& [sourceRow, count] : {std::pair{4, 20}, std::pair{40, 20}, std::pair{1, 0}}) {
        Fill(target, 1, 1);
        target.CopyRowPrefix(1, count ? source : target, sourceRow, count);
        EXPECT_EQ(RowText(target, 1), Blank(20)) << "row " << sourceRow << ", " << count << " cells";
    }
}

TEST(TextGridPermuteRows, MovesWholeRowsWithinTheRange)
{
    TextGrid grid(20, 7);
    Fill(grid, 0, 6);
    grid.PermuteRows(2, {2, 0, 3, 1});
    std::string expected;
    for (const int row : {0, 1, 4, 2, 5, 3, 6})
        expected += Filled(20, row) + "\n";
    EXPECT_EQ(Rows(grid, 0, 6), expected);
    EXPECT_EQ(grid.RowCount(), 7);
    grid.PermuteRows(1, {0, 1, 2});
    EXPECT_EQ(Rows(grid, 0, 6), expected) << "the identity order changes nothing";
}

} // namespace
} // namespace corvane
