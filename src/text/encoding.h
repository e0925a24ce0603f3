#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace arcavio {

bool isValidUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 character that starts at bytes[at], or 0 when none does
// (a stray byte, an overlong form, a surrogate, a code point beyond U+10FFFF, a cut sequence).
std::size_t utf8CharacterLength(std::string_view bytes, std::size_t at);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Text read from a file: a UTF-8 byte-order mark is skipped; valid UTF-8 is kept, anything
// else is taken as Windows-1252, so files written on Windows keep their accents.
std::string decodeText(std::string_view bytes);

// A file name's bytes as text, by the same rule but with nothing skipped: a name copied from
// Windows keeps its accents on screen.
std::string decodeFileName(std::string_view name);

std::string cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text, or nothing when a character does not fit.
std::optional<std::string> utf8ToCp1252(std::string_view text);

} // namespace arcavio
