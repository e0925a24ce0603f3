#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/filelock.h"

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

// The most text GameListNames keeps: as much as the file may hold.
inline constexpr std::size_t kGameListTextLimit = std::size_t{64} << 20;

// Sets key=value in section "gamelist": the key's first line in the section is replaced, or
// the line is added at the end of the section, or the section is added at the end of the
// file, which is created when missing. CR, LF and zero bytes in the key and the value become
// blanks. Every other byte of the file stays as it was; the new line is written in the file's
// encoding (Windows-1252 when the file is read as such, the text fits and the file still
// reads as Windows-1252 afterwards; otherwise the whole file becomes UTF-8), so the new entry
// reads back as typed and every other entry as before. A key with a gameListKeyProblem, or a
// value that is not UTF-8, throws RefusedValueError naming it, and nothing is written.
// The file is read, changed and replaced (atomically) under its lock (see FileLock), so an
// edit made meanwhile by another program is kept; FileBusyError when the lock stays held past
// `lockWait`, RefusedValueError when the file would grow past what the program reads, and
// FileCreateError naming the path when it cannot be written.
void setGameListEntry(const std::string& path, std::string_view key, std::string_view value,
                      std::chrono::milliseconds lockWait = platform::kFileLockWait);

// The same edit on the file's bytes, for callers that hold them.
std::string withGameListEntry(std::string_view bytes, std::string_view key, std::string_view value);

// Names to merge into the file, as many as a full emulator lists: the first pair of each key
// (keys compared as the file compares them), in the order given, kept as the very lines they
// become, in one text, with a table of 4 bytes a slot, so that millions of names cost little
// more than their text.
class GameListNames {
  public:
    enum class Added { New, Repeated, Refused, Full };
    // CR, LF and zero bytes in the value become blanks. Refused: a key with a
    // gameListKeyProblem, or a value that is not UTF-8. Full: the names hold kGameListTextLimit
    // bytes already; nothing more is taken.
    Added add(std::string_view key, std::string_view value);

    std::size_t size() const { return count_; }
    std::size_t repeated() const { return repeated_; }
    std::size_t refused() const { return refused_; }
    bool full() const { return full_; }
    // The names as lines "key=value", each ended by LF, in the order they were added.
    const std::string& lines() const { return text_; }
    // Calls visit(key, value), or visit(offset, key, value) with the offset of the name's line
    // in lines(), for each name, in order.
    template <typename Visit> void forEach(Visit&& visit) const
    {
        for (std::size_t at = 0; at < text_.size();) {
            const std::size_t equals = text_.find('=', at), end = text_.find('\n', equals);
            const std::string_view key = std::string_view(text_).substr(at, equals - at),
                                   value = std::string_view(text_).substr(equals + 1, end - equals - 1);
            if constexpr (std::is_invocable_v<Visit, std::size_t, std::string_view, std::string_view>)
                visit(at, key, value);
            else
                visit(key, value);
            at = end + 1;
        }
    }
    // The offset of the key's line in lines(), or npos.
    std::size_t find(std::string_view key) const;
    // Frees the table when no name is to be added or looked up any more: find() then finds
    // nothing, and the names stay.
    void releaseIndex() { std::vector<std::uint32_t>().swap(slots_); }

  private:
    static constexpr unsigned kOffsetBits = 26; // kGameListTextLimit
    static constexpr std::uint32_t kOffsetMask = (std::uint32_t{1} << kOffsetBits) - 1;
    static constexpr std::uint32_t kTaken = std::uint32_t{1} << 31;
    static constexpr std::uint32_t kTagBits = ~(kTaken | kOffsetMask);
    static_assert(kGameListTextLimit == std::size_t{1} << kOffsetBits);

    std::size_t probe(std::string_view key, std::uint64_t hash) const;
    void grow();

    std::string text_;
    // Taken bit, 5 bits of the key's hash, and the offset of its line in text_.
    std::vector<std::uint32_t> slots_;
    std::size_t count_ = 0, repeated_ = 0, refused_ = 0;
    bool full_ = false;
};

struct GameListMergeCounts {
    std::size_t added = 0;    // names given a new line
    std::size_t kept = 0;     // names the file holds already: the user's value stays
    std::size_t refused = 0;  // names the file cannot hold (see gameListKeyProblem)
    std::size_t repeated = 0; // names given again, without regard to case: the first counts
};

struct GameListMerge {
    std::string bytes; // the file as it is to be written; unchanged when nothing was added
    GameListMergeCounts counts;
};

// The file's bytes with a line for every name whose key it does not hold yet (keys compared as
// the select-game dialog compares them), in the names' order, after the last line of its first
// section "gamelist" (a section added at the end of the file when there is none), by the rules
// of setGameListEntry for a key it does not find. Every other byte stays: the byte-order mark,
// the line ends, whatever follows a zero byte, and the encoding: a Windows-1252 file stays one
// when every new line fits the code page; otherwise the whole file becomes UTF-8.
// Time and memory are linear in the sizes of the file and the names.
GameListMerge mergeGameListNames(std::string_view fileBytes, const GameListNames& names);

// The merge done on the file under its lock, read afresh there, and written only when a name
// was added. The names' table goes once the file's keys are found, so that the new file is made
// beside little more than the names' text. Throws as setGameListEntry does; RefusedValueError
// names the file when it would grow past what the program reads.
GameListMergeCounts addGameListNames(const std::string& path, GameListNames&& names,
                                     std::chrono::milliseconds lockWait = platform::kFileLockWait);

} // namespace arcavio
