#include "trades/TextArena.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace corvane {
namespace {

using Texts = std::array<std::string, 3>;

ArenaRecord<3> Add(TextArena& arena, const Texts& texts)
{
    return arena.Add<3>({texts[0], texts[1], texts[2]});
}

Texts Read(const TextArena& arena, const ArenaRecord<3>& record)
{
    return {std::string(arena.Text(record, 0)), std::string(arena.Text(record, 1)), std::string(arena.Text(record, 2))};
}

TEST(TextArena, KeepsEachRecordsTextsApartWhateverTheirLength)
{
    const Texts cases[] = {
        {"", "", ""},
        {"", "EURUSD", ""},
        {"1001", "", "ブレイク"},
        {std::string("a\0b", 3), "\t", " "},
        {std::string(100'000, 'x'), "y", std::string(70'000, 'z')},
    };
    TextArena arena;
    std::vector<ArenaRecord<3>> records;
    for (const Texts& texts : cases)
        records.push_back(Add(arena, texts));
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Read(arena, records[i]), cases[i]);
    }
}

// A record stays readable as the texts after it move the whole store to larger room.
TEST(TextArena, RecordsReadTheSameAfterManyMoreAreAdded)
{
    TextArena arena;
    std::vector<Texts> added;
    std::vector<ArenaRecord<3>> records;
    for (int i = 0; i < 50'000; ++i) {
        const std::string n = std::to_string(i);
        added.push_back(
            {n, i % 1000 == 0 ? std::string(5000, static_cast<char>('a' + i % 26)) : "EURUSD", i % 3 ? n + n : ""});
        records.push_back(Add(arena, added.back()));
    }
    int wrong = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
        wrong += Read(arena, records[i]) != added[i];
    EXPECT_EQ(wrong, 0);
}

TEST(TextArena, AClearedStoreKeepsTheRecordsAddedAfterwards)
{
    TextArena arena;
    Add(arena, {"1001", "EURUSD", "first"});
    arena.Clear();
    const ArenaRecord<3> record = Add(arena, {"2002", "GBPUSD", ""});
    EXPECT_EQ(Read(arena, record), (Texts{"2002", "GBPUSD", ""}));
}

} // namespace
} // namespace corvane
