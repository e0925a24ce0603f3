#include "text/keyedhash.h"

#include <bit>
#include <random>

namespace arcavio {
namespace {

struct SipState {
    std::uint64_t v0, v1, v2, v3;

    void round()
    {
        v0 += v1;
        v1 = std::rotl(v1, 13);
        v1 ^= v0;
        v0 = std::rotl(v0, 32);
        v2 += v3;
        v3 = std::rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = std::rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = std::rotl(v1, 17);
        v1 ^= v2;
        v2 = std::rotl(v2, 32);
    }

    void absorb(std::uint64_t word, int rounds)
    {
        v3 ^= word;
        for (int i = 0; i < rounds; ++i)
            round();
        v0 ^= word;
    }
};

std::uint64_t byteAt(std::string_view bytes, std::size_t i, bool fold)
{
    auto c = static_cast<unsigned char>(bytes[i]);
    if (fold && c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    return c;
}

} // namespace

const HashKey& processHashKey()
{
    static const HashKey key = [] {
        std::random_device source;
        const auto word = [&source] { return (std::uint64_t{source()} << 32) | std::uint64_t{source()}; };
        HashKey drawn;
        drawn.k0 = word();
        drawn.k1 = word();
        return drawn;
    }();
    return key;
}

std::uint64_t sipHash(std::string_view bytes, const HashKey& key, SipRounds rounds, bool foldAsciiCase)
{
    SipState s{key.k0 ^ 0x736f6d6570736575ull, key.k1 ^ 0x646f72616e646f6dull, key.k0 ^ 0x6c7967656e657261ull,
               key.k1 ^ 0x7465646279746573ull};
    const std::size_t whole = bytes.size() - bytes.size() % 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < 8; ++k)
            word |= byteAt(bytes, i + k, foldAsciiCase) << (8 * k);
        s.absorb(word, rounds.compression);
    }
    std::uint64_t last = std::uint64_t{bytes.size() & 0xFF} << 56;
    for (std::size_t k = 0; whole + k < bytes.size(); ++k)
        last |= byteAt(bytes, whole + k, foldAsciiCase) << (8 * k);
    s.absorb(last, rounds.compression);
    s.v2 ^= 0xFF;
    for (int i = 0; i < rounds.finalization; ++i)
        s.round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

} // namespace arcavio
