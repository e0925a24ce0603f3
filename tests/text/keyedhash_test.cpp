#include "text/keyedhash.h"

#include <gtest/gtest.h>

#include <string>

namespace arcavio {
namespace {

// The published SipHash-2-4 vectors: key 00 01 .. 0F, messages 00 01 .. of every length.
TEST(SipHash, MatchesThePublishedVectors)
{
    const HashKey key{0x0706050403020100ull, 0x0F0E0D0C0B0A0908ull};
    std::string message;
    for (int i = 0; i < 15; ++i)
        message += static_cast<char>(i);
    EXPECT_EQ(sipHash("", key, {2, 4}), 0x726fdb47dd0e0e31ull);
    EXPECT_EQ(sipHash(message.substr(0, 1), key, {2, 4}), 0x74f839c593dc67fdull);
    EXPECT_EQ(sipHash(message.substr(0, 8), key, {2, 4}), 0x93f5f5799a932462ull);
    EXPECT_EQ(sipHash(message, key, {2, 4}), 0xa129ca6149be45e5ull);
}

TEST(SipHash, FoldsOnlyAsciiLettersWhenAsked)
{
    const HashKey& key = processHashKey();
    EXPECT_EQ(sipHash("Pac-MAN_2.Zip", key, {}, true), sipHash("pac-man_2.zip", key));
    EXPECT_NE(sipHash("Pac-MAN", key), sipHash("pac-man", key));
    EXPECT_NE(sipHash("\xC3\x89", key, {}, true), sipHash("\xC3\xA9", key, {}, true));
    // The key changes every hash: another key, other values.
    EXPECT_NE(sipHash("pacman", key), sipHash("pacman", HashKey{key.k0 ^ 1, key.k1}));
    EXPECT_EQ(&processHashKey(), &key);
}

} // namespace
} // namespace arcavio
