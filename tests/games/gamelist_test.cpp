#include "games/gamelist.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/filesystem.h"
#include "support/colliding_keys.h"
#include "support/temp_dir.h"
#include "text/errors.h"
#include "text/inifile.h"

namespace arcavio {
namespace {

using test::readBytes;
using test::TempDir;
using Names = std::vector<std::string>;

GameListIndex indexOf(std::string_view text)
{
    return GameListIndex::fromBytes(text);
}
IniFile iniOf(std::string_view text)
{
    return IniFile(LineList::fromText(text));
}

TEST(GameRows, FollowTheZipOrderNotTheNames)
{
    const GameListIndex ini = indexOf("[gamelist]\r\nb=Alpha\r\nA=Zeta\r\n");
    const GameRows rows = buildGameRows({"A.zip", "b.zip"}, ini, false);
    EXPECT_EQ(rows.names, (Names{"Zeta", "Alpha"}));
    EXPECT_EQ(rows.zips, (Names{"A.zip", "b.zip"}));
}

TEST(GameRows, NamedListLeavesOutEmptyAndMissingNamesFullListShowsThem)
{
    const GameListIndex ini = indexOf("[gamelist]\r\ngame1=\r\ngame2=Game Two\r\n");
    const Names zips{"game1.zip", "game2.zip", "game3.zip"};
    const GameRows named = buildGameRows(zips, ini, false);
    EXPECT_EQ(named.names, (Names{"Game Two"}));
    EXPECT_EQ(named.zips, (Names{"game2.zip"}));
    const GameRows all = buildGameRows(zips, ini, true);
    EXPECT_EQ(all.names, (Names{"", "Game Two", "game3.zip"}));
    EXPECT_EQ(all.zips, zips);
}

// A zip copied from Windows may have a Windows-1252 name: shown with its accents, handed back
// with its own bytes.
TEST(GameRows, AnUnnamedZipShowsItsDecodedName)
{
    const GameRows all = buildGameRows({"\xC9t\xE9.zip", "caf\xC3\xA9.zip"}, indexOf(""), true);
    EXPECT_EQ(all.names, (Names{"\u00C9t\u00E9.zip", "caf\u00E9.zip"}));
    EXPECT_EQ(all.zips, (Names{"\xC9t\xE9.zip", "caf\xC3\xA9.zip"}));
}

TEST(GameRows, KeysAreTheExactTextBeforeTheFirstEqualsWithoutRegardToCase)
{
    const GameListIndex ini = indexOf("junk=before any section\r\n"
                                      "[GameList]\r\n"
                                      "; game4=commented\r\n"
                                      "GAME1=Game One\r\n"
                                      "game2 = Spaced\r\n"
                                      "game3= Blank = kept \r\n"
                                      "game1=Second wins not\r\n"
                                      "junk=Junk\r\n");
    const GameRows rows =
        buildGameRows({"game1.zip", "game2.zip", "game3.ZIP", "game4.zip", "junk.zip"}, ini, true);
    EXPECT_EQ(rows.names, (Names{"Game One", "game2.zip", " Blank = kept ", "game4.zip", "Junk"}));
}

TEST(GameListIndex, ReadsTheGameListSectionAsEveryIniFileIsRead)
{
    const std::string file = "\xEF\xBB\xBF"
                             "a=before\n"
                             "[other]\r\nshared=Other\r\n"
                             "[GAMELIST]\r"
                             "Shared=First\r\n"
                             ";c=comment\n"
                             "\n"
                             "noequals\n"
                             "shared=Second\n"
                             "=Empty key\n"
                             "k = spaced\n"
                             "caf\xE9=Caf\xE9\n"
                             "[gamelist ]\n"
                             "late=In another section\n"
                             "[gamelist]\n"
                             "again=Second section of the name\n";
    const GameListIndex index = GameListIndex::fromBytes(file);
    const IniFile ini(LineList::fromBytes(file));
    for (const char* key : {"a", "shared", "SHARED", ";c", "", "noequals", "k ", "k", "caf\xC3\xA9",
                            "CAF\xC3\xA9", "late", "again", "missing"}) {
        const std::optional<std::string_view> found = index.find(key);
        const std::optional<std::string> expected = ini.find("gamelist", key);
        EXPECT_EQ(found.has_value(), expected.has_value()) << key;
        if (found && expected) {
            EXPECT_EQ(std::string(*found), *expected) << key;
        }
    }
    EXPECT_EQ(index.find("shared"), "First");
    EXPECT_EQ(index.find("caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(index.find("late"), std::nullopt);
    EXPECT_EQ(index.size(), 5u);
    // Text after a zero byte is never read; an empty or missing file names nothing.
    EXPECT_EQ(GameListIndex::fromBytes(std::string("[gamelist]\na=1\n\0b=2\n", 19)).find("b"), std::nullopt);
    EXPECT_EQ(GameListIndex().find("a"), std::nullopt);
    EXPECT_EQ(GameListIndex::load("/nonexistent/gamelist.ini").size(), 0u);
}

TEST(GameListIndex, FindsEveryKeyOfALargeFile)
{
    std::string file = "[gamelist]\r\n";
    for (int i = 0; i < 5000; ++i)
        file += "Rom" + std::to_string(i) + "=Game " + std::to_string(i) + "\r\n";
    file += "rom7=Duplicate\r\n";
    const GameListIndex index = GameListIndex::fromBytes(file);
    int found = 0;
    for (int i = 0; i < 5000; ++i)
        found += index.find("rOM" + std::to_string(i)) == "Game " + std::to_string(i);
    EXPECT_EQ(found, 5000);
    EXPECT_EQ(index.find("rom5000"), std::nullopt);
    EXPECT_EQ(index.find("rom7"), "Game 7");
}

// Keys crafted to share the slots of an unkeyed hash once made one probe walk every key, and
// reading a list quadratic; under the keyed hash they spread like any others.
TEST(GameListIndex, CraftedKeysSpreadLikeOrdinaryOnes)
{
    const std::vector<std::string> keys = test::fnvCollidingKeys(4096, test::indexSlotBits(4096));
    std::string file = "[gamelist]\r\n";
    for (const std::string& key : keys)
        file += key + "=Name of " + key + "\r\n";
    const GameListIndex index = GameListIndex::fromBytes(file);
    ASSERT_EQ(index.size(), keys.size());
    EXPECT_LT(index.longestProbe(), 256u);
    std::size_t found = 0;
    for (const std::string& key : keys)
        found += index.find("G" + key.substr(1)) == "Name of " + key;
    EXPECT_EQ(found, keys.size());
}

// Each file is a gamelist.ini that once made reading it quadratic.
TEST(GameListIndex, InputsThatOnceFailedSpreadAndFindEveryKey)
{
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/gamelist_index")) {
        ++cases;
        const std::string bytes = readBytes(entry.path().string());
        const GameListIndex index = GameListIndex::fromBytes(bytes);
        EXPECT_LT(index.longestProbe(), 256u) << entry.path();
        const LineList lines = LineList::fromBytes(bytes);
        const IniFile ini(lines);
        for (const std::string& line : lines.lines()) {
            const std::string key = line.substr(0, line.find('='));
            const std::optional<std::string> expected = ini.find("gamelist", key);
            const std::optional<std::string_view> found = index.find(key);
            EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, expected)
                << entry.path() << ": " << line;
        }
    }
    EXPECT_GE(cases, 1);
}

TEST(GameRows, AreReadFromTheFileOnlyWhenThereAreZips)
{
    TempDir dir;
    EXPECT_TRUE(buildGameRows({"a.zip"}, dir.file("missing.ini"), true).names == (Names{"a.zip"}));
    const std::string unreadable = dir.mkdir("sub");
    // A directory where the file should be reads as a missing file.
    EXPECT_EQ(buildGameRows({"a.zip"}, unreadable, false).names, Names{});
    dir.write("gamelist.ini", "[gamelist]\na=Game A\n");
    EXPECT_EQ(buildGameRows({"a.zip"}, dir.file("gamelist.ini"), false).names, (Names{"Game A"}));
    EXPECT_TRUE(buildGameRows({}, dir.file("gamelist.ini"), true).names.empty());
}

TEST(GameListEntry, ReplacesTheFirstLineOfTheKeyAndNothingElse)
{
    const std::string before = "; my games\r\n"
                               "top=not in a section\r\n"
                               "\r\n"
                               "[gamelist]\r\n"
                               "Game1=Old\r\n"
                               "game1=Later duplicate\r\n"
                               "\r\n"
                               "[other]\r\n"
                               "game1=Other section\r\n";
    const std::string after = withGameListEntry(before, "game1", "New");
    EXPECT_EQ(after, "; my games\r\n"
                     "top=not in a section\r\n"
                     "\r\n"
                     "[gamelist]\r\n"
                     "game1=New\r\n"
                     "game1=Later duplicate\r\n"
                     "\r\n"
                     "[other]\r\n"
                     "game1=Other section\r\n");
    EXPECT_EQ(iniOf(after).value("gamelist", "GAME1"), "New");
}

TEST(GameListEntry, AppendsAtTheEndOfTheSectionKeepingLineEnds)
{
    const std::string before = "[gamelist]\n"
                               "a=A\n"
                               "; last comment\n"
                               "\n"
                               "[other]\n"
                               "x=1";
    EXPECT_EQ(withGameListEntry(before, "b", "B"), "[gamelist]\n"
                                                   "a=A\n"
                                                   "; last comment\n"
                                                   "b=B\n"
                                                   "\n"
                                                   "[other]\n"
                                                   "x=1");
    // A section that ends the file without a final line end.
    EXPECT_EQ(withGameListEntry("[GAMELIST]\r\na=A", "b", "B"), "[GAMELIST]\r\na=A\r\nb=B\r\n");
    // A second section of the same name is never read, so it is never written to.
    EXPECT_EQ(withGameListEntry("[gamelist]\r\n[x]\r\n[gamelist]\r\nb=Old\r\n", "b", "B"),
              "[gamelist]\r\nb=B\r\n[x]\r\n[gamelist]\r\nb=Old\r\n");
}

TEST(GameListEntry, AddsTheSectionOrTheFile)
{
    EXPECT_EQ(withGameListEntry("", "game3", "Game Three"), "[gamelist]\r\ngame3=Game Three\r\n");
    EXPECT_EQ(withGameListEntry(";only a comment", "a", "A"), ";only a comment\r\n\r\n[gamelist]\r\na=A\r\n");
    EXPECT_EQ(withGameListEntry("[other]\nx=1\n\n", "a", ""), "[other]\nx=1\n\n[gamelist]\na=\n");
    // An empty key gives a line that begins with "=".
    EXPECT_EQ(iniOf(withGameListEntry("", "", "Nameless")).value("gamelist", ""), "Nameless");
}

TEST(GameListEntry, KeepsTheFileEncodingAndByteOrderMark)
{
    // Windows-1252: "Café" with 0xE9; a new name that fits stays Windows-1252.
    const std::string cp1252 = "[gamelist]\r\ncafe=Caf\xE9\r\n";
    EXPECT_EQ(withGameListEntry(cp1252, "pac", "Pac-Man \xC3\xA9t\xC3\xA9"),
              "[gamelist]\r\ncafe=Caf\xE9\r\npac=Pac-Man \xE9t\xE9\r\n");
    // A key found through its decoded text.
    EXPECT_EQ(withGameListEntry("[gamelist]\r\nd\xE9j\xE0=1\r\n", "D\xC3\xA9j\xC3\xA0", "2"),
              "[gamelist]\r\nD\xE9j\xE0=2\r\n");
    // A name that does not fit turns the whole file into UTF-8.
    const std::string converted = withGameListEntry(cp1252, "jp", "\xE3\x83\x91\xE3\x83\x83\xE3\x82\xAF");
    EXPECT_EQ(converted, "[gamelist]\r\ncafe=Caf\xC3\xA9\r\njp=\xE3\x83\x91\xE3\x83\x83\xE3\x82\xAF\r\n");
    EXPECT_EQ(iniOf(converted).value("gamelist", "cafe"), "Caf\xC3\xA9");
    // UTF-8 with a byte-order mark keeps the mark.
    EXPECT_EQ(withGameListEntry("\xEF\xBB\xBF[gamelist]\na=\xC3\xA9\n", "b", "\xC3\xBC"),
              "\xEF\xBB\xBF[gamelist]\na=\xC3\xA9\nb=\xC3\xBC\n");
}

TEST(GameListEntry, NeverSplitsALineOrHidesTheRestOfTheFile)
{
    const std::string after =
        withGameListEntry("[gamelist]\r\nz=Z\r\n", "a\r\n[evil]", std::string("x\0y\nz", 5));
    const IniFile ini = iniOf(after);
    EXPECT_FALSE(ini.hasSection("evil"));
    EXPECT_EQ(ini.value("gamelist", "a  [evil]"), "x y z");
    EXPECT_EQ(ini.value("gamelist", "z"), "Z");
    // Bytes after a zero byte are never read: the new line goes before them, they stay.
    EXPECT_EQ(withGameListEntry(std::string("[gamelist]\r\na=A\r\n\0junk", 22), "b", "B"),
              std::string("[gamelist]\r\na=A\r\nb=B\r\n\0junk", 27));
}

TEST(GameListFile, IsWrittenInPlaceOrCreatedAndReportsAFailedWrite)
{
    TempDir dir;
    const std::string path = dir.file("gamelist.ini");
    setGameListEntry(path, "game1", "Game One");
    EXPECT_EQ(readBytes(path), "[gamelist]\r\ngame1=Game One\r\n");
    setGameListEntry(path, "GAME1", "Renamed");
    EXPECT_EQ(readBytes(path), "[gamelist]\r\nGAME1=Renamed\r\n");

    const std::string blocked = dir.mkdir("blocked.ini");
    try {
        setGameListEntry(blocked, "a", "A");
        FAIL() << "no error";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + blocked);
    }
    EXPECT_TRUE(platform::directoryExists(blocked));
    EXPECT_THROW(setGameListEntry(dir.file("no/such/gamelist.ini"), "a", "A"), FileCreateError);
}

} // namespace
} // namespace arcavio
