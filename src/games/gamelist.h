#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arcavio {

inline constexpr std::string_view kGameListSection = "gamelist";

// gamelist.ini beside the program, whatever its letter case.
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

// Why a key cannot stand in gamelist.ini so that it reads back as itself, or nothing when it
// can. A line's key is the text before its first "=", a line beginning with ";" is a comment,
// and one beginning with "[" reads as a section when it ends with "]": so a key holds no "="
// and begins with neither. It holds no line break or zero byte and is valid UTF-8 (the text of
// the program). Anything else can be a key, the empty text and blanks included.
std::optional<std::string> gameListKeyProblem(std::string_view key);

// Sets key=value in section "gamelist": the key's first line in the section is replaced, or
// the line is added at the end of the section, or the section is added at the end of the
// file, which is created when missing. CR, LF and zero bytes in the key and the value become
// blanks. Every other byte of the file stays as it was; the new line is written in the file's
// encoding (Windows-1252 when the file is read as such, the text fits and the file still
// reads as Windows-1252 afterwards; otherwise the whole file becomes UTF-8), so the new entry
// reads back as typed and every other entry as before. A key with a gameListKeyProblem, or a
// value that is not UTF-8, throws RefusedValueError naming it, and nothing is written.
// Replaced atomically; throws FileCreateError naming the path.
void setGameListEntry(const std::string& path, std::string_view key, std::string_view value);

// The same edit on the file's bytes, for callers that hold them.
std::string withGameListEntry(std::string_view bytes, std::string_view key, std::string_view value);

} // namespace arcavio
