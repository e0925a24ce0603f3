#include <gtest/gtest.h>

#include "text/paths.h"

using namespace arcavio;

TEST(Paths, DirectoryPartWindowsStyle)
{
    constexpr auto W = PathStyle::Windows;
    EXPECT_EQ(directoryPart("C:\\MAME\\mame.exe", W), "C:\\MAME");
    EXPECT_EQ(directoryPart("C:\\mame.exe", W), "C:\\");
    EXPECT_EQ(directoryPart("ROMS", W), "");
    EXPECT_EQ(directoryPart("roms\\neo", W), "roms");
    EXPECT_EQ(directoryPart("C:mame.exe", W), "C:");
    EXPECT_EQ(directoryPart("\\\\server\\share", W), "\\\\server");
    EXPECT_EQ(directoryPart("\\mame.exe", W), "\\");
    EXPECT_EQ(directoryPart("a\\\\b", W), "a\\\\");
    // A slash is no separator in this style.
    EXPECT_EQ(directoryPart("C:/x/y", W), "C:");
}

TEST(Paths, DirectoryPartPosixStyle)
{
    constexpr auto P = PathStyle::Posix;
    EXPECT_EQ(directoryPart("/usr/games/mame", P), "/usr/games");
    EXPECT_EQ(directoryPart("/mame", P), "/");
    EXPECT_EQ(directoryPart("mame", P), "");
    EXPECT_EQ(directoryPart("C:\\MAME\\mame.exe", P), "");
    EXPECT_TRUE(hasDirectoryPart("a/b", P));
    EXPECT_FALSE(hasDirectoryPart("cheat.dat", P));
}

TEST(Paths, ExtensionRemovalStopsAtTheDirectory)
{
    EXPECT_EQ(removeExtension("my.game.zip", PathStyle::Posix), "my.game");
    EXPECT_EQ(removeExtension("game1", PathStyle::Posix), "game1");
    EXPECT_EQ(removeExtension("/roms.d/game1", PathStyle::Posix), "/roms.d/game1");
    EXPECT_EQ(removeExtension("C:\\roms.d\\game1", PathStyle::Windows), "C:\\roms.d\\game1");
    EXPECT_EQ(removeExtension("C:\\roms\\game1.zip", PathStyle::Windows), "C:\\roms\\game1");
    EXPECT_EQ(removeExtension(".av2", PathStyle::Posix), "");
    EXPECT_EQ(extensionOf("pic.JPEG", PathStyle::Posix), "JPEG");
    EXPECT_EQ(extensionOf("dir.x/pic", PathStyle::Posix), "");
    EXPECT_EQ(fileNamePart("C:\\roms\\g.zip", PathStyle::Windows), "g.zip");
    EXPECT_EQ(fileNamePart("g.zip", PathStyle::Posix), "g.zip");
}

TEST(Paths, JoiningAddsOneSeparator)
{
    EXPECT_EQ(joinPath("C:\\MAME", "mame.ini", PathStyle::Windows), "C:\\MAME\\mame.ini");
    EXPECT_EQ(joinPath("C:\\", "mame.ini", PathStyle::Windows), "C:\\mame.ini");
    EXPECT_EQ(joinPath("/", "x.av2", PathStyle::Posix), "/x.av2");
    EXPECT_EQ(joinPath("/home/a", "x.av2", PathStyle::Posix), "/home/a/x.av2");
    EXPECT_EQ(joinPath("", "ROMS", PathStyle::Windows), "\\ROMS");
}

TEST(Paths, AFolderListResolvesEachRelativeFolderAndASingleFolderKeepsItsForm)
{
    using Folders = std::vector<std::string>;
    EXPECT_EQ(splitPathList(";ROMS;;/srv/roms;"), (Folders{"ROMS", "/srv/roms"}));
    EXPECT_EQ(splitPathList(""), Folders{});
    EXPECT_EQ(resolvePathList("ROMS;;/srv/roms;sub/roms;", "/opt/mame", PathStyle::Posix),
              "/opt/mame/ROMS;/srv/roms;sub/roms");
    EXPECT_EQ(resolvePathList("ROMS;C:roms", "D:\\MAME", PathStyle::Windows), "D:\\MAME\\ROMS;C:roms");
    EXPECT_EQ(resolvePathList("ROMS", "/opt/mame", PathStyle::Posix), "/opt/mame/ROMS");
    EXPECT_EQ(resolvePathList("/srv/roms", "/opt/mame", PathStyle::Posix), "/srv/roms");
    EXPECT_EQ(resolvePathList("", "/opt/mame", PathStyle::Posix), "/opt/mame/");
}
