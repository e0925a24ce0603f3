#include "app/configlist.h"

#include "config/configuration.h"
#include "platform/filesystem.h"
#include "text/nameorder.h"
#include "text/paths.h"

namespace arcavio {

void ConfigurationList::refresh()
{
    platform::setCurrentDirectory(directory_);
    std::vector<std::string> names = platform::listFiles(directory_, kConfigurationMask);
    sortIgnoringCase(names);
    names_ = std::move(names);
}

std::string ConfigurationList::fullPath(const std::string& name) const
{
    return name.empty() ? std::string() : joinPath(directory_, name);
}

void previewConfiguration(const std::string& fullPath, LineList& config, PreviewView& view)
{
    if (fullPath.empty() || !platform::fileExists(fullPath)) {
        view.clearPicture();
        return;
    }
    config = readConfiguration(fullPath);
    view.setStatusText(config.at(line::AboutText));
    const std::string& picture = config.at(line::Picture);
    if (platform::fileExists(picture))
        view.showPicture(picture);
    else
        view.clearPicture();
}

} // namespace arcavio
