#include "emulator/mameoptions.h"
#include "launch/optionfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/configuration.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

constexpr const char* kDefaultOptionFile =
    "rompath ROMS\r\nsamplepath samples\r\ncfg_directory cfg\r\nnvram_directory nvram\r\n"
    "memcard_directory memcard\r\ninput_directory inp\r\nhiscore_directory hi\r\n"
    "state_directory sta\r\nartwork_directory artwork\r\nsnapshot_directory snap\r\n"
    "cheat_file cheat.dat\r\nhistory_file history.dat\r\nmameinfo_file mameinfo.dat\r\n"
    "autoframeskip 1\r\nframeskip 0\r\nwaitvsync 0\r\ntriplebuffer 0\r\nwindow 0\r\nddraw 1\r\n"
    "hwstretch 1\r\nresolution 0x0x0\r\nrefresh 0\r\nscanlines 0\r\nswitchres 1\r\nswitchbpp 1\r\n"
    "maximize 0\r\nkeepaspect 1\r\nmatchrefresh 0\r\nsyncrefresh 0\r\ndirty 1\r\nthrottle 0\r\n"
    "full_screen_brightness  0.000000\r\nframes_to_run 0\r\nhotrod 0\r\nhotrodse 0\r\nmouse 0\r\n"
    "joystick 0\r\nbpp 0\r\nnorotate 0\r\nror 0\r\nrol 0\r\nflipx 0\r\nflipy 0\r\n"
    "debug_resolution 0x0x0\r\ngamma  1.000000\r\nantialias 0\r\ntranslucency 0\r\n"
    "beam  1.000000\r\nflicker  0.000000\r\nsamplerate 44100\r\nsamples 1\r\nresamplefilter 1\r\n"
    "sound 1\r\nvolume 0\r\nartwork 0\r\ncheat 0\r\ndebug 0\r\nlog 0\r\nreadconfig 1\r\n";

TEST(OptionFile, DefaultConfigurationGivesTheFiftyNineLines)
{
    LineList ini{"left over"};
    buildOptionFile(defaultConfiguration(), ini);
    EXPECT_EQ(ini.count(), 59);
    EXPECT_EQ(ini.toText(), kDefaultOptionFile);
}

TEST(OptionFile, ValuesComeFromTheirLinesInTheEmulatorsOrder)
{
    LineList config;
    for (int n = 0; n < 69; ++n)
        config.append("v" + std::to_string(n));
    config.set(15, "");
    LineList ini;
    buildOptionFile(config, ini);
    const std::vector<std::string>& lines = ini.lines();
    EXPECT_EQ(lines[0], "rompath v5");
    EXPECT_EQ(lines[10], "cheat_file ");
    EXPECT_EQ(lines[12], "mameinfo_file v17");
    EXPECT_EQ(lines[19], "hwstretch v24");
    EXPECT_EQ(lines[20], "resolution v26xv27xv28");
    EXPECT_EQ(lines[24], "switchbpp v32");
    EXPECT_EQ(lines[25], "maximize v38");
    EXPECT_EQ(lines[26], "keepaspect v33");
    EXPECT_EQ(lines[30], "throttle v37");
    EXPECT_EQ(lines[31], "full_screen_brightness v39");
    const std::vector<std::string> inputs(lines.begin() + 33, lines.begin() + 37);
    EXPECT_EQ(inputs, (std::vector<std::string>{"hotrod v43", "hotrodse v44", "mouse v42", "joystick v41"}));
    EXPECT_EQ(lines[39], "ror v48");
    EXPECT_EQ(lines[40], "rol v47");
    EXPECT_EQ(lines[43], "debug_resolution v52xv53xv54");
    EXPECT_EQ(lines[44], "gamma v68");
    EXPECT_EQ(lines[45], "antialias v55");
    EXPECT_EQ(lines[57], "log v67");
    EXPECT_EQ(lines[58], "readconfig 1");
    // Lines the emulator never sees stay out.
    for (const std::string& line : lines)
        for (const char* unused : {"v0", "v1", "v2", "v3", "v4", "v25", "v51"})
            EXPECT_NE(line.substr(line.find(' ') + 1), unused) << line;
}

TEST(OptionFile, AShortConfigurationFailsAtTheFirstLineTheTableReads)
{
    const auto failure = [](int lines) {
        LineList config(std::vector<std::string>(static_cast<std::size_t>(lines), "0"));
        LineList ini;
        try {
            buildOptionFile(config, ini);
        } catch (const ListIndexError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure(35), "List index out of bounds (38)");
    EXPECT_EQ(failure(42), "List index out of bounds (43)");
    EXPECT_EQ(failure(60), "List index out of bounds (68)");
    EXPECT_EQ(failure(69), "no error");
}

// A value that breaks its line is refused, naming the option; the resolution's three lines too.
TEST(OptionFile, AValueThatWouldAddLinesIsRefused)
{
    LineList config = defaultConfiguration();
    LineList options;
    config.set(28, "16\nautoboot_script x.lua");
    try {
        buildOptionFile(config, options);
        FAIL() << "no error";
    } catch (const RefusedValueError& e) {
        EXPECT_STREQ(e.what(), "The value \"16\xE2\x90\x8A"
                               "autoboot_script x.lua\" of resolution cannot be written into mame.ini: it "
                               "holds a line break or a zero byte");
    }
}

// Each file is a ROM directory that once added lines of its own to mame.ini.
TEST(OptionFile, InputsThatOnceFailedKeepFiftyNineLines)
{
    LineList defaults;
    buildOptionFile(defaultConfiguration(), defaults);
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/optionfile")) {
        ++cases;
        LineList config = defaultConfiguration();
        config.set(5, test::readBytes(entry.path().string()));
        LineList options;
        try {
            buildOptionFile(config, options);
        } catch (const RefusedValueError&) {
            continue;
        }
        const LineList read = LineList::fromText(options.toText());
        ASSERT_EQ(read.count(), 59) << entry.path();
        for (int i = 1; i < 59; ++i)
            EXPECT_EQ(read.at(i), defaults.at(i)) << entry.path();
    }
    EXPECT_GE(cases, 2);
}

TEST(OptionFile, ARecentMameHasOneRowForEachLineInItsOrder)
{
    for (std::size_t i = 0; i < kMameOptionRowCount; ++i) {
        EXPECT_EQ(kMameOptionRows[i].oldName, kOptionFileLines[i].name);
        if (kMameOptionRows[i].turn != MameTurn::Resolution) {
            EXPECT_EQ(kMameOptionRows[i].lines, kOptionFileLines[i].lines) << kOptionFileLines[i].name;
        }
    }
    EXPECT_FALSE(recentMameTakesLine(9));  // memory cards
    EXPECT_FALSE(recentMameTakesLine(28)); // colour depth
    EXPECT_TRUE(recentMameTakesLine(29));  // refresh, as the resolution's rate
    EXPECT_TRUE(recentMameTakesLine(46));  // no rotate
}

} // namespace
} // namespace arcavio
