#include "platform/filelock.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/posix/links.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio::platform {
namespace {

// A regular file only: a pipe or device in its place is not waited on.
int openRegular(const std::string& path, int flags)
{
    const int fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    struct stat info {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(fd);
        return -1;
    }
    return fd;
}

bool sameFile(int fd, const std::string& path)
{
    struct stat held {
    }, now{};
    return fstat(fd, &held) == 0 && stat(path.c_str(), &now) == 0 && held.st_dev == now.st_dev &&
           held.st_ino == now.st_ino;
}

} // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait)
{
    const std::string target = posix::finalTarget(path).value_or(path);
    const std::string lockPath = target + ".lock";
    // Without a lock file of its own, the file is locked; a writer that replaces it makes a new
    // file, so the lock is taken again on whatever the path leads to once it is held.
    bool onFile = false;
    const auto openLock = [&] {
        int fd = openRegular(lockPath, O_RDWR | O_CREAT);
        if (fd < 0)
            fd = openRegular(lockPath, O_RDONLY);
        onFile = fd < 0;
        if (onFile)
            fd = openRegular(target, O_RDONLY);
        return fd;
    };
    fd_ = openLock();
    if (fd_ < 0)
        return; // nothing to lock: no file and no lock file can be made, so no write can be lost
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            if (!onFile || sameFile(fd_, target))
                return;
            close(fd_);
            fd_ = openLock();
            if (fd_ < 0)
                return;
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // A file system without locks: go on as before there were any.
            close(fd_);
            fd_ = -1;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            close(fd_);
            fd_ = -1;
            throw FileBusyError(path);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

FileLock::~FileLock()
{
    if (fd_ >= 0)
        close(fd_); // closing the last descriptor releases the lock
}

} // namespace arcavio::platform
