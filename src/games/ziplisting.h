#pragma once

#include <string>
#include <vector>

namespace arcavio {

// The names of the *.zip files of one directory, sorted without regard to case. Every
// reading first makes the directory current and leaves it so.
class ZipListing {
  public:
    // The absolute directory last read, empty before the first reading.
    const std::string& directory() const { return directory_; }
    const std::vector<std::string>& names() const { return names_; }

    // Reads the names when the directory differs from the one listed. Throws InOutError when
    // it cannot be made current or listed; the listing then stays as it was.
    void setDirectory(const std::string& directory);
    // Reads the names again in any case (the current directory when none was set).
    void refresh();

  private:
    void read(const std::string& directory);

    std::string directory_;
    std::vector<std::string> names_;
};

} // namespace arcavio
