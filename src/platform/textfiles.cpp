#include "platform/textfiles.h"

#include "platform/filesystem.h"

namespace arcavio::platform {

LineList readLines(const std::string& path, std::size_t limit)
{
    return LineList::fromBytes(readFile(path, limit));
}

void writeLines(const std::string& path, const LineList& lines)
{
    replaceFile(path, lines.toText());
}

IniFile readIniFile(const std::string& path, std::size_t limit)
{
    if (!fileExists(path))
        return IniFile();
    return IniFile(readLines(path, limit));
}

} // namespace arcavio::platform
