#include "app/skin.h"

#include <algorithm>
#include <array>

#include "app/helpmessages.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"
#include "text/errors.h"
#include "text/inifile.h"
#include "text/integers.h"
#include "text/paths.h"

namespace arcavio {
namespace {

struct NamedColour {
    std::string_view name;
    SkinColour value;
};

constexpr std::array<NamedColour, 42> kColourNames = {{
    {"clblack", 0x000000},
    {"clmaroon", 0x000080},
    {"clgreen", 0x008000},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clgray", 0x808080},
    {"clsilver", 0xC0C0C0},
    {"clred", 0x0000FF},
    {"cllime", 0x00FF00},
    {"clyellow", 0x00FFFF},
    {"clblue", 0xFF0000},
    {"clfuchsia", 0xFF00FF},
    {"claqua", 0xFFFF00},
    {"clwhite", 0xFFFFFF},
    {"clscrollbar", 0x80000000},
    {"clbackground", 0x80000001},
    {"clactivecaption", 0x80000002},
    {"clinactivecaption", 0x80000003},
    {"clmenu", 0x80000004},
    {"clwindow", 0x80000005},
    {"clwindowframe", 0x80000006},
    {"clmenutext", 0x80000007},
    {"clwindowtext", 0x80000008},
    {"clcaptiontext", 0x80000009},
    {"clactiveborder", 0x8000000A},
    {"clinactiveborder", 0x8000000B},
    {"clappworkspace", 0x8000000C},
    {"clhighlight", 0x8000000D},
    {"clhighlighttext", 0x8000000E},
    {"clbtnface", 0x8000000F},
    {"clbtnshadow", 0x80000010},
    {"clgraytext", 0x80000011},
    {"clbtntext", 0x80000012},
    {"clinactivecaptiontext", 0x80000013},
    {"clbtnhighlight", 0x80000014},
    {"cl3ddkshadow", 0x80000015},
    {"cl3dlight", 0x80000016},
    {"clinfotext", 0x80000017},
    {"clinfobk", 0x80000018},
    {"clnone", kNoColour},
}};

// The nineteen bitmaps in their loading order; button -1 is the background.
struct SkinBitmap {
    std::string_view file;
    int button;
    ButtonState state;
};

constexpr std::array<SkinBitmap, 19> kBitmaps = {{
    {"runn.bmp", 0, ButtonState::Rest},         {"runu.bmp", 0, ButtonState::PointerOver},
    {"runc.bmp", 0, ButtonState::Pressed},      {"editn.bmp", 1, ButtonState::Rest},
    {"editu.bmp", 1, ButtonState::PointerOver}, {"editc.bmp", 1, ButtonState::Pressed},
    {"deln.bmp", 2, ButtonState::Rest},         {"delu.bmp", 2, ButtonState::PointerOver},
    {"delc.bmp", 2, ButtonState::Pressed},      {"newn.bmp", 3, ButtonState::Rest},
    {"newu.bmp", 3, ButtonState::PointerOver},  {"newc.bmp", 3, ButtonState::Pressed},
    {"refn.bmp", 4, ButtonState::Rest},         {"refu.bmp", 4, ButtonState::PointerOver},
    {"refc.bmp", 4, ButtonState::Pressed},      {"ksn.bmp", 5, ButtonState::Rest},
    {"ksu.bmp", 5, ButtonState::PointerOver},   {"ksc.bmp", 5, ButtonState::Pressed},
    {"appb.bmp", -1, ButtonState::Rest},
}};

constexpr std::array<std::string_view, 6> kButtonSections = {"run", "edit", "del", "new", "ref", "ks"};

} // namespace

SkinColour parseSkinColour(std::string_view text)
{
    const std::string folded = foldCase(text);
    for (const NamedColour& colour : kColourNames)
        if (colour.name == folded)
            return colour.value;
    return static_cast<SkinColour>(parseIntegerOrHex(text));
}

int skinSize(std::int32_t value)
{
    return std::clamp(value, 0, kSkinSizeLimit);
}

int skinPosition(std::int32_t value)
{
    return std::clamp(value, -kSkinPositionLimit, kSkinPositionLimit);
}

std::string skinDirectoryIn(const std::string& dataDirectory)
{
    return platform::findEntryIgnoringCase(dataDirectory, "skin", platform::EntryKind::Directory);
}

void applySkin(const std::string& skinDirectory, SkinTarget& target)
{
    if (!platform::directoryExists(skinDirectory)) {
        target.setSkinAboutText(builtinSkinAboutText());
        return;
    }
    for (const SkinBitmap& bitmap : kBitmaps) {
        const std::string path =
            platform::findEntryIgnoringCase(skinDirectory, bitmap.file, platform::EntryKind::File);
        if (bitmap.button < 0)
            target.loadBackground(path);
        else
            target.loadButtonPicture(bitmap.button, bitmap.state, path);
    }

    const IniFile ini = platform::readIniFile(
        platform::findEntryIgnoringCase(skinDirectory, "skin.ini", platform::EntryKind::File),
        platform::kSkinFileLimit);
    const auto position = [&ini](std::string_view section, std::string_view key) {
        return skinPosition(parseIntegerOrHex(ini.value(section, key)));
    };
    const auto size = [&ini](std::string_view section, std::string_view key) {
        return skinSize(parseIntegerOrHex(ini.value(section, key)));
    };
    for (int button = 0; button < 6; ++button) {
        target.setButtonTop(button, position(kButtonSections[button], "top"));
        target.setButtonLeft(button, position(kButtonSections[button], "left"));
    }
    target.setListTop(position("list", "top"));
    target.setListLeft(position("list", "left"));
    target.setListWidth(size("list", "width"));
    target.setListHeight(size("list", "Height"));
    target.setListColour(parseSkinColour(ini.value("list", "Color")));
    target.setListFontColour(parseSkinColour(ini.value("list", "fontColor")));
    target.setWindowOuterWidth(size("App", "width"));
    target.setWindowOuterHeight(size("App", "Height"));
    target.setSkinAboutText(ini.find("About", "About").value_or(builtinSkinAboutText()));
    target.setImageTop(position("image", "top"));
    target.setImageLeft(position("image", "left"));
    target.setImageWidth(size("image", "width"));
    target.setImageHeight(size("image", "Height"));
    target.setRegionRefresh(ini.find("app", "disabletransparent").value_or("0") != "1");
    target.centreOnScreen();
}

} // namespace arcavio
