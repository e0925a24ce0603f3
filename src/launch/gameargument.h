#pragma once

#include <string>
#include <string_view>

namespace arcavio {

// The command-line text that Windows programs (and splitCommandLine) read back as exactly
// this one word: the word itself when it holds no blank, tab or double quote and is not empty;
// otherwise the word in double quotes, with a backslash before each quote and the backslashes
// before a quote doubled.
std::string quoteCommandLineWord(std::string_view word);

// The game as the emulator's command line: always one argument, however the zip is named, so a
// name with blanks cannot add options of its own. A name without blanks or quotes stays as it
// is (no set name holds either); the empty name gives no argument at all. A name beginning with
// "-" would reach the emulator as an option and one holding a zero byte would be cut short:
// both throw RefusedValueError naming the game.
std::string gameArgument(std::string_view game);

} // namespace arcavio
