#include "dialogs/configurationname.h"

#include "base/messages.h"
#include "platform/filesystem.h"

namespace arcavio {

bool mayUseConfigurationPath(const std::string& path)
{
    return !platform::fileExists(path) || messages().askYesNo(std::string(kOverwriteQuestion), "");
}

} // namespace arcavio
