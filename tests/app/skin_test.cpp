#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "app/helpmessages.h"
#include "app/skin.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::TempDir;

namespace {

// Records every change in order; a picture path containing "bad" fails like a bad bitmap.
struct FakeTarget final : SkinTarget {
    std::vector<std::string> log;
    std::string about = "unset";
    bool regionRefresh = false;
    bool centred = false;

    void loadButtonPicture(int button, ButtonState state, const std::string& path) override
    {
        if (!platform::fileExists(path))
            throw FileOpenError(path);
        if (path.find("bad") != std::string::npos)
            throw PictureError::invalidBitmap();
        log.push_back("pic" + std::to_string(button) + "/" + std::to_string(static_cast<int>(state)));
    }
    void loadBackground(const std::string& path) override
    {
        if (!platform::fileExists(path))
            throw FileOpenError(path);
        log.push_back("back");
    }
    void setButtonTop(int b, int v) override
    {
        log.push_back("top" + std::to_string(b) + "=" + std::to_string(v));
    }
    void setButtonLeft(int b, int v) override
    {
        log.push_back("left" + std::to_string(b) + "=" + std::to_string(v));
    }
    void setListTop(int v) override { log.push_back("list.top=" + std::to_string(v)); }
    void setListLeft(int v) override { log.push_back("list.left=" + std::to_string(v)); }
    void setListWidth(int v) override { log.push_back("list.width=" + std::to_string(v)); }
    void setListHeight(int v) override { log.push_back("list.height=" + std::to_string(v)); }
    void setListColour(SkinColour c) override { log.push_back("list.color=" + std::to_string(c)); }
    void setListFontColour(SkinColour c) override { log.push_back("list.font=" + std::to_string(c)); }
    void setWindowOuterWidth(int v) override { log.push_back("app.width=" + std::to_string(v)); }
    void setWindowOuterHeight(int v) override { log.push_back("app.height=" + std::to_string(v)); }
    void setSkinAboutText(const std::string& text) override { about = text; }
    void setImageTop(int v) override { log.push_back("image.top=" + std::to_string(v)); }
    void setImageLeft(int v) override { log.push_back("image.left=" + std::to_string(v)); }
    void setImageWidth(int v) override { log.push_back("image.width=" + std::to_string(v)); }
    void setImageHeight(int v) override { log.push_back("image.height=" + std::to_string(v)); }
    void setRegionRefresh(bool on) override { regionRefresh = on; }
    void centreOnScreen() override { centred = true; }
};

const char* kBitmaps[] = {"runn", "runu", "runc", "editn", "editu", "editc", "deln", "delu", "delc", "newn",
                          "newu", "newc", "refn", "refu",  "refc",  "ksn",   "ksu",  "ksc",  "appb"};

std::string completeIni(const std::string& appExtra = "disabletransparent=0\r\n")
{
    std::string ini;
    int top = 10;
    for (const char* section : {"run", "edit", "del", "new", "ref", "ks"}) {
        ini += std::string("[") + section + "]\r\ntop=" + std::to_string(top) + "\r\nleft=5\r\n";
        top += 10;
    }
    ini += "[list]\r\ntop=1\r\nleft=2\r\nwidth=300\r\nHeight=200\r\nColor=clNavy\r\nfontColor=$00FFFF\r\n";
    ini += "[App]\r\nwidth=640\r\nHeight=480\r\n" + appExtra + "[About]\r\nAbout=Neon skin\r\n";
    ini += "[image]\r\ntop=20\r\nleft=30\r\nwidth=100\r\nHeight=80\r\n";
    return ini;
}

std::string makeSkin(TempDir& dir, const std::string& ini)
{
    const std::string skin = dir.mkdir("skin");
    for (const char* name : kBitmaps)
        dir.write(std::string("skin/") + name + ".bmp", "BM");
    if (!ini.empty())
        dir.write("skin/skin.ini", ini);
    return skin;
}

} // namespace

TEST(SkinColour, NamesAndNumbers)
{
    EXPECT_EQ(parseSkinColour("clNavy"), 0x800000u);
    EXPECT_EQ(parseSkinColour("$800000"), 0x800000u);
    EXPECT_EQ(parseSkinColour("CLNAVY"), 0x800000u);
    EXPECT_EQ(parseSkinColour("clRed"), 0x0000FFu);
    EXPECT_EQ(parseSkinColour("clBtnFace"), 0x8000000Fu);
    EXPECT_EQ(parseSkinColour("clInfoBk"), 0x80000018u);
    EXPECT_EQ(parseSkinColour("clNone"), kNoColour);
    EXPECT_EQ(parseSkinColour("255"), 255u);
    EXPECT_TRUE(isSystemColour(parseSkinColour("$80000005")));
    EXPECT_THROW(parseSkinColour("navy"), ConvertError);
    EXPECT_THROW(parseSkinColour(""), ConvertError);
}

TEST(Skin, NoDirectorySetsOnlyTheBuiltInAboutText)
{
    TempDir dir;
    FakeTarget target;
    applySkin(dir.file("skin"), target);
    EXPECT_EQ(target.about, builtinSkinAboutText());
    EXPECT_TRUE(target.log.empty());
    EXPECT_FALSE(target.regionRefresh);
    EXPECT_FALSE(target.centred);
}

TEST(Skin, CompleteSkinAppliesEveryKeyInOrder)
{
    TempDir dir;
    FakeTarget target;
    applySkin(makeSkin(dir, completeIni()), target);
    ASSERT_EQ(target.log.size(), 19u + 12u + 6u + 2u + 4u);
    EXPECT_EQ(target.log[0], "pic0/0");
    EXPECT_EQ(target.log[1], "pic0/" + std::to_string(static_cast<int>(ButtonState::PointerOver)));
    EXPECT_EQ(target.log[2], "pic0/" + std::to_string(static_cast<int>(ButtonState::Pressed)));
    EXPECT_EQ(target.log[18], "back");
    EXPECT_EQ(target.log[19], "top0=10");
    EXPECT_EQ(target.log[20], "left0=5");
    EXPECT_EQ(target.log[29], "top5=60");
    EXPECT_EQ(target.log[31], "list.top=1");
    EXPECT_EQ(target.log[35], "list.color=" + std::to_string(0x800000));
    EXPECT_EQ(target.log[36], "list.font=" + std::to_string(0x00FFFF));
    EXPECT_EQ(target.log[37], "app.width=640");
    EXPECT_EQ(target.log[38], "app.height=480");
    EXPECT_EQ(target.log[39], "image.top=20");
    EXPECT_EQ(target.about, "Neon skin");
    EXPECT_TRUE(target.regionRefresh);
    EXPECT_TRUE(target.centred);
}

TEST(Skin, AboutSectionAbsentGivesTheBuiltInText)
{
    TempDir dir;
    FakeTarget target;
    std::string ini = completeIni();
    ini.replace(ini.find("[About]\r\nAbout=Neon skin\r\n"), 26, "");
    applySkin(makeSkin(dir, ini), target);
    EXPECT_EQ(target.about, builtinSkinAboutText());
    EXPECT_TRUE(target.centred);
}

TEST(Skin, DisableTransparentOnlyForAnExactOne)
{
    for (const auto& [value, refresh] :
         std::vector<std::pair<std::string, bool>>{{"disabletransparent=1\r\n", false},
                                                   {"DisableTransparent=1 \r\n", true},
                                                   {"disabletransparent=0\r\n", true},
                                                   {"", true}}) {
        TempDir dir;
        FakeTarget target;
        applySkin(makeSkin(dir, completeIni(value)), target);
        EXPECT_EQ(target.regionRefresh, refresh) << value;
    }
}

TEST(Skin, OnlyTheFirstOccurrenceOfASectionIsSearched)
{
    TempDir dir;
    FakeTarget target;
    applySkin(makeSkin(dir, completeIni("") + "[app]\r\ndisabletransparent=1\r\n"), target);
    EXPECT_TRUE(target.regionRefresh);
}

TEST(Skin, NamesInCapitalsAreFound)
{
    TempDir dir;
    FakeTarget target;
    std::string ini = completeIni();
    ini.replace(ini.find("[App]\r\nwidth="), 13, "[APP]\r\nWIDTH=");
    applySkin(makeSkin(dir, ini), target);
    EXPECT_EQ(target.log[37], "app.width=640");
}

TEST(Skin, BlanksAroundTheEqualsSignFailWithTheEmptyValue)
{
    TempDir dir;
    FakeTarget target;
    std::string ini = completeIni();
    ini.replace(ini.find("[run]\r\ntop=10"), 13, "[run]\r\ntop = 10");
    try {
        applySkin(makeSkin(dir, ini), target);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(target.log.size(), 19u); // the pictures stay
    EXPECT_EQ(target.about, "unset");
    EXPECT_FALSE(target.centred);
}

TEST(Skin, ValueWithATrailingBlankFailsNamingIt)
{
    TempDir dir;
    FakeTarget target;
    std::string ini = completeIni();
    ini.replace(ini.find("width=640"), 9, "width=640 ");
    try {
        applySkin(makeSkin(dir, ini), target);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'640 ' is not a valid integer value");
    }
    EXPECT_EQ(target.log.back(), "list.font=" + std::to_string(0x00FFFF));
}

TEST(Skin, MissingSkinIniFailsAfterThePictures)
{
    TempDir dir;
    FakeTarget target;
    EXPECT_THROW(applySkin(makeSkin(dir, ""), target), ConvertError);
    EXPECT_EQ(target.log.size(), 19u);
    EXPECT_FALSE(target.centred);
}

TEST(Skin, MissingBitmapNamesItsFullPathAndStopsThere)
{
    TempDir dir;
    FakeTarget target;
    const std::string skin = makeSkin(dir, completeIni());
    std::remove((skin + "/deln.bmp").c_str());
    try {
        applySkin(skin, target);
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + skin + "/deln.bmp");
    }
    EXPECT_EQ(target.log.size(), 6u);
    EXPECT_EQ(target.about, "unset");
}

// A skin may come from anyone: every place and size is brought within what a screen shows,
// whatever the file says, and the step goes on in its order.
TEST(Skin, GeometryIsClampedToWhatAScreenCanShow)
{
    const auto extremes = [](const std::string& value) {
        std::string ini;
        for (const char* section : {"run", "edit", "del", "new", "ref", "ks"})
            ini += std::string("[") + section + "]\r\ntop=" + value + "\r\nleft=" + value + "\r\n";
        ini += "[list]\r\ntop=" + value + "\r\nleft=" + value + "\r\nwidth=" + value + "\r\nHeight=" + value +
               "\r\nColor=clNavy\r\nfontColor=clAqua\r\n";
        ini += "[App]\r\nwidth=" + value + "\r\nHeight=" + value + "\r\n";
        ini += "[image]\r\ntop=" + value + "\r\nleft=" + value + "\r\nwidth=" + value +
               "\r\nHeight=" + value + "\r\n";
        return ini;
    };
    const std::string big = std::to_string(kSkinSizeLimit);
    const std::string far = std::to_string(kSkinPositionLimit);
    const std::string nearSide = "-" + far;
    for (const auto& [value, position, size] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"2147483647", far, big},
                                                                        {"$7FFFFFFF", far, big},
                                                                        {"-2147483648", nearSide, "0"},
                                                                        {"$80000000", nearSide, "0"},
                                                                        {"$FFFFFFFF", "-1", "0"},
                                                                        {"8193", far, big},
                                                                        {"-8193", nearSide, "0"},
                                                                        {"8192", far, big},
                                                                        {"-5", "-5", "0"}}) {
        TempDir dir;
        FakeTarget target;
        applySkin(makeSkin(dir, extremes(value)), target);
        ASSERT_EQ(target.log.size(), 19u + 12u + 6u + 2u + 4u) << value;
        const std::vector<std::string> geometry(target.log.begin() + 19, target.log.end());
        std::vector<std::string> expected;
        for (int b = 0; b < 6; ++b) {
            expected.push_back("top" + std::to_string(b) + "=" + position);
            expected.push_back("left" + std::to_string(b) + "=" + position);
        }
        for (const std::string& entry :
             {"list.top=" + position, "list.left=" + position, "list.width=" + size, "list.height=" + size,
              "list.color=" + std::to_string(0x800000), "list.font=" + std::to_string(0xFFFF00),
              "app.width=" + size, "app.height=" + size, "image.top=" + position, "image.left=" + position,
              "image.width=" + size, "image.height=" + size})
            expected.push_back(entry);
        EXPECT_EQ(geometry, expected) << value;
        EXPECT_TRUE(target.centred) << value;
    }
}

TEST(Skin, ClampingKeepsTheFirstErrorAndWhatCameBefore)
{
    TempDir dir;
    FakeTarget target;
    std::string ini = completeIni();
    ini.replace(ini.find("[list]\r\ntop=1"), 13, "[list]\r\ntop=99999999");
    ini.replace(ini.find("width=300"), 9, "width=1e9");
    try {
        applySkin(makeSkin(dir, ini), target);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'1e9' is not a valid integer value");
    }
    EXPECT_EQ(target.log.back(), "list.left=2");
    EXPECT_EQ(target.log[target.log.size() - 2], "list.top=" + std::to_string(kSkinPositionLimit));
    EXPECT_FALSE(target.centred);
}

// Each file is a skin.ini that once took the window past its memory or overflowed its layout.
TEST(Skin, InputsThatOnceFailedStayWithinTheLimits)
{
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/skin")) {
        TempDir dir;
        FakeTarget target;
        try {
            applySkin(makeSkin(dir, arcavio::test::readBytes(entry.path().string())), target);
        } catch (const Error&) {
            // A skin may fail; what it applied before must still be within the limits.
        }
        for (const std::string& applied : target.log) {
            const std::size_t equals = applied.find('=');
            if (equals == std::string::npos || applied.find("color") != std::string::npos ||
                applied.find("font") != std::string::npos)
                continue;
            const int value = std::stoi(applied.substr(equals + 1));
            const bool size =
                applied.find("width") != std::string::npos || applied.find("height") != std::string::npos;
            EXPECT_GE(value, size ? 0 : -kSkinPositionLimit) << entry.path() << ": " << applied;
            EXPECT_LE(value, size ? kSkinSizeLimit : kSkinPositionLimit) << entry.path() << ": " << applied;
        }
        ++cases;
    }
    EXPECT_GE(cases, 3);
}

TEST(Skin, SkinIniIsReadUpToOneMebibyteAndNeverFromAPipe)
{
    TempDir dir;
    std::string ini = completeIni() + ";";
    ini += std::string(platform::kSkinFileLimit - ini.size(), 'x');
    const std::string skin = makeSkin(dir, ini);
    FakeTarget whole;
    applySkin(skin, whole);
    EXPECT_TRUE(whole.centred);
    EXPECT_EQ(whole.about, "Neon skin");

    const std::string path = skin + "/skin.ini";
    dir.write("skin/skin.ini", ini + "x");
    FakeTarget over;
    try {
        applySkin(skin, over);
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_EQ(e.what(), "Cannot open file " + path);
    }
    EXPECT_FALSE(over.centred);

    std::remove(path.c_str());
    alarm(20);
    dir.mkfifo("skin/skin.ini");
    FakeTarget piped;
    EXPECT_THROW(applySkin(skin, piped), FileOpenError);
    alarm(0);
}
