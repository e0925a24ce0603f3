// The program's own arguments, cut at zero bytes: read as the bytes given, or refused.
#include <algorithm>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "fuzzing.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < input.size() && arguments.size() < 64;) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        arguments.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    CommandLine line;
    try {
        line = readCommandLine(arguments);
    } catch (const CommandLineError& error) {
        FUZZ_CHECK(!std::string(error.what()).empty());
        return;
    }
    // A value is never made up: every one is an argument or what follows its "=".
    const auto given = [&](const std::string& value) {
        return std::any_of(arguments.begin(), arguments.end(), [&](const std::string& argument) {
            return argument == value ||
                   (argument.size() > value.size() &&
                    argument.compare(argument.size() - value.size(), value.size(), value) == 0 &&
                    argument[argument.size() - value.size() - 1] == '=');
        });
    };
    for (const auto* value :
         {&line.options.importNames, &line.options.gameList, &line.options.checkSets, &line.options.romPath})
        if (*value)
            FUZZ_CHECK(given(**value));
    for (const std::string& directory : line.options.directories)
        FUZZ_CHECK(given(directory));
}
