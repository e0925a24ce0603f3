#include "launch/launch.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "base/language.h"
#include "config/configuration.h"
#include "launch/optionfile.h"
#include "launch_fakes.h"
#include "support/fake_emulator.h"
#include "support/fake_game_picker.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

namespace fs = std::filesystem;
using test::Log;

std::string canonical(const std::string& path)
{
    return fs::canonical(path).string();
}

// A workspace with an emulator directory holding the fake emulator, a ROMS folder with two
// games, and a configuration file selected in the list.
class LaunchTest : public ::testing::Test {
  protected:
    test::TempDir root;
    std::string emuDir = root.mkdir("MAME");
    std::string emulator = emuDir + "/mame";
    std::string ini = emuDir + "/mame.ini";
    std::string log = root.file("record");
    test::CurrentDirectory here{root.path()};
    test::FakeEmulatorSettings emulatorSettings{log, 0};
    test::RecordingMessages messages;
    Log events;
    test::RecordingOwner owner{events};
    test::ObservedProcesses processes{events};
    ProcessLauncher executor{&owner, processes};
    test::FakeGamePicker picker;
    LineList config = defaultConfiguration();
    LineList inifile;
    Language lang;
    std::string selected = root.write("pacman.av2", "whatever is on disk");

    LaunchTest()
    {
        fs::create_symlink(test::fakeEmulatorPath(), emulator);
        root.write("MAME/ROMS/pacman.zip", "z");
        root.write("MAME/ROMS/my.game.zip", "z");
        config.set(line::Emulator, emulator);
        picker.listsDirectory = true;
        picker.chosen = true;
    }

    void run() { runConfiguration({selected, config, lang, picker, inifile, executor, {}}); }

    std::string defaultOptionFile() const
    {
        LineList lines;
        buildOptionFile(defaultConfiguration(), lines);
        return lines.toText();
    }

    std::optional<test::FakeEmulatorRecord> record() const { return test::readFakeEmulatorRecord(log); }
};

TEST_F(LaunchTest, FixedGameStartsTheEmulatorInItsDirectoryWithTheOptionFileWritten)
{
    config.set(line::FixedGameFlag, "1");
    config.set(line::Game, "game1.zip");
    run();
    EXPECT_EQ(picker.shows(), 0);
    const auto seen = record();
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->argv, (Log{emulator, "game1"}));
    EXPECT_EQ(seen->workingDirectory, canonical(emuDir));
    EXPECT_EQ(seen->optionFile, defaultOptionFile());
    EXPECT_EQ(test::readBytes(ini), defaultOptionFile());
    EXPECT_EQ(inifile.count(), 59);
    // Hidden from the start until the emulator has ended, then the program's directory again.
    EXPECT_EQ(events, (Log{"started", "hide", "ended", "show"}));
    EXPECT_EQ(platform::currentDirectory(), platform::programDirectory());
    EXPECT_TRUE(messages.plain.empty() && messages.errors.empty());

    const std::string first = test::readBytes(ini);
    run();
    EXPECT_EQ(test::readBytes(ini), first);
    EXPECT_EQ(test::readBytes(selected), "whatever is on disk");
}

TEST_F(LaunchTest, TheGameLosesOnlyItsExtension)
{
    config.set(line::FixedGameFlag, "1");
    // A zip copied from Windows keeps its Windows-1252 name; the configuration holds it as text.
    root.write("MAME/ROMS/cp\xE9.zip", "z");
    root.write("MAME/ROMS/caf\u00E9.zip", "z");
    root.write("MAME/ROMS/caf\xE9.zip", "z");
    const std::vector<std::pair<std::string, Log>>
        cases = {{"game1", {emulator, "game1"}},
                 {"my.game.zip", {emulator, "my.game"}},
                 {"", {emulator}},
                 {"cp\u00E9.zip", {emulator, "cp\xE9"}},
                 {"caf\u00E9.zip", {emulator, "caf\u00E9"}}, // the name as written wins
                 {"n\u00E9.zip", {emulator, "n\u00E9"}}};
    for (const auto& [game, argv] : cases) {
        fs::remove(log);
        config.set(line::Game, game);
        run();
        ASSERT_TRUE(record()) << game;
        EXPECT_EQ(record()->argv, argv) << game;
    }
}

TEST_F(LaunchTest, OnlyAnExactZeroAsksForAGame)
{
    config.set(line::Game, "fixed.zip");
    for (const char* flag : {"1", "", " 0", "00", "yes"}) {
        config.set(line::FixedGameFlag, flag);
        run();
        EXPECT_EQ(picker.shows(), 0) << flag;
        EXPECT_EQ(record()->argv, (Log{emulator, "fixed"})) << flag;
    }
    config.set(line::FixedGameFlag, "0");
    picker.zip = "pacman.zip";
    run();
    EXPECT_EQ(picker.shows(), 1);
    EXPECT_EQ(record()->argv, (Log{emulator, "pacman"}));
}

TEST_F(LaunchTest, ChosenGameIsListedBesideTheEmulatorAndKeptInMemory)
{
    picker.zip = "my.game.zip";
    run();
    EXPECT_EQ(picker.zipDirectories, Log{emuDir + "/ROMS"});
    EXPECT_EQ(picker.refreshes, 1);
    EXPECT_EQ(picker.changeDirectoryVisibleWhenShown, std::vector<bool>{true});
    EXPECT_FALSE(picker.changeDirectoryVisible);
    EXPECT_EQ(config.at(line::Game), "my.game.zip");
    EXPECT_EQ(config.at(line::RomDirectory), "ROMS");
    EXPECT_EQ(record()->argv, (Log{emulator, "my.game"}));
    EXPECT_EQ(inifile.at(0), "rompath ROMS");

    // An empty ROM directory lists the emulator's own.
    config.set(line::RomDirectory, "");
    run();
    EXPECT_EQ(picker.zipDirectories.back(), emuDir + "/");
    EXPECT_EQ(inifile.at(0), "rompath ");
}

TEST_F(LaunchTest, CancelWritesAndStartsNothing)
{
    const std::string old = "rompath old\r\n";
    root.write("MAME/mame.ini", old);
    config.set(line::Game, "before.zip");
    picker.chosen = false;
    picker.user = [](test::FakeGamePicker& p) { p.directory = "/somewhere/else"; };
    run();
    EXPECT_EQ(test::readBytes(ini), old);
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(config.at(line::Game), "before.zip");
    EXPECT_EQ(config.at(line::RomDirectory), "ROMS");
    EXPECT_EQ(picker.directory, "");
    EXPECT_FALSE(picker.changeDirectoryVisible);
    // The listing has made the ROM directory current.
    EXPECT_EQ(platform::currentDirectory(), canonical(emuDir + "/ROMS"));
}

TEST_F(LaunchTest, ChangedDirectoryIsTakenOnOkAndForgottenOnCancel)
{
    const std::string other = root.mkdir("other roms");
    picker.chosen = false;
    picker.user = [&](test::FakeGamePicker& p) { p.directory = other; };
    run();

    picker.chosen = true;
    picker.user = nullptr;
    picker.zip = "pacman.zip";
    run();
    EXPECT_EQ(picker.zipDirectories, (Log{emuDir + "/ROMS", emuDir + "/ROMS"}));
    EXPECT_EQ(inifile.at(0), "rompath ROMS");

    picker.user = [&](test::FakeGamePicker& p) { p.directory = other; };
    run();
    EXPECT_EQ(config.at(line::RomDirectory), other);
    EXPECT_EQ(inifile.at(0), "rompath " + other);
    EXPECT_EQ(picker.directory, "");
    EXPECT_EQ(test::readBytes(selected), "whatever is on disk");
}

TEST_F(LaunchTest, PathsWithADirectoryPartTakeTheirShortFormExceptTheInfoFile)
{
    const std::string samples = root.mkdir("my samples");
    config.set(line::FixedGameFlag, "1");
    config.set(6, samples);
    config.set(7, root.file("missing cfg"));
    config.set(15, root.file("no/cheat.dat"));
    config.set(17, root.file("missing dir/mame info.dat"));
    run();
    EXPECT_EQ(inifile.at(1), "samplepath " + samples);
    EXPECT_EQ(inifile.at(2), "cfg_directory ");
    EXPECT_EQ(inifile.at(10), "cheat_file ");
    EXPECT_EQ(inifile.at(12), "mameinfo_file " + root.file("missing dir/mame info.dat"));
    EXPECT_EQ(config.at(7), "");
    EXPECT_EQ(inifile.at(3), "nvram_directory nvram");
    EXPECT_EQ(record()->optionFile, inifile.toText());

    const std::string first = test::readBytes(ini);
    run();
    EXPECT_EQ(test::readBytes(ini), first);
}

TEST_F(LaunchTest, NothingSelectedOrMissingEmulator)
{
    selected = "";
    run();
    selected = root.file("gone.av2");
    run();
    EXPECT_TRUE(messages.plain.empty());

    selected = root.file("pacman.av2");
    config.set(line::Emulator, emuDir + "/mame.exe");
    run();
    EXPECT_EQ(messages.plain, Log{"This MAME EXE file doesn\xC2\xB4t exist!!"});

    std::vector<std::string> translated(153, "x");
    translated[152] = "Falta el ejecutable";
    lang.setLines(LineList(translated));
    run();
    EXPECT_EQ(messages.plain.back(), "Falta el ejecutable");

    lang.setLines(LineList{"only one line"});
    EXPECT_THROW(run(), ListIndexError);
    EXPECT_FALSE(fs::exists(ini));
    EXPECT_FALSE(record());
    EXPECT_EQ(picker.shows(), 0);
}

TEST_F(LaunchTest, ShortConfigurationFailsBeforeAnythingIsWritten)
{
    root.write("MAME/mame.ini", "old");
    const std::vector<std::string> all = defaultConfiguration().lines();
    config = LineList(std::vector<std::string>(all.begin(), all.begin() + 35));
    config.set(line::Emulator, emulator);
    config.set(line::FixedGameFlag, "1");
    try {
        run();
        ADD_FAILURE() << "no error";
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (38)");
    }
    EXPECT_EQ(test::readBytes(ini), "old");
    EXPECT_FALSE(record());

    config = LineList{emulator, "", "", "0"};
    EXPECT_THROW(run(), ListIndexError);
    EXPECT_EQ(picker.shows(), 0);
}

TEST_F(LaunchTest, MissingRomDirectoryEndsBeforeTheDialog)
{
    config.set(line::RomDirectory, root.file("no such roms"));
    EXPECT_THROW(run(), InOutError);
    EXPECT_EQ(picker.shows(), 0);
    EXPECT_FALSE(fs::exists(ini));
}

TEST_F(LaunchTest, AnOptionFileThatCannotBeWrittenStopsTheRun)
{
    config.set(line::FixedGameFlag, "1");
    root.mkdir("MAME/mame.ini/keep");
    try {
        run();
        ADD_FAILURE() << "no error";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + ini);
    }
    EXPECT_TRUE(fs::is_directory(ini + "/keep"));
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
}

TEST_F(LaunchTest, AFailedWriteKeepsTheOldOptionFile)
{
    config.set(line::FixedGameFlag, "1");
    const std::string old = "rompath old\r\nreadconfig 1\r\n";
    root.write("MAME/mame.ini", old);
    // A file-size limit makes the write fail even for root.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(run(), FileCreateError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(test::readBytes(ini), old);
    EXPECT_FALSE(record());
    for (const auto& entry : fs::directory_iterator(emuDir))
        EXPECT_TRUE(entry.path().filename() == "mame" || entry.path().filename() == "mame.ini" ||
                    entry.path().filename() == "ROMS")
            << entry.path();
}

TEST_F(LaunchTest, AnEmulatorThatCannotStartLeavesTheWindowAndTheDirectory)
{
    fs::remove(emulator);
    root.write("MAME/mame", "not a program");
    config.set(line::FixedGameFlag, "1");
    config.set(line::Game, "game1.zip");
    run();
    EXPECT_EQ(events, (Log{"failed", "failed"}));
    EXPECT_TRUE(fs::exists(ini));
    EXPECT_EQ(platform::currentDirectory(), platform::programDirectory());
}

// A folder name with a line feed once went into mame.ini as two lines: the second one any
// option the emulator knows, a script to run included.
TEST_F(LaunchTest, AFolderWithALineBreakIsRefusedBeforeAnythingIsWrittenOrStarted)
{
    const std::string old = "rompath old\r\n";
    root.write("MAME/mame.ini", old);
    const std::string evil = root.mkdir("roms\nautoboot_script /tmp/x.lua");
    root.write("roms\nautoboot_script /tmp/x.lua/pacman.zip", "z");
    picker.zip = "pacman.zip";
    picker.user = [&](test::FakeGamePicker& p) { p.directory = evil; };
    try {
        run();
        ADD_FAILURE() << "no error";
    } catch (const RefusedValueError& e) {
        EXPECT_EQ(std::string(e.what()), "The value \"" + root.path() +
                                             "/roms\xE2\x90\x8A"
                                             "autoboot_script /tmp/x.lua\" of rompath cannot be written into "
                                             "mame.ini: it holds a line break or a zero byte");
    }
    EXPECT_EQ(test::readBytes(ini), old);
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(config.at(line::RomDirectory), "ROMS");
    EXPECT_EQ(picker.directory, "");

    // Any configuration line copied into mame.ini is held to the same rule.
    picker.user = nullptr;
    config.set(39, " 1.0\rautoboot_script /tmp/x.lua");
    EXPECT_THROW(run(), RefusedValueError);
    config.set(39, " 1.0");
    config.set(27, std::string("480\0", 4));
    EXPECT_THROW(run(), RefusedValueError);
    EXPECT_EQ(test::readBytes(ini), old);
    EXPECT_FALSE(record());
}

// A zip named with blanks once reached the emulator as three arguments.
TEST_F(LaunchTest, TheGameIsAlwaysOneArgumentAndNeverAnOption)
{
    root.write("MAME/ROMS/x -autoboot_script evil.lua.zip", "z");
    root.write("MAME/ROMS/a \"quoted\" \\name\\.zip", "z");
    for (const std::string zip : {"x -autoboot_script evil.lua.zip", "a \"quoted\" \\name\\.zip"}) {
        picker.zip = zip;
        run();
        ASSERT_TRUE(record()) << zip;
        EXPECT_EQ(record()->argv, (Log{emulator, removeExtension(zip)}));
        EXPECT_EQ(config.at(line::Game), zip);
    }

    // A name beginning with "-" would be an option to the emulator: nothing is written or started.
    fs::remove(log);
    fs::remove(ini);
    events.clear();
    root.write("MAME/ROMS/-cc.zip", "z");
    picker.zip = "-cc.zip";
    try {
        run();
        ADD_FAILURE() << "no error";
    } catch (const RefusedValueError& e) {
        EXPECT_STREQ(e.what(),
                     "The game \"-cc\" cannot be started: a name beginning with \"-\" would reach the "
                     "emulator as an option");
    }
    config.set(line::FixedGameFlag, "1");
    config.set(line::Game, "-createconfig");
    EXPECT_THROW(run(), RefusedValueError);
    EXPECT_FALSE(fs::exists(ini));
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
}

class KwikstartTest : public LaunchTest {
  protected:
    test::FakeExecutableDialog d113;
    void kwik() { kwikstart({d113, picker, executor, lang, {}}); }
};

TEST_F(KwikstartTest, StartsTheChosenGameWithNorcAndLeavesTheOptionFileAlone)
{
    std::filesystem::rename(root.file("MAME/ROMS"), root.file("MAME/Roms"));
    root.write("MAME/Roms/game1.zip", "z");
    const std::string old = "keep me\r\n";
    root.write("MAME/mame.ini", old);
    d113.answer = emulator;
    picker.zip = "game1.zip";
    kwik();
    EXPECT_EQ(picker.zipDirectories, Log{emuDir + "/Roms"});
    EXPECT_EQ(picker.refreshes, 1);
    EXPECT_EQ(picker.changeDirectoryVisibleWhenShown, std::vector<bool>{false});
    const auto seen = record();
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->argv, (Log{emulator, "game1", "-norc"}));
    EXPECT_EQ(seen->workingDirectory, canonical(emuDir));
    EXPECT_EQ(seen->optionFile, old);
    EXPECT_EQ(test::readBytes(ini), old);
    EXPECT_EQ(events, (Log{"started", "hide", "ended", "show"}));
    EXPECT_EQ(platform::currentDirectory(), platform::programDirectory());
}

TEST_F(KwikstartTest, WithoutARomsFolderTheEmulatorsDirectoryIsListed)
{
    fs::remove_all(emuDir + "/ROMS");
    root.write("MAME/Roms", "a file, not a folder");
    root.write("MAME/game1.zip", "z");
    d113.answer = emulator;
    picker.zip = "game1.zip";
    kwik();
    EXPECT_EQ(picker.zipDirectories, Log{emuDir});
    EXPECT_EQ(record()->argv, (Log{emulator, "game1", "-norc"}));
}

TEST_F(KwikstartTest, TheGameIsOneArgumentBeforeNorcAndNeverAnOption)
{
    d113.answer = emulator;
    picker.zip = "x -autoboot_script evil.lua.zip";
    kwik();
    ASSERT_TRUE(record());
    EXPECT_EQ(record()->argv, (Log{emulator, "x -autoboot_script evil.lua", "-norc"}));

    fs::remove(log);
    events.clear();
    picker.zip = "-cc.zip";
    EXPECT_THROW(kwik(), RefusedValueError);
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(fs::exists(ini));
}

TEST_F(KwikstartTest, CancelAnywhereStartsNothing)
{
    kwik();
    EXPECT_EQ(d113.shows, 1);
    EXPECT_TRUE(picker.zipDirectories.empty());

    d113.answer = emulator;
    picker.chosen = false;
    kwik();
    EXPECT_EQ(picker.shows(), 1);
    EXPECT_FALSE(record());
    EXPECT_TRUE(events.empty());
}

} // namespace
} // namespace arcavio
