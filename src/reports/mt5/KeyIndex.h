#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

// A 64-bit hash of a text, mixed with `seed` so that keys of several texts can be made of it.
inline std::uint64_t HashText(std::string_view text, std::uint64_t seed = 0)
{
    return std::hash<std::string_view>()(text) ^ (seed * 0x9e3779b97f4a7c15ULL + (seed >> 7));
}

/**
 * Rows of a table found by the hash of their key: the (hash, row) pairs, sorted once every row is in, and
 * a hash table of where each hash's run of pairs starts. Texts whose hashes are alike share a run: the
 * caller compares the texts.
 */
struct KeyIndex
{
    std::vector<std::pair<std::uint64_t, int>> Rows;
    std::vector<std::uint32_t> Slots; // 1 + the first pair of a key, or 0; probed from the key on

    void Build();
    // The pairs under `key`, [first, last) in Rows, in the order their rows were added.
    std::pair<std::size_t, std::size_t> Under(std::uint64_t key) const;
};

} // namespace corvane
