// Reading gamelist.ini into its index and naming every key, for ordinary keys and for keys a
// file could craft against an unseeded hash: every one of them lands in the same slot of a
// 32-bit FNV-1a table. Both cost the same when the index cannot be aimed at.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "games/gamelist.h"
#include "support/colliding_keys.h"

namespace {

std::vector<std::string> ordinaryKeys(std::size_t count)
{
    std::vector<std::string> keys;
    keys.reserve(count);
    char key[24];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(key, sizeof key, "rom%07zu%s", (i * 7919) % count, i % 3 == 0 ? "a" : "bc");
        keys.emplace_back(key);
    }
    return keys;
}

std::string gameListOf(const std::vector<std::string>& keys)
{
    std::string text = "[gamelist]\r\n";
    for (const std::string& key : keys)
        text += key + "=Game " + key + " (Arcade)\r\n";
    return text;
}

// Builds the index and looks every key up once; the seconds it took.
double readAndName(const std::string& file, const std::vector<std::string>& keys)
{
    const auto start = std::chrono::steady_clock::now();
    const arcavio::GameListIndex index = arcavio::GameListIndex::fromBytes(file);
    std::size_t found = 0;
    for (const std::string& key : keys)
        found += index.find(key).has_value() ? 1 : 0;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (found != keys.size())
        std::abort();
    return took.count();
}

// One row per size: the ordinary and the crafted file, side by side.
void OrdinaryAgainstCraftedKeys(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<std::string> ordinary = ordinaryKeys(count);
    const std::vector<std::string> crafted =
        arcavio::test::fnvCollidingKeys(count, arcavio::test::indexSlotBits(count));
    const std::string ordinaryFile = gameListOf(ordinary);
    const std::string craftedFile = gameListOf(crafted);
    double ordinarySeconds = 0, craftedSeconds = 0;
    for (auto _ : state) {
        const double a = readAndName(ordinaryFile, ordinary);
        const double b = readAndName(craftedFile, crafted);
        ordinarySeconds += a;
        craftedSeconds += b;
        state.SetIterationTime(a + b);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ordinary_ms"] = 1000 * ordinarySeconds / runs;
    state.counters["crafted_ms"] = 1000 * craftedSeconds / runs;
    state.counters["crafted/ordinary"] = craftedSeconds / ordinarySeconds;
}

BENCHMARK(OrdinaryAgainstCraftedKeys)
    ->Arg(65536)
    ->Arg(262144)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
