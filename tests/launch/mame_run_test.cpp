// Run and Kwikstart with Debian's MAME, headless, as a user would have them.
#include <cstdlib>
#include <gtest/gtest.h>

#include "base/language.h"
#include "config/configuration.h"
#include "emulator/emulatorknowledge.h"
#include "launch/launch.h"
#include "launch_fakes.h"
#include "platform/filesystem.h"
#include "support/fake_game_picker.h"
#include "support/installed_mame.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "text/paths.h"

namespace arcavio {
namespace {

// The start Run asks for, kept rather than made.
class CapturedStart final : public platform::ProcessServices {
  public:
    std::unique_ptr<platform::StartedProcess> createProcess(const platform::ProcessRequest& request) override
    {
        requests.push_back(request);
        return std::make_unique<Ended>();
    }
    std::string findExecutable(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> readClassesRootValue(const std::string&) override { return std::nullopt; }
    std::vector<platform::ProcessRequest> requests;

  private:
    struct Ended final : platform::StartedProcess {
        void wait() override {}
        std::uint32_t exitCode() override { return 0; }
    };
};

class HomeFolder {
  public:
    explicit HomeFolder(const std::string& home) : previous_(std::getenv("HOME") ? std::getenv("HOME") : "")
    {
        setenv("HOME", home.c_str(), 1);
    }
    ~HomeFolder() { setenv("HOME", previous_.c_str(), 1); }
    HomeFolder(const HomeFolder&) = delete;
    HomeFolder& operator=(const HomeFolder&) = delete;

  private:
    std::string previous_;
};

// The width and height a PNG file gives in its header.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes)
{
    const auto word = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
        return value;
    };
    return {word(16), word(20)};
}

class MameRun : public ::testing::Test {
  protected:
    void SetUp() override { SKIP_WITHOUT_MAME(); }

    test::TempDir root;
    std::string home = root.mkdir("home");
    std::string data = root.mkdir("home/data");
    std::string selected = root.write("Sample.av2", "");
    LineList config = defaultConfiguration();
    Language lang;
    test::FakeGamePicker picker;
    LineList inifile;
    CapturedStart starts;
    ProcessLauncher executor{nullptr, starts};

    // What MAME makes of the start Run asked for.
    OptionList asMameReadsIt()
    {
        config.set(line::Emulator, test::kInstalledMame);
        config.set(line::FixedGameFlag, "1");
        config.set(line::Game, "pong.zip");
        starts.requests.clear();
        runConfiguration({selected, config, lang, picker, inifile, executor, data});
        EXPECT_EQ(starts.requests.size(), 1u);
        const platform::ProcessRequest request = starts.requests.at(0);
        EXPECT_EQ(request.workingDirectory, data);
        std::vector<std::string> words = platform::splitCommandLine(request.commandLine.value_or(""));
        EXPECT_EQ(words.at(0), "pong");
        return emulatorSettings(*request.program, request.workingDirectory, words).value_or(OptionList());
    }
};

TEST_F(MameRun, TheConfigurationIsTakenAsTheEditorSaysAndMamesOwnSettingsStay)
{
    HomeFolder user(home);
    config.set(62, "0"); // Sound unticked
    config.set(22, "1"); // Window
    OptionList taken = asMameReadsIt();
    EXPECT_EQ(taken.find("rotate")->value, "1"); // "No Rotate" unticked: upright
    EXPECT_EQ(taken.find("sound")->value, "none");
    EXPECT_EQ(taken.find("window")->value, "1");
    EXPECT_EQ(taken.find("rompath")->value, "ROMS");
    // Debian's /etc/mame/mame.ini is still read.
    EXPECT_EQ(taken.find("pluginspath")->value, "/usr/share/games/mame/plugins");
    EXPECT_FALSE(platform::fileExists(data + "/mame.ini"));

    // The user's own mame.ini is read instead once there is one, afresh at every Run.
    root.mkdir("home/.mame");
    root.write("home/.mame/mame.ini", "uimodekey SCRLOCK\nsound pulse\n");
    taken = asMameReadsIt();
    EXPECT_EQ(taken.find("uimodekey")->value, "SCRLOCK");
    EXPECT_EQ(taken.find("sound")->value, "none"); // the configuration says so
    root.write("home/.mame/mame.ini", "uimodekey HOME\nsound pulse\n");
    config.set(62, "1");
    taken = asMameReadsIt();
    EXPECT_EQ(taken.find("uimodekey")->value, "HOME");
    EXPECT_EQ(taken.find("sound")->value, "pulse"); // ticked: the user's own choice
    EXPECT_EQ(test::readBytes(home + "/.mame/mame.ini"), "uimodekey HOME\nsound pulse\n");

    // A workspace of an earlier version ran MAME through a script that made it read the
    // mame.ini written beside it: Run now sees through it and gets the same as above.
    const std::string wrapper = root.write("home/data/mame", mameWrapperScript(test::kInstalledMame));
    platform::makeExecutable(wrapper);
    root.write("home/data/mame.ini", "uimodekey F12\n");
    config.set(line::Emulator, wrapper);
    starts.requests.clear();
    runConfiguration({selected, config, lang, picker, inifile, executor, data});
    ASSERT_EQ(starts.requests.size(), 1u);
    EXPECT_EQ(starts.requests[0].program, test::kInstalledMame);
    EXPECT_EQ(test::readBytes(data + "/mame.ini"), "uimodekey F12\n");
}

// A MAME in a folder of the user's own that reads its mame.ini from there: the file is written
// beside it, in MAME's words, and what the user set there by hand stays.
TEST_F(MameRun, APortableMameGetsItsMameIniBesideItWithTheUsersOwnValuesKept)
{
    const std::string folder = root.mkdir("portable");
    const std::string mame =
        root.write("portable/mame", "#!/bin/sh\nexec /usr/games/mame -inipath .\\;ini \"$@\"\n");
    platform::makeExecutable(mame);
    root.write("portable/mame.ini", "uimodekey SCRLOCK\nrotate 0\nsound none\n");
    config.set(line::Emulator, mame);
    config.set(line::FixedGameFlag, "1");
    config.set(line::Game, "pong.zip");
    runConfiguration({selected, config, lang, picker, inifile, executor, data});
    ASSERT_EQ(starts.requests.size(), 1u);
    EXPECT_EQ(starts.requests[0].program, mame);
    EXPECT_EQ(starts.requests[0].workingDirectory, folder);
    EXPECT_EQ(platform::splitCommandLine(starts.requests[0].commandLine.value_or("")),
              std::vector<std::string>{"pong"});
    const std::optional<OptionList> read = emulatorSettings(mame, folder);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->options().size(), 244u);
    EXPECT_EQ(read->find("uimodekey")->value, "SCRLOCK");
    EXPECT_EQ(read->find("rotate")->value, "1");   // the configuration's "No Rotate", unticked
    EXPECT_EQ(read->find("sound")->value, "auto"); // "Sound" ticked: no longer "none"
    EXPECT_FALSE(platform::fileExists(data + "/mame.ini"));
}

// A user who is not root runs a vertical game with the installed MAME under the default
// settings: it runs, upright, and nothing is written outside the user's own folders.
TEST_F(MameRun, AUserRunsTheInstalledMameAndTheGameIsUpright)
{
    const std::string script =
        root.write("home/snap.lua", "local n = 0\n"
                                    "emu.register_frame_done(function()\n"
                                    "  n = n + 1\n"
                                    "  if n == 20 then manager.machine.video:snapshot() end\n"
                                    "end)\n");
    root.mkdir("home/.mame");
    root.write("home/.mame/mame.ini",
               "video none\nsound none\nseconds_to_run 1\nautoboot_script " + script + "\n");
    test::handToUnprivilegedUser(root.path());
    for (const char* name :
         {"home", "home/data", "home/.mame", "home/.mame/mame.ini", "home/snap.lua", "Sample.av2"})
        test::handToUnprivilegedUser(root.file(name));
    const std::string report = test::runAsUnprivilegedUser([&](test::ChildReport& child) {
        setenv("HOME", home.c_str(), 1);
        config.set(line::Emulator, test::kInstalledMame);
        config.set(line::FixedGameFlag, "1");
        config.set(line::Game, "breakout");
        config.set(14, data + "/shots");
        ProcessLauncher real;
        child.expectNoError(
            [&] {
                runConfiguration({selected, config, lang, picker, inifile, real, data});
            },
            "Run");
        child.expect(!platform::fileExists("/usr/games/mame.ini"), "no mame.ini beside the installed MAME");
        child.expect(!platform::fileExists(data + "/mame.ini"), "no mame.ini in the user's folder");
        const std::string shot = data + "/shots/breakout/0000.png";
        child.expect(platform::fileExists(shot), "a snapshot was taken");
        if (platform::fileExists(shot)) {
            const auto [width, height] = pngSize(test::readBytes(shot));
            child.expect(height > width, "the picture stands upright");
        }
    });
    EXPECT_EQ(report, "");
}

TEST_F(MameRun, ASetThatCannotRunSaysWhyAndKwikstartFindsSetsWhereMameLooks)
{
    HomeFolder user(home);
    root.mkdir("home/.mame");
    root.write("home/.mame/mame.ini", "video none\nsound none\nseconds_to_run 1\nrompath $HOME/mame/roms\n");
    root.mkdir("home/data/ROMS");
    root.write("home/data/ROMS/pacman.zip", "not a zip");
    root.mkdir("home/mame");
    root.mkdir("home/mame/roms");
    root.write("home/mame/roms/pong.zip", "pong needs no files");
    test::RecordingMessages said;
    ProcessLauncher real;
    test::FakeExecutableDialog d113;
    d113.answer = test::kInstalledMame;

    picker.user = [](test::FakeGamePicker& dialog) {
        dialog.chosen = true;
        dialog.zip = "pacman.zip";
    };
    kwikstart({d113, picker, real, lang, data});
    EXPECT_EQ(picker.zipDirectories.back(), data + "/ROMS;" + home + "/mame/roms");
    ASSERT_EQ(said.plain.size(), 1u);
    EXPECT_NE(said.plain[0].find("MAME could not run pacman (exit code 2: required files are missing)"),
              std::string::npos)
        << said.plain[0];
    EXPECT_NE(said.plain[0].find("Missing files: pacman.6e"), std::string::npos) << said.plain[0];

    picker.user = [](test::FakeGamePicker& dialog) {
        dialog.chosen = true;
        dialog.zip = "pong.zip";
    };
    kwikstart({d113, picker, real, lang, data});
    EXPECT_EQ(said.plain.size(), 1u); // it ran, and said nothing
}

} // namespace
} // namespace arcavio
