#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/inifile.h"

namespace arcavio {

inline constexpr std::string_view kGameListSection = "gamelist";

// gamelist.ini beside the program.
std::string defaultGameListPath();

// The rows the select-game dialog shows and, index for index, the zip each row stands for.
struct GameRows {
    std::vector<std::string> names;
    std::vector<std::string> zips;
};

// Named list: zips whose key (the zip name without extension) has a non-empty name, under
// that name. Full list: every zip, under its name when the key is present (even empty),
// otherwise under the zip's file name. Rows follow the order of the zips.
GameRows buildGameRows(const std::vector<std::string>& zips, const IniFile& gameList, bool showAll);

// Reads the game list file only when there are zips to name; a missing file names nothing.
GameRows buildGameRows(const std::vector<std::string>& zips, const std::string& gameListPath, bool showAll);

// Sets key=value in section "gamelist": the key's first line in the section is replaced, or
// the line is added at the end of the section, or the section is added at the end of the
// file, which is created when missing. Every other byte of the file stays as it was; the
// new line is written in the file's encoding (Windows-1252 when the file is read as such and
// the text fits, otherwise the whole file becomes UTF-8). Replaced atomically; throws
// FileCreateError naming the path.
void setGameListEntry(const std::string& path, std::string_view key, std::string_view value);

// The same edit on the file's bytes, for callers that hold them.
std::string withGameListEntry(std::string_view bytes, std::string_view key, std::string_view value);

} // namespace arcavio
