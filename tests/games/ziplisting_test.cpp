#include "games/ziplisting.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>

#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "support/installed_mame.h"
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
    for (const char* name : {"b.zip", "A.ZIP", "c.Zip", "notes.txt", "zip", ".x.zip"})
        dir.write(name, "");
    dir.mkdir("folder.zip");
    ZipListing listing;
    listing.setDirectory(dir.path());
    EXPECT_EQ(listing.names(), (Names{".x.zip", "A.ZIP", "b.zip", "c.Zip"}));
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

std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putLittleEndian(std::string& out, std::uint64_t value, int bytes)
{
    for (int n = 0; n < bytes; ++n)
        out += static_cast<char>((value >> (8 * n)) & 0xFF);
}

// A 7z archive holding one file stored as it is; the name is ASCII and name and bytes are short
// enough for the format's one-byte numbers.
std::string sevenZipOf(std::string_view name, std::string_view bytes)
{
    const auto size = static_cast<char>(bytes.size());
    std::string header = {1, 4, 6, 0, 1, 9, size, 0, 7, 11, 1, 0, 1, 1, 0, 12, size, 0, 8, 10, 1};
    putLittleEndian(header, crc32(bytes), 4);
    header += {0, 0, 5, 1, 17, static_cast<char>(1 + 2 * (name.size() + 1)), 0};
    for (const char c : name)
        header += {c, 0};
    header += {0, 0, 0, 0};
    std::string start;
    putLittleEndian(start, bytes.size(), 8);
    putLittleEndian(start, header.size(), 8);
    putLittleEndian(start, crc32(header), 4);
    std::string archive = {'7', 'z', '\xBC', '\xAF', '\x27', '\x1C', 0, 4};
    putLittleEndian(archive, crc32(start), 4);
    return archive + start + std::string(bytes) + header;
}

TEST(ZipListing, ListsEveryKindOfSetOnceAZipWinningAndLeavesOutFoldersThatHoldNoFile)
{
    TempDir root;
    const std::string start = platform::currentDirectory();
    const std::string roms = root.mkdir("roms");
    for (const char* folder : {"roms/Qbert", "roms/empty", "roms/f.zip", "roms/nested", "roms/nested/sub",
                               "roms/.hidden", "roms/pipe", "roms/galaga", "roms/Pacman", "roms/frogger",
                               "roms/Ladder", "more", "more/galaxian", "more/zaxxon", "more/MSPACMAN"})
        root.mkdir(folder);
    for (const char* file :
         {"roms/mspacman.zip", "roms/galaxian.7z", "roms/Qbert/qb-1.bin", "roms/f.zip/f.bin",
          "roms/nested/sub/n.bin", "roms/.hidden/h.bin", "roms/galaga.zip", "roms/galaga/g.bin",
          "roms/pacman.zip", "roms/Pacman/pacman.6e", "roms/DKONG.ZIP", "roms/dkong.7z", "roms/frogger.7z",
          "roms/frogger/frogger.26", "roms/notes.txt", "more/galaxian/g.bin", "more/zaxxon/z.bin",
          "more/MSPACMAN/m.bin"})
        root.write(file, "");
    root.mkfifo("roms/pipe/fifo");
    root.write("roms/Ladder/.keep", "");
    std::filesystem::create_directory_symlink(root.file("roms/Qbert"), root.file("roms/qbert2"));

    ZipListing listing;
    listing.setDirectory(roms);
    const Names one = {"DKONG.ZIP",    "frogger.7z", "galaga.zip", "galaxian.7z",
                       "mspacman.zip", "pacman.zip", "Qbert",      "qbert2"};
    EXPECT_EQ(listing.names(), one);

    // In a folder list a set folder yields to the set an earlier folder gave, whatever its kind.
    listing.setDirectory(roms + ";" + root.file("more"));
    Names merged = one;
    merged.push_back("zaxxon");
    EXPECT_EQ(listing.names(), merged);
    platform::setCurrentDirectory(start);
}

TEST(ZipListing, MameReadsTheSetsTheListingListsAndNoneOfTheFoldersItLeavesOut)
{
    SKIP_WITHOUT_MAME();
    TempDir root;
    const std::string start = platform::currentDirectory();
    const std::string roms = root.mkdir("roms");
    for (const char* folder :
         {"roms/dkong", "roms/mrdo", "roms/galaga", "roms/galaga/sub", "roms/zaxxon.zip"})
        root.mkdir(folder);
    root.write("roms/dkong/c_5et_g.bin", "x");
    root.write("roms/frogger.7z", sevenZipOf("frogger.26", "x"));
    root.write("roms/galaga/sub/gg1_1b.3p", "x");
    root.write("roms/zaxxon.zip/zaxxon_rom3d.u27", "x");

    ZipListing listing;
    listing.setDirectory(roms);
    platform::setCurrentDirectory(start);
    ASSERT_EQ(listing.names(), (Names{"dkong", "frogger.7z"}));

    const auto verify = [&](const std::string& set) {
        platform::ChildRequest request;
        request.program = test::kInstalledMame;
        request.arguments = {"-norc", "-verifyroms", set, "-rompath", roms};
        request.workingDirectory = root.path();
        request.timeout = std::chrono::seconds(60);
        request.withoutDisplay = true;
        request.errorCap = 64 * 1024;
        const platform::ChildResult result = platform::runChild(std::move(request));
        return result.output + result.errorOutput;
    };
    // Started by the name Run gives it, MAME read a file of each listed set: it found it too short.
    const std::array<std::string, 2> files = {"c_5et_g.bin", "frogger.26"};
    for (std::size_t n = 0; n < files.size(); ++n) {
        const std::string set = removeExtension(fileNamePart(listing.names()[n]));
        EXPECT_NE(verify(set).find(files[n] + " (4096 bytes) - INCORRECT LENGTH: 1 bytes"), std::string::npos)
            << set;
    }
    for (const std::string set : {"mrdo", "galaga", "zaxxon"})
        EXPECT_NE(verify(set).find("romset \"" + set + "\" not found!"), std::string::npos) << set;
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
