#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

#include "platform/filesystem.h"

namespace arcavio::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "arcavio-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const
{
    return path_ + "/" + std::string(name);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const
{
    const std::string target = file(name);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    writeBytes(target, bytes);
    return target;
}

std::string TempDir::mkdir(std::string_view name) const
{
    const std::string target = file(name);
    std::filesystem::create_directories(target);
    return target;
}

std::string TempDir::writeSized(std::string_view name, std::string_view bytes, std::uintmax_t size) const
{
    const std::string target = write(name, bytes);
    std::filesystem::resize_file(target, size);
    return target;
}

std::string TempDir::mkfifo(std::string_view name) const
{
    const std::string target = file(name);
    if (::mkfifo(target.c_str(), 0644) != 0)
        throw std::runtime_error("cannot make the pipe " + target);
    return target;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

CurrentDirectory::CurrentDirectory(const std::string& path) : previous_(platform::currentDirectory())
{
    platform::setCurrentDirectory(path);
}

CurrentDirectory::~CurrentDirectory()
{
    try {
        platform::setCurrentDirectory(previous_);
    } catch (...) {
    }
}

} // namespace arcavio::test
