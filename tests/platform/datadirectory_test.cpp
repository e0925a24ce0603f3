#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::readBytes;
using arcavio::test::TempDir;

TEST(DataDirectory, InstalledLayoutUsesTheUsersDataHomeAndAnythingElseStaysBesideTheProgram)
{
    TempDir root;
    const std::string bin = root.mkdir("bin");
    const std::string home = root.mkdir("home");
    const std::string xdg = root.mkdir("xdg");
    // Without share/arcavio beside it, a bin folder is a copy of its own (a build tree, say).
    EXPECT_FALSE(platform::isInstalledLayout(bin));
    EXPECT_EQ(platform::dataDirectoryFor(bin, xdg, home), bin);
    root.mkdir("share");
    root.mkdir("share/arcavio");
    EXPECT_TRUE(platform::isInstalledLayout(bin));
    EXPECT_EQ(platform::dataDirectoryFor(bin, xdg, home), xdg + "/arcavio");
    // Only an absolute XDG_DATA_HOME counts; unset, empty or relative, the home's default is used.
    EXPECT_EQ(platform::dataDirectoryFor(bin, "", home), home + "/.local/share/arcavio");
    EXPECT_EQ(platform::dataDirectoryFor(bin, "relative/data", home), home + "/.local/share/arcavio");
    EXPECT_EQ(platform::dataDirectoryFor(bin, "", ""), "");
    // Next to share/arcavio, but not named bin: not installed.
    const std::string other = root.mkdir("programs");
    EXPECT_FALSE(platform::isInstalledLayout(other));
    EXPECT_EQ(platform::dataDirectoryFor(other, xdg, home), other);
    // The tests run from the build tree, where everything stays beside the program.
    EXPECT_EQ(platform::dataDirectory(), platform::programDirectory());
    // What can be made again goes to the user's cache, installed or not.
    EXPECT_EQ(platform::cacheDirectoryFor(xdg, home), xdg + "/arcavio");
    EXPECT_EQ(platform::cacheDirectoryFor("relative", home), home + "/.cache/arcavio");
    EXPECT_EQ(platform::cacheDirectoryFor("", "relative"), "");
}

TEST(DataDirectory, MakesMissingParentsAndRefusesAFileInItsPlaceWithoutTouchingIt)
{
    TempDir root;
    const std::string deep = root.file("a/b/c");
    platform::createDirectories(deep);
    EXPECT_TRUE(platform::directoryExists(deep));
    platform::createDirectories(deep); // there already: nothing to do

    const std::string blocker = root.write("data", "the user's own file\n");
    try {
        platform::createDirectories(blocker + "/arcavio");
        FAIL() << "a file stood in the place of a parent";
    } catch (const InOutError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create the folder " + blocker + ": a file stands in its place");
    }
    EXPECT_THROW(platform::createDirectories(blocker), InOutError);
    EXPECT_EQ(readBytes(blocker), "the user's own file\n");
}
