#include "text/paths.h"

#include <algorithm>

namespace arcavio {
namespace {

std::string_view delimiters(PathStyle style)
{
    return style == PathStyle::Windows ? std::string_view("\\:") : std::string_view("/");
}

std::size_t lastDelimiter(std::string_view path, PathStyle style)
{
    return path.find_last_of(delimiters(style));
}

} // namespace

char separator(PathStyle style)
{
    return style == PathStyle::Windows ? '\\' : '/';
}

std::string directoryPart(std::string_view path, PathStyle style)
{
    const std::size_t last = lastDelimiter(path, style);
    if (last == std::string_view::npos)
        return {};
    std::size_t length = last + 1;
    if (last > 0 && path[last] == separator(style) &&
        delimiters(style).find(path[last - 1]) == std::string_view::npos)
        --length;
    return std::string(path.substr(0, length));
}

bool hasDirectoryPart(std::string_view path, PathStyle style)
{
    return lastDelimiter(path, style) != std::string_view::npos;
}

std::string fileNamePart(std::string_view path, PathStyle style)
{
    const std::size_t last = lastDelimiter(path, style);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string removeExtension(std::string_view path, PathStyle style)
{
    const std::size_t dot = path.find_last_of(std::string(delimiters(style)) + '.');
    if (dot == std::string_view::npos || path[dot] != '.')
        return std::string(path);
    return std::string(path.substr(0, dot));
}

std::string extensionOf(std::string_view path, PathStyle style)
{
    const std::size_t dot = path.find_last_of(std::string(delimiters(style)) + '.');
    if (dot == std::string_view::npos || path[dot] != '.')
        return {};
    return std::string(path.substr(dot + 1));
}

std::string joinPath(std::string_view directory, std::string_view name, PathStyle style)
{
    std::string path(directory);
    if (path.empty() || path.back() != separator(style))
        path += separator(style);
    path += name;
    return path;
}

std::vector<std::string> splitPathList(std::string_view value)
{
    std::vector<std::string> folders;
    while (!value.empty()) {
        const std::size_t end = std::min(value.find(kPathListSeparator), value.size());
        if (end > 0)
            folders.emplace_back(value.substr(0, end));
        value.remove_prefix(std::min(end + 1, value.size()));
    }
    return folders;
}

std::string resolvePathList(std::string_view value, std::string_view base, PathStyle style)
{
    const auto resolve = [&](std::string_view folder) {
        return hasDirectoryPart(folder, style) ? std::string(folder) : joinPath(base, folder, style);
    };
    if (value.find(kPathListSeparator) == std::string_view::npos)
        return resolve(value);
    std::string resolved;
    for (const std::string& folder : splitPathList(value)) {
        if (!resolved.empty())
            resolved += kPathListSeparator;
        resolved += resolve(folder);
    }
    return resolved;
}

} // namespace arcavio
