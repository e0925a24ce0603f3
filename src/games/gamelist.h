#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arcavio {

inline constexpr std::string_view kGameListSection = "gamelist";

// gamelist.ini beside the program.
std::string defaultGameListPath();

// The names of section "gamelist", read by the rules of every ini file of the program (see
// IniFile), with an index built once per read. The index is flat (one text buffer, one
// open-addressed table) so that naming a full collection of 40,000 zips touches little memory;
// its hash is keyed per process, so no file can make it slow.
class GameListIndex {
  public:
    GameListIndex() = default;
    // Raw file bytes: cut at the first zero byte, decoded, a byte-order mark skipped.
    static GameListIndex fromBytes(std::string_view bytes);
    // A missing file names nothing.
    static GameListIndex load(const std::string& path);

    // The value of the key's first line, the key compared without regard to case.
    std::optional<std::string_view> find(std::string_view key) const;
    // The key lines of the section, duplicates included.
    std::size_t size() const { return entries_.size(); }
    // The most slots one lookup walks: how evenly the keys spread over the table.
    std::size_t longestProbe() const;

  private:
    struct Entry {
        std::uint32_t key, keyLength, value, valueLength;
    };
    bool sameKey(const Entry& entry, std::string_view key) const;

    std::string text_;
    std::vector<Entry> entries_;
    // The upper 32 bits of the key's hash in the high half, entry + 1 in the low; 0 is free.
    std::vector<std::uint64_t> slots_;
};

// The rows the select-game dialog shows and, index for index, the zip each row stands for.
struct GameRows {
    std::vector<std::string> names;
    std::vector<std::string> zips;
};

// Named list: zips whose key (the zip name without extension) has a non-empty name, under
// that name. Full list: every zip, under its name when the key is present (even empty),
// otherwise under the zip's file name. Rows follow the order of the zips.
GameRows buildGameRows(const std::vector<std::string>& zips, const GameListIndex& gameList, bool showAll);

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
