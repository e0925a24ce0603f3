#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace arcavio {

// The names of the sets of one directory, as the emulator loads them, sorted without regard to
// case: its *.zip and *.7z files and its set folders. A set folder is a folder whose name has
// no dot and that holds a file (holdsFile's rule) directly: MAME looks for a set's files in
// the folder named after it and not in that folder's subfolders, so an empty folder, one with
// only subfolders or one named like an archive (f.zip) is no set. A folder is listed by its
// bare name, which is also its set name; the others' set names are their names without the
// extension. Every reading first makes the directory current and leaves it so.
//
// Each set is listed once: a 7z whose set name a zip gives, compared without regard to case, is
// left out, and so is a folder whose set name a zip or a 7z gives. Case does not tell sets
// apart here because MAME takes the name it is started with without regard to case and then
// looks for the set's files by the driver's own (lower-case) name: a folder "Pacman" beside
// pacman.zip would start pacman.zip too. Names of one kind in one folder that differ only in
// case all stay, as the file system holds them.
//
// A value holding ";" is a list of folders, as the emulator searches its ROM path (see
// splitPathList and resolvePathList in text/paths.h; the caller resolves relative folders
// against its own base first). Its folders are listed in order, each by the rule of one
// directory, and their names merged into one sorted listing: a set that another folder
// already gave, by the same comparison of set names, is left out, so the first folder holding
// a set wins. A folder that cannot be listed (missing, not a directory, unreadable) is skipped
// silently; the first folder listed is made current and is what directory() reports. Only
// when no folder of the list can be listed does the reading fail, with the error of the
// list's first folder.
// The sets of one folder, by the rules above, that no set name in `taken` gives yet (set names
// without extension, folded as caseFoldedName folds them); theirs are added to `taken`. Several
// names of one kind that fold alike all stay, as a single folder lists them. In the folder's
// order; nothing becomes current. Throws InOutError when the folder cannot be listed.
std::vector<std::string> listSets(const std::string& directory, std::unordered_set<std::string>& taken);

// The name on disk of a set that a configuration names. A name read from a text file is text,
// while a zip copied from Windows keeps its Windows-1252 name, which the listing shows decoded
// (decodeFileName): its name cannot be written into a UTF-8 file as it is, so the decoded text
// stands for it. The name itself when one of the folders (";" separated, as ZipListing takes
// them) holds an entry by it; else its Windows-1252 form when that is no UTF-8 (so it decodes to
// this text) and a folder holds an entry by it; else the name itself.
std::string setNameOnDisk(const std::string& folders, const std::string& name);

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
