#pragma once

// The rule of "Add a new Game", checked on any file, key and name: what Add writes reads back
// exactly as typed (line breaks and zero bytes as blanks) and every other entry keeps what it
// read before; or the pair is refused and nothing is written.
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "games/gamelist.h"
#include "text/encoding.h"
#include "text/errors.h"
#include "text/inifile.h"

namespace arcavio::test {

struct GameListEdit {
    std::string key, name, file;
};

inline std::string blanked(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return line;
}

// Every text before a "=" on any line of the file as it reads: a superset of its keys.
inline std::vector<std::string> keyCandidates(std::string_view bytes)
{
    const std::string text = decodeText(bytes.substr(0, bytes.find('\0')));
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos)
            keys.emplace_back(line.substr(0, equals));
        start = end + 1;
    }
    return keys;
}

// What went wrong, or nothing when the edit kept the rule. `refused` tells whether the pair
// was refused (with RefusedValueError, never another error).
inline std::optional<std::string> checkGameListEdit(const GameListEdit& edit, bool* refused = nullptr)
{
    std::string after;
    try {
        after = withGameListEntry(edit.file, edit.key, edit.name);
    } catch (const RefusedValueError&) {
        if (refused != nullptr)
            *refused = true;
        return std::nullopt;
    }
    if (refused != nullptr)
        *refused = false;
    const std::string key = blanked(edit.key), name = blanked(edit.name);
    const GameListIndex before = GameListIndex::fromBytes(edit.file);
    const GameListIndex now = GameListIndex::fromBytes(after);
    if (now.find(key) != std::optional<std::string_view>(name))
        return "the new name does not read back: " + std::string(now.find(key).value_or("(no entry)"));
    for (const std::string& other : keyCandidates(edit.file)) {
        if (foldCase(other) == foldCase(key))
            continue;
        if (before.find(other) != now.find(other))
            return "the entry of \"" + other + "\" changed from \"" +
                   std::string(before.find(other).value_or("(none)")) + "\" to \"" +
                   std::string(now.find(other).value_or("(none)")) + "\"";
    }
    return std::nullopt;
}

// A file, key and name drawn from the pieces that matter to the format: section and comment
// marks, "=", line ends, zero bytes, a byte-order mark, Windows-1252 and UTF-8 characters,
// bytes that are not UTF-8, and the key itself in other letter cases.
inline GameListEdit randomGameListEdit(std::mt19937& random)
{
    // Typed text is UTF-8; a file, and now and then a key or name handed in by other code, may
    // hold any bytes.
    static const std::vector<std::string> typedPieces = {
        "a",
        "B",
        "game1",
        "x",
        " ",
        "=",
        "[",
        "]",
        ";",
        "\r",
        "\n",
        std::string(1, '\0'),
        "\t",
        "\xC3\xA9",         // é
        "\xC3\x83\xC2\xA9", // Ã©, the bytes of é in UTF-8 read as Windows-1252
        "\xE3\x83\x91",
        "\xE2\x82\xAC",
        "\xEF\xBB\xBF",
        "\xF0\x9F\x8E\xAE"};
    static const std::vector<std::string> rawBytes = {"\xE9" /* é in Windows-1252 */, "\xC3", "\xA9", "\x81",
                                                      "\x80"};
    static const std::vector<std::string> pieces = [] {
        std::vector<std::string> all = typedPieces;
        all.insert(all.end(), rawBytes.begin(), rawBytes.end());
        return all;
    }();
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const auto drawn = [&](std::size_t most, const std::vector<std::string>& from) {
        std::string out;
        for (std::size_t n = pick(most + 1); n > 0; --n)
            out += from[pick(from.size())];
        return out;
    };
    const auto text = [&](std::size_t most) { return drawn(most, pieces); };
    const auto typed = [&](std::size_t most) { return drawn(most, pick(8) == 0 ? pieces : typedPieces); };
    const auto recase = [&](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z' && pick(2) == 0)
                c = static_cast<char>(c - 'a' + 'A');
        return s;
    };

    GameListEdit edit;
    edit.key = pick(3) == 0 ? typed(3) : "game" + typed(1);
    edit.name = typed(5);
    static const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    if (pick(5) == 0)
        edit.file += "\xEF\xBB\xBF";
    for (std::size_t n = pick(9); n > 0; --n) {
        std::string line;
        switch (pick(8)) {
        case 0:
            line = recase("[gamelist]");
            break;
        case 1:
            line = pick(2) ? "[other]" : "[gamelist";
            break;
        case 2:
            line = ";" + text(2);
            break;
        case 3:
            line = "";
            break;
        case 4:
            line = recase(blanked(edit.key)) + "=" + text(3);
            break;
        default:
            line = recase("game" + text(1)) + "=" + text(3);
            break;
        }
        edit.file += line + ends[pick(ends.size())];
    }
    if (pick(4) == 0)
        edit.file += "last=no end" + text(1);
    if (pick(6) == 0)
        edit.file += std::string(1, '\0') + "[gamelist]\r\nafter=zero";
    return edit;
}

} // namespace arcavio::test
