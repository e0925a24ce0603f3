#include "platform/filesystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/posix/links.h"
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

std::string systemReason()
{
    return std::strerror(errno);
}

WriteFailure failureOf(int error)
{
    switch (error) {
    case ENOSPC:
        return WriteFailure::NoSpace;
    case EDQUOT:
        return WriteFailure::QuotaExceeded;
    case EROFS:
        return WriteFailure::ReadOnly;
    case ENAMETOOLONG:
        return WriteFailure::NameTooLong;
    case EFBIG:
        return WriteFailure::TooLarge;
    case EIO:
        return WriteFailure::DeviceError;
    default:
        return WriteFailure::Unknown;
    }
}

// The reason of the failure that errno tells, so it is read before anything else can change it.
FileCreateError cannotCreate(const std::string& path, int error = errno)
{
    return FileCreateError(path, failureOf(error));
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a failed write; true when it did not.
    bool close()
    {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Opening a pipe or a device could block or have effects, so the open never waits and
// only a regular file stays open, for ordinary blocking use.
FileDescriptor openRegular(const std::string& path, int access)
{
    FileDescriptor file(open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || fstat(file.get(), &info) != 0)
        return FileDescriptor();
    if (!S_ISREG(info.st_mode)) {
        errno = EISDIR;
        return FileDescriptor();
    }
    const int flags = fcntl(file.get(), F_GETFL);
    if (flags < 0 || fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return FileDescriptor();
    return file;
}

bool isRegularEntry(const std::string& directory, const dirent* entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    struct stat info {};
    return stat(joinPath(directory, entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectoryEntry(const std::string& directory, const dirent* entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    struct stat info {};
    return stat(joinPath(directory, entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isHidden(std::string_view name)
{
    return name.empty() || name.front() == '.';
}

constexpr std::string_view kTemporaryPrefix = ".arcavio-";
constexpr std::size_t kTemporaryNameLength = kTemporaryPrefix.size() + 6;

// The name mkostemp gives a temporary of replaceFile or createNewFile: no extension, so no mask
// with one can match it.
bool isTemporaryName(std::string_view name)
{
    if (name.size() != kTemporaryNameLength || !name.starts_with(kTemporaryPrefix))
        return false;
    for (const char c : name.substr(kTemporaryPrefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool writeAll(int fd, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put == 0)
            errno = EIO;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

std::string directoryOf(const std::string& path)
{
    const std::string directory = directoryPart(path);
    return directory.empty() ? std::string(".") : directory;
}

mode_t creationMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A directory that cannot be opened has nothing the program could flush; a file system that
// cannot flush directories says EINVAL.
bool syncDirectory(const std::string& directory)
{
    const FileDescriptor handle(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return !handle.valid() || fsync(handle.get()) == 0 || errno == EINVAL;
}

void rewriteInPlace(FileDescriptor& file, const std::string& path, std::string_view bytes)
{
    const bool written =
        ftruncate(file.get(), 0) == 0 && writeAll(file.get(), bytes) && fsync(file.get()) == 0;
    int reason = errno;
    const bool closed = file.close();
    if (written && !closed)
        reason = errno;
    if (!written || !closed)
        throw cannotCreate(path, reason);
}

bool replacingIsForbidden(int error)
{
    return error == EACCES || error == EPERM;
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
        if (name == "." || name == ".." || isTemporaryName(name) || !matchesMask(name, mask))
            continue;
        if (!isRegularEntry(directory, entry))
            continue;
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> listDirectories(const std::string& directory)
{
    Directory dir(directory);
    if (dir.handle == nullptr)
        throw InOutError("I/O error: cannot list the directory " + directory + " (" + systemReason() + ")");
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.handle)) {
        if (!isHidden(entry->d_name) && isDirectoryEntry(directory, entry))
            names.emplace_back(entry->d_name);
    }
    return names;
}

bool holdsFile(const std::string& directory)
{
    Directory dir(directory);
    if (dir.handle == nullptr)
        return false;
    while (const dirent* entry = readdir(dir.handle)) {
        if (!isHidden(entry->d_name) && isRegularEntry(directory, entry))
            return true;
    }
    return false;
}

std::string findEntryIgnoringCase(const std::string& directory, std::string_view name, EntryKind kind)
{
    const auto path = [&directory](std::string_view entry) {
        return directory.empty() ? std::string(entry) : joinPath(directory, entry);
    };
    const auto isKind = [kind](const std::string& entry) {
        return kind == EntryKind::Directory ? directoryExists(entry) : fileExists(entry);
    };
    const std::string exact = path(name);
    if (isKind(exact))
        return exact;
    Directory dir(directory.empty() ? std::string(".") : directory);
    if (dir.handle == nullptr)
        return exact;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir.handle)) {
        const std::string_view candidate = entry->d_name;
        if (candidate.size() == name.size() && (!best || candidate < *best) &&
            std::equal(candidate.begin(), candidate.end(), name.begin(),
                       [](char a, char b) { return lower(a) == lower(b); }) &&
            isKind(path(candidate)))
            best = std::string(candidate);
    }
    return best ? path(*best) : exact;
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

std::string homeDirectory()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd* account = getpwuid(getuid());
    if (account != nullptr && account->pw_dir != nullptr && account->pw_dir[0] == '/')
        return account->pw_dir;
    return {};
}

void createDirectories(const std::string& path)
{
    if (path.empty() || directoryExists(path))
        return;
    const std::string parent = directoryPart(path);
    if (!parent.empty() && parent != path)
        createDirectories(parent);
    if (mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && directoryExists(path)))
        return;
    struct stat info {};
    const bool occupied = lstat(path.c_str(), &info) == 0;
    throw InOutError("Cannot create the folder " + path + ": " +
                     (occupied ? std::string("a file stands in its place") : systemReason()));
}

void makeExecutable(const std::string& path)
{
    if (chmod(path.c_str(), 0755) != 0)
        throw cannotCreate(path);
}

std::string readFile(const std::string& path, std::size_t limit)
{
    // Refused before it is opened, a special file is never touched; the check after the open
    // catches one put there in between.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > limit)
        throw FileOpenError(path);
    const FileDescriptor file = openRegular(path, O_RDONLY);
    if (!file.valid())
        throw FileOpenError(path);
    std::string bytes;
    bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), limit));
    std::vector<char> chunk(65536);
    // One byte past the limit tells a file that grew since it was measured.
    while (bytes.size() <= limit) {
        const std::size_t wanted = std::min(chunk.size(), limit + 1 - bytes.size());
        const ssize_t got = read(file.get(), chunk.data(), wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileOpenError(path);
        if (got == 0)
            return bytes;
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    throw FileOpenError(path);
}

namespace {

// Far longer than any write takes, so no running writer still owns such a file.
constexpr time_t kStaleAfterSeconds = 60 * 60;

// A write cut short by a crash or a kill leaves its temporary file behind; the next write into
// the folder takes away those that are old enough, of this user's own.
void removeStaleTemporaries(const std::string& directory)
{
    DIR* folder = opendir(directory.c_str());
    if (folder == nullptr)
        return;
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(folder)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        struct stat info {};
        if (fstatat(dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == geteuid() && now - info.st_mtime > kStaleAfterSeconds)
            unlinkat(dirfd(folder), entry->d_name, 0);
    }
    closedir(folder);
}

} // namespace

namespace {

// Where replaceFile writes, with the old file held open for writing when there is one.
struct ReplaceTarget {
    std::string path; // the end of the links
    bool exists = false;
    struct stat old {};
    FileDescriptor current;
};

ReplaceTarget openReplaceTarget(const std::string& path)
{
    const std::optional<std::string> resolved = path.empty() ? std::nullopt : posix::finalTarget(path);
    if (!resolved)
        throw FileCreateError(path);
    ReplaceTarget target;
    target.path = *resolved;
    target.exists = stat(target.path.c_str(), &target.old) == 0;
    if (!target.exists && errno != ENOENT)
        throw cannotCreate(path);
    // The user's own protection decides: a file they may not write is not replaced either.
    if (target.exists) {
        target.current = openRegular(target.path, O_WRONLY);
        if (!target.current.valid())
            throw cannotCreate(path);
    }
    return target;
}

// All of the bytes in the file, flushed, and the file closed; false with errno telling why.
bool writeAndClose(FileDescriptor& file, std::string_view bytes, mode_t mode)
{
    const bool written =
        writeAll(file.get(), bytes) && fchmod(file.get(), mode) == 0 && fsync(file.get()) == 0;
    const int reason = errno;
    const bool closed = file.close();
    if (!written)
        errno = reason;
    return written && closed;
}

} // namespace

void replaceFile(const std::string& path, std::string_view bytes)
{
    ReplaceTarget target = openReplaceTarget(path);
    const bool exists = target.exists;
    const struct stat& old = target.old;

    const std::string directory = directoryOf(target.path);
    // A short name of its own, so the target's name may use the whole name length.
    std::string temporary = joinPath(directory, ".arcavio-XXXXXX");
    FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid()) {
        if (exists && replacingIsForbidden(errno))
            return rewriteInPlace(target.current, path, bytes);
        throw cannotCreate(path);
    }
    mode_t mode = exists ? old.st_mode & 07777 : creationMode();
    if (exists) {
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
            fchown(file.get(), old.st_uid, old.st_gid) != 0) {
            // Another owner's file becomes the user's own, without set-id bits. Outside the old
            // group, the new group may do only what everyone may, so no one gains access.
            mode &= 0777;
            if (fchown(file.get(), static_cast<uid_t>(-1), old.st_gid) != 0)
                mode = (mode & 0707) | ((mode & 0007) << 3);
        }
    }
    if (!writeAndClose(file, bytes, mode)) {
        const int reason = errno;
        unlink(temporary.c_str());
        throw cannotCreate(path, reason);
    }
    if (rename(temporary.c_str(), target.path.c_str()) != 0) {
        const int reason = errno;
        unlink(temporary.c_str());
        // A directory with the sticky bit lets a writable file of another user be changed
        // but not replaced.
        if (exists && replacingIsForbidden(reason))
            return rewriteInPlace(target.current, path, bytes);
        throw cannotCreate(path, reason);
    }
    if (!syncDirectory(directory))
        throw cannotCreate(path);
    removeStaleTemporaries(directory);
}

void checkReplaceable(const std::string& path)
{
    const ReplaceTarget target = openReplaceTarget(path);
    std::string temporary = joinPath(directoryOf(target.path), ".arcavio-XXXXXX");
    const int made = mkostemp(temporary.data(), O_CLOEXEC);
    if (made < 0) {
        // replaceFile would rewrite the file in place.
        if (target.exists && replacingIsForbidden(errno))
            return;
        throw cannotCreate(path);
    }
    ::close(made);
    unlink(temporary.c_str());
}

bool createNewFile(const std::string& path, std::string_view bytes)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0)
        return false;
    const std::string directory = directoryOf(path);
    std::string temporary = joinPath(directory, ".arcavio-XXXXXX");
    FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        throw cannotCreate(path);
    const bool ok = writeAndClose(file, bytes, creationMode());
    if (ok && renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        if (!syncDirectory(directory))
            throw cannotCreate(path);
        return true;
    }
    const int reason = errno;
    unlink(temporary.c_str());
    if (ok && reason == EEXIST)
        return false;
    throw cannotCreate(path, reason);
}

bool moveIntoPlace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        syncDirectory(directoryOf(to));
        return true;
    }
    if (errno == EEXIST)
        return false;
    throw InOutError("Cannot rename " + from + " to " + to + ": " + std::strerror(errno));
}

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                        static_cast<std::uint64_t>(status.st_size),
                        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                            status.st_mtim.tv_nsec};
}

bool isUserFolder(const std::string& path)
{
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && access(path.c_str(), W_OK | X_OK) == 0;
}

std::string shortPathName(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 ? path : std::string();
}

namespace posix {

std::optional<std::string> finalTarget(std::string path)
{
    constexpr int kMostLinks = 40; // as the system's own limit
    for (int link = 0; link < kMostLinks; ++link) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
            return std::nullopt;
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : joinPath(directoryOf(path), target);
    }
    return std::nullopt;
}

} // namespace posix
} // namespace platform
} // namespace arcavio
