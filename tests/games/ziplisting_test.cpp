#include "games/ziplisting.h"

#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using test::TempDir;
using Names = std::vector<std::string>;

TEST(ZipListing, ListsZipsSortedWithoutRegardToCaseAndMakesTheDirectoryCurrent)
{
    TempDir dir;
    const std::string start = platform::currentDirectory();
    for (const char* name : {"b.zip", "A.ZIP", "c.Zip", "notes.txt", "zip", ".hidden.zip"})
        dir.write(name, "");
    dir.mkdir("folder.zip");
    ZipListing listing;
    listing.setDirectory(dir.path());
    EXPECT_EQ(listing.names(), (Names{"A.ZIP", "b.zip", "c.Zip"}));
    EXPECT_EQ(platform::currentDirectory(), listing.directory());
    EXPECT_TRUE(platform::directoryExists(listing.directory()));
    platform::setCurrentDirectory(start);
}

TEST(ZipListing, AccentedAndSharpSNamesSortByTheirCaseFolding)
{
    TempDir dir;
    const std::string start = platform::currentDirectory();
    for (const char* name : {"\u00C9bc.zip", "\u00E9bb.zip", "Stra\u00DFe.zip", "strasse.zip", "STRAT.zip"})
        dir.write(name, "");
    ZipListing listing;
    listing.setDirectory(dir.path());
    EXPECT_EQ(listing.names(),
              (Names{"Stra\u00DFe.zip", "strasse.zip", "STRAT.zip", "\u00E9bb.zip", "\u00C9bc.zip"}));
    platform::setCurrentDirectory(start);
}

TEST(ZipListing, RereadsOnlyWhenTheDirectoryChangesOrOnRefresh)
{
    TempDir one, two;
    const std::string start = platform::currentDirectory();
    one.write("a.zip", "");
    two.write("z.zip", "");
    ZipListing listing;
    listing.setDirectory(one.path());
    one.write("b.zip", "");
    listing.setDirectory(listing.directory());
    EXPECT_EQ(listing.names(), (Names{"a.zip"}));
    listing.refresh();
    EXPECT_EQ(listing.names(), (Names{"a.zip", "b.zip"}));
    listing.setDirectory(two.path());
    EXPECT_EQ(listing.names(), (Names{"z.zip"}));
    platform::setCurrentDirectory(start);
}

TEST(ZipListing, AFolderListMergesItsFoldersTheFirstHoldingASetWinning)
{
    TempDir root;
    const std::string start = platform::currentDirectory();
    const std::string a = root.mkdir("a");
    root.mkdir("b");
    const std::string c = root.mkdir("c");
    for (const char* name : {"a/Pacman.zip", "a/galaga.zip", "a/Mario.zip", "a/mario.zip", "a/notes.txt",
                             "b/pacman.zip", "b/GALAGA.ZIP", "b/Zaxxon.zip", "c/zaxxon.zip", "c/dkong.zip"})
        root.write(name, "");
    platform::setCurrentDirectory(root.path());
    ZipListing listing;
    listing.setDirectory(a + ";;" + root.file("missing") + ";b;" + c + ";");
    EXPECT_EQ(listing.names(),
              (Names{"dkong.zip", "galaga.zip", "Mario.zip", "mario.zip", "Pacman.zip", "Zaxxon.zip"}));
    EXPECT_EQ(platform::currentDirectory(), listing.directory());
    EXPECT_EQ(fileNamePart(listing.directory()), "a");

    // Refreshing from inside a: the relative folder b still means the one beside it, and the
    // missing folder counts once it exists.
    root.mkdir("missing");
    root.write("missing/Zaxxon2.zip", "");
    root.write("missing/PACMAN.zip", "");
    listing.refresh();
    EXPECT_EQ(listing.names(), (Names{"dkong.zip", "galaga.zip", "Mario.zip", "mario.zip", "Pacman.zip",
                                      "Zaxxon.zip", "Zaxxon2.zip"}));
    platform::setCurrentDirectory(start);
}

TEST(ZipListing, AMissingDirectoryFailsAndKeepsTheListing)
{
    TempDir dir;
    const std::string start = platform::currentDirectory();
    dir.write("a.zip", "");
    ZipListing listing;
    listing.setDirectory(dir.path());
    const std::string listed = listing.directory();
    EXPECT_THROW(listing.setDirectory(dir.file("gone")), InOutError);
    EXPECT_EQ(listing.directory(), listed);
    EXPECT_EQ(listing.names(), (Names{"a.zip"}));
    EXPECT_THROW(listing.setDirectory(dir.file("gone") + ";;" + dir.file("a.zip")), InOutError);
    EXPECT_EQ(platform::currentDirectory(), listed);
    EXPECT_EQ(listing.directory(), listed);
    EXPECT_EQ(listing.names(), (Names{"a.zip"}));
    platform::setCurrentDirectory(start);
}

} // namespace
} // namespace arcavio
