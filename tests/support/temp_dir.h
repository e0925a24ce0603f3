#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace arcavio::test {

// A fresh directory under the system's temporary folder, removed with everything in it when
// the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const;
    // Writes bytes exactly as given and returns the file's full path.
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string mkdir(std::string_view name) const;
    // The bytes, then zero bytes up to the size (without using the disk for them).
    std::string writeSized(std::string_view name, std::string_view bytes, std::uintmax_t size) const;
    // A named pipe that nobody writes to: a reader that opens it blocking waits for ever.
    std::string mkfifo(std::string_view name) const;

  private:
    std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);

// Makes a directory current for the lifetime of the object.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

  private:
    std::string previous_;
};

} // namespace arcavio::test
