#pragma once

// The rules of importing game names, checked on any list and any gamelist.ini: the list reads
// the same in pieces of any size; every name the file held reads as before; every new set reads
// back as its description; the counts add up; and unless the whole file had to become UTF-8,
// the old bytes stay, before and after the one block of new lines.
#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gamelist_edit_check.h"
#include "games/gamelist.h"
#include "games/nameimport.h"
#include "text/boundedtext.h"
#include "text/encoding.h"
#include "text/inifile.h"
#include "text/linelist.h"

namespace arcavio::test {

inline std::string_view textOf(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return bytes;
}

// What went wrong, or nothing when the import kept its rules. `piece` is the size of the
// pieces the list is fed in, besides whole.
inline std::optional<std::string> checkNameImport(std::string_view list, std::string_view file,
                                                  std::size_t piece)
{
    SetListReader whole;
    whole.feed(list);
    whole.finish();
    SetListReader pieces;
    for (std::size_t at = 0; at < list.size(); at += piece)
        pieces.feed(list.substr(at, piece));
    pieces.finish();
    const GameListNames& names = whole.names();
    if (pieces.size() != whole.size() || pieces.skippedLines() != whole.skippedLines() ||
        pieces.notSetNames() != whole.notSetNames() || pieces.names().repeated() != names.repeated())
        return "the list read differently in pieces of " + std::to_string(piece);
    if (pieces.names().lines() != names.lines())
        return "the sets read differently in pieces of " + std::to_string(piece);
    if (names.size() + names.repeated() + names.refused() != whole.size())
        return std::string("the sets read do not add up");
    // Every line that names a set is kept, or repeats one kept.
    std::size_t listed = 0;
    for (std::size_t start = 0; start < list.size();) {
        const LineSpan span = lineAt(list, start);
        const std::optional<ListedSet> set = parseSetLine(list.substr(start, span.end - start));
        start = span.next;
        if (!set || !isSetName(set->name))
            continue;
        ++listed;
        if (names.find(set->name) == std::string_view::npos)
            return "the set \"" + std::string(set->name) + "\" was lost";
    }
    if (listed != whole.size())
        return std::string("the reader counted other lines as sets");
    std::optional<std::string> problem;
    names.forEach([&](std::string_view name, std::string_view description) {
        if (!isSetName(name))
            problem = "\"" + std::string(name) + "\" was taken for a set's name";
        else if (!isValidUtf8(description) || breaksLine(description))
            problem = "the description of \"" + std::string(name) + "\" cannot stand in a line";
    });
    if (problem)
        return problem;

    const GameListMerge merge = mergeGameListNames(file, names);
    const NameMergeCounts& counts = merge.counts;
    if (counts.added + counts.kept != names.size() || counts.refused != names.refused() ||
        counts.repeated != names.repeated())
        return std::string("the counts do not add up");
    if (counts.added == 0 && merge.bytes != file)
        return std::string("the file changed with nothing added");

    const GameListIndex before = GameListIndex::fromBytes(file);
    const GameListIndex after = GameListIndex::fromBytes(merge.bytes);
    std::unordered_map<std::string, bool> met; // folded name: named in the file before
    std::size_t kept = 0, added = 0;
    names.forEach([&](std::string_view name, std::string_view description) {
        const auto [it, first] = met.try_emplace(foldCase(name), before.find(name).has_value());
        if (!first) {
            problem = "\"" + std::string(name) + "\" is kept twice";
        } else if (it->second) {
            ++kept;
            if (after.find(name) != before.find(name))
                problem = "the user's name of \"" + std::string(name) + "\" changed";
        } else {
            ++added;
            if (after.find(name) != std::optional<std::string_view>(description))
                problem = "\"" + std::string(name) + "\" does not read back as its description";
        }
    });
    if (problem)
        return problem;
    if (kept != counts.kept || added != counts.added)
        return std::string("the counts differ from what the file and the list hold");
    for (const std::string& key : keyCandidates(file))
        if (met.find(foldCase(key)) == met.end() && before.find(key) != after.find(key))
            return "the entry of \"" + key + "\" changed";

    // Unless the file turned into UTF-8 as a whole, the old bytes stay around one block.
    const bool converted = !isValidUtf8(textOf(file)) && isValidUtf8(textOf(merge.bytes));
    if (!converted) {
        std::size_t prefix = 0, suffix = 0;
        while (prefix < file.size() && prefix < merge.bytes.size() && file[prefix] == merge.bytes[prefix])
            ++prefix;
        while (suffix < file.size() - prefix && suffix < merge.bytes.size() - prefix &&
               file[file.size() - 1 - suffix] == merge.bytes[merge.bytes.size() - 1 - suffix])
            ++suffix;
        if (prefix + suffix < file.size())
            return std::string("bytes of the file were changed, not only added to");
    }
    return std::nullopt;
}

// A -listfull text drawn from what matters: the header, blank and odd lines, names padded or
// long, in other cases, names the file cannot hold, inner quotes, zero bytes, accents in UTF-8
// and in Windows-1252, every line end, and a last line cut short.
inline std::string randomSetList(std::mt19937& random)
{
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static const std::vector<std::string> names = {"game1",
                                                   "GAME1",
                                                   "game2",
                                                   "a",
                                                   "B",
                                                   "pong",
                                                   ";c",
                                                   "[d",
                                                   "e=f",
                                                   "x]",
                                                   "caf\xE9",
                                                   "\xC3\xA9t\xC3\xA9",
                                                   "segas32_pcb_trackball"};
    static const std::vector<std::string> pieces = {"Pong",         " ",        "\"",   "(set 1)",
                                                    "[TTL]",        "\xC3\xA9", "\xE9", "\t",
                                                    "\xE3\x82\xB3", "=",        ";",    std::string(1, '\0')};
    static const std::vector<std::string> ends = {"\n", "\r\n", "\r"};
    std::string list;
    for (std::size_t n = pick(12); n > 0; --n) {
        switch (pick(10)) {
        case 0:
            list += "Name:             Description:";
            break;
        case 1:
            break; // blank
        case 2:
            list += "odd line " + pieces[pick(pieces.size())];
            break;
        default: {
            std::string name = names[pick(names.size())];
            list += name + std::string(name.size() < 17 ? 18 - name.size() : 1, ' ') + "\"";
            for (std::size_t k = pick(5); k > 0; --k)
                list += pieces[pick(pieces.size())];
            list += "\"";
        }
        }
        list += ends[pick(ends.size())];
    }
    if (pick(4) == 0)
        list += "game9             \"Cut sh";
    return list;
}

} // namespace arcavio::test
