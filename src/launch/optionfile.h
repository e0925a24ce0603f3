#pragma once

#include <array>
#include <string_view>

#include "text/linelist.h"

namespace arcavio {

inline constexpr int kOptionFileLineCount = 59;
inline constexpr std::string_view kOptionFileName = "mame.ini";

// One line of the emulator's option file: its option name and the configuration lines that
// give its value (three for a resolution, none for the closing fixed line).
struct OptionLine {
    std::string_view name;
    std::array<int, 3> lines; // -1 where unused
};

extern const std::array<OptionLine, kOptionFileLineCount> kOptionFileLines;

// A value with CR, LF or a zero byte would add lines of its own to mame.ini (any option the
// emulator knows): throws RefusedValueError naming the value and its option.
void requireOptionLine(std::string_view option, std::string_view value);

// Empties the buffer and fills it with the 59 option lines in table order, reading the
// configuration lines in that order too; a missing line throws ListIndexError, a value that
// would break its line RefusedValueError (the buffer is then incomplete and must not be saved).
void buildOptionFile(const LineList& configuration, LineList& optionFile);

} // namespace arcavio
