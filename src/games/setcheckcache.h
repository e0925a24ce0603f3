#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the emulator said of each ROM set it checked, kept between runs in a file of Arcavio's
// own so that a folder is not checked again while its zips stay as they were. The file is
// disposable: whatever it holds is at most a mark on a row and a set not asked about again.
namespace arcavio {

enum class SetState : std::uint8_t {
    Good,          // "is good"
    BestAvailable, // "is best available": every file that exists, some were never dumped
    Bad,           // "is bad": files missing or wrong
    NotFound,      // nothing of it was found, or the emulator does not know the set
};

// Good and best available sets start; bad and not-found ones do not.
inline bool willRun(SetState state)
{
    return state == SetState::Good || state == SetState::BestAvailable;
}

// What tells one version of a set's zip from another.
struct SetFileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
    bool operator==(const SetFileStamp&) const = default;
};

struct SetCheckEntry {
    std::string version; // the emulator's, as -version prints it
    std::string path;    // the zip's absolute path
    SetFileStamp stamp;
    SetState state = SetState::NotFound;
};

// The entries of one cache file. Several emulator versions may have an entry for the same zip;
// the file lists the last check's entries first, so that the first entry of a path is the
// newest.
class SetCheckCache {
  public:
    SetCheckCache();
    ~SetCheckCache();
    SetCheckCache(SetCheckCache&&) noexcept;
    SetCheckCache& operator=(SetCheckCache&&) noexcept;

    // The file's entries; empty for a missing, unreadable or oversized file, one of another
    // format, and every line that is not a complete entry (a truncated last line included).
    static SetCheckCache read(const std::string& path);
    static SetCheckCache parse(std::string bytes);

    // The bytes of the file: `first` (the entries of a check), then this cache's entries whose
    // `keep` is true, in their order, the first entry of each version and path only. Entries
    // that could not be read back (a path or version holding a control character, a relative
    // path) are left out, and so is whatever would make the file larger than the program reads.
    std::string serialize(const std::vector<SetCheckEntry>& first, const std::vector<bool>& keep) const;

    std::size_t size() const;
    SetCheckEntry at(std::size_t index) const;
    std::string_view pathAt(std::size_t index) const;
    // The state this version gave the zip when its stamp matches; nothing otherwise.
    std::optional<SetState> find(std::string_view version, std::string_view path,
                                 const SetFileStamp& stamp) const;
    // The newest entry of the path, whatever its version, when its stamp matches.
    std::optional<SetState> newest(std::string_view path, const SetFileStamp& stamp) const;
    // Whether some entry lies directly in this folder.
    bool holdsFolder(std::string_view folder) const;

  private:
    struct Index;
    std::unique_ptr<Index> index_;
};

// The first line of the file; a file that begins otherwise is of another format.
inline constexpr std::string_view kSetCheckCacheHeader = "arcavio set checks 1";

// $XDG_CACHE_HOME/arcavio/set-checks.txt, or ~/.cache/arcavio/set-checks.txt; empty when
// neither names an absolute folder.
std::string defaultSetCheckCachePath();

} // namespace arcavio
