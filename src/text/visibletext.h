#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace arcavio {

// True when the text holds CR, LF or a zero byte: written into a line of a file, it would end
// the line there (or the readable text) and start another.
bool breaksLine(std::string_view text);

// A value as a message quotes it: at most `limit` characters, cut with "…"; control characters
// are shown by their pictures (a line feed as ␊, a zero byte as ␀) and bytes that are not
// UTF-8 as �, so the message names what it refuses even when that cannot be seen.
std::string visibleValue(std::string_view text, std::size_t limit = 80);

} // namespace arcavio
