// Adding a game to the game list: whatever is written reads back as typed and leaves every
// other entry as it read, or the pair is refused and nothing changes. The input is the key, a
// zero byte, the name, a zero byte, then the file (see regressions/gamelist_edit/README.md).
#include <string>

#include "fuzzing.h"
#include "games/gamelist_edit_check.h"

ARCAVIO_FUZZ_TARGET
{
    const auto parts = arcavio::fuzz::fields(input, 3);
    const arcavio::test::GameListEdit edit{std::string(parts[0]), std::string(parts[1]),
                                           std::string(parts[2])};
    const auto broken = arcavio::test::checkGameListEdit(edit);
    if (broken)
        std::fprintf(stderr, "%s\n", broken->c_str());
    FUZZ_CHECK(!broken);
}
