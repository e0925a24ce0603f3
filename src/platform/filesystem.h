#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/readlimits.h"

// File-system services the rest of the program asks for; one implementation per platform.
namespace arcavio::platform {

// An existing entry that is not a directory. A pipe or a device counts, so that its reader
// says why it is not read rather than the file seeming absent.
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// Names (without directory) of the regular files in a directory whose names match the mask ("*"
// and "?" wildcards) without regard to case; a link counts when it leads to a regular file.
// Directories, hidden files and special files (pipes, sockets, devices) are left out, and the
// order is the file system's. Throws InOutError when the directory cannot be read.
std::vector<std::string> listFiles(const std::string& directory, std::string_view mask);

// The entry of a directory whose name equals the given one without regard to case, as a full
// path, or the empty text.
std::string findEntryIgnoringCase(const std::string& directory, std::string_view name);

std::string currentDirectory();
// Throws InOutError when the directory cannot be made current.
void setCurrentDirectory(const std::string& path);

std::string programPath();
std::string programDirectory();

// The whole of a regular file (a link is followed only to one) of at most limit bytes (see
// readlimits.h). Never blocks on a pipe or device. Throws FileOpenError naming the path for a
// file that is missing, special, unreadable or larger than the limit.
std::string readFile(const std::string& path, std::size_t limit);

// The program's one way to write a file. The bytes go to a temporary file beside the target,
// which is flushed to disk, given the old file's mode (and its owner and group where the user
// may) and renamed over it; the directory is flushed after that, so a crash leaves the old file
// or the new one. A link is written through to its target. A file the user may write in a
// directory the user may not write is rewritten in place instead, the one case that is not
// atomic. A file the user may not write, a directory or a special file where the file should be
// is refused. Throws FileCreateError naming the path.
void replaceFile(const std::string& path, std::string_view bytes);

// The system's short form of an existing path (on POSIX the path itself), or the empty text
// when nothing exists there.
std::string shortPathName(const std::string& path);

} // namespace arcavio::platform

namespace arcavio {

bool matchesMask(std::string_view name, std::string_view mask); // without regard to case

} // namespace arcavio
