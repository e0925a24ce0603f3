#include "platform/shellfileservice.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <vector>

#include "text/paths.h"

namespace arcavio::platform {
namespace {

using namespace fileop;

std::vector<std::string> entries(const char* list)
{
    std::vector<std::string> paths;
    if (list == nullptr)
        return paths;
    for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1)
        paths.emplace_back(p);
    return paths;
}

int codeOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return kAccessDenied;
    default:
        return kOtherError;
    }
}

bool isDirectory(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string question(const std::vector<std::string>& paths)
{
    if (paths.size() > 1)
        return "Are you sure you want to delete these " + std::to_string(paths.size()) + " items?";
    const std::string name = fileNamePart(paths.front());
    if (isDirectory(paths.front()))
        return "Are you sure you want to remove the folder '" + name + "' and all its contents?";
    return "Are you sure you want to delete '" + name + "'?";
}

// The entry goes for good: nothing is moved to a trash.
int removeEntry(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return codeOf(errno);
    std::error_code error;
    if (S_ISDIR(info.st_mode))
        std::filesystem::remove_all(path, error);
    else
        std::filesystem::remove(path, error);
    return error ? codeOf(error.value()) : 0;
}

std::string reason(int code)
{
    switch (code) {
    case kFileNotFound:
        return "The system cannot find the file specified.";
    case kAccessDenied:
        return "Access is denied.";
    default:
        return "The file could not be deleted.";
    }
}

class PosixShellFileService final : public ShellFileService {
  public:
    int perform(ShellFileRequest& request, ShellPrompt& prompt) override
    {
        request.anyOperationsAborted = false;
        const bool silent = (request.flags & FOF_SILENT) != 0;
        if (request.function != FO_DELETE) {
            if (!silent)
                prompt.reportError("This file operation is not supported on this system.");
            return kNotSupported;
        }
        const std::vector<std::string> paths = entries(request.from);
        if (paths.empty())
            return 0;
        if ((request.flags & FOF_NOCONFIRMATION) == 0) {
            const char* caption = paths.size() > 1 ? "Confirm Multiple File Delete" : "Confirm File Delete";
            if (!prompt.confirm(question(paths), caption)) {
                request.anyOperationsAborted = true;
                return kCancelled;
            }
        }
        for (const std::string& path : paths) {
            if (const int code = removeEntry(path); code != 0) {
                if (!silent)
                    prompt.reportError("Cannot delete " + fileNamePart(path) + ": " + reason(code));
                return code;
            }
        }
        return 0;
    }
};

} // namespace

ShellFileService& systemShellFileService()
{
    static PosixShellFileService services;
    return services;
}

} // namespace arcavio::platform
