#include <cstdlib>

#include "platform/filesystem.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio::platform {
namespace {

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == separator();
}

} // namespace

bool isInstalledLayout(const std::string& programDirectory)
{
    if (fileNamePart(programDirectory) != "bin")
        return false;
    const std::string prefix = directoryPart(programDirectory);
    return directoryExists(joinPath(joinPath(prefix, "share"), "arcavio"));
}

std::string dataDirectoryFor(const std::string& programDirectory, const std::string& xdgDataHome,
                             const std::string& home)
{
    if (!isInstalledLayout(programDirectory))
        return programDirectory;
    if (isAbsolute(xdgDataHome))
        return joinPath(xdgDataHome, "arcavio");
    if (isAbsolute(home))
        return joinPath(joinPath(joinPath(home, ".local"), "share"), "arcavio");
    return {};
}

std::string dataDirectory()
{
    const char* xdgDataHome = std::getenv("XDG_DATA_HOME");
    return dataDirectoryFor(programDirectory(), xdgDataHome != nullptr ? xdgDataHome : "", homeDirectory());
}

std::string cacheDirectoryFor(const std::string& xdgCacheHome, const std::string& home)
{
    if (isAbsolute(xdgCacheHome))
        return joinPath(xdgCacheHome, "arcavio");
    if (isAbsolute(home))
        return joinPath(joinPath(home, ".cache"), "arcavio");
    return {};
}

std::string cacheDirectory()
{
    const char* xdgCacheHome = std::getenv("XDG_CACHE_HOME");
    return cacheDirectoryFor(xdgCacheHome != nullptr ? xdgCacheHome : "", homeDirectory());
}

std::string makeDataDirectory()
{
    const std::string directory = dataDirectory();
    if (directory.empty())
        throw InOutError("Cannot find the user's data folder: neither XDG_DATA_HOME nor HOME names one");
    createDirectories(directory);
    return directory;
}

} // namespace arcavio::platform
