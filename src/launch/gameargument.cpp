#include "launch/gameargument.h"

#include "text/boundedtext.h"
#include "text/errors.h"

namespace arcavio {

std::string quoteCommandLineWord(std::string_view word)
{
    if (!word.empty() && word.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(word);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled, and one more escapes it.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\'); // before the closing quote
    quoted += '"';
    return quoted;
}

std::string gameArgument(std::string_view game)
{
    if (game.empty())
        return {};
    if (game.front() == '-')
        throw RefusedValueError("The game \"" + visibleValue(game) +
                                "\" cannot be started: a name beginning with \"-\" would reach the emulator "
                                "as an option");
    if (game.find('\0') != std::string_view::npos)
        throw RefusedValueError("The game \"" + visibleValue(game) +
                                "\" cannot be started: it holds a zero byte");
    return quoteCommandLineWord(game);
}

} // namespace arcavio
