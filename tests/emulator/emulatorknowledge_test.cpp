#include "emulator/emulatorknowledge.h"

#include <chrono>
#include <gtest/gtest.h>

#include "emulator/mameoptions.h"
#include "platform/filesystem.h"
#include "support/fake_emulator.h"
#include "support/installed_mame.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

std::string script(const test::TempDir& dir, const std::string& name, const std::string& body)
{
    const std::string path = dir.write(name, "#!/bin/sh\n" + body + "\n");
    platform::makeExecutable(path);
    return path;
}

TEST(OptionList, ReadsSectionsAndValuesAndLeavesOutWhatCouldBreakALine)
{
    const OptionList list = OptionList::parse("#\r\n# CORE SEARCH PATH OPTIONS\r\n#\r\n"
                                              "rompath                   \"/my roms;roms\"\r\n"
                                              "homepath .\n\n# OSD\nvideo   opengl   \n"
                                              "Bad-Name 1\nstate \x01x\nartpath\nrompath roms2\n");
    ASSERT_EQ(list.options().size(), 4u);
    EXPECT_EQ(list.find("rompath")->value, "roms2"); // the later line wins, as MAME reads it
    EXPECT_EQ(list.sections()[list.find("homepath")->section], "CORE SEARCH PATH OPTIONS");
    EXPECT_EQ(list.find("video")->value, "opengl");
    EXPECT_EQ(list.sections()[list.find("video")->section], "OSD");
    EXPECT_EQ(list.find("artpath")->value, "");
    EXPECT_EQ(list.refusedLines(), 2u);
    EXPECT_EQ(iniValue("/my roms"), "\"/my roms\"");
    EXPECT_EQ(iniValue("roms"), "roms");
    EXPECT_EQ(OptionList::parse("x " + iniValue("\"a\"")).find("x")->value, "\"a\"");
}

TEST(EmulatorKnowledge, DebiansMameIsKnownWithItsVersionAndEveryOptionTheTableWrites)
{
    SKIP_WITHOUT_MAME();
    const auto knowledge = askEmulator(test::kInstalledMame);
    ASSERT_NE(knowledge, nullptr);
    EXPECT_EQ(knowledge->version(), "0.251");
    EXPECT_EQ(knowledge->name(), "MAME 0.251");
    EXPECT_EQ(knowledge->defaults.options().size(), 244u);
    EXPECT_EQ(knowledge->defaults.refusedLines(), 0u);
    EXPECT_EQ(knowledge->defaults.find("rotate")->value, "1");
    // Asked once per program file.
    EXPECT_EQ(knownEmulator(test::kInstalledMame), knownEmulator(test::kInstalledMame));
}

TEST(EmulatorKnowledge, ProgramsThatDoNotAnswerAsARecentMameAreNotKnownAndNoneOutlivesTheTimeLimit)
{
    test::TempDir dir;
    const std::string oldMame = dir.write("old.txt", "#\n# CORE\n#\nrompath roms\nnorotate 0\nsound 1\n");
    const std::vector<std::string> strangers = {
        test::fakeEmulatorPath(),
        script(dir, "garbage", "head -c 100000 /dev/urandom"),
        script(dir, "flood", "yes 'rompath roms'"),
        script(dir, "crash", "kill -SEGV $$"),
        script(dir, "failing", "echo 'rotate 1'; exit 3"),
        script(dir, "old", "cat '" + oldMame + "'"),
        script(dir, "hang", "exec sleep 30"),
        dir.write("not-runnable", "rotate 1\n"),
        dir.file("missing"),
    };
    for (const std::string& program : strangers) {
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(askEmulator(program, std::chrono::milliseconds(700)), nullptr) << program;
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << program;
    }
    // No window can open: the question is asked without a display, whatever the program does.
    const std::string display = dir.file("display");
    const std::string spy = script(
        dir, "spy", "echo \"[$DISPLAY][$WAYLAND_DISPLAY][$SDL_VIDEODRIVER]\" > '" + display + "'; exit 1");
    setenv("DISPLAY", ":99", 1);
    EXPECT_EQ(askEmulator(spy), nullptr);
    unsetenv("DISPLAY");
    EXPECT_EQ(test::readBytes(display), "[][][dummy]\n");
}

TEST(EmulatorKnowledge, TheEarlierWorkspaceScriptIsSeenThroughAndNothingElseIs)
{
    test::TempDir dir;
    const std::string mame = "/opt/it's mame/mame";
    const std::string wrapper = dir.write("mame", mameWrapperScript(mame));
    EXPECT_EQ(wrappedMame(wrapper), mame);
    EXPECT_EQ(mameWrapperScript("/usr/games/mame"), "#!/bin/sh\nexec '/usr/games/mame' -inipath . \"$@\"\n");
    EXPECT_EQ(
        wrappedMame(dir.write("other", "#!/bin/sh\nexec '/usr/games/mame' -inipath . \"$@\"\nrm -rf ~\n")),
        "");
    EXPECT_EQ(wrappedMame(dir.write("relative", mameWrapperScript("mame"))), "");
    EXPECT_EQ(wrappedMame(dir.file("missing")), "");

    setenv("ARCAVIO_TEST_HOME", "/home/x", 1);
    EXPECT_EQ(mamePathList("$ARCAVIO_TEST_HOME/mame/roms;;roms;$ARCAVIO_TEST_UNSET/r;"),
              (std::vector<std::string>{"/home/x/mame/roms", "roms", "/r"}));
}

} // namespace
} // namespace arcavio
