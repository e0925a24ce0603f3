#pragma once

#include <functional>
#include <string>
#include <vector>

#include "games/gamepicker.h"
#include "platform/filesystem.h"

namespace arcavio::test {

// The select-game dialog as the commands see it; the user's part is scripted.
class FakeGamePicker final : public GamePicker {
  public:
    void setZipDirectory(const std::string& directory) override
    {
        zipDirectories.push_back(directory);
        if (listsDirectory) {
            platform::listFiles(directory, "*.zip");
            platform::setCurrentDirectory(directory);
        }
    }
    void refreshZipListing() override { ++refreshes; }
    void setChangeDirectoryVisible(bool visible) override { changeDirectoryVisible = visible; }
    void showModal() override
    {
        changeDirectoryVisibleWhenShown.push_back(changeDirectoryVisible);
        if (user)
            user(*this);
    }
    bool gameChosen() const override { return chosen; }
    std::string chosenDirectory() const override { return directory; }
    void clearChosenDirectory() override { directory.clear(); }
    std::string selectedZip() const override { return zip; }

    int shows() const { return static_cast<int>(changeDirectoryVisibleWhenShown.size()); }

    // Lists and enters the directory it is pointed at, as the real dialog does (and throws
    // where it would).
    bool listsDirectory = false;
    // What the user does while the dialog shows.
    std::function<void(FakeGamePicker&)> user;
    bool chosen = false;
    std::string zip;
    std::string directory; // picked through Change Directory
    bool changeDirectoryVisible = false;

    std::vector<std::string> zipDirectories;
    int refreshes = 0;
    std::vector<bool> changeDirectoryVisibleWhenShown;
};

} // namespace arcavio::test
