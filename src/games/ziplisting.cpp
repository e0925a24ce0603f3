#include "games/ziplisting.h"

#include <filesystem>
#include <iterator>
#include <optional>
#include <unordered_set>

#include "platform/filesystem.h"
#include "text/encoding.h"
#include "text/errors.h"
#include "text/nameorder.h"
#include "text/paths.h"

namespace arcavio {
namespace {

bool isSetFolder(const std::string& directory, const std::string& name)
{
    return name.find('.') == std::string::npos && platform::holdsFile(joinPath(directory, name));
}

} // namespace

std::vector<std::string> listSets(const std::string& directory, std::unordered_set<std::string>& taken)
{
    std::vector<std::vector<std::string>> kinds;
    kinds.push_back(platform::listFiles(directory, "*.zip"));
    kinds.push_back(platform::listFiles(directory, "*.7z"));
    std::vector<std::string> folders = platform::listDirectories(directory);
    std::erase_if(folders, [&](const std::string& name) { return !isSetFolder(directory, name); });
    kinds.push_back(std::move(folders));

    std::vector<std::string> names;
    for (std::vector<std::string>& kind : kinds) {
        std::vector<std::string> keys;
        for (std::string& name : kind) {
            std::string key = caseFoldedName(removeExtension(name));
            if (taken.contains(key))
                continue;
            keys.push_back(std::move(key));
            names.push_back(std::move(name));
        }
        taken.insert(keys.begin(), keys.end());
    }
    return names;
}

std::string setNameOnDisk(const std::string& folders, const std::string& name)
{
    if (name.empty())
        return name;
    const std::vector<std::string> list = splitPathList(folders);
    const auto held = [&list](const std::string& entry) {
        for (const std::string& folder : list) {
            const std::string path = joinPath(folder, entry);
            if (platform::fileExists(path) || platform::directoryExists(path))
                return true;
        }
        return false;
    };
    if (held(name))
        return name;
    const std::optional<std::string> windows = utf8ToCp1252(name);
    if (windows && !isValidUtf8(*windows) && held(*windows))
        return *windows;
    return name;
}

void ZipListing::setDirectory(const std::string& directory)
{
    if (directory_.empty() || directory != listed_)
        read(directory);
}

void ZipListing::refresh()
{
    read(directory_.empty() ? platform::currentDirectory() : listed_);
}

void ZipListing::read(const std::string& directory)
{
    if (directory.find(kPathListSeparator) != std::string::npos) {
        readList(directory);
        return;
    }
    platform::setCurrentDirectory(directory);
    const std::string absolute = platform::currentDirectory();
    std::unordered_set<std::string> taken;
    std::vector<std::string> names = listSets(absolute, taken);
    sortIgnoringCase(names);
    directory_ = absolute;
    listed_ = absolute;
    names_ = std::move(names);
}

void ZipListing::readList(const std::string& value)
{
    // Made absolute before any folder becomes current, so every relative folder means what it
    // meant when the list was handed in.
    const std::string start = platform::currentDirectory();
    std::vector<std::string> folders = splitPathList(value);
    std::string listed;
    for (std::string& folder : folders) {
        if (!start.empty() && !std::filesystem::path(folder).is_absolute())
            folder = joinPath(start, folder);
        if (!listed.empty())
            listed += kPathListSeparator;
        listed += folder;
    }

    std::vector<std::string> names;
    std::unordered_set<std::string> taken;
    std::string first;
    std::optional<InOutError> firstError;
    for (const std::string& folder : folders) {
        std::vector<std::string> found;
        try {
            platform::setCurrentDirectory(folder);
            found = listSets(platform::currentDirectory(), taken);
        } catch (const InOutError& error) {
            if (!firstError)
                firstError = error;
            continue;
        }
        if (first.empty())
            first = platform::currentDirectory();
        names.insert(names.end(), std::make_move_iterator(found.begin()),
                     std::make_move_iterator(found.end()));
    }
    if (first.empty()) {
        if (!start.empty()) {
            try {
                platform::setCurrentDirectory(start);
            } catch (const InOutError&) {
            }
        }
        if (firstError)
            throw *firstError;
        // Only separators: the error of an empty folder value.
        platform::setCurrentDirectory({});
    }
    platform::setCurrentDirectory(first);
    sortIgnoringCase(names);
    directory_ = platform::currentDirectory();
    listed_ = std::move(listed);
    names_ = std::move(names);
}

} // namespace arcavio
