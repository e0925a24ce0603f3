#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace arcavio::test {

// Game-list keys whose 32-bit FNV-1a hashes (the unkeyed hash the index once used) agree in
// their low `bits` bits, so that an index sized by those bits puts them all in one slot. Those
// bits of the hash's state depend only on the same bits before each step, so one suffix per
// low state, searched backwards from the target, turns any prefix into a colliding key.
inline std::vector<std::string> fnvCollidingKeys(std::size_t count, unsigned bits)
{
    constexpr std::uint32_t prime = 16777619u;
    constexpr std::uint32_t basis = 2166136261u;
    constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz0123456789_-";
    const std::uint32_t mask = (std::uint32_t{1} << bits) - 1;
    std::uint32_t inverse = prime; // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - prime * inverse;

    // suffix[v]: the characters that lead from low state v to the target 0.
    std::vector<std::string> suffix(std::size_t{mask} + 1);
    std::vector<bool> reached(std::size_t{mask} + 1, false);
    std::vector<std::uint32_t> frontier{0};
    reached[0] = true;
    while (!frontier.empty()) {
        std::vector<std::uint32_t> next;
        for (const std::uint32_t state : frontier)
            for (const char c : alphabet) {
                const std::uint32_t before = ((state * inverse) ^ static_cast<unsigned char>(c)) & mask;
                if (reached[before])
                    continue;
                reached[before] = true;
                suffix[before] = c + suffix[state];
                next.push_back(before);
            }
        frontier = std::move(next);
    }

    std::vector<std::string> keys;
    keys.reserve(count);
    char prefix[24];
    for (std::size_t i = 0; keys.size() < count; ++i) {
        std::snprintf(prefix, sizeof prefix, "g%07zx", i);
        std::uint32_t state = basis;
        for (const char* p = prefix; *p != '\0'; ++p)
            state = (state ^ static_cast<unsigned char>(*p)) * prime;
        if (reached[state & mask])
            keys.push_back(prefix + suffix[state & mask]);
    }
    return keys;
}

// The slots of an index for `count` keys at half load.
inline unsigned indexSlotBits(std::size_t count)
{
    unsigned bits = 4;
    while ((std::size_t{1} << bits) < 2 * count)
        ++bits;
    return bits;
}

} // namespace arcavio::test
