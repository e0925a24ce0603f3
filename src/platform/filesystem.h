#pragma once

#include <string>
#include <string_view>
#include <vector>

// File-system services the rest of the program asks for; one implementation per platform.
namespace arcavio::platform {

bool fileExists(const std::string& path); // an existing entry that is not a directory
bool directoryExists(const std::string& path);

// Names (without directory) of the files in a directory whose names match the mask ("*" and
// "?" wildcards) without regard to case; directories and hidden files are left out, and the
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

// Whole file; throws FileOpenError naming the path.
std::string readFile(const std::string& path);
// Writes a temporary file beside the target and renames it over the target, so a failed write
// never loses the old file. Throws FileCreateError naming the path.
void writeFileAtomic(const std::string& path, std::string_view bytes);

// The system's short form of an existing path (on POSIX the path itself), or the empty text
// when nothing exists there.
std::string shortPathName(const std::string& path);

} // namespace arcavio::platform

namespace arcavio {

bool matchesMask(std::string_view name, std::string_view mask); // without regard to case

} // namespace arcavio
