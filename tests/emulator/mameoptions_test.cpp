#include "emulator/mameoptions.h"

#include <gtest/gtest.h>

#include "config/configuration.h"
#include "emulator/emulatorknowledge.h"
#include "platform/filesystem.h"
#include "support/installed_mame.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

// Every box the other way round and every number away from its default.
LineList changedConfiguration()
{
    LineList lines = defaultConfiguration();
    for (int n = 0; n < lines.count(); ++n)
        if (lines.at(n) == "0" || lines.at(n) == "1")
            lines.set(n, lines.at(n) == "1" ? "0" : "1");
    lines.set(5, "ROMS;/srv/mame roms");
    lines.set(13, "/srv/art work");
    lines.set(19, "3");
    lines.set(26, "640");
    lines.set(27, "480");
    lines.set(28, "16");
    lines.set(29, "60");
    lines.set(39, " 0.800000");
    lines.set(57, " 2.500000");
    lines.set(58, " 12,5");
    lines.set(59, "22050");
    lines.set(63, "-12");
    lines.set(68, " 9.000000"); // past MAME's 3.0
    return lines;
}

TEST(MameOptions, ValuesInMamesWords)
{
    const auto valueOf = [](const std::vector<MameSetting>& settings, std::string_view name) {
        std::string found = "(left to MAME)";
        for (const MameSetting& setting : settings)
            if (setting.name == name)
                found = setting.value;
        return found;
    };
    const std::vector<MameSetting> defaults = mameSettings(defaultConfiguration());
    EXPECT_EQ(valueOf(defaults, "rotate"), "1");
    EXPECT_EQ(valueOf(defaults, "sound"), "(left to MAME)");
    EXPECT_EQ(valueOf(defaults, "brightness"), "(left to MAME)"); // " 0.000000" is no brightness
    EXPECT_EQ(valueOf(defaults, "resolution"), "auto");
    EXPECT_EQ(valueOf(defaults, "ctrlr"), "(left to MAME)");
    const std::vector<MameSetting> changed = mameSettings(changedConfiguration());
    EXPECT_EQ(valueOf(changed, "rotate"), "0");
    EXPECT_EQ(valueOf(changed, "sound"), "none");
    EXPECT_EQ(valueOf(changed, "resolution"), "640x480@60");
    EXPECT_EQ(valueOf(changed, "gamma"), "3.0");
    EXPECT_EQ(valueOf(changed, "flicker"), "12.5");
    EXPECT_EQ(valueOf(changed, "beam_width_max"), "2.5");
    EXPECT_EQ(valueOf(changed, "ctrlr"), "hotrodse");
    EXPECT_EQ(mameArguments({{"window", "0", true}, {"rompath", "a b", false}}),
              (std::vector<std::string>{"-nowindow", "-rompath", "a b"}));

    LineList broken = defaultConfiguration();
    broken.set(14, std::string("snap\nautoboot_script evil.lua"));
    EXPECT_THROW(mameSettings(broken), RefusedValueError);
}

// What MAME itself reports back, on its command line and from a mame.ini, for every option the
// table writes.
TEST(MameOptions, DebiansMameTakesEveryRowAsWritten)
{
    SKIP_WITHOUT_MAME();
    const auto knowledge = knownEmulator(test::kInstalledMame);
    ASSERT_NE(knowledge, nullptr);
    test::TempDir dir;
    // A MAME of the user's own folder that reads its mame.ini from there.
    const std::string portable =
        dir.write("mame", "#!/bin/sh\nexec /usr/games/mame -inipath .\\;ini \"$@\"\n");
    platform::makeExecutable(portable);
    const OptionList carried = OptionList::parse("uimodekey SCRLOCK\nsound pulse\nwindow 1\n");

    for (const LineList& configuration : {defaultConfiguration(), changedConfiguration()}) {
        const std::vector<MameSetting> settings = mameSettings(configuration);
        const std::optional<OptionList> onCommandLine =
            emulatorSettings(test::kInstalledMame, dir.path(), mameArguments(settings));
        platform::replaceFile(dir.file("mame.ini"), mameOptionFile(knowledge->defaults, carried, settings));
        const std::optional<OptionList> fromFile = emulatorSettings(portable, dir.path());
        ASSERT_TRUE(onCommandLine && fromFile);
        for (const MameSetting& setting : settings) {
            ASSERT_NE(onCommandLine->find(setting.name), nullptr) << setting.name;
            EXPECT_EQ(onCommandLine->find(setting.name)->value, setting.value) << setting.name;
            EXPECT_EQ(fromFile->find(setting.name)->value, setting.value) << setting.name;
        }
        EXPECT_EQ(fromFile->options().size(), knowledge->defaults.options().size());
        EXPECT_EQ(fromFile->find("uimodekey")->value, "SCRLOCK"); // set by hand, kept
        // The system's own paths stay when the configuration does not set them.
        EXPECT_EQ(onCommandLine->find("pluginspath")->value, "/usr/share/games/mame/plugins");
    }
    // Sound on: the audio module is MAME's (or the user's) choice, never "none".
    EXPECT_EQ(OptionList::parse(mameOptionFile(knowledge->defaults, OptionList::parse("sound none\n"),
                                               mameSettings(defaultConfiguration())))
                  .find("sound")
                  ->value,
              "auto");
}

} // namespace
} // namespace arcavio
