#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "config/configuration.h"
#include "platform/readlimits.h"
#include "platform/textfiles.h"
#include "support/temp_dir.h"
#include "text/errors.h"

using namespace arcavio;
using arcavio::test::TempDir;

TEST(Configuration, DefaultsAreTheSixtyNineLinesInFileOrder)
{
    TempDir dir;
    const std::string path = dir.file("new.av2");
    writeConfiguration(path, defaultConfiguration());
    const std::string expected =
        "\r\n\r\n\r\n0\r\n\r\nROMS\r\nsamples\r\ncfg\r\nnvram\r\nmemcard\r\ninp\r\nhi\r\nsta\r\nartwork\r\n"
        "snap\r\ncheat.dat\r\nhistory.dat\r\nmameinfo."
        "dat\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n0\r\n"
        "0\r\n0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n0\r\n1\r\n0\r\n0\r\n 0.000000\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
        "0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n 1.000000\r\n 0.000000\r\n44100\r\n1\r\n1\r\n"
        "1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n 1.000000\r\n";
    EXPECT_EQ(arcavio::test::readBytes(path), expected);
}

TEST(Configuration, TableNamesEveryLineOnceWithAControl)
{
    std::set<std::string_view> controls;
    for (int i = 0; i < kConfigurationLineCount; ++i) {
        EXPECT_EQ(kConfigurationLines[static_cast<std::size_t>(i)].line, i);
        EXPECT_TRUE(controls.insert(kConfigurationLines[static_cast<std::size_t>(i)].control).second);
    }
    EXPECT_EQ(kConfigurationLines[line::Volume].control, "volume");
    EXPECT_EQ(kConfigurationLines[39].defaultValue, " 0.000000");
}

TEST(Configuration, WritingKeepsExactly69LinesAndNeedsThemAll)
{
    TempDir dir;
    LineList lines = defaultConfiguration();
    lines.append("extra");
    const std::string path = dir.file("c.av2");
    writeConfiguration(path, lines);
    EXPECT_EQ(readConfiguration(path).count(), 69);

    LineList shortList;
    for (int i = 0; i < 60; ++i)
        shortList.append("x");
    try {
        writeConfiguration(dir.file("short.av2"), shortList);
        FAIL();
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (60)");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("short.av2")));
}

// A line break inside a value would shift every later line: the folder line would become the
// next option, and what the file held before is lost. Nothing is written.
TEST(Configuration, AValueThatWouldBreakItsLineIsRefusedAndNothingWritten)
{
    TempDir dir;
    const std::string path = dir.write("c.av2", "kept\r\n");
    for (const auto& [line, value, shown] : std::vector<std::tuple<int, std::string, std::string>>{
             {5, "roms\nautoboot_script /tmp/x.lua",
              "roms\xE2\x90\x8A"
              "autoboot_script /tmp/x.lua"},
             {2, "about\r", "about\xE2\x90\x8D"},
             {68, std::string("1.0\0", 4), "1.0\xE2\x90\x80"}}) {
        LineList lines = defaultConfiguration();
        lines.set(line, value);
        try {
            writeConfiguration(path, lines);
            ADD_FAILURE() << line;
        } catch (const RefusedValueError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The value \"" + shown + "\" (line " + std::to_string(line) + ", " +
                          std::string(kConfigurationLines[static_cast<std::size_t>(line)].meaning) +
                          ") cannot be written into a configuration: it holds a line break or a zero byte");
        }
        EXPECT_EQ(arcavio::test::readBytes(path), "kept\r\n");
    }
    // Past line 68 nothing is written, so nothing is refused either.
    LineList longer = defaultConfiguration();
    longer.append("extra\nline");
    writeConfiguration(path, longer);
    EXPECT_EQ(platform::readLines(path, platform::kConfigurationFileLimit), defaultConfiguration());
}

// Each file is an about text that once shifted or hid the later lines of a configuration.
TEST(Configuration, InputsThatOnceFailedKeepSixtyNineLines)
{
    TempDir dir;
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/configuration")) {
        ++cases;
        const std::string path = dir.file("c" + std::to_string(cases) + ".av2");
        LineList lines = defaultConfiguration();
        lines.set(line::AboutText, arcavio::test::readBytes(entry.path().string()));
        try {
            writeConfiguration(path, lines);
        } catch (const RefusedValueError&) {
            EXPECT_FALSE(std::filesystem::exists(path)) << entry.path();
            continue;
        }
        const LineList read = platform::readLines(path, platform::kConfigurationFileLimit);
        ASSERT_EQ(read.count(), 69) << entry.path();
        for (int i = 0; i < 69; ++i) {
            if (i != line::AboutText) {
                EXPECT_EQ(read.at(i), lines.at(i)) << entry.path();
            }
        }
    }
    EXPECT_GE(cases, 2);
}

TEST(Configuration, ValueFormsAndPath)
{
    EXPECT_TRUE(flagOn("1"));
    for (const char* off : {"0", "", " 1", "true", "1 "})
        EXPECT_FALSE(flagOn(off)) << off;
    EXPECT_EQ(integerValue("007"), 7);
    EXPECT_EQ(integerValue(" 12"), 12);
    EXPECT_THROW((void)integerValue("640x480"), ConvertError);
    EXPECT_THROW((void)integerValue(""), ConvertError);
    EXPECT_EQ(configurationPath("/home/me/configs", "abc"), "/home/me/configs/abc.av2");
    EXPECT_EQ(configurationPath("/", ""), "/.av2");
}

TEST(Configuration, LfOnlyFilesReadLikeCrLf)
{
    TempDir dir;
    std::string lf, crlf;
    const LineList defaults = defaultConfiguration();
    for (const std::string& value : defaults.lines()) {
        lf += value + "\n";
        crlf += value + "\r\n";
    }
    EXPECT_EQ(readConfiguration(dir.write("lf.av2", lf)), readConfiguration(dir.write("crlf.av2", crlf)));
}

TEST(Configuration, NamesUpToTheFileNameLimitSave)
{
    TempDir dir;
    for (const std::size_t length : {244u, 251u}) {
        const std::string path = configurationPath(dir.path(), std::string(length, 'n'));
        writeConfiguration(path, defaultConfiguration());
        writeConfiguration(path, defaultConfiguration());
        EXPECT_EQ(readConfiguration(path), defaultConfiguration()) << length;
    }
}

TEST(Configuration, ReadingStopsAtOneMebibyte)
{
    TempDir dir;
    const std::string under = dir.write("under.av2", std::string(platform::kConfigurationFileLimit, 'x'));
    EXPECT_EQ(readConfiguration(under).count(), 1);
    const std::string over = dir.write("over.av2", std::string(platform::kConfigurationFileLimit + 1, 'x'));
    try {
        readConfiguration(over);
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_EQ(e.what(), "Cannot open file " + over);
    }
}
