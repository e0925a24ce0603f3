// Command lines split into words by the rules Windows programs use.
#include <string>
#include <vector>

#include "fuzzing.h"
#include "platform/process.h"

using namespace arcavio;

namespace {

// One word quoted so that those rules give it back unchanged.
std::string quoted(const std::string& word)
{
    if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos)
        return word;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + '"';
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    const std::vector<std::string> words = platform::splitCommandLine(input);
    std::string again;
    for (const std::string& word : words)
        again += quoted(word) + ' ';
    FUZZ_CHECK(platform::splitCommandLine(again) == words);
    // A blank never ends up inside a word unless quotes put it there.
    if (input.find('"') == std::string_view::npos)
        for (const std::string& word : words)
            FUZZ_CHECK(!word.empty() && word.find_first_of(" \t") == std::string::npos);
}
