#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/helptext.h"

using namespace arcavio;

namespace {

bool isRuleOf(const std::string& line, char mark, std::size_t length)
{
    return line.size() == length &&
           std::all_of(line.begin(), line.end(), [mark](char c) { return c == mark; });
}

// Index of the first line at or after `from` that begins with `start`, or -1.
int findLineStarting(const std::vector<std::string>& lines, const std::string& start, int from)
{
    for (int i = from; i < static_cast<int>(lines.size()); ++i)
        if (lines[static_cast<std::size_t>(i)].starts_with(start))
            return i;
    return -1;
}

} // namespace

TEST(BuiltinHelpText, TitleSizeAndEnding)
{
    const auto& lines = builtinHelpText().lines();
    ASSERT_GE(lines.size(), 3u);
    const std::string title = "HELP FILE FOR ARCAVIO 2 - HELP FILE 1.0 - BUILD IN EXE";
    EXPECT_EQ(lines[0], title);
    EXPECT_TRUE(isRuleOf(lines[1], '=', title.size() + 1)) << lines[1];

    EXPECT_EQ(lines.size(), 347u);
    std::size_t characters = 0;
    for (const auto& line : lines)
        characters += line.size() + 1;
    EXPECT_GT(characters, 12000u);
    EXPECT_LT(characters, 13600u);

    // Two empty lines end the text, after the last paragraph.
    EXPECT_EQ(lines[lines.size() - 1], "");
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_NE(lines[lines.size() - 3], "");
}

TEST(BuiltinHelpText, SectionsAndSubsectionsInEditorOrder)
{
    const auto& lines = builtinHelpText().lines();
    std::vector<std::string> sections;
    std::vector<std::string> subsections;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || isRuleOf(line, '-', line.size()))
            continue;
        const bool under = isRuleOf(lines[i + 1], '-', line.size());
        const bool over = isRuleOf(lines[i - 1], '-', line.size());
        if (under && over)
            sections.push_back(line);
        else if (under)
            subsections.push_back(line);
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"CONFIGURATIONS DETAILS", "VIDEO OPTIONS", "INPUT OPTIONS",
                                                  "CORE OPTIONS"}));
    EXPECT_EQ(subsections, (std::vector<std::string>{"Video Options", "Vector Game Options", "Sound Options",
                                                     "Misc Options"}));
}

TEST(BuiltinHelpText, EveryEntryInOrderWithItsText)
{
    const auto& lines = builtinHelpText().lines();
    const std::vector<std::string> entries = {
        "CONFIGURATIONS DETAILS",
        "Mame Exe File:",
        "Configuration Image:",
        "About Text:",
        "Run A Specified Game:",
        "DIRECTORIES:",
        "ROMS:",
        "Samples:",
        "Cfg:",
        "NVRAM:",
        "Memory cards:",
        "Input:",
        "HI-Score:",
        "States:",
        "ArtWork:",
        "Snapshots:",
        "FILES:",
        "Cheat File:",
        "History File:",
        "Mame Info File:",
        "VIDEO OPTIONS",
        "FRAME SKIP:",
        "AUTO FRAME SKIP:",
        "WAIT VSYNC:",
        "TRIPPLE BUFFER:",
        "WINDOW:",
        "DIRECT DRAW:",
        "HARDWARE STRETCH:",
        "RESOLUTION:",
        "AUTO SELECT THE RESOLUTION:",
        "REFRESH RATE:",
        "SCANLINES:",
        "SWITCH THE RESOLUTION:",
        "COLOR DEPTH SWITCH:",
        "MAXIMIZE:",
        "KEEP ASPECT:",
        "MATCH REFRESH:",
        "SYNC REFRESH:",
        "DIRTY:",
        "THROTTLE:",
        "BRIGHTNESS (FULL SCREEN):",
        "FRAMES TO RUN:",
        "INPUT OPTIONS",
        "HOTROD/HOTROD SE:",
        "MOUSE:",
        "JOYSTICK:",
        "CORE OPTIONS",
        "Video Options",
        "BITMAP DEPTH:",
        "NO ROTATE/ROTATE RIGHT/ROTATE LEFT/FLIP HORRIZONTALLY/FLIP VERTICALLY:",
        "DEBUG RESOLUTION:",
        "AUTO SELECT THE DEBUG RESOLUTION:",
        "GAMMA CORRECTION:",
        "Vector Game Options",
        "ANTIALIASING:",
        "TRANSLUCENCY:",
        "BEAM:",
        "FLICKER:",
        "Sound Options",
        "SAMPLES:",
        "RESAMPLE FILTER:",
        "SOUNDS:",
        "VOLUME:",
        "Misc Options",
        "LOG FILE:",
        "CHEAT:",
        "DEBUG:",
        "ART WORK:"};
    int at = 0;
    for (const auto& entry : entries) {
        const int found = findLineStarting(lines, entry, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << entry;
        const std::string& line = lines[static_cast<std::size_t>(found)];
        // A label on its own line is followed by its paragraph; the one-line entries carry text.
        if (line == entry && entry.back() == ':' && entry != "DIRECTORIES:" && entry != "FILES:") {
            ASSERT_LT(static_cast<std::size_t>(found) + 1, lines.size());
            EXPECT_GT(lines[static_cast<std::size_t>(found) + 1].size(), 20u) << entry;
        } else if (line != entry) {
            EXPECT_GT(line.size(), entry.size() + 10) << entry;
        }
        at = found + 1;
    }
    EXPECT_GE(findLineStarting(lines, "The width of the vector beam, from 1.00 to 16.00", 0), 0);
    EXPECT_GE(findLineStarting(lines, "from 0.00 (no flicker) to 100.00", 0), 0);
}

TEST(HelpTextShown, LongLinesAreBrokenAfterABlankOrAtTheLimit)
{
    const LineList lines{"short", "aaaa bbbb cccc", "abcdefghij", "\xC3\xA9\xC3\xA9\xC3\xA9", ""};
    EXPECT_EQ(withLongLinesBroken(lines, 8), (LineList{"short", "aaaa ", "bbbb ", "cccc", "abcdefgh", "ij",
                                                       "\xC3\xA9\xC3\xA9\xC3\xA9", ""}));
    // A blank early in the piece would leave a short line: the limit is used instead.
    EXPECT_EQ(withLongLinesBroken(LineList{"a bcdefghijk"}, 8), (LineList{"a bcdefg", "hijk"}));
    // Never inside a character.
    EXPECT_EQ(withLongLinesBroken(LineList{"\xC3\xA9\xC3\xA9\xC3\xA9"}, 5),
              (LineList{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));

    const std::string huge(1 << 20, 'h');
    const LineList broken = withLongLinesBroken(LineList{huge});
    EXPECT_EQ(broken.count(), (1 << 20) / static_cast<int>(kLongestShownHelpLine));
    std::string joined;
    for (const std::string& line : broken.lines()) {
        EXPECT_LE(line.size(), kLongestShownHelpLine);
        joined += line;
    }
    EXPECT_EQ(joined, huge);
}
