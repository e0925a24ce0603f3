#pragma once

#include <cstddef>
#include <string>

#include "text/inifile.h"
#include "text/linelist.h"

// Text files as the program reads and writes them: the file access around the text rules.
namespace arcavio::platform {

// The lines of a file (see LineList::fromBytes). Throws FileOpenError when the file cannot be
// read or holds more than limit bytes (see readFile).
LineList readLines(const std::string& path, std::size_t limit);

// Replaces the file with the lines, each followed by CR LF (see LineList::toText and
// replaceFile). Throws FileCreateError naming the path.
void writeLines(const std::string& path, const LineList& lines);

// A file of sections and keys. A missing file reads as a file without sections; one larger than
// limit bytes, or one that cannot be read, throws FileOpenError.
IniFile readIniFile(const std::string& path, std::size_t limit);

} // namespace arcavio::platform
