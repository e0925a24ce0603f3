#include "launch/gameargument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/process.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

using Words = std::vector<std::string>;

TEST(QuoteCommandLineWord, EveryWordSplitsBackAsItself)
{
    for (const std::string word :
         {"game1", "", "x -autoboot_script evil.lua", "tab\there", "\"", "a\"b", "a\\\"b", "end\\", "two\\\\",
          "C:\\roms\\my game\\", "\\\\server\\share", "\"\"", "-norc", " ", "\\", "a\\b\\c"})
        EXPECT_EQ(platform::splitCommandLine(" " + quoteCommandLineWord(word)), Words{word}) << word;

    std::mt19937 random(7);
    const std::string alphabet = "ab \t\"\\-";
    for (int i = 0; i < 5000; ++i) {
        std::string word;
        for (std::size_t n = random() % 9; n > 0; --n)
            word += alphabet[random() % alphabet.size()];
        ASSERT_EQ(platform::splitCommandLine(quoteCommandLineWord(word) + " -norc"), (Words{word, "-norc"}))
            << word;
    }
}

TEST(GameArgument, OneArgumentAndNoOption)
{
    // Set names keep the command line they always had.
    EXPECT_EQ(gameArgument("game1"), "game1");
    EXPECT_EQ(gameArgument("my.game"), "my.game");
    EXPECT_EQ(gameArgument("C:\\roms\\game1"), "C:\\roms\\game1");
    EXPECT_EQ(gameArgument(""), "");
    EXPECT_EQ(gameArgument("x -autoboot_script evil.lua"), "\"x -autoboot_script evil.lua\"");
    EXPECT_EQ(gameArgument("a-b"), "a-b");
    try {
        gameArgument("-cc");
        FAIL() << "no error";
    } catch (const RefusedValueError& e) {
        EXPECT_STREQ(e.what(),
                     "The game \"-cc\" cannot be started: a name beginning with \"-\" would reach the "
                     "emulator as an option");
    }
    EXPECT_THROW(gameArgument("-"), RefusedValueError);
    EXPECT_THROW(gameArgument(std::string("a\0b", 3)), RefusedValueError);
}

// Each file is a game name that once reached the emulator as several words or as an option.
TEST(GameArgument, InputsThatOnceFailedAreOneWordOrRefused)
{
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/cmdline")) {
        const std::string name = test::readBytes(entry.path().string());
        ++cases;
        std::string argument;
        try {
            argument = gameArgument(name);
        } catch (const RefusedValueError&) {
            continue;
        }
        const Words expected = name.empty() ? Words{"-norc"} : Words{name, "-norc"};
        EXPECT_EQ(platform::splitCommandLine(" " + argument + " -norc"), expected) << entry.path();
    }
    EXPECT_GE(cases, 3);
}

} // namespace
} // namespace arcavio
