#pragma once

#include <cstddef>

#include "text/linelist.h"

namespace arcavio {

// The help the help window shows when no help.ini replaces it.
const LineList& builtinHelpText();

// A text box lays out one line in a time that grows with the square of its length: a help.ini
// of one line of a megabyte would hold the window for minutes. Longer lines are shown as
// several, each broken after a blank in its second half, or where the limit falls when there
// is none (never inside a UTF-8 character).
inline constexpr std::size_t kLongestShownHelpLine = 1024;
LineList withLongLinesBroken(const LineList& lines, std::size_t longest = kLongestShownHelpLine);

} // namespace arcavio
