#include "launch/filefilter.h"

#include <vector>

namespace arcavio {
namespace {

std::vector<std::string_view> split(std::string_view text, char delimiter)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(delimiter, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != end[i])
            return false;
    }
    return true;
}

std::string posixPattern(std::string_view pattern)
{
    if (pattern == "*.*")
        return "*";
    if (endsWithIgnoringCase(pattern, ".exe")) {
        pattern.remove_suffix(4);
        return pattern.empty() ? "*" : std::string(pattern);
    }
    return std::string(pattern);
}

} // namespace

std::string fileDialogFilter(std::string_view filter, PathStyle style)
{
    const std::vector<std::string_view> parts = split(filter, '|');
    std::string result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!result.empty())
            result += ";;";
        result += parts[i];
        result += " (";
        bool first = true;
        for (std::string_view pattern : split(parts[i + 1], ';')) {
            if (pattern.empty())
                continue;
            if (!first)
                result += ' ';
            result += style == PathStyle::Posix ? posixPattern(pattern) : std::string(pattern);
            first = false;
        }
        result += ')';
    }
    return result;
}

} // namespace arcavio
