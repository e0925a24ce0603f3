#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "support/fake_emulator.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using Names = std::vector<std::string>;
using test::whenModal;

class ImportNames : public ::testing::Test {
  protected:
    ImportNames() : cd(dir.path())
    {
        roms = dir.mkdir("roms");
        for (const char* zip : {"pong.zip", "galaxian.zip", "pacman.zip"})
            dir.write("roms/" + std::string(zip), "");
        gameList = dir.write("gamelist.ini", gameListBytes);
        log = dir.file("emulator.log");
        program.selectGame.setGameListPath(gameList);
    }

    QAction* importItem() { return program.mainWindow.findChild<QAction*>("c166"); }

    // Triggers the menu item and picks the emulator in its open-file dialog; `whileImporting`
    // then runs once the progress window is up (it may not be, for an import that ends at once).
    void importFrom(const std::string& emulator, std::function<void(QWidget*)> whileImporting = {})
    {
        whenModal([&, emulator, whileImporting](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->objectName(), "importEmulatorFile");
            offered = files->selectedFiles().value(0).toStdString();
            files->selectFile(QString::fromStdString(emulator));
            static_cast<QDialog*>(files)->accept();
            if (whileImporting)
                whenModal(whileImporting);
        });
        importItem()->trigger();
    }

    Names selectGameRows()
    {
        program.selectGame.setZipDirectory(roms);
        Names names;
        test::runModal(program.selectGame, [&] {
            const QAbstractItemModel* model = program.selectGame.findChild<QListView*>("gamelist")->model();
            for (int row = 0; row < model->rowCount(); ++row)
                names.push_back(model->index(row, 0).data().toString().toStdString());
            program.selectGame.findChild<QPushButton*>("c137")->click();
        });
        return names;
    }

    const std::string gameListBytes = "; mine\r\n[gamelist]\r\nPONG=My own Pong\r\n";
    test::TempDir dir;
    test::CurrentDirectory cd;
    test::RecordingMessages messages;
    std::string roms, gameList, log, offered;
    Program program;
};

TEST_F(ImportNames, TheMenuImportsFromTheSelectedConfigurationsEmulatorAndTellsWhatItDid)
{
    EXPECT_EQ(selectGameRows(), Names{"My own Pong"});

    // A configuration naming the emulator, selected: the open-file dialog offers its program.
    dir.write("mame.av2", test::fakeEmulatorPath() + "\r\n\r\nabout\r\n");
    program.mainWindow.refreshList();
    auto* list = program.mainWindow.findChild<QListWidget*>("lista");
    list->item(0)->setSelected(true);
    ASSERT_EQ(program.mainWindow.selectedFullPath(), dir.file("mame.av2"));

    importFrom(test::fakeEmulatorPath());
    EXPECT_EQ(offered, test::fakeEmulatorPath());
    EXPECT_TRUE(messages.errors.empty()) << messages.errors.front();
    EXPECT_EQ(messages.plain, Names{"The emulator listed 6 sets.\n"
                                    "5 game names were added to gamelist.ini.\n"
                                    "1 set was already named; its name was kept."});
    EXPECT_EQ(test::readBytes(gameList), gameListBytes +
                                             "galaxian=Galaxian (Namco set 1)\r\n"
                                             "cc10=Chess Challenger \"10\" (model CCX, rev. B)\r\n"
                                             "attache816=Attach\xC3\xA9 8:16\r\n"
                                             "segas32_pcb_trackball=Sega System 32 trackball PCB\r\n"
                                             "pacman=Pac-Man (Midway)\r\n");
    // The select-game dialog reads the file again when it shows next.
    EXPECT_EQ(selectGameRows(), (Names{"Galaxian (Namco set 1)", "Pac-Man (Midway)", "My own Pong"}));

    // Without a selection the dialog offers the emulator chosen last; nothing new to add now.
    list->clearSelection();
    offered.clear();
    importFrom(test::fakeEmulatorPath());
    EXPECT_EQ(offered, test::fakeEmulatorPath());
    ASSERT_EQ(messages.plain.size(), 2u);
    EXPECT_EQ(messages.plain[1], "The emulator listed 6 sets.\n"
                                 "No game name was added to gamelist.ini.\n"
                                 "6 sets were already named; their names were kept.");
}

TEST_F(ImportNames, CancelStopsTheEmulatorAndWritesNothing)
{
    test::FakeEmulatorSettings hanging(log, 0, 3600 * 1000);
    int pid = 0;
    bool sawProgress = false;
    importFrom(test::fakeEmulatorPath(), [&](QWidget* modal) {
        ASSERT_EQ(modal->objectName(), "importNames");
        auto* count = modal->findChild<QLabel*>("importCount");
        // The window stays live while the emulator runs: its count follows what was read.
        EXPECT_TRUE(QTest::qWaitFor([&] { return count->text() == "Names read: 6"; }, 5000))
            << count->text().toStdString();
        const auto* bar = modal->findChild<QProgressBar*>("importProgress");
        sawProgress = bar->isVisible() && bar->minimum() == 0 && bar->maximum() == 0;
        EXPECT_EQ(modal->findChild<QLabel*>("importEmulator")->toolTip().isEmpty(), false);
        const std::optional<test::FakeEmulatorRecord> record = test::readFakeEmulatorRecord(log);
        if (record)
            pid = record->pid;
        modal->findChild<QPushButton*>("importCancel")->click();
    });
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(test::processGone(pid)) << pid;
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);
    EXPECT_TRUE(messages.plain.empty());
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(ImportNames, AnEmulatorThatFailsShowsTheErrorBoxAndLeavesTheFile)
{
    {
        // Its whole list printed, then a failure.
        test::FakeEmulatorSettings failing(log, 5);
        test::FakeListSettings said("", "No matching systems found for 'x'\n");
        importFrom(test::fakeEmulatorPath());
    }
    // One that cannot be started at all.
    const std::string notes = dir.write("notes", "not a program\n");
    importFrom(notes);
    EXPECT_EQ(messages.errors,
              (Names{"The emulator \"" + test::fakeEmulatorPath() +
                         "\" ended with exit code 5; gamelist.ini was not changed.\n"
                         "It said:\nNo matching systems found for 'x'",
                     "The emulator \"" + notes + "\" could not be started: Permission denied"}));
    EXPECT_TRUE(messages.plain.empty());
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);

    // A game list that cannot be written is said before any emulator is asked for.
    const std::string folder = dir.mkdir("folder");
    program.selectGame.setGameListPath(folder);
    test::NextTurn next;
    bool asked = false;
    next.run([&](QWidget* modal) {
        asked = modal != nullptr;
        if (modal != nullptr)
            static_cast<QDialog*>(modal)->reject();
    });
    importItem()->trigger();
    QTest::qWait(20);
    EXPECT_TRUE(next.ran());
    EXPECT_FALSE(asked);
    ASSERT_EQ(messages.errors.size(), 3u);
    EXPECT_EQ(messages.errors[2], "Cannot create file " + folder);
}

} // namespace
} // namespace arcavio
