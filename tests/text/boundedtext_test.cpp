#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/boundedtext.h"
#include "text/errors.h"
#include "text/integers.h"

using namespace arcavio;

TEST(BoundedText, CutsOnlyWhatIsTooLongAndNeverInsideACharacter)
{
    EXPECT_EQ(boundedText("", 0), "");
    EXPECT_EQ(boundedText("abcd", 4), "abcd");
    EXPECT_EQ(boundedText("abcde", 4), "abcd\xE2\x80\xA6");
    // "é" is two bytes, "€" three, "😀" four: a cut inside one drops all of it.
    EXPECT_EQ(boundedText("ab\xC3\xA9", 3), "ab\xE2\x80\xA6");
    EXPECT_EQ(boundedText("ab\xC3\xA9z", 4), "ab\xC3\xA9\xE2\x80\xA6");
    for (std::size_t limit = 1; limit <= 3; ++limit)
        EXPECT_EQ(boundedText("a\xE2\x82\xAC", limit), "a\xE2\x80\xA6") << limit;
    for (std::size_t limit = 1; limit <= 4; ++limit)
        EXPECT_EQ(boundedText("a\xF0\x9F\x98\x80", limit), "a\xE2\x80\xA6") << limit;
    // Not UTF-8 at all: a run of continuation bytes is cut where the limit falls.
    EXPECT_EQ(boundedText(std::string(10, '\x80'), 6), std::string(6, '\x80') + "\xE2\x80\xA6");
}

TEST(BoundedText, AnErrorQuotesAtMostAPrefixOfAHugeValue)
{
    const std::string huge(10'000'000, '7');
    try {
        parseInteger(huge + "x");
        FAIL();
    } catch (const ConvertError& e) {
        const std::string message = e.what();
        EXPECT_LT(message.size(), kQuotedValueLimit + 40);
        EXPECT_EQ(message,
                  "'" + std::string(kQuotedValueLimit, '7') + "\xE2\x80\xA6' is not a valid integer value");
    }
    const std::string extension(5'000'000, 'e');
    EXPECT_EQ(PictureError::unknownExtension(extension).what(),
              "Unknown picture file extension (." + std::string(kQuotedValueLimit, 'e') + "\xE2\x80\xA6)");
}

TEST(BoundedText, TheKeptIntegerRegressionQuotesABoundedPrefix)
{
    const std::string path = ARCAVIO_SOURCE_DIR "/fuzz/regressions/integers/invalid-value-of-64k-digits";
    const std::string value = test::readBytes(path);
    ASSERT_GT(value.size(), 65536u);
    try {
        parseInteger(value);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + value.substr(0, kQuotedValueLimit) + "\xE2\x80\xA6' is not a valid integer value");
    }
}

TEST(VisibleValue, ShowsWhatCannotBeSeenAndCutsLongTexts)
{
    EXPECT_EQ(visibleValue("roms\nautoboot_script /tmp/x.lua"), "roms\xE2\x90\x8A"
                                                                "autoboot_script /tmp/x.lua");
    EXPECT_EQ(visibleValue(std::string("a\r\0\t\x7F", 5)),
              "a\xE2\x90\x8D\xE2\x90\x80\xE2\x90\x89\xE2\x90\xA1");
    // Text that is not UTF-8 is shown, never passed on broken.
    EXPECT_EQ(visibleValue("Caf\xE9!"), "Caf\xEF\xBF\xBD!");
    EXPECT_EQ(visibleValue("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(visibleValue("\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xAE"), "\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xAE");
    // Characters are counted, not bytes, and a cut never splits one.
    EXPECT_EQ(visibleValue("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "\xC3\xA9\xC3\xA9\xE2\x80\xA6");
    EXPECT_EQ(visibleValue("abc", 3), "abc");
    EXPECT_EQ(visibleValue(std::string(10'000'000, 'x')).size(), 80u + 3u);
}
