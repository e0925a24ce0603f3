#include "platform/filesystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

struct Directory {
    DIR* handle;
    explicit Directory(const std::string& path) : handle(opendir(path.c_str())) {}
    ~Directory()
    {
        if (handle != nullptr)
            closedir(handle);
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
};

bool isDirectoryEntry(const std::string& directory, const dirent* entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    struct stat info {};
    return stat(joinPath(directory, entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string systemReason()
{
    return std::strerror(errno);
}

} // namespace

bool matchesMask(std::string_view name, std::string_view mask)
{
    // Iterative wildcard match with one backtrack point for the last "*".
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        // A "*" in the mask is always a wildcard, even against a "*" in the name.
        if (m < mask.size() && mask[m] == '*') {
            starM = m++, starN = n;
        } else if (m < mask.size() && (mask[m] == '?' || lower(mask[m]) == lower(name[n]))) {
            ++n, ++m;
        } else if (starM != std::string_view::npos) {
            m = starM + 1, n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t size = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < size; ++i) {
        const char x = lower(a[i]), y = lower(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b; // a stable order for names that differ only in case
}

void sortIgnoringCase(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
}

namespace platform {

bool fileExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool directoryExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> listFiles(const std::string& directory, std::string_view mask)
{
    Directory dir(directory);
    if (dir.handle == nullptr)
        throw InOutError("I/O error: cannot list the directory " + directory + " (" + systemReason() + ")");
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.handle)) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name.front() == '.' || !matchesMask(name, mask))
            continue;
        if (isDirectoryEntry(directory, entry))
            continue;
        names.emplace_back(name);
    }
    return names;
}

std::string findEntryIgnoringCase(const std::string& directory, std::string_view name)
{
    Directory dir(directory);
    if (dir.handle == nullptr)
        return {};
    while (const dirent* entry = readdir(dir.handle)) {
        const std::string_view candidate = entry->d_name;
        if (candidate.size() == name.size() &&
            std::equal(candidate.begin(), candidate.end(), name.begin(),
                       [](char a, char b) { return lower(a) == lower(b); }))
            return joinPath(directory, candidate);
    }
    return {};
}

std::string currentDirectory()
{
    std::string buffer(PATH_MAX, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

void setCurrentDirectory(const std::string& path)
{
    if (path.empty() || chdir(path.c_str()) != 0)
        throw InOutError("I/O error: cannot make " + path + " the current directory (" +
                         (path.empty() ? std::string("empty path") : systemReason()) + ")");
}

std::string programPath()
{
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0)
        return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::string programDirectory()
{
    return directoryPart(programPath());
}

std::string readFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileOpenError(path);
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        throw FileOpenError(path);
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            close(fd);
            throw FileOpenError(path);
        }
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    close(fd);
    return bytes;
}

void writeFileAtomic(const std::string& path, std::string_view bytes)
{
    const std::string directory = directoryPart(path);
    std::string temp = joinPath(directory.empty() ? "." : directory, "." + fileNamePart(path) + ".XXXXXX");
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        throw FileCreateError(path);
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        ok = put > 0;
        if (ok)
            done += static_cast<std::size_t>(put);
    }
    const mode_t mask = umask(0);
    umask(mask);
    ok = ok && fchmod(fd, 0666 & ~mask) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && directoryExists(path))
        ok = false;
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        throw FileCreateError(path);
    }
}

std::string shortPathName(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 ? path : std::string();
}

} // namespace platform
} // namespace arcavio
