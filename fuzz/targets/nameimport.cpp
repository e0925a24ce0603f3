// The emulator's list, read in pieces, merged into gamelist.ini: the rules of
// tests/games/nameimport_check.h on any input. An input is the list's length in decimal and a
// line feed, the list, then the bytes of gamelist.ini; without such a first line it is all list.
#include <cstdio>
#include <optional>
#include <string>

#include "fuzzing.h"
#include "games/nameimport_check.h"

ARCAVIO_FUZZ_TARGET
{
    std::string_view list = input, file;
    const std::size_t lineFeed = input.find('\n');
    if (lineFeed != std::string_view::npos && lineFeed > 0 && lineFeed <= 8 &&
        input.substr(0, lineFeed).find_first_not_of("0123456789") == std::string_view::npos) {
        const std::size_t length = std::stoul(std::string(input.substr(0, lineFeed)));
        list = input.substr(lineFeed + 1, length);
        file = input.substr(std::min(input.size(), lineFeed + 1 + length));
    }
    const std::size_t piece = 1 + input.size() % 13;
    const std::optional<std::string> problem = arcavio::test::checkNameImport(list, file, piece);
    if (problem)
        std::fprintf(stderr, "%s\n", problem->c_str());
    FUZZ_CHECK(!problem);
}
