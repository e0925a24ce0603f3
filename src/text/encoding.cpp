#include "text/encoding.h"

#include <array>
#include <cstdint>

namespace arcavio {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0 marks the five bytes Windows-1252 leaves
// undefined, which are kept as the C1 control of the same number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at bytes[i]; returns its length, or 0 when it is malformed.
std::size_t utf8Sequence(std::string_view bytes, std::size_t i, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::size_t utf8CharacterLength(std::string_view bytes, std::size_t at)
{
    char32_t codePoint = 0;
    return utf8Sequence(bytes, at, codePoint);
}

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = utf8Sequence(bytes, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0) {
            const char32_t cp = kHighControls[b - 0x80];
            appendUtf8(out, cp != 0 ? cp : b);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8Sequence(text, i, cp);
        if (length == 0)
            return std::nullopt;
        i += length;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kHighControls.size(); ++k) {
            const char32_t mapped = kHighControls[k] != 0 ? kHighControls[k] : 0x80 + k;
            if (mapped == cp) {
                out += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::string decodeFileName(std::string_view name)
{
    return isValidUtf8(name) ? std::string(name) : cp1252ToUtf8(name);
}

std::string decodeText(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return cp1252ToUtf8(bytes);
}

} // namespace arcavio
