#include <gtest/gtest.h>

#include <filesystem>

#include "app/configlist.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "text/encoding.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::TempDir;

namespace {

struct FakeView final : PreviewView {
    std::vector<std::string> calls;
    std::string failWith;
    void clearPicture() override { calls.push_back("clear"); }
    void setStatusText(const std::string& text) override { calls.push_back("status:" + text); }
    void showPicture(const std::string& path) override
    {
        if (!failWith.empty())
            throw Error(failWith);
        calls.push_back("picture:" + path);
    }
};

} // namespace

TEST(ConfigurationList, ListsAv2FilesSortedWithoutRegardToCase)
{
    TempDir dir;
    for (const char* name : {"zeta.av2", "Alpha.AV2", "beta.Av2", ".hidden.av2", "readme.txt"})
        dir.write(name, "");
    dir.mkdir("folder.av2");
    ConfigurationList list(dir.path());
    list.refresh();
    EXPECT_EQ(list.names(), (std::vector<std::string>{".hidden.av2", "Alpha.AV2", "beta.Av2", "zeta.av2"}));
    EXPECT_EQ(platform::currentDirectory(), dir.path());
    EXPECT_EQ(list.fullPath("beta.Av2"), dir.path() + "/beta.Av2");
    EXPECT_EQ(list.fullPath(""), "");
}

TEST(ConfigurationList, AccentedNamesSortWithoutRegardToCase)
{
    TempDir dir;
    // The last one is in Windows-1252, as a file copied from an old system may be.
    const std::string old = utf8ToCp1252("\u00C9bd.av2").value();
    for (const std::string& name : {std::string("\u00C9bc.av2"), std::string("\u00E9bb.av2"),
                                    std::string("Zulu.av2"), old, std::string("eta.av2")})
        dir.write(name, "");
    ConfigurationList list(dir.path());
    list.refresh();
    EXPECT_EQ(list.names(),
              (std::vector<std::string>{"eta.av2", "Zulu.av2", "\u00E9bb.av2", "\u00C9bc.av2", old}));
}

TEST(ConfigurationList, RefreshOfAVanishedDirectoryKeepsTheOldContents)
{
    TempDir parent, elsewhere;
    const std::string configs = parent.mkdir("configs");
    parent.write("configs/a.av2", "");
    ConfigurationList list(configs);
    list.refresh();
    ASSERT_EQ(list.names().size(), 1u);

    arcavio::test::CurrentDirectory away(elsewhere.path());
    std::filesystem::remove_all(configs);
    EXPECT_THROW(list.refresh(), InOutError);
    EXPECT_EQ(list.names(), (std::vector<std::string>{"a.av2"}));
}

TEST(Preview, LoadsLinesShowsAboutTextAndPicture)
{
    TempDir dir;
    const std::string picture = dir.write("pic.bmp", "x");
    const std::string config = dir.write("c.av2", "/mame\n" + picture + "\nAbout \xE9t\xE9\n0\n");
    LineList lines;
    FakeView view;
    previewConfiguration(config, lines, view);
    EXPECT_EQ(lines.count(), 4);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"status:About \xC3\xA9t\xC3\xA9", "picture:" + picture}));
}

TEST(Preview, MissingOrEmptyPictureClearsIt)
{
    TempDir dir;
    const std::string config = dir.write("c.av2", "/mame\r\n" + dir.file("gone.jpg") + "\r\nText\r\n");
    LineList lines;
    FakeView view;
    previewConfiguration(config, lines, view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"status:Text", "clear"}));

    const std::string noPicture = dir.write("d.av2", "/mame\r\n\r\nOther\r\n");
    view.calls.clear();
    previewConfiguration(noPicture, lines, view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"status:Other", "clear"}));
}

TEST(Preview, NothingSelectedOrFileGoneOnlyClearsThePicture)
{
    LineList lines{"kept"};
    FakeView view;
    previewConfiguration("", lines, view);
    previewConfiguration("/nonexistent/x.av2", lines, view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"clear", "clear"}));
    EXPECT_EQ(lines, LineList{"kept"});
}

TEST(Preview, ShortFileFailsAtLineTwoWithTheLinesKept)
{
    TempDir dir;
    const std::string config = dir.write("c.av2", "/mame\r\npic\r\n");
    LineList lines;
    FakeView view;
    try {
        previewConfiguration(config, lines, view);
        FAIL();
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_EQ(lines.count(), 2);
    EXPECT_TRUE(view.calls.empty());
}

TEST(Preview, PictureErrorComesAfterTheNewAboutText)
{
    TempDir dir;
    const std::string picture = dir.write("p.gif", "x");
    const std::string config = dir.write("c.av2", "/mame\r\n" + picture + "\r\nNew text\r\n");
    LineList lines;
    FakeView view;
    view.failWith = "Unknown picture file extension (.gif)";
    EXPECT_THROW(previewConfiguration(config, lines, view), Error);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"status:New text"}));
}
