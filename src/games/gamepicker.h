#pragma once

#include <string>

namespace arcavio {

// What Run, Kwikstart and the editor's game search ask of the select-game dialog.
class GamePicker {
  public:
    virtual ~GamePicker() = default;
    // Points the zip listing at a directory, or a list of folders separated by ";" (ZipListing),
    // reading it only when the value changes. Reading makes the directory current. Throws
    // InOutError when it cannot be listed.
    virtual void setZipDirectory(const std::string& directory) = 0;
    // Reads the zip listing again in any case.
    virtual void refreshZipListing() = 0;
    // "Change Directory" is shown only while Run uses the dialog.
    virtual void setChangeDirectoryVisible(bool visible) = 0;
    // Shows the dialog modally and returns when the user has closed it.
    virtual void showModal() = 0;
    virtual bool gameChosen() const = 0;
    // The directory picked through "Change Directory", empty when none was picked.
    virtual std::string chosenDirectory() const = 0;
    virtual void clearChosenDirectory() = 0;
    // The listing's name of the chosen set, without directory: game1.zip, game1.7z or the folder game1.
    virtual std::string selectedZip() const = 0;
};

} // namespace arcavio
