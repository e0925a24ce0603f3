#pragma once

// What the fuzz targets share. Each target defines its entry with ARCAVIO_FUZZ_TARGET: libFuzzer
// drives it in the fuzz build (make fuzz), replay.cpp in the test build, which runs every
// kept input through it (make test).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#define ARCAVIO_FUZZ_TARGET                                                                                  \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);                       \
    static void fuzzOneInput(std::string_view input);                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)                        \
    {                                                                                                        \
        fuzzOneInput(std::string_view(reinterpret_cast<const char*>(data), size));                           \
        return 0;                                                                                            \
    }                                                                                                        \
    static void fuzzOneInput(std::string_view input)

// A property the code must keep for every input; a broken one is a finding, like a crash.
#define FUZZ_CHECK(condition)                                                                                \
    ((condition) ? static_cast<void>(0) : ::arcavio::fuzz::checkFailed(#condition, __FILE__, __LINE__))

namespace arcavio::fuzz {

[[noreturn]] inline void checkFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

// The input cut at zero bytes into at most `count` fields, the last taking the rest; missing
// fields are empty. Kept inputs stay readable and easy to write by hand.
inline std::vector<std::string_view> fields(std::string_view input, std::size_t count)
{
    std::vector<std::string_view> out;
    while (out.size() + 1 < count) {
        const std::size_t zero = input.find('\0');
        if (zero == std::string_view::npos)
            break;
        out.push_back(input.substr(0, zero));
        input.remove_prefix(zero + 1);
    }
    out.push_back(input);
    out.resize(count);
    return out;
}

} // namespace arcavio::fuzz
