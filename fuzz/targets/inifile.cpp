// The ini reader, against a plain reading of its rules for every name the file mentions.
#include <optional>
#include <string>

#include "fuzzing.h"
#include "text/inifile.h"
#include "text/linelist.h"

using namespace arcavio;

namespace {

bool isSection(const std::string& line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Line by line: the first section of that name is searched, the first line of the key wins.
std::optional<std::string> plainFind(const LineList& lines, std::string_view section, std::string_view key)
{
    bool seen = false, inside = false;
    for (const std::string& line : lines.lines()) {
        if (line.empty() || line.front() == ';')
            continue;
        if (isSection(line)) {
            if (inside)
                return std::nullopt;
            inside = !seen && foldCase(line.substr(1, line.size() - 2)) == foldCase(section);
            seen = seen || inside;
            continue;
        }
        const auto equals = line.find('=');
        if (inside && equals != std::string::npos && foldCase(line.substr(0, equals)) == foldCase(key))
            return line.substr(equals + 1);
    }
    return std::nullopt;
}

std::string flipCase(std::string_view text)
{
    std::string flipped(text);
    for (char& c : flipped)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            c = static_cast<char>(c ^ 0x20);
    return flipped;
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    const LineList lines = LineList::fromBytes(input);
    const IniFile ini(lines);
    std::vector<std::string> sections = {""}, keys = {""};
    for (const std::string& line : lines.lines()) {
        if (isSection(line))
            sections.push_back(line.substr(1, line.size() - 2));
        else if (const auto equals = line.find('='); equals != std::string::npos)
            keys.push_back(line.substr(0, equals));
    }
    if (sections.size() * keys.size() > 4096)
        return;
    for (const std::string& section : sections) {
        FUZZ_CHECK(ini.hasSection(section) == (section.empty() ? ini.hasSection("") : true));
        for (const std::string& key : keys) {
            const std::optional<std::string> found = ini.find(section, key);
            FUZZ_CHECK(found == plainFind(lines, section, key));
            FUZZ_CHECK(ini.find(flipCase(section), flipCase(key)) == found);
            FUZZ_CHECK(ini.value(section, key) == found.value_or(""));
        }
    }
}
