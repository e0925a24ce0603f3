#include "games/gamelist.h"

#include <algorithm>
#include <limits>

#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/encoding.h"
#include "text/errors.h"
#include "text/inifile.h"
#include "text/keyedhash.h"
#include "text/linelist.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct RawLine {
    std::string text;
    std::string end; // the line's own CR, LF or CR LF; empty for a last line without one
    bool added = false;
    bool entry = false; // the key's line, whose text depends on the encoding chosen
};

std::vector<RawLine> splitKeepingEnds(std::string_view bytes)
{
    std::vector<RawLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto [end, next] = lineAt(bytes, start);
        lines.push_back(
            {std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, next - end))});
        start = next;
    }
    return lines;
}

bool isSectionLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// A line break or zero byte typed into a name would split the line or hide the rest of the
// file from every later reading.
std::string singleLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return line;
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Keyed with the process's secret, so a file cannot choose keys that share slots: with an
// unkeyed hash, keys crafted to collide made reading a list quadratic.
std::uint64_t foldedHash(std::string_view key)
{
    return sipHash(key, processHashKey(), {}, true);
}

} // namespace

GameListIndex GameListIndex::fromBytes(std::string_view bytes)
{
    GameListIndex index;
    index.text_ = decodeText(bytes.substr(0, bytes.find('\0')));
    // Offsets are 32-bit; text past 4 GiB is not read.
    if (index.text_.size() >= std::numeric_limits<std::uint32_t>::max())
        index.text_.resize(std::numeric_limits<std::uint32_t>::max() - 1);
    const std::string_view text = index.text_;

    bool inSection = false, sectionSeen = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(start, end - start);
        const std::size_t lineStart = start;
        start = end;
        if (start < text.size() && text[start] == '\r')
            ++start;
        if (start < text.size() && text[start] == '\n')
            ++start;

        if (line.empty() || line.front() == ';')
            continue;
        if (isSectionLine(line)) {
            // Only the first section of the name is read.
            inSection = !sectionSeen && foldCase(line.substr(1, line.size() - 2)) == kGameListSection;
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        index.entries_.push_back({static_cast<std::uint32_t>(lineStart), static_cast<std::uint32_t>(equals),
                                  static_cast<std::uint32_t>(lineStart + equals + 1),
                                  static_cast<std::uint32_t>(line.size() - equals - 1)});
    }

    std::size_t capacity = 16;
    while (capacity < 2 * index.entries_.size())
        capacity *= 2;
    index.slots_.assign(capacity, 0);
    const std::size_t mask = capacity - 1;
    for (std::size_t i = 0; i < index.entries_.size(); ++i) {
        const Entry entry = index.entries_[i];
        const std::string_view key = text.substr(entry.key, entry.keyLength);
        const std::uint64_t hash = foldedHash(key);
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        bool duplicate = false;
        std::size_t slot = hash & mask;
        for (; index.slots_[slot] != 0; slot = (slot + 1) & mask) {
            const std::uint64_t taken = index.slots_[slot];
            if (static_cast<std::uint32_t>(taken >> 32) == tag &&
                index.sameKey(index.entries_[static_cast<std::size_t>(taken & 0xFFFFFFFFu) - 1], key)) {
                duplicate = true; // the first line of a key wins
                break;
            }
        }
        if (!duplicate)
            index.slots_[slot] = (std::uint64_t{tag} << 32) | (i + 1);
    }
    return index;
}

GameListIndex GameListIndex::load(const std::string& path)
{
    if (!platform::fileExists(path))
        return GameListIndex();
    return fromBytes(platform::readFile(path, platform::kGameListFileLimit));
}

bool GameListIndex::sameKey(const Entry& entry, std::string_view key) const
{
    if (entry.keyLength != key.size())
        return false;
    const char* stored = text_.data() + entry.key;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (folded(stored[i]) != folded(key[i]))
            return false;
    return true;
}

std::size_t GameListIndex::longestProbe() const
{
    // The longest run of taken slots, a run that wraps past the end included.
    std::size_t longest = 0, run = 0;
    for (std::size_t i = 0; i < 2 * slots_.size(); ++i) {
        run = slots_[i % slots_.size()] != 0 ? run + 1 : 0;
        longest = std::max(longest, std::min(run, slots_.size()));
    }
    return longest;
}

std::optional<std::string_view> GameListIndex::find(std::string_view key) const
{
    if (entries_.empty())
        return std::nullopt;
    const std::uint64_t hash = foldedHash(key);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint64_t taken = slots_[slot];
        if (static_cast<std::uint32_t>(taken >> 32) != tag)
            continue;
        const Entry& entry = entries_[static_cast<std::size_t>(taken & 0xFFFFFFFFu) - 1];
        if (sameKey(entry, key))
            return std::string_view(text_).substr(entry.value, entry.valueLength);
    }
    return std::nullopt;
}

std::string defaultGameListPath()
{
    return platform::findEntryIgnoringCase(platform::dataDirectory(), "gamelist.ini",
                                           platform::EntryKind::File);
}

GameRows buildGameRows(const std::vector<std::string>& zips, const GameListIndex& gameList, bool showAll)
{
    GameRows rows;
    rows.names.reserve(zips.size());
    rows.zips.reserve(zips.size());
    for (const std::string& zip : zips) {
        const std::optional<std::string_view> name = gameList.find(removeExtension(zip));
        if (showAll) {
            rows.names.emplace_back(name ? std::string(*name) : decodeFileName(zip));
            rows.zips.push_back(zip);
        } else if (name && !name->empty()) {
            rows.names.emplace_back(*name);
            rows.zips.push_back(zip);
        }
    }
    return rows;
}

GameRows buildGameRows(const std::vector<std::string>& zips, const std::string& gameListPath, bool showAll)
{
    if (zips.empty())
        return {};
    return buildGameRows(zips, GameListIndex::load(gameListPath), showAll);
}

std::optional<std::string> gameListKeyProblem(std::string_view key)
{
    if (breaksLine(key))
        return "it holds a line break or a zero byte";
    if (!isValidUtf8(key))
        return "it is not valid UTF-8 text";
    if (key.find('=') != std::string_view::npos)
        return "it holds \"=\", where a name ends";
    if (key.starts_with(';'))
        return "a line beginning with \";\" is a comment";
    if (key.starts_with('['))
        return "a line beginning with \"[\" can read as a section";
    return std::nullopt;
}

std::string withGameListEntry(std::string_view bytes, std::string_view key, std::string_view value)
{
    const std::string lineKey = singleLine(key), lineValue = singleLine(value);
    if (const std::optional<std::string> problem = gameListKeyProblem(lineKey))
        throw RefusedValueError("The zip name \"" + visibleValue(lineKey) +
                                "\" cannot be added to gamelist.ini: " + *problem);
    if (!isValidUtf8(lineValue))
        throw RefusedValueError("The game name \"" + visibleValue(lineValue) +
                                "\" cannot be added to gamelist.ini: it is not valid UTF-8 text");

    // What follows a zero byte is never read; it is kept behind the edited text.
    const std::size_t zero = bytes.find('\0');
    const std::string_view tail = zero == std::string_view::npos ? std::string_view() : bytes.substr(zero);
    std::string_view body = bytes.substr(0, zero);
    const bool byteOrderMark = body.starts_with(kByteOrderMark);
    if (byteOrderMark)
        body.remove_prefix(kByteOrderMark.size());
    const bool windows1252 = !isValidUtf8(body);

    std::vector<RawLine> lines = splitKeepingEnds(body);
    std::string lineEnd = "\r\n";
    for (const RawLine& line : lines)
        if (!line.end.empty()) {
            lineEnd = line.end;
            break;
        }

    const std::string entry = lineKey + "=" + lineValue;
    const std::optional<std::string> entryIn1252 = windows1252 ? utf8ToCp1252(entry) : std::nullopt;

    const std::string foldedKey = foldCase(lineKey);
    std::ptrdiff_t section = -1, lastOfSection = -1, match = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i].text;
        if (isSectionLine(text)) {
            if (section >= 0)
                break; // only the first section of the name is read
            if (foldCase(text.substr(1, text.size() - 2)) == kGameListSection) {
                section = lastOfSection = static_cast<std::ptrdiff_t>(i);
            }
            continue;
        }
        if (section < 0 || text.empty())
            continue;
        lastOfSection = static_cast<std::ptrdiff_t>(i);
        if (match >= 0 || text.front() == ';')
            continue;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view rawKey = text.substr(0, equals);
        if (foldCase(windows1252 ? cp1252ToUtf8(rawKey) : std::string(rawKey)) == foldedKey)
            match = static_cast<std::ptrdiff_t>(i);
    }

    const RawLine entryLine{std::string(), lineEnd, true, true};
    if (match >= 0) {
        RawLine& replaced = lines[static_cast<std::size_t>(match)];
        replaced = RawLine{std::string(), replaced.end, true, true};
    } else if (section >= 0) {
        RawLine& before = lines[static_cast<std::size_t>(lastOfSection)];
        if (before.end.empty())
            before.end = lineEnd;
        lines.insert(lines.begin() + lastOfSection + 1, entryLine);
    } else {
        if (!lines.empty()) {
            if (lines.back().end.empty())
                lines.back().end = lineEnd;
            if (!lines.back().text.empty())
                lines.push_back(RawLine{"", lineEnd, true});
        }
        lines.push_back(RawLine{"[" + std::string(kGameListSection) + "]", lineEnd, true});
        lines.push_back(entryLine);
    }

    // toUtf8: a Windows-1252 file becomes UTF-8 as a whole.
    const auto render = [&](bool toUtf8) {
        std::string text;
        text.reserve(body.size() + entry.size() + 32);
        for (const RawLine& line : lines) {
            if (line.entry)
                text += windows1252 && !toUtf8 ? *entryIn1252 : entry;
            else
                text += toUtf8 && !line.added ? cp1252ToUtf8(line.text) : line.text;
            text += line.end;
        }
        return text;
    };
    // A Windows-1252 file stays one only while its text is no valid UTF-8: once the edit makes
    // it so (the line replaced held its only other byte, or the new bytes happen to form UTF-8),
    // it would read as UTF-8 and change. It becomes UTF-8 as a whole then, as it does when the
    // name does not fit the code page.
    std::string edited;
    if (windows1252 && entryIn1252) {
        edited = render(false);
        if (isValidUtf8(edited))
            edited = render(true);
    } else {
        edited = render(windows1252);
    }

    std::string out;
    out.reserve(kByteOrderMark.size() + edited.size() + tail.size());
    if (byteOrderMark)
        out += kByteOrderMark;
    out += edited;
    out += tail;
    return out;
}

void setGameListEntry(const std::string& path, std::string_view key, std::string_view value)
{
    const std::string bytes =
        platform::fileExists(path) ? platform::readFile(path, platform::kGameListFileLimit) : std::string();
    platform::replaceFile(path, withGameListEntry(bytes, key, value));
}

} // namespace arcavio
