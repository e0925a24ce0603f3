#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "text/errors.h"
#include "text/nameorder.h"

using namespace arcavio;
using arcavio::test::TempDir;

TEST(Filesystem, ListsMatchingFilesWithoutRegardToCaseDotNamesIncludedButNoTemporary)
{
    TempDir dir;
    dir.write("b.av2", "");
    dir.write("A.AV2", "");
    dir.write("c.Av2", "");
    dir.write(".hidden.av2", "");
    dir.write(".av2", "");
    dir.write("notes.txt", "");
    dir.write("x.av2.bak", "");
    dir.mkdir("folder.av2");
    auto names = platform::listFiles(dir.path(), "*.av2");
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{".av2", ".hidden.av2", "A.AV2", "b.av2", "c.Av2"}));
    // A write's temporary is never listed, even by "*"; a name only like one is.
    dir.write(".arcavio-Ab12Cd", "");
    dir.write(".arcavio-notes", "");
    platform::replaceFile(dir.file("b.av2"), "written");
    names = platform::listFiles(dir.path(), "*");
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{".arcavio-notes", ".av2", ".hidden.av2", "A.AV2", "b.av2",
                                               "c.Av2", "notes.txt", "x.av2.bak"}));
    EXPECT_THROW(platform::listFiles(dir.file("missing"), "*"), InOutError);
}

TEST(Filesystem, MasksAndCaseInsensitiveOrder)
{
    EXPECT_TRUE(matchesMask("Mame64", "*mame*"));
    EXPECT_TRUE(matchesMask("game.ZIP", "*.zip"));
    EXPECT_FALSE(matchesMask("game.zipx", "*.zip"));
    EXPECT_TRUE(matchesMask("a1", "a?"));
    EXPECT_FALSE(matchesMask("a", "a?"));
    // A name may hold a "*" of its own; the mask's "*" still stands for any text.
    EXPECT_TRUE(matchesMask("*x.av2", "*.av2"));
    EXPECT_TRUE(matchesMask("*", "*"));
    EXPECT_TRUE(matchesMask("a*b", "a*"));
    std::vector<std::string> names{"b.zip", "A.zip", "a.zip", "B2.zip"};
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A.zip", "a.zip", "b.zip", "B2.zip"}));
}

TEST(Filesystem, ExistenceAndCurrentDirectory)
{
    TempDir dir;
    const std::string file = dir.write("f", "x");
    EXPECT_TRUE(platform::fileExists(file));
    EXPECT_FALSE(platform::fileExists(dir.path()));
    EXPECT_TRUE(platform::directoryExists(dir.path()));
    EXPECT_FALSE(platform::directoryExists(file));
    EXPECT_FALSE(platform::fileExists(""));
    {
        arcavio::test::CurrentDirectory cd(dir.path());
        EXPECT_TRUE(platform::fileExists("f"));
    }
    EXPECT_THROW(platform::setCurrentDirectory(dir.file("gone")), InOutError);
    EXPECT_EQ(platform::shortPathName(dir.file("gone")), "");
    EXPECT_EQ(platform::shortPathName(file), file);
    EXPECT_FALSE(platform::programDirectory().empty());
}

TEST(Filesystem, ANameIsFoundWhateverItsCaseTheExactNameFirst)
{
    using platform::EntryKind;
    TempDir dir;
    dir.mkdir("Skin");
    dir.write("SKIN", "");
    dir.write("help.INI", "");
    dir.write("HELP.INI", "");
    dir.write("Help.ini", "");
    dir.write("language.ini", "");
    dir.write("LANGUAGE.INI", "");
    // The kind decides which of two like names is meant.
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.path(), "skin", EntryKind::Directory), dir.file("Skin"));
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.path(), "skin", EntryKind::File), dir.file("SKIN"));
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.path(), "language.ini", EntryKind::File),
              dir.file("language.ini"));
    // Of several like names, the first in byte order, whatever order the folder lists them in.
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.path(), "help.ini", EntryKind::File), dir.file("HELP.INI"));
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.path(), "images", EntryKind::Directory),
              dir.file("images"));
    EXPECT_EQ(platform::findEntryIgnoringCase(dir.file("gone"), "skin", EntryKind::Directory),
              dir.file("gone/skin"));
    arcavio::test::CurrentDirectory cd(dir.path());
    EXPECT_EQ(platform::findEntryIgnoringCase("", "Language.Ini", EntryKind::File), "LANGUAGE.INI");
    EXPECT_EQ(platform::findEntryIgnoringCase("", "help.ini", EntryKind::Directory), "help.ini");
}
