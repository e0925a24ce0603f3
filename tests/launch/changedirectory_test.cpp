// Run through the real select-game dialog: a folder picked with "Change Directory" whose name
// holds a line feed once went into mame.ini as two lines.
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "base/language.h"
#include "base/messages.h"
#include "config/configuration.h"
#include "games/selectgamedialog.h"
#include "launch/launch.h"
#include "launch_fakes.h"
#include "support/fake_emulator.h"
#include "support/folder_chooser.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

TEST(RunThroughTheDialog, AFolderWithALineFeedIsRefusedAndNothingIsWrittenOrStarted)
{
    test::TempDir root;
    test::CurrentDirectory here(root.path());
    const std::string emuDir = root.mkdir("MAME");
    const std::string emulator = emuDir + "/mame";
    std::filesystem::create_symlink(test::fakeEmulatorPath(), emulator);
    root.write("MAME/ROMS/pacman.zip", "z");
    const std::string evil = root.mkdir("roms\nautoboot_script /tmp/x.lua");
    root.write("roms\nautoboot_script /tmp/x.lua/pacman.zip", "z");
    root.write("MAME/mame.ini", "rompath ROMS\r\n");
    const std::string selected = root.write("pacman.av2", "on disk");
    const std::string log = root.file("record");
    test::FakeEmulatorSettings settings{log, 0};
    test::RecordingMessages messages;
    test::Log events;
    test::RecordingOwner owner{events};
    test::ObservedProcesses processes{events};
    ProcessLauncher executor{&owner, processes};
    Language language;
    SelectGameDialog dialog{language};
    LineList config = defaultConfiguration();
    config.set(line::Emulator, emulator);
    LineList inifile;
    test::ChooserSwap chooser(
        [&](QWidget*, const std::string&, const std::string&) -> std::optional<std::string> { return evil; });

    test::whenModal([&](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("c158"), Qt::LeftButton);
        // The named list is empty: show every zip, pick the first, OK.
        modal->findChild<QWidget*>("C135")->setProperty("checked", true);
        auto* list = modal->findChild<QListView*>("gamelist");
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::mouseClick(modal->findChild<QPushButton*>("c138"), Qt::LeftButton);
    });
    guarded([&] { runConfiguration({selected, config, language, dialog, inifile, executor, {}}); });

    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0],
              "The value \"" + root.path() +
                  "/roms\xE2\x90\x8A"
                  "autoboot_script /tmp/x.lua\" of rompath cannot be written into mame.ini: "
                  "it holds a line break or a zero byte");
    EXPECT_EQ(test::readBytes(emuDir + "/mame.ini"), "rompath ROMS\r\n");
    EXPECT_FALSE(test::readFakeEmulatorRecord(log));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(config.at(line::RomDirectory), "ROMS");
    EXPECT_EQ(dialog.ChosenDirectory, "");
}

} // namespace
} // namespace arcavio
