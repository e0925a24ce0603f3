#include "editor/editorrules.h"

#include <vector>

#include <gtest/gtest.h>

#include "text/errors.h"

namespace arcavio {
namespace {

TEST(SpinValue, VolumeIsClampedAndNonIntegersGiveTheLowerBound)
{
    EXPECT_EQ(spinValueOfText("5", kVolumeBounds), 0);
    EXPECT_EQ(spinValueOfText("-40", kVolumeBounds), -32);
    EXPECT_EQ(spinValueOfText("-7", kVolumeBounds), -7);
    EXPECT_EQ(spinValueOfText("abc", kVolumeBounds), -32);
    EXPECT_EQ(spinValueOfText("", kVolumeBounds), -32);
    EXPECT_EQ(spinValueOfText("-", kVolumeBounds), -32);
}

TEST(SpinValue, UnboundedFieldsReadDecimalIntegersAndOtherwiseZero)
{
    EXPECT_EQ(spinValueOfText("007", kUnbounded), 7);
    EXPECT_EQ(spinValueOfText(" 12", kUnbounded), 12);
    EXPECT_EQ(spinValueOfText("+3", kUnbounded), 3);
    EXPECT_EQ(spinValueOfText("-2147483648", kUnbounded), -2147483647 - 1);
    EXPECT_EQ(spinValueOfText("1.5", kUnbounded), 0);
    EXPECT_EQ(spinValueOfText("2147483648", kUnbounded), 0);
    EXPECT_EQ(spinValueOfText("", kUnbounded), 0);
}

TEST(SpinValue, SteppingPastTheIntegerRangeStopsAtItsEnds)
{
    EXPECT_EQ(clampToBounds(2147483648LL, kUnbounded), 2147483647);
    EXPECT_EQ(clampToBounds(-2147483649LL, kUnbounded), -2147483647 - 1);
    EXPECT_EQ(clampToBounds(1, kVolumeBounds), 0);
    EXPECT_EQ(clampToBounds(-33, kVolumeBounds), -32);
}

TEST(SpinKeys, OnlyDigitsSignsTheSeparatorAndControlCharactersPass)
{
    for (char32_t c : {U'0', U'5', U'9', U'+', U'-', U'.', U'\b', char32_t(0x16)})
        EXPECT_TRUE(spinFieldAcceptsCharacter(c, U'.')) << static_cast<unsigned>(c);
    for (char32_t c : {U'a', U'x', U' ', U',', U'e', U'$', U'\r', char32_t(0xE9)})
        EXPECT_FALSE(spinFieldAcceptsCharacter(c, U'.')) << static_cast<unsigned>(c);
    EXPECT_TRUE(spinFieldAcceptsCharacter(U',', U','));
    EXPECT_FALSE(spinFieldAcceptsCharacter(U'.', U','));
}

TEST(GameSearchDirectory, RelativeRomsLieBesideTheEmulator)
{
    EXPECT_EQ(gameSearchDirectory("ROMS", "/x/mame", PathStyle::Posix), "/x/ROMS");
    EXPECT_EQ(gameSearchDirectory("/games/roms", "/x/mame", PathStyle::Posix), "/games/roms");
    EXPECT_EQ(gameSearchDirectory("ROMS", "", PathStyle::Posix), "/ROMS");
    EXPECT_EQ(gameSearchDirectory("ROMS", "C:\\mame\\mame.exe", PathStyle::Windows), "C:\\mame\\ROMS");
    EXPECT_EQ(gameSearchDirectory("D:\\roms", "C:\\mame\\mame.exe", PathStyle::Windows), "D:\\roms");
    EXPECT_EQ(gameSearchDirectory("D:roms", "C:\\mame\\mame.exe", PathStyle::Windows), "D:roms");
    EXPECT_EQ(gameSearchDirectory("ROMS", "", PathStyle::Windows), "\\ROMS");
}

LineList numberedLines(int count)
{
    LineList lines;
    for (int n = 0; n < count; ++n)
        lines.append("L" + std::to_string(n));
    return lines;
}

TEST(MissingDirectoryMessage, BuiltInOrFromLines140And141)
{
    EXPECT_EQ(missingDirectoryMessage(Language(), "/x/ROMS"), "Directory \"/x/ROMS\" does not exist");
    LineList lines = numberedLines(142);
    lines.set(140, "Le dossier «");
    lines.set(141, "» manque");
    EXPECT_EQ(missingDirectoryMessage(Language(lines), "/r"), "Le dossier «/r» manque");
    try {
        missingDirectoryMessage(Language(numberedLines(141)), "/r");
        FAIL() << "a file without line 141 must fail";
    } catch (const ListIndexError& e) {
        EXPECT_EQ(e.index(), 141);
    }
}

TEST(EditorLanguage, LinesAreReadInTheWindowsOrder)
{
    std::vector<int> order;
    const Language full(numberedLines(166));
    applyEditorLanguage(full, [&](int n, const std::string& text) {
        EXPECT_EQ(text, "L" + std::to_string(n));
        order.push_back(n);
    });
    std::vector<int> expected;
    for (int n = 17; n <= 78; ++n)
        expected.push_back(n);
    for (int n = 85; n <= 106; ++n)
        expected.push_back(n);
    expected.push_back(112);
    for (int n = 115; n <= 124; ++n)
        expected.push_back(n);
    expected.insert(expected.end(),
                    {126, 127, 128, 130, 79, 80, 81, 82, 83, 84, 107, 108, 109, 159, 111, 113, 114, 131});
    EXPECT_EQ(order, expected);
}

TEST(EditorLanguage, AShortFileStopsAtTheFirstMissingLine)
{
    std::vector<int> order;
    try {
        applyEditorLanguage(Language(numberedLines(149)),
                            [&](int n, const std::string&) { order.push_back(n); });
        FAIL() << "149 lines are too few";
    } catch (const ListIndexError& e) {
        EXPECT_EQ(e.index(), 159);
    }
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.back(), 109);

    order.clear();
    applyEditorLanguage(Language(), [&](int n, const std::string&) { order.push_back(n); });
    EXPECT_TRUE(order.empty());
}

} // namespace
} // namespace arcavio
