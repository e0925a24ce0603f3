#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace arcavio {

bool isValidUtf8(std::string_view bytes);

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
