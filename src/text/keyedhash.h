#pragma once

#include <cstdint>
#include <string_view>

namespace arcavio {

// The secret of a keyed hash. A table indexed by such a hash cannot be aimed at by the file it
// reads: without the key no one can choose texts that fall into the same slots.
struct HashKey {
    std::uint64_t k0 = 0, k1 = 0;
};

// Drawn from the operating system's random source once per process.
const HashKey& processHashKey();

struct SipRounds {
    int compression = 1;
    int finalization = 3;
};

// SipHash of the bytes, with ASCII letters folded to lower case first when asked, so names
// compared without regard to case hash alike. SipHash-1-3 by default, as hash tables use it.
std::uint64_t sipHash(std::string_view bytes, const HashKey& key, SipRounds rounds = {},
                      bool foldAsciiCase = false);

} // namespace arcavio
