#pragma once

#include <cstdint>
#include <optional>
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
// Names beginning with "." are listed too (".av2" is what an empty configuration name saves);
// only the temporaries of replaceFile and createNewFile (".arcavio-" and six letters or digits)
// are left out, and so are directories and special files (pipes, sockets, devices). The order
// is the file system's. Throws InOutError when the directory cannot be read.
std::vector<std::string> listFiles(const std::string& directory, std::string_view mask);
// Names of the directories in a directory; a link counts when it leads to one. Hidden entries are
// left out and the order is the file system's. Throws InOutError when the directory cannot be
// read.
std::vector<std::string> listDirectories(const std::string& directory);
// True when the directory holds a regular file (a link counts when it leads to one) whose name
// does not begin with "."; it stops at the first. False for a directory that cannot be read.
bool holdsFile(const std::string& directory);

enum class EntryKind { File, Directory };
// Where a name the program looks up itself (roms, skin and its files, language.ini, help.ini,
// gamelist.ini, images) is found in a directory, whatever the letter case it was copied with:
// the exact name when an entry of the kind has it; else, of the entries of the kind whose names
// equal it without regard to ASCII case, the first in byte order, so the choice does not depend
// on the order the file system lists them in; else the exact name, which then does not exist.
// The full path; an empty directory stands for the current one and gives the bare name.
std::string findEntryIgnoringCase(const std::string& directory, std::string_view name, EntryKind kind);

std::string currentDirectory();
// Throws InOutError when the directory cannot be made current.
void setCurrentDirectory(const std::string& path);

std::string programPath();
std::string programDirectory();

// Where the files the program keeps for its user live: gamelist.ini, skin/ and images/. Beside
// the program in a build tree or a copy of its own; in the user's data directory once it is
// installed, since a system's bin/ is no place for them (and root may write there anyway, so
// the layout decides, not the permissions). Creates nothing.
std::string dataDirectory();
// dataDirectory(), made with any missing parent when it does not exist yet. Throws InOutError
// when it cannot be found or made (a file in its place is left as it is).
std::string makeDataDirectory();

// The rule behind dataDirectory(): a program is installed when it sits in a folder "bin" whose
// sibling share/arcavio exists; then the data directory is xdgDataHome/arcavio when xdgDataHome
// is absolute, else home/.local/share/arcavio (empty when neither is absolute). Otherwise it
// is the program's directory.
bool isInstalledLayout(const std::string& programDirectory);
std::string dataDirectoryFor(const std::string& programDirectory, const std::string& xdgDataHome,
                             const std::string& home);

// Where the program keeps what it can make again: xdgCacheHome/arcavio when xdgCacheHome is
// absolute, else home/.cache/arcavio; empty when neither is absolute. Creates nothing.
std::string cacheDirectory();
std::string cacheDirectoryFor(const std::string& xdgCacheHome, const std::string& home);

// The user's home directory: $HOME, or the account's entry when it is unset; empty when neither
// names an absolute path.
std::string homeDirectory();

// Makes the directory and any missing parent. Throws InOutError naming the first path that
// could not be made and why: "a file stands in its place" when an entry that is not a directory
// is there (nothing of it is touched).
void createDirectories(const std::string& path);

// Lets everyone read and run the file, and its owner write it (the mode of an installed script).
// Throws FileCreateError naming the path.
void makeExecutable(const std::string& path);

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
// is refused. Throws FileCreateError naming the path, with the reason when the device or the name
// is the cause (a full disk, a read-only device, a name too long).
void replaceFile(const std::string& path, std::string_view bytes);

// Throws the FileCreateError that replaceFile would, for the causes it can see before writing:
// a folder or special file in the file's place, a missing folder, a name too long, a file or
// folder the user may not write, a read-only device. Nothing stays changed: a temporary file
// is made beside the target and taken away.
void checkReplaceable(const std::string& path);

// Writes a file that is new: nothing at the path is followed or replaced, not even a link that
// leads nowhere. The bytes become visible whole, as with replaceFile. False when something is
// there already; throws FileCreateError when the file cannot be written.
bool createNewFile(const std::string& path, std::string_view bytes);

// Renames a file or folder to a path where nothing is yet, in one step. False when something
// is there; throws InOutError naming the path when it cannot be renamed.
bool moveIntoPlace(const std::string& from, const std::string& to);

// What tells one version of a file from another without reading it.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
};
// The identity of the file a path leads to (links followed); nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// A folder of this user's own: the user owns it and may write in it.
bool isUserFolder(const std::string& path);

// The system's short form of an existing path (on POSIX the path itself), or the empty text
// when nothing exists there.
std::string shortPathName(const std::string& path);

} // namespace arcavio::platform

namespace arcavio {

bool matchesMask(std::string_view name, std::string_view mask); // without regard to case

} // namespace arcavio
