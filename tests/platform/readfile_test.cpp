#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/filesystem.h"
#include "support/error_message.h"
#include "support/temp_dir.h"
#include "text/errors.h"
#include "text/nameorder.h"

using namespace arcavio;
using arcavio::test::TempDir;

namespace {

std::string cannotOpen(const std::string& path)
{
    return "Cannot open file " + path;
}

std::string readError(const std::string& path, std::size_t limit)
{
    return test::errorMessageOf<FileOpenError>([&] { platform::readFile(path, limit); });
}

// A reader that blocks fails the test instead of holding it until the run's time-out.
class NeverBlocks : public ::testing::Test {
  protected:
    void SetUp() override { alarm(20); }
    void TearDown() override { alarm(0); }
};

} // namespace

TEST(ReadFile, ReadsARegularFileUpToItsLimit)
{
    TempDir dir;
    const std::string exact = dir.write("exact.av2", std::string(1000, 'x'));
    EXPECT_EQ(platform::readFile(exact, 1000).size(), 1000u);
    const std::string over = dir.write("over.av2", std::string(1001, 'x'));
    EXPECT_EQ(readError(over, 1000), cannotOpen(over));
    EXPECT_EQ(platform::readFile(dir.write("empty.av2", ""), 0), "");
    EXPECT_EQ(readError(dir.file("missing.av2"), 1000), cannotOpen(dir.file("missing.av2")));
    EXPECT_EQ(readError(dir.path(), 1000), cannotOpen(dir.path()));

    // A file whose size says nothing of its contents is still cut at the limit.
    EXPECT_FALSE(platform::readFile("/proc/self/status", platform::kMebibyte).empty());
    EXPECT_EQ(readError("/proc/self/status", 16), cannotOpen("/proc/self/status"));
}

TEST_F(NeverBlocks, PipesDevicesAndSocketsAreNotRead)
{
    TempDir dir;
    const std::string pipe = dir.file("b.av2");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(readError(pipe, platform::kMebibyte), cannotOpen(pipe));
    EXPECT_TRUE(platform::fileExists(pipe)) << "it exists, so the reader says why it is not read";

    const std::string zero = dir.file("zero.av2");
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    EXPECT_EQ(readError(zero, platform::kMebibyte), cannotOpen(zero));

    const std::string socketPath = dir.file("socket.av2");
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(readError(socketPath, platform::kMebibyte), cannotOpen(socketPath));
    close(s);

    // A link to a regular file is followed.
    dir.write("real.av2", "lines");
    ASSERT_EQ(symlink("real.av2", dir.file("link.av2").c_str()), 0);
    EXPECT_EQ(platform::readFile(dir.file("link.av2"), 100), "lines");
}

TEST_F(NeverBlocks, ListingsHoldRegularFilesOnly)
{
    TempDir dir;
    dir.write("a.av2", "");
    ASSERT_EQ(mkfifo(dir.file("b.av2").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.file("c.av2").c_str()), 0);
    ASSERT_EQ(symlink("a.av2", dir.file("d.av2").c_str()), 0);
    ASSERT_EQ(symlink("missing", dir.file("e.av2").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("game.zip").c_str(), 0644), 0);
    dir.write("real.zip", "");
    auto names = platform::listFiles(dir.path(), "*.av2");
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{"a.av2", "d.av2"}));
    EXPECT_EQ(platform::listFiles(dir.path(), "*.zip"), std::vector<std::string>{"real.zip"});
}
