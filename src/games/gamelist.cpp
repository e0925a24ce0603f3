#include "games/gamelist.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "platform/filelock.h"
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

bool isSectionLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i]))
            return false;
    return true;
}

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// A line break or zero byte typed into a name would split the line or hide the rest of the
// file from every later reading.
void appendSingleLine(std::string& out, std::string_view text)
{
    const std::size_t at = out.size();
    out += text;
    for (std::size_t i = at; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n' || out[i] == '\0')
            out[i] = ' ';
}

std::string singleLine(std::string_view text)
{
    std::string line;
    appendSingleLine(line, text);
    return line;
}

// Keyed with the process's secret, so a file cannot choose keys that share slots: with an
// unkeyed hash, keys crafted to collide made reading a list quadratic.
std::uint64_t foldedHash(std::string_view key)
{
    return sipHash(key, processHashKey(), {}, true);
}

// The file's bytes as its readers see them: the text, after a byte-order mark and before the
// first zero byte (what follows is never read and is kept behind the text), and its encoding.
struct FileParts {
    bool byteOrderMark = false;
    std::string_view body, tail;
    bool windows1252 = false;
};

FileParts partsOf(std::string_view bytes)
{
    FileParts parts;
    const std::size_t zero = bytes.find('\0');
    parts.tail = zero == std::string_view::npos ? std::string_view() : bytes.substr(zero);
    parts.body = bytes.substr(0, zero);
    parts.byteOrderMark = parts.body.starts_with(kByteOrderMark);
    if (parts.byteOrderMark)
        parts.body.remove_prefix(kByteOrderMark.size());
    parts.windows1252 = !isValidUtf8(parts.body);
    return parts;
}

// Where a new line goes in a text, by the rules every writer follows.
struct Layout {
    std::string lineEnd = "\r\n"; // the file's own: that of its first line
    bool sectionFound = false;
    std::size_t insertAt = 0;     // with a section: just after the end of its last line
    bool endBeforeInsert = false; // that line has no end of its own yet
    bool lastLineHasEnd = true;   // without a section: about the text's last line
    bool lastLineEmpty = true;
};

// Reads the text by the file's rules: a section line is "[" name "]", only the first section
// "gamelist" (without regard to case) is read, empty lines and lines beginning with ";" hold no
// key, and a key is the text before a line's first "=". Calls visit(lineStart, lineEnd, equals)
// for every key line of that section, in order.
template <typename Visit> Layout scanGameList(std::string_view text, Visit&& visit)
{
    Layout layout;
    bool endSeen = false;
    for (std::size_t start = 0; start < text.size();) {
        const auto [end, next] = lineAt(text, start);
        const std::string_view line = text.substr(start, end - start);
        const std::size_t lineStart = start;
        if (!endSeen && next > end) {
            layout.lineEnd = std::string(text.substr(end, next - end));
            endSeen = true;
        }
        start = next;
        if (!layout.sectionFound) {
            layout.lastLineHasEnd = next > end;
            layout.lastLineEmpty = line.empty();
        }
        if (isSectionLine(line)) {
            if (layout.sectionFound)
                break;
            if (sameIgnoringCase(line.substr(1, line.size() - 2), kGameListSection)) {
                layout.sectionFound = true;
                layout.insertAt = next;
                layout.endBeforeInsert = next == end;
            }
            continue;
        }
        if (!layout.sectionFound || line.empty())
            continue;
        layout.insertAt = next;
        layout.endBeforeInsert = next == end;
        const std::size_t equals = line.find('=');
        if (line.front() != ';' && equals != std::string_view::npos)
            visit(lineStart, end, lineStart + equals);
    }
    return layout;
}

// What comes before new lines: a line end for a last line without one, and the section when
// the file has none, after an empty line.
std::string linesPrefix(const Layout& layout, std::string_view body)
{
    if (layout.sectionFound)
        return layout.endBeforeInsert ? layout.lineEnd : std::string();
    std::string prefix;
    if (!body.empty()) {
        if (!layout.lastLineHasEnd)
            prefix += layout.lineEnd;
        if (!layout.lastLineEmpty)
            prefix += layout.lineEnd;
    }
    prefix += "[";
    prefix += kGameListSection;
    prefix += "]";
    prefix += layout.lineEnd;
    return prefix;
}

// The file with body[from, to) replaced by new text, which write(out, in1252) appends in UTF-8
// or in Windows-1252. A Windows-1252 file stays one only while its text is no valid UTF-8 and
// the new text fits the code page: once an edit makes it valid UTF-8 (a replaced line held its
// only other byte, or the new bytes happen to form UTF-8), it would read as UTF-8 and change, so
// it becomes UTF-8 as a whole then, as it does when the new text does not fit.
template <typename Write>
std::string spliced(const FileParts& file, std::size_t from, std::size_t to, std::size_t textSize, bool fits1252,
                    Write&& write)
{
    const auto build = [&](bool toUtf8, bool in1252) {
        std::string out;
        out.reserve(kByteOrderMark.size() + file.body.size() + (toUtf8 ? file.body.size() / 2 : 0) + textSize +
                    file.tail.size());
        const auto kept = [&](std::string_view part) {
            if (toUtf8)
                out += cp1252ToUtf8(part);
            else
                out += part;
        };
        if (file.byteOrderMark)
            out += kByteOrderMark;
        kept(file.body.substr(0, from));
        write(out, in1252);
        kept(file.body.substr(to));
        out += file.tail;
        return out;
    };
    if (!file.windows1252)
        return build(false, false);
    if (fits1252) {
        std::string out = build(false, true);
        const std::size_t mark = file.byteOrderMark ? kByteOrderMark.size() : 0;
        if (!isValidUtf8(std::string_view(out).substr(mark, out.size() - mark - file.tail.size())))
            return out;
    }
    return build(true, false);
}

void refuseOversized(const std::string& path, std::size_t size)
{
    // A file the program could not read back would lose every name in it.
    if (size > platform::kGameListFileLimit)
        throw RefusedValueError(visibleValue(fileNamePart(path)) + " would grow past " +
                                std::to_string(platform::kGameListFileLimit / platform::kMebibyte) +
                                " MiB, more than the program reads; it was not changed");
}

std::string readIfPresent(const std::string& path)
{
    return platform::fileExists(path) ? platform::readFile(path, platform::kGameListFileLimit) : std::string();
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

    scanGameList(text, [&](std::size_t lineStart, std::size_t lineEnd, std::size_t equals) {
        index.entries_.push_back({static_cast<std::uint32_t>(lineStart), static_cast<std::uint32_t>(equals - lineStart),
                                  static_cast<std::uint32_t>(equals + 1),
                                  static_cast<std::uint32_t>(lineEnd - equals - 1)});
    });

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
    return sameIgnoringCase(std::string_view(text_).substr(entry.key, entry.keyLength), key);
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

    const FileParts file = partsOf(bytes);
    std::optional<std::pair<std::size_t, std::size_t>> match;
    const Layout layout = scanGameList(file.body, [&](std::size_t start, std::size_t end, std::size_t equals) {
        if (match)
            return;
        const std::string_view rawKey = file.body.substr(start, equals - start);
        if (sameIgnoringCase(file.windows1252 ? cp1252ToUtf8(rawKey) : std::string(rawKey), lineKey))
            match.emplace(start, end);
    });

    std::string text;
    std::size_t from = file.body.size(), to = from;
    if (match) {
        std::tie(from, to) = *match;
        text = lineKey + "=" + lineValue;
    } else {
        if (layout.sectionFound)
            from = to = layout.insertAt;
        text = linesPrefix(layout, file.body) + lineKey + "=" + lineValue + layout.lineEnd;
    }
    const std::optional<std::string> in1252 = file.windows1252 ? utf8ToCp1252(text) : std::nullopt;
    return spliced(file, from, to, text.size(), in1252.has_value(),
                   [&](std::string& out, bool inCodePage) { out += inCodePage ? *in1252 : text; });
}

void setGameListEntry(const std::string& path, std::string_view key, std::string_view value,
                      std::chrono::milliseconds lockWait)
{
    const platform::FileLock lock(path, lockWait);
    const std::string edited = withGameListEntry(readIfPresent(path), key, value);
    refuseOversized(path, edited.size());
    platform::replaceFile(path, edited);
}

GameListNames::Added GameListNames::add(std::string_view key, std::string_view value)
{
    if (gameListKeyProblem(key) || !isValidUtf8(value)) {
        ++refused_;
        return Added::Refused;
    }
    if (full_)
        return Added::Full;
    if (2 * (count_ + 1) > slots_.size())
        grow();
    const std::uint64_t hash = foldedHash(key);
    const std::size_t slot = probe(key, hash);
    if (slots_[slot] != 0) {
        ++repeated_;
        return Added::Repeated;
    }
    if (text_.size() + key.size() + value.size() + 2 > kGameListTextLimit) {
        full_ = true;
        return Added::Full;
    }
    const auto offset = static_cast<std::uint32_t>(text_.size());
    text_ += key;
    text_ += '=';
    appendSingleLine(text_, value);
    text_ += '\n';
    slots_[slot] = kTaken | (static_cast<std::uint32_t>(hash >> 59) << kOffsetBits) | offset;
    ++count_;
    return Added::New;
}

std::size_t GameListNames::probe(std::string_view key, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 59) << kOffsetBits;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t taken = slots_[slot];
        if (taken == 0)
            return slot;
        // A line's key holds no "=", so the key ends where the "=" follows.
        const std::size_t offset = taken & kOffsetMask;
        if ((taken & kTagBits) == tag && offset + key.size() < text_.size() && text_[offset + key.size()] == '=' &&
            sameIgnoringCase(std::string_view(text_).substr(offset, key.size()), key))
            return slot;
    }
}

void GameListNames::grow()
{
    slots_.assign(std::max<std::size_t>(16, 2 * slots_.size()), 0);
    const std::size_t mask = slots_.size() - 1;
    // Through the lines in order, which reads the text once from start to end.
    forEach([&](std::size_t offset, std::string_view key, std::string_view) {
        const std::uint64_t hash = foldedHash(key);
        std::size_t slot = hash & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = kTaken | (static_cast<std::uint32_t>(hash >> 59) << kOffsetBits) |
                       static_cast<std::uint32_t>(offset);
    });
}

std::size_t GameListNames::find(std::string_view key) const
{
    if (slots_.empty())
        return std::string_view::npos;
    const std::uint32_t taken = slots_[probe(key, foldedHash(key))];
    return taken != 0 ? taken & kOffsetMask : std::string_view::npos;
}

namespace {

// The merge; `owned`, when given, is `names` itself, whose table goes as soon as the file's keys
// are marked, before the new file is made. A result past `limit` is not made at all.
GameListMerge mergeNames(std::string_view fileBytes, const GameListNames& names, GameListNames* owned,
                         std::size_t limit, bool& tooLarge)
{
    GameListMerge merge;
    merge.counts.refused = names.refused();
    merge.counts.repeated = names.repeated();
    const FileParts file = partsOf(fileBytes);
    // The lines of the names the file holds already, in the order of the names.
    std::vector<std::uint32_t> inFile;
    std::string decoded;
    const Layout layout = scanGameList(file.body, [&](std::size_t start, std::size_t, std::size_t equals) {
        std::string_view key = file.body.substr(start, equals - start);
        if (file.windows1252 && !isAscii(key))
            key = decoded = cp1252ToUtf8(key);
        if (const std::size_t line = names.find(key); line != std::string_view::npos)
            inFile.push_back(static_cast<std::uint32_t>(line));
    });
    if (owned != nullptr)
        owned->releaseIndex();
    std::sort(inFile.begin(), inFile.end());
    inFile.erase(std::unique(inFile.begin(), inFile.end()), inFile.end());
    const auto isNew = [&inFile, next = inFile.begin()](std::size_t line) mutable {
        if (next != inFile.end() && *next == line) {
            ++next;
            return false;
        }
        return true;
    };

    std::size_t size = 0;
    bool fits1252 = true;
    auto counting = isNew;
    names.forEach([&](std::size_t line, std::string_view key, std::string_view value) {
        if (!counting(line)) {
            ++merge.counts.kept;
            return;
        }
        ++merge.counts.added;
        size += key.size() + 1 + value.size() + layout.lineEnd.size();
        if (file.windows1252 && fits1252 && !(isAscii(key) && isAscii(value)))
            fits1252 = utf8ToCp1252(key).has_value() && utf8ToCp1252(value).has_value();
    });
    tooLarge = false;
    if (merge.counts.added == 0) {
        merge.bytes = std::string(fileBytes);
        return merge;
    }

    const std::string prefix = linesPrefix(layout, file.body);
    // Converting a file to UTF-8 only makes it longer.
    if (fileBytes.size() + prefix.size() + size > limit) {
        tooLarge = true;
        return merge;
    }
    const std::size_t at = layout.sectionFound ? layout.insertAt : file.body.size();
    merge.bytes = spliced(file, at, at, prefix.size() + size, fits1252, [&](std::string& out, bool in1252) {
        out += prefix;
        auto writing = isNew;
        names.forEach([&](std::size_t line, std::string_view key, std::string_view value) {
            if (!writing(line))
                return;
            if (in1252 && !(isAscii(key) && isAscii(value))) {
                out += *utf8ToCp1252(key);
                out += '=';
                out += *utf8ToCp1252(value);
            } else {
                out += key;
                out += '=';
                out += value;
            }
            out += layout.lineEnd;
        });
    });
    return merge;
}

} // namespace

GameListMerge mergeGameListNames(std::string_view fileBytes, const GameListNames& names)
{
    bool tooLarge = false;
    return mergeNames(fileBytes, names, nullptr, std::numeric_limits<std::size_t>::max(), tooLarge);
}

GameListMergeCounts addGameListNames(const std::string& path, GameListNames&& names,
                                     std::chrono::milliseconds lockWait)
{
    const platform::FileLock lock(path, lockWait);
    bool tooLarge = false;
    const GameListMerge merge = mergeNames(readIfPresent(path), names, &names, platform::kGameListFileLimit, tooLarge);
    if (tooLarge)
        refuseOversized(path, platform::kGameListFileLimit + 1);
    if (merge.counts.added > 0) {
        refuseOversized(path, merge.bytes.size());
        platform::replaceFile(path, merge.bytes);
    }
    return merge.counts;
}

} // namespace arcavio
