// Integers as configurations and skins write them: decimal, and hexadecimal after "$" or "0x".
#include <cstdint>
#include <optional>
#include <string>

#include "fuzzing.h"
#include "text/errors.h"
#include "text/integers.h"

using namespace arcavio;

namespace {

template <typename Parse> std::optional<std::int64_t> attempt(Parse parse, std::string_view text)
{
    try {
        return parse(text);
    } catch (const ConvertError& e) {
        if (text.find('\0') == std::string_view::npos)
            FUZZ_CHECK(std::string_view(e.what()).ends_with("' is not a valid integer value"));
        return std::nullopt;
    }
}

// The rules read plainly: blanks, a sign, then digits (hexadecimal up to FFFFFFFF, wrapping).
std::optional<std::int64_t> plainParse(std::string_view text, bool hexAllowed)
{
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    int base = 10;
    if (hexAllowed && text.substr(i, 1) == "$")
        base = 16, i += 1;
    else if (hexAllowed && (text.substr(i, 2) == "0x" || text.substr(i, 2) == "0X"))
        base = 16, i += 2;
    if (i >= text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > (base == 16 ? 0xFFFFFFFFll : (negative ? 0x80000000ll : 0x7FFFFFFFll)))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    FUZZ_CHECK(attempt(parseInteger, input) == plainParse(input, false));
    FUZZ_CHECK(attempt(parseIntegerOrHex, input) == plainParse(input, true));
    // Every value the program writes reads back.
    if (input.size() >= 4) {
        const std::int32_t value =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned char>(input[0])) |
                                      static_cast<std::uint32_t>(static_cast<unsigned char>(input[1])) << 8 |
                                      static_cast<std::uint32_t>(static_cast<unsigned char>(input[2])) << 16 |
                                      static_cast<std::uint32_t>(static_cast<unsigned char>(input[3])) << 24);
        FUZZ_CHECK(parseInteger(std::to_string(value)) == value);
        FUZZ_CHECK(parseIntegerOrHex(std::to_string(value)) == value);
    }
}
