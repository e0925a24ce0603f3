// The set-check cache file and the emulator's -verifyroms answer, both from strangers. An input
// starting with "arcavio set checks" is a cache file: what it gives is written and read back
// unchanged. Any other is an answer, which read in pieces hears what it hears whole.
#include <string>
#include <vector>

#include "fuzzing.h"
#include "games/setcheck.h"

namespace {

void checkCache(std::string_view input)
{
    const arcavio::SetCheckCache cache = arcavio::SetCheckCache::parse(std::string(input));
    const std::string bytes = cache.serialize({}, std::vector<bool>(cache.size(), true));
    const arcavio::SetCheckCache back = arcavio::SetCheckCache::parse(bytes);
    FUZZ_CHECK(back.size() == cache.size());
    for (std::size_t i = 0; i < cache.size(); ++i) {
        const arcavio::SetCheckEntry entry = cache.at(i);
        FUZZ_CHECK(back.find(entry.version, entry.path, entry.stamp) == entry.state);
        FUZZ_CHECK(entry.path.find_first_of("\t\n\r") == std::string::npos);
    }
}

void checkAnswer(std::string_view input)
{
    const std::vector<std::string> asked = {"pacman", "pong", "galaga", "sf2", "a"};
    arcavio::VerifyAnswerReader whole(asked);
    whole.feed(input);
    whole.finish();
    arcavio::VerifyAnswerReader pieces(asked);
    const std::size_t piece = 1 + input.size() % 11;
    for (std::size_t at = 0; at < input.size(); at += piece)
        pieces.feed(input.substr(at, piece));
    pieces.finish();
    FUZZ_CHECK(whole.said() == pieces.said());
    FUZZ_CHECK(whole.oddLines() == pieces.oddLines());
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const arcavio::SetVerdict& a = whole.verdicts()[i];
        const arcavio::SetVerdict& b = pieces.verdicts()[i];
        FUZZ_CHECK(a.said == b.said && a.state == b.state && a.misses == b.misses &&
                   a.missCount == b.missCount);
        FUZZ_CHECK(a.misses.size() <= 3);
    }
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    if (input.starts_with("arcavio set checks"))
        checkCache(input);
    else
        checkAnswer(input);
}
