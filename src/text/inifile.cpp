#include "text/inifile.h"

#include "text/keyedhash.h"

namespace arcavio {

std::string foldCase(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::size_t IniFile::KeyedHash::operator()(std::string_view text) const
{
    return static_cast<std::size_t>(sipHash(text, processHashKey()));
}

IniFile::IniFile(const LineList& lines)
{
    Keys* current = nullptr;
    for (const std::string& line : lines.lines()) {
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            auto [it, inserted] = sections_.try_emplace(foldCase(line.substr(1, line.size() - 2)));
            current = inserted ? &it->second : nullptr;
            continue;
        }
        if (current == nullptr)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        current->try_emplace(foldCase(std::string_view(line).substr(0, equals)), line.substr(equals + 1));
    }
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(foldCase(section));
    if (s == sections_.end())
        return std::nullopt;
    const auto k = s->second.find(foldCase(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

std::string IniFile::value(std::string_view section, std::string_view key) const
{
    return find(section, key).value_or(std::string());
}

bool IniFile::hasSection(std::string_view section) const
{
    return sections_.count(foldCase(section)) != 0;
}

} // namespace arcavio
