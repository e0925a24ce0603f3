#include "games/setcheckcache.h"

#include <charconv>
#include <unordered_map>
#include <unordered_set>

#include "platform/filesystem.h"
#include "text/errors.h"
#include "text/keyedhash.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr std::size_t kVersionLimit = 32;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Keyed, so that a file written by someone else cannot aim its paths at one slot.
struct KeyedHash {
    std::size_t operator()(std::string_view text) const { return sipHash(text, processHashKey()); }
};

char stateLetter(SetState state)
{
    switch (state) {
    case SetState::Good:
        return 'g';
    case SetState::BestAvailable:
        return 'b';
    case SetState::Bad:
        return 'x';
    case SetState::NotFound:
        break;
    }
    return 'n';
}

std::optional<SetState> stateOf(std::string_view field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.front()) {
    case 'g':
        return SetState::Good;
    case 'b':
        return SetState::BestAvailable;
    case 'x':
        return SetState::Bad;
    case 'n':
        return SetState::NotFound;
    default:
        return std::nullopt;
    }
}

bool isVersion(std::string_view text)
{
    if (text.size() > kVersionLimit)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
              c == '_' || c == '-' || c == '+'))
            return false;
    return true;
}

bool isStoredPath(std::string_view path)
{
    if (path.empty() || path.front() != separator())
        return false;
    for (const char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

template <typename Number> std::optional<Number> numberOf(std::string_view field)
{
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field.empty() || field.front() == '+')
        return std::nullopt;
    return value;
}

std::string_view folderOf(std::string_view path)
{
    const std::size_t last = path.rfind(separator());
    return last == 0 ? path.substr(0, 1) : path.substr(0, last);
}

struct Stored {
    std::string_view version, path;
    SetFileStamp stamp;
    SetState state;
    std::uint32_t nextOfPath = kNone;
};

} // namespace

struct SetCheckCache::Index {
    std::string bytes; // what every view points into; never changed once read
    std::vector<Stored> entries;
    std::unordered_map<std::string_view, std::uint32_t, KeyedHash> firstOfPath;
    std::unordered_set<std::string_view, KeyedHash> folders;

    const Stored* findStored(std::string_view version, std::string_view path) const
    {
        const auto found = firstOfPath.find(path);
        if (found == firstOfPath.end())
            return nullptr;
        for (std::uint32_t at = found->second; at != kNone; at = entries[at].nextOfPath)
            if (entries[at].version == version)
                return &entries[at];
        return nullptr;
    }

    void take(std::string_view line)
    {
        std::string_view fields[5];
        std::size_t start = 0;
        for (int i = 0; i < 4; ++i) {
            const std::size_t tab = line.find('\t', start);
            if (tab == std::string_view::npos)
                return;
            fields[i] = line.substr(start, tab - start);
            start = tab + 1;
        }
        fields[4] = line.substr(start);
        const std::optional<SetState> state = stateOf(fields[1]);
        const auto size = numberOf<std::uint64_t>(fields[2]);
        const auto modified = numberOf<std::int64_t>(fields[3]);
        if (!isVersion(fields[0]) || !state || !size || !modified || !isStoredPath(fields[4]) ||
            entries.size() >= kNone - 1 || findStored(fields[0], fields[4]) != nullptr)
            return;
        const auto at = static_cast<std::uint32_t>(entries.size());
        entries.push_back({fields[0], fields[4], {*size, *modified}, *state});
        const auto [first, added] = firstOfPath.try_emplace(fields[4], at);
        if (!added) {
            std::uint32_t last = first->second;
            while (entries[last].nextOfPath != kNone)
                last = entries[last].nextOfPath;
            entries[last].nextOfPath = at;
        }
        folders.insert(folderOf(fields[4]));
    }
};

SetCheckCache::SetCheckCache() : index_(std::make_unique<Index>()) {}
SetCheckCache::~SetCheckCache() = default;
SetCheckCache::SetCheckCache(SetCheckCache&&) noexcept = default;
SetCheckCache& SetCheckCache::operator=(SetCheckCache&&) noexcept = default;

SetCheckCache SetCheckCache::parse(std::string bytes)
{
    SetCheckCache cache;
    Index& index = *cache.index_;
    index.bytes = std::move(bytes);
    const std::string_view text = index.bytes;
    const std::size_t headerEnd = text.find('\n');
    if (headerEnd == std::string_view::npos || text.substr(0, headerEnd) != kSetCheckCacheHeader)
        return cache;
    index.entries.reserve(text.size() / 64);
    index.firstOfPath.reserve(text.size() / 64);
    // Only lines with their own end count: a crash may have cut the last one short.
    for (std::size_t start = headerEnd + 1;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            break;
        index.take(text.substr(start, end - start));
        start = end + 1;
    }
    return cache;
}

SetCheckCache SetCheckCache::read(const std::string& path)
{
    if (path.empty() || !platform::fileExists(path))
        return {};
    try {
        return parse(platform::readFile(path, platform::kSetCheckCacheLimit));
    } catch (const Error&) {
        return {};
    }
}

std::size_t SetCheckCache::size() const
{
    return index_->entries.size();
}

SetCheckEntry SetCheckCache::at(std::size_t index) const
{
    const Stored& stored = index_->entries.at(index);
    return {std::string(stored.version), std::string(stored.path), stored.stamp, stored.state};
}

std::string_view SetCheckCache::pathAt(std::size_t index) const
{
    return index_->entries.at(index).path;
}

std::optional<SetState> SetCheckCache::find(std::string_view version, std::string_view path,
                                            const SetFileStamp& stamp) const
{
    const Stored* stored = index_->findStored(version, path);
    if (stored == nullptr || !(stored->stamp == stamp))
        return std::nullopt;
    return stored->state;
}

std::optional<SetState> SetCheckCache::newest(std::string_view path, const SetFileStamp& stamp) const
{
    const auto found = index_->firstOfPath.find(path);
    if (found == index_->firstOfPath.end())
        return std::nullopt;
    const Stored& stored = index_->entries[found->second];
    if (!(stored.stamp == stamp))
        return std::nullopt;
    return stored.state;
}

bool SetCheckCache::holdsFolder(std::string_view folder) const
{
    return index_->folders.contains(folder);
}

std::string SetCheckCache::serialize(const std::vector<SetCheckEntry>& first,
                                     const std::vector<bool>& keep) const
{
    std::string out(kSetCheckCacheHeader);
    out += '\n';
    std::unordered_set<std::string, KeyedHash> written;
    const auto put = [&](std::string_view version, std::string_view path, const SetFileStamp& stamp,
                         SetState state) {
        if (!isVersion(version) || !isStoredPath(path))
            return true;
        std::string key(version);
        key += '\t';
        key += path;
        if (!written.insert(std::move(key)).second)
            return true;
        std::string line(version);
        line += '\t';
        line += stateLetter(state);
        line += '\t';
        line += std::to_string(stamp.size);
        line += '\t';
        line += std::to_string(stamp.modified);
        line += '\t';
        line += path;
        line += '\n';
        if (out.size() + line.size() > platform::kSetCheckCacheLimit)
            return false;
        out += line;
        return true;
    };
    for (const SetCheckEntry& entry : first)
        if (!put(entry.version, entry.path, entry.stamp, entry.state))
            return out;
    for (std::size_t i = 0; i < index_->entries.size(); ++i) {
        if (i >= keep.size() || !keep[i])
            continue;
        const Stored& stored = index_->entries[i];
        if (!put(stored.version, stored.path, stored.stamp, stored.state))
            break;
    }
    return out;
}

std::string defaultSetCheckCachePath()
{
    const std::string folder = platform::cacheDirectory();
    return folder.empty() ? std::string() : joinPath(folder, "set-checks.txt");
}

} // namespace arcavio
