// The game-list index, against the ini reader: both read section "gamelist" by the same rules.
#include <string>
#include <vector>

#include "fuzzing.h"
#include "games/gamelist.h"
#include "text/inifile.h"
#include "text/linelist.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    const GameListIndex index = GameListIndex::fromBytes(input);
    const LineList lines = LineList::fromBytes(input);
    const IniFile ini(lines);
    std::vector<std::string> keys = {"", "pacman"};
    for (const std::string& line : lines.lines())
        if (const auto equals = line.find('='); equals != std::string::npos && keys.size() < 2000)
            keys.push_back(line.substr(0, equals));
    for (const std::string& key : keys) {
        const auto found = index.find(key);
        const auto expected = ini.find(kGameListSection, key);
        FUZZ_CHECK(found.has_value() == expected.has_value());
        if (found)
            FUZZ_CHECK(*found == *expected);
    }
    if (!ini.hasSection(kGameListSection))
        FUZZ_CHECK(index.size() == 0);
}
