#include "text/visibletext.h"

#include <gtest/gtest.h>

#include <string>

namespace arcavio {
namespace {

TEST(BreaksLine, OnlyLineEndsAndZeroBytes)
{
    EXPECT_FALSE(breaksLine(""));
    EXPECT_FALSE(breaksLine("C:\\roms\\my games\t\xC3\xA9"));
    EXPECT_TRUE(breaksLine("roms\nautoboot_script /tmp/x.lua"));
    EXPECT_TRUE(breaksLine("roms\r"));
    EXPECT_TRUE(breaksLine(std::string("ro\0ms", 5)));
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

} // namespace
} // namespace arcavio
