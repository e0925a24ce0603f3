#include <gtest/gtest.h>

#include <unistd.h>

#include "app/workspace.h"
#include "config/configuration.h"
#include "emulator/emulatorknowledge.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "support/fake_emulator.h"
#include "support/temp_dir.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::readBytes;
using arcavio::test::TempDir;

namespace {

std::string lineOf(const std::string& configuration, int number)
{
    return readConfiguration(configuration).at(number);
}

} // namespace

TEST(Workspace, FirstStartLaysOutASampleThatRunsTheInstalledMameAndNamesItsGames)
{
    TempDir root;
    // A path the shell would read as several words, a quote and a command if left unquoted.
    const std::string folder = root.mkdir("it's $(touch pwned) mame");
    const std::string mame = folder + "/mame";
    ASSERT_EQ(symlink(test::fakeEmulatorPath().c_str(), mame.c_str()), 0);
    const std::string skins = root.mkdir("share-skins");
    root.mkdir("share-skins/neon");
    root.write("share-skins/neon/skin.ini", "[skin]\r\n");
    root.write("share-skins/neon/appb.bmp", "BM-picture");
    const std::string data = root.file("home/.local/share/arcavio");

    const WorkspaceResult result = prepareWorkspace(data, mame, skins);
    EXPECT_TRUE(result.laidOut);
    EXPECT_EQ(result.configurations, data + "/configurations");
    EXPECT_EQ(platform::listFiles(result.configurations, "*"), std::vector<std::string>{"Sample.av2"});
    const std::string sample = result.configurations + "/Sample.av2";
    EXPECT_EQ(readConfiguration(sample).count(), 69);
    EXPECT_EQ(lineOf(sample, line::Emulator), mame);
    EXPECT_EQ(lineOf(sample, line::AboutText),
              "Sample: runs the installed MAME; ROM zips go in " + data + "/ROMS");
    EXPECT_EQ(lineOf(sample, line::FixedGameFlag), "0");
    EXPECT_EQ(lineOf(sample, line::RomDirectory), "ROMS");
    EXPECT_EQ(lineOf(sample, 37), "1"); // throttled, so its games run at their own speed
    EXPECT_TRUE(platform::directoryExists(data + "/ROMS"));
    EXPECT_TRUE(platform::directoryExists(data + "/images"));
    EXPECT_EQ(readBytes(data + "/skins/neon/appb.bmp"), "BM-picture");
    EXPECT_FALSE(platform::directoryExists(data + "/skin")); // offered, not active
    // No script stands between the sample and MAME any more, and its sets have their names.
    EXPECT_FALSE(platform::fileExists(data + "/mame"));
    EXPECT_TRUE(result.problems.empty()) << result.problems;
    const std::string names = readBytes(data + "/gamelist.ini");
    EXPECT_TRUE(names.starts_with("[gamelist]\r\n")) << names;
    EXPECT_NE(names.find("\r\npacman=Pac-Man (Midway)\r\n"), std::string::npos) << names;
    EXPECT_FALSE(platform::fileExists(root.file("pwned")));
}

TEST(Workspace, LaterStartsTouchNothingAndWithoutMameTheSampleSaysToSetTheEmulator)
{
    TempDir root;
    const std::string data = root.file("arcavio");
    const WorkspaceResult first = prepareWorkspace(data, "", "");
    const std::string sample = first.configurations + "/Sample.av2";
    EXPECT_EQ(lineOf(sample, line::Emulator), "");
    EXPECT_EQ(lineOf(sample, line::AboutText),
              "Sample: no MAME found; choose the emulator with Edit before Run");
    EXPECT_FALSE(platform::fileExists(data + "/mame"));

    // The user changes the sample; a MAME arrives later.
    test::writeBytes(sample, "edited by the user\r\n");
    const std::string mame = root.write("mame", "#!/bin/sh\n");
    platform::makeExecutable(mame);
    const WorkspaceResult second = prepareWorkspace(data, mame, "");
    EXPECT_FALSE(second.laidOut);
    EXPECT_EQ(second.configurations, first.configurations);
    EXPECT_EQ(readBytes(sample), "edited by the user\r\n");
    EXPECT_FALSE(platform::fileExists(data + "/mame"));
}

// A first start cut short (here: a line feed in the data folder's name stops it at the sample)
// leaves no workspace that looks made; what it did leave is completed or redone by the next
// start, and nothing is written through a link found where a new file goes.
TEST(Workspace, AnInterruptedFirstStartIsCompletedByTheNextAndNoLinkIsFollowed)
{
    TempDir root;
    const std::string skins = root.mkdir("share-skins");
    root.mkdir("share-skins/neon");
    root.write("share-skins/neon/skin.ini", "[skin]\r\n");
    root.write("share-skins/neon/appb.bmp", "BM-picture");
    const std::string broken = root.mkdir("line\nfeed");
    const std::string mame = test::fakeEmulatorPath();
    EXPECT_THROW(prepareWorkspace(broken, mame, skins), RefusedValueError);
    EXPECT_FALSE(platform::directoryExists(broken + "/configurations"));
    EXPECT_THROW(prepareWorkspace(broken, mame, skins), RefusedValueError); // said again, every start

    const std::string data = root.mkdir("data");
    root.mkdir("data/skins");
    root.mkdir("data/skins/.neon.partial");
    root.write("data/skins/.neon.partial/skin.ini", "[skin]\r\n"); // the copy was cut short
    root.mkdir("data/.configurations.partial");
    const std::string outside = root.file("outside.av2");
    ASSERT_EQ(symlink(outside.c_str(), (data + "/.configurations.partial/Sample.av2").c_str()), 0);
    const WorkspaceResult result = prepareWorkspace(data, "", skins);
    EXPECT_TRUE(result.laidOut);
    EXPECT_EQ(readBytes(data + "/skins/neon/appb.bmp"), "BM-picture");
    EXPECT_FALSE(platform::directoryExists(data + "/skins/.neon.partial"));
    EXPECT_FALSE(platform::fileExists(outside));
    EXPECT_FALSE(platform::directoryExists(data + "/.configurations.partial"));
}

TEST(Workspace, ADataDirectoryThatCannotBeMadeIsAnErrorAndTheFileInItsPlaceStays)
{
    TempDir root;
    const std::string blocker = root.write("arcavio", "notes the user keeps\n");
    EXPECT_THROW(prepareWorkspace(blocker, "", ""), InOutError);
    EXPECT_EQ(readBytes(blocker), "notes the user keeps\n");
    // An existing wrapper of the user's own is kept too.
    const std::string data = root.mkdir("data");
    root.write("data/mame", "#!/bin/sh\nexec my-own-mame \"$@\"\n");
    prepareWorkspace(data, "/usr/games/mame", "");
    EXPECT_EQ(readBytes(data + "/mame"), "#!/bin/sh\nexec my-own-mame \"$@\"\n");
}

TEST(Workspace, FindsMameOnAbsolutePathFoldersAndQuotesItForTheScript)
{
    TempDir root;
    const std::string first = root.mkdir("first");
    const std::string second = root.mkdir("second");
    root.write("first/mame", "not runnable");
    const std::string runnable = root.write("second/mame", "#!/bin/sh\n");
    platform::makeExecutable(runnable);
    EXPECT_EQ(findInstalledMame(first + ":relative:" + second), runnable);
    {
        // A relative folder of PATH depends on the working directory: never taken.
        const test::CurrentDirectory inside(root.path());
        const std::string found = findInstalledMame("second");
        EXPECT_NE(found, "second/mame");
    }
    EXPECT_EQ(mameWrapperScript("/usr/games/mame"), "#!/bin/sh\nexec '/usr/games/mame' -inipath . \"$@\"\n");
    EXPECT_THROW(mameWrapperScript("/opt/ma\nme"), RefusedValueError);
}
