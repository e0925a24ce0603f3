#include "games/gamelist.h"

#include "platform/filesystem.h"
#include "text/encoding.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct RawLine {
    std::string text;
    std::string end; // the line's own CR, LF or CR LF; empty for a last line without one
    bool added = false;
};

std::vector<RawLine> splitKeepingEnds(std::string_view bytes)
{
    std::vector<RawLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < bytes.size() && bytes[next] == '\r')
            ++next;
        if (next < bytes.size() && bytes[next] == '\n')
            ++next;
        lines.push_back({std::string(bytes.substr(start, end - start)),
                         std::string(bytes.substr(end, next - end))});
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

} // namespace

std::string defaultGameListPath() { return joinPath(platform::programDirectory(), "gamelist.ini"); }

GameRows buildGameRows(const std::vector<std::string>& zips, const IniFile& gameList, bool showAll)
{
    GameRows rows;
    rows.names.reserve(zips.size());
    rows.zips.reserve(zips.size());
    for (const std::string& zip : zips) {
        const std::optional<std::string> name = gameList.find(kGameListSection, removeExtension(zip));
        if (showAll) {
            rows.names.push_back(name ? *name : zip);
            rows.zips.push_back(zip);
        } else if (name && !name->empty()) {
            rows.names.push_back(*name);
            rows.zips.push_back(zip);
        }
    }
    return rows;
}

GameRows buildGameRows(const std::vector<std::string>& zips, const std::string& gameListPath, bool showAll)
{
    if (zips.empty())
        return {};
    return buildGameRows(zips, IniFile::load(gameListPath), showAll);
}

std::string withGameListEntry(std::string_view bytes, std::string_view key, std::string_view value)
{
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

    const std::string entry = singleLine(key) + "=" + singleLine(value);
    std::string encodedEntry = entry;
    bool toUtf8 = false;
    if (windows1252) {
        if (std::optional<std::string> fits = utf8ToCp1252(entry))
            encodedEntry = std::move(*fits);
        else
            toUtf8 = true;
    }

    const std::string foldedKey = foldCase(singleLine(key));
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

    if (match >= 0) {
        lines[static_cast<std::size_t>(match)].text = encodedEntry;
        lines[static_cast<std::size_t>(match)].added = true;
    } else if (section >= 0) {
        RawLine& before = lines[static_cast<std::size_t>(lastOfSection)];
        if (before.end.empty())
            before.end = lineEnd;
        lines.insert(lines.begin() + lastOfSection + 1, RawLine{encodedEntry, lineEnd, true});
    } else {
        if (!lines.empty()) {
            if (lines.back().end.empty())
                lines.back().end = lineEnd;
            if (!lines.back().text.empty())
                lines.push_back(RawLine{"", lineEnd, true});
        }
        lines.push_back(RawLine{"[" + std::string(kGameListSection) + "]", lineEnd, true});
        lines.push_back(RawLine{encodedEntry, lineEnd, true});
    }

    std::string out;
    out.reserve(bytes.size() + entry.size() + 32);
    if (byteOrderMark)
        out += kByteOrderMark;
    for (const RawLine& line : lines) {
        out += toUtf8 && !line.added ? cp1252ToUtf8(line.text) : line.text;
        out += line.end;
    }
    out += tail;
    return out;
}

void setGameListEntry(const std::string& path, std::string_view key, std::string_view value)
{
    const std::string bytes = platform::fileExists(path) ? platform::readFile(path) : std::string();
    platform::writeFileAtomic(path, withGameListEntry(bytes, key, value));
}

} // namespace arcavio
