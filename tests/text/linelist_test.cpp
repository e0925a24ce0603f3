#include <gtest/gtest.h>

#include "text/errors.h"
#include "text/linelist.h"

using arcavio::LineList;

TEST(LineList, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(LineList::fromText("a\r\nb\nc\rd").lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(LineList::fromText("a\n\r\nb").lines(), (std::vector<std::string>{"a", "", "b"}));
    // A lone CR followed by LF is one break, LF followed by CR two.
    EXPECT_EQ(LineList::fromText("a\n\rb").count(), 3);
}

TEST(LineList, FinalBreakStartsNoLineAndNothingIsTrimmed)
{
    EXPECT_EQ(LineList::fromText("x\r\n").count(), 1);
    EXPECT_EQ(LineList::fromText("").count(), 0);
    EXPECT_EQ(LineList::fromText("\r\n").lines(), (std::vector<std::string>{""}));
    EXPECT_EQ(LineList::fromText("  spaced \t\r\n;comment").lines(),
              (std::vector<std::string>{"  spaced \t", ";comment"}));
}

TEST(LineList, ZeroByteEndsTheText)
{
    using namespace std::string_literals;
    EXPECT_EQ(LineList::fromBytes("one\r\ntw\0o\r\nthree"s).lines(), (std::vector<std::string>{"one", "tw"}));
    EXPECT_EQ(LineList::fromBytes("\0abc"s).count(), 0);
}

TEST(LineList, IndexOutsideTheListNamesTheIndex)
{
    const LineList list{"a", "b"};
    EXPECT_EQ(list.at(1), "b");
    try {
        (void)list.at(2);
        FAIL();
    } catch (const arcavio::ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW((void)LineList().at(0), arcavio::ListIndexError);
    EXPECT_THROW((void)list.at(-1), arcavio::ListIndexError);
}

TEST(LineList, AFileWithTwoByteOrderMarksReadsBackAsItWasRead)
{
    // The first mark is skipped; the second is text of the first line, and stays so.
    const LineList read = LineList::fromBytes("\xEF\xBB\xBF\xEF\xBB\xBFmame\r\nx");
    EXPECT_EQ(read.at(0), "\xEF\xBB\xBFmame");
    EXPECT_EQ(LineList::fromBytes(read.toText()), read);
    EXPECT_EQ(LineList{"plain"}.toText(), "plain\r\n");
}

TEST(BreaksLine, OnlyLineEndsAndZeroBytes)
{
    EXPECT_FALSE(arcavio::breaksLine(""));
    EXPECT_FALSE(arcavio::breaksLine("C:\\roms\\my games\t\xC3\xA9"));
    EXPECT_TRUE(arcavio::breaksLine("roms\nautoboot_script /tmp/x.lua"));
    EXPECT_TRUE(arcavio::breaksLine("roms\r"));
    EXPECT_TRUE(arcavio::breaksLine(std::string("ro\0ms", 5)));
}
