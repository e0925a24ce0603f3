#pragma once

#include <string>
#include <vector>

#include "text/linelist.h"

namespace arcavio {

// The configuration files of one directory, as the main window's list shows them.
class ConfigurationList {
  public:
    // The directory is fixed for the list's lifetime: normally the working directory at start.
    explicit ConfigurationList(std::string directory) : directory_(std::move(directory)) {}

    const std::string& directory() const { return directory_; }
    const std::vector<std::string>& names() const { return names_; }

    // Makes the directory current and reads its "*.av2" files, sorted without regard to case.
    // When the directory cannot be made current an InOutError leaves the old contents.
    void refresh();

    // Directory, one separator (none when it already ends with one), name; empty for no name.
    std::string fullPath(const std::string& name) const;

  private:
    std::string directory_;
    std::vector<std::string> names_;
};

// What the preview of a selected configuration changes in the main window.
class PreviewView {
  public:
    virtual ~PreviewView() = default;
    virtual void clearPicture() = 0;
    virtual void setStatusText(const std::string& text) = 0;
    // Loads the picture file into the preview; throws the loader's error, keeping the old one.
    virtual void showPicture(const std::string& path) = 0;
};

// Loads the configuration at fullPath into config, then shows its about text (line 2) and its
// picture (line 1). An empty path or a missing file only clears the picture. Errors (a short
// file, a picture that cannot be loaded) end the preview where they arise.
void previewConfiguration(const std::string& fullPath, LineList& config, PreviewView& view);

} // namespace arcavio
