#include <gtest/gtest.h>

#include "text/inifile.h"

using namespace arcavio;

TEST(IniFile, SectionsAndKeysIgnoreCaseAndValuesKeepBlanks)
{
    const IniFile ini(LineList{"top=1", "[APP]", "WIDTH=640", "Height= 480 ", "[list]", "color=clNavy"});
    EXPECT_EQ(ini.value("App", "width"), "640");
    EXPECT_EQ(ini.value("app", "height"), " 480 ");
    EXPECT_EQ(ini.value("LIST", "Color"), "clNavy");
    EXPECT_EQ(ini.find("app", "top"), std::nullopt); // before the first section
}

TEST(IniFile, KeyIsTheExactTextBeforeTheFirstEquals)
{
    const IniFile ini(LineList{"[s]", "top = 5", "a=b=c", "noequals", "=empty key"});
    EXPECT_EQ(ini.find("s", "top"), std::nullopt);
    EXPECT_EQ(ini.value("s", "top "), " 5");
    EXPECT_EQ(ini.value("s", "a"), "b=c");
    EXPECT_EQ(ini.value("s", ""), "empty key");
    EXPECT_EQ(ini.find("s", "noequals"), std::nullopt);
}

TEST(IniFile, FirstSectionAndFirstKeyWinCommentsIgnored)
{
    const IniFile ini(LineList{"[g]", ";k=comment", "k=first", "k=second", "", "[G]", "k=other", "x=1"});
    EXPECT_EQ(ini.value("g", "k"), "first");
    EXPECT_EQ(ini.find("g", "x"), std::nullopt);
    EXPECT_EQ(ini.find("g", ";k"), std::nullopt);
    EXPECT_FALSE(ini.hasSection("about"));
    EXPECT_TRUE(ini.hasSection("G"));
}
