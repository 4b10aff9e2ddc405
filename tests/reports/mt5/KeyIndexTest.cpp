#include "reports/mt5/KeyIndex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace corvane {
namespace {

// The rows under `key`, in the order Under gives them.
std::vector<int> RowsUnder(const KeyIndex& index, std::uint64_t key)
{
    const auto [first, last] = index.Under(key);
    std::vector<int> rows;
    for (std::size_t i = first; i < last; ++i) {
        EXPECT_EQ(index.Rows[i].first, key) << "row " << index.Rows[i].second << " is under another key";
        rows.push_back(index.Rows[i].second);
    }
    return rows;
}

TEST(KeyIndex, FindsTheRowsOfAKeyInTheOrderTheyWereAdded)
{
    KeyIndex index;
    EXPECT_TRUE(RowsUnder(index, 7).empty()) << "an index not built yet has no rows";
    for (const auto& [key, row] : std::vector<std::pair<std::uint64_t, int>>{
             {7, 0}, {3, 1}, {7, 2}, {0, 3}, {~0ULL, 4}, {7, 5}, {16 + 7, 6}, {16 + 3, 7}, {~0ULL, 8}})
        index.Rows.emplace_back(key, row);
    index.Build();
    const struct
    {
        std::uint64_t Key;
        std::vector<int> Rows;
    } cases[] = {
        {7, {0, 2, 5}}, {3, {1}},        {0, {3}},     {~0ULL, {4, 8}},
        {16 + 7, {6}},  {16 + 3, {7}},   {32 + 7, {}}, // the same slot as 7 in a table of 16 or 32 slots
        {1, {}},        {~0ULL - 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        EXPECT_EQ(RowsUnder(index, c.Key), c.Rows);
    }
}

// Thousands of keys that all want the table's last slot (and so wrap around to its start), each with a
// run of rows of its own length, added in turns, checked against a multimap.
TEST(KeyIndex, KeepsEveryRunApartAmongManyKeysThatShareASlot)
{
    const auto keyNumber = [](std::uint64_t k) { return (k << 24) | 0xff'ffff; };
    const auto runLength = [](std::uint64_t k) { return static_cast<int>(k % 41 == 0 ? 70 + k % 3 : 1 + k % 18); };
    std::multimap<std::uint64_t, int> expected;
    KeyIndex index;
    int row = 0;
    for (int turn = 0; turn < 72; ++turn) {
        for (std::uint64_t k = 0; k < 3000; ++k) {
            if (turn < runLength(k)) {
                expected.emplace(keyNumber(k), row);
                index.Rows.emplace_back(keyNumber(k), row++);
            }
        }
    }
    index.Build();
    for (std::uint64_t k = 0; k < 3001; ++k) { // the last key was never added
        const std::uint64_t key = keyNumber(k);
        std::vector<int> rows;
        for (auto [at, end] = expected.equal_range(key); at != end; ++at)
            rows.push_back(at->second);
        ASSERT_EQ(RowsUnder(index, key), rows) << "key number " << k;
    }
}

} // namespace
} // namespace corvane
