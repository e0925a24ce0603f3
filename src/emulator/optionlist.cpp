#include "emulator/optionlist.h"

#include "text/keyedhash.h"

namespace arcavio {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kLongestSection = 80;

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool holdsControlCharacter(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

std::size_t OptionList::KeyedHash::operator()(std::string_view text) const
{
    return static_cast<std::size_t>(sipHash(text, processHashKey()));
}

OptionList OptionList::parse(std::string_view text)
{
    OptionList list;
    list.sections_.emplace_back();
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        line = trimmed(line);
        if (line.empty())
            continue;
        if (line.front() == '#') {
            const std::string_view title = trimmed(line.substr(1));
            if (!title.empty() && title.size() <= kLongestSection && !holdsControlCharacter(title) &&
                title != list.sections_.back())
                list.sections_.emplace_back(title);
            continue;
        }
        const std::size_t nameEnd = std::min(line.find_first_of(kBlanks), line.size());
        const std::string_view name = line.substr(0, nameEnd);
        std::string_view value = trimmed(line.substr(nameEnd));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        bool good =
            name.size() <= kLongestName && value.size() <= kLongestValue && !holdsControlCharacter(value);
        for (const char c : name)
            good = good && isNameCharacter(c);
        if (!good) {
            ++list.refused_;
            continue;
        }
        if (const auto known = list.index_.find(std::string(name)); known != list.index_.end()) {
            list.options_[known->second].value = value;
            continue;
        }
        if (list.options_.size() == kMostOptions) {
            ++list.refused_;
            continue;
        }
        list.index_.emplace(name, list.options_.size());
        list.options_.push_back({std::string(name), std::string(value), list.sections_.size() - 1});
    }
    return list;
}

const EmulatorOption* OptionList::find(std::string_view name) const
{
    const auto found = index_.find(std::string(name));
    return found == index_.end() ? nullptr : &options_[found->second];
}

std::string iniValue(std::string_view value)
{
    // A value that begins with a quote would lose it when read back unquoted.
    if (value.empty() || (value.find_first_of(" \t#") == std::string_view::npos && value.front() != '"'))
        return std::string(value);
    return "\"" + std::string(value) + "\"";
}

} // namespace arcavio
