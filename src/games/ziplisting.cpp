#include "games/ziplisting.h"

#include "platform/filesystem.h"
#include "text/nameorder.h"

namespace arcavio {

void ZipListing::setDirectory(const std::string& directory)
{
    if (directory_.empty() || directory != directory_)
        read(directory);
}

void ZipListing::refresh()
{
    read(directory_.empty() ? platform::currentDirectory() : directory_);
}

void ZipListing::read(const std::string& directory)
{
    platform::setCurrentDirectory(directory);
    const std::string absolute = platform::currentDirectory();
    std::vector<std::string> names = platform::listFiles(absolute, "*.zip");
    sortIgnoringCase(names);
    directory_ = absolute;
    names_ = std::move(names);
}

} // namespace arcavio
