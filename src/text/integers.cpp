#include "text/integers.h"

#include "text/errors.h"

namespace arcavio {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::int32_t parse(std::string_view text, bool allowHex)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (allowHex && i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (allowHex && i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        throw ConvertError::invalidInteger(text);

    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            throw ConvertError::invalidInteger(text);
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            throw ConvertError::invalidInteger(text);
    }
    auto result = static_cast<std::uint32_t>(value);
    if (negative)
        result = 0u - result;
    return static_cast<std::int32_t>(result);
}

} // namespace

std::int32_t parseInteger(std::string_view text)
{
    return parse(text, false);
}

std::int32_t parseIntegerOrHex(std::string_view text)
{
    return parse(text, true);
}

} // namespace arcavio
