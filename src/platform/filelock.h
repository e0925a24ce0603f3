#pragma once

#include <chrono>
#include <string>

// An advisory lock held while a file that other programs may change at the same time is read,
// changed and written again, so that no writer replaces the file with a version that misses
// what another wrote in between.
namespace arcavio::platform {

// Long enough for any other writer of the program to finish; short enough to say so.
inline constexpr std::chrono::milliseconds kFileLockWait{10000};

// An exclusive lock on "<file>.lock" beside the file the path leads to (links followed), made
// when missing and never through a link found there. Where no such lock file can be had (a
// folder the user may not write, a name too long, a link in its place) the file itself is
// locked when it exists, so a write that was possible without a lock stays possible. Waits at
// most `wait`, then throws FileBusyError naming the path. Released when dropped. Every reader
// that writes back must take it; a reader that only reads need not.
class FileLock {
  public:
    explicit FileLock(const std::string& path, std::chrono::milliseconds wait = kFileLockWait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_ = -1;
};

} // namespace arcavio::platform
