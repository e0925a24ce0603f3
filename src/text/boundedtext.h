#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace arcavio {

// "…", which marks a text that was cut.
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// The most of a bad value that an error message quotes.
inline constexpr std::size_t kQuotedValueLimit = 200;

// The text itself when it holds at most maxBytes bytes; otherwise its longest prefix of at
// most maxBytes bytes that does not end inside a UTF-8 character, followed by the ellipsis.
// Text from a file can be any size; what is shown of it must not be.
std::string boundedText(std::string_view text, std::size_t maxBytes);

// A value as a message quotes it: at most `limit` characters, cut with the ellipsis; control
// characters are shown by their pictures (a line feed as ␊, a zero byte as ␀) and bytes that
// are not UTF-8 as �, so the message names what it refuses even when that cannot be seen.
std::string visibleValue(std::string_view text, std::size_t limit = 80);

// The first `count` lines of a text that are not blank, each trimmed of spaces and tabs, quoted
// as visibleValue does and put after a line feed: what a message shows of a program's errors.
std::string firstLinesShown(std::string_view text, std::size_t count);

} // namespace arcavio
