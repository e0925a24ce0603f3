#pragma once

#include <string>
#include <vector>

namespace arcavio {

// The names of the *.zip files of one directory, sorted without regard to case. Every
// reading first makes the directory current and leaves it so.
//
// A value holding ";" is a list of folders, as the emulator searches its ROM path (see
// splitPathList and resolvePathList in text/paths.h; the caller resolves relative folders
// against its own base first). Its folders are listed in order, each by the rule of one
// directory, and their names merged into one sorted listing: a name that another folder
// already gave, compared without regard to case, is left out, so the first folder holding a
// set wins. A folder that cannot be listed (missing, not a directory, unreadable) is skipped
// silently; the first folder listed is made current and is what directory() reports. Only
// when no folder of the list can be listed does the reading fail, with the error of the
// list's first folder.
class ZipListing {
  public:
    // The absolute directory last made current, empty before the first reading.
    const std::string& directory() const { return directory_; }
    const std::vector<std::string>& names() const { return names_; }
    // The folders listed last, absolute and joined by ";" (one folder alone has none).
    const std::string& listedFolders() const { return listed_; }

    // Reads the names when the value differs from the one listed: the absolute directory, or
    // for a list its folders made absolute and joined by ";". Throws InOutError when it
    // cannot be made current or listed; the listing then stays as it was.
    void setDirectory(const std::string& directory);
    // Reads the names again in any case (the current directory when none was set), every
    // folder of a list included, so a folder that was missing is listed once it exists.
    void refresh();

  private:
    void read(const std::string& directory);
    void readList(const std::string& value);

    std::string directory_;
    std::string listed_;
    std::vector<std::string> names_;
};

} // namespace arcavio
