#include "games/gamelist.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/filesystem.h"
#include "support/error_message.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

using test::TempDir;

std::string loadError(const std::string& path)
{
    return test::errorMessageOf<FileOpenError>([&] { GameListIndex::load(path); });
}

TEST(GameListRead, StopsAtSixtyFourMebibytes)
{
    TempDir dir;
    const std::string head = "[gamelist]\r\ngame1=Game One\r\n";
    const std::string under = dir.writeSized("under.ini", head, platform::kGameListFileLimit);
    EXPECT_EQ(GameListIndex::load(under).find("game1"), "Game One");
    // An edit that would take it past what the program reads back is refused.
    EXPECT_EQ(test::errorMessageOf<RefusedValueError>([&] { setGameListEntry(under, "game2", "Game Two"); }),
              "under.ini would grow past 64 MiB, more than the program reads; it was not changed");
    EXPECT_EQ(std::filesystem::file_size(under), platform::kGameListFileLimit) << "left as it was";
    const std::string over = dir.writeSized("over.ini", head, platform::kGameListFileLimit + 1);
    EXPECT_EQ(loadError(over), "Cannot open file " + over);
    EXPECT_THROW(setGameListEntry(over, "game2", "Game Two"), FileOpenError);
    EXPECT_EQ(std::filesystem::file_size(over), platform::kGameListFileLimit + 1) << "left as it was";
}

TEST(GameListRead, APipeOrADeviceIsNeverRead)
{
    TempDir dir;
    alarm(20);
    const std::string pipe = dir.mkfifo("gamelist.ini");
    EXPECT_EQ(loadError(pipe), "Cannot open file " + pipe);
    EXPECT_THROW(setGameListEntry(pipe, "game1", "Game One"), FileOpenError);
    const std::string zero = dir.file("zero.ini");
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    EXPECT_EQ(loadError(zero), "Cannot open file " + zero);
    alarm(0);
}

} // namespace
} // namespace arcavio
