#include <sys/stat.h>

#include <QAbstractButton>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "config/configuration.h"
#include "editor/editor_fixture.h"
#include "games/selectgamedialog.h"
#include "games/ziplisting.h"
#include "platform/filesystem.h"
#include "support/folder_chooser.h"
#include "support/unprivileged.h"
#include "text/encoding.h"
#include "text/paths.h"

namespace arcavio::test {
namespace {

using Save = EditorTest;

void click(QWidget& editor, const char* name)
{
    editor.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
}

TEST_F(Save, ANewEditorWarnsAsksWritesAndConfirms)
{
    auto editor = makeEditor();
    editor->show();
    const std::string path = dir.file("test.av2");
    names.push_back(path);
    click(*editor, "c26");
    EXPECT_EQ(nameAsked, 1);
    EXPECT_EQ(plainBeforeAsk, 1u) << "the warning comes before the name dialog";
    ASSERT_EQ(recorder.plain.size(), 2u);
    EXPECT_EQ(recorder.plain[0], "WARNING: MAME Exe file does not exists.");
    EXPECT_EQ(recorder.plain[1], "File Saved!");
    EXPECT_EQ(readBytes(path), defaultConfiguration().toText());
    EXPECT_EQ(editor->ConfigFileName, path);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->savedLines, defaultConfiguration());

    child<QLineEdit>(*editor, "Edit1")->setText("second");
    click(*editor, "c26");
    EXPECT_EQ(nameAsked, 1) << "a second Save asks nothing";
    EXPECT_EQ(readConfiguration(path).at(2), "second");
    EXPECT_EQ(recorder.plain.size(), 4u);
    EXPECT_TRUE(recorder.errors.empty());
}

// Qt's edits hold 32,767 characters unless told otherwise: a longer line read from a file must
// survive a Save whole.
// A zip copied from Windows keeps its Windows-1252 name. Chosen through the game search, it is
// shown decoded, saved as that text (the file stays UTF-8, every other line as it was) and
// read back as a name of that very file, which Run hands to the emulator.
TEST_F(Save, AZipWhoseNameIsNoUtf8IsSavedSoThatItNamesTheFile)
{
    const std::string roms = dir.mkdir("roms");
    const std::string zip = dir.write("roms/cp\xE9.zip", "");
    CurrentDirectory restore(platform::currentDirectory());
    SelectGameDialog games(language);
    games.setGameListPath(dir.file("gamelist.ini"));
    const EditorContext base = context();
    auto editor = std::make_unique<ConfigurationEditor>(
        EditorContext{base.language, games, base.showHelp, base.askConfigurationName,
                      base.refreshList, base.owner, base.runFileDialog});
    child<QCheckBox>(*editor, "c21")->click();
    child<QLineEdit>(*editor, "dir1")->setText(QString::fromStdString(roms));
    child<QLineEdit>(*editor, "Edit1")->setText(QStringLiteral("Caf\u00E9 \u2615"));
    whenModal([](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("C135")->click(); // the zip has no name in the game list
        auto* list = dialog->findChild<QListView*>("gamelist");
        const QModelIndex row = list->model()->index(0, 0);
        EXPECT_EQ(row.data().toString(), QStringLiteral("cp\u00E9.zip"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        QTest::mouseClick(dialog->findChild<QPushButton*>("c138"), Qt::LeftButton);
    });
    child<QAbstractButton>(*editor, "c23")->click();
    EXPECT_EQ(textOf(*editor, "game"), "cp\u00E9.zip");

    const std::string path = dir.file("chosen.av2");
    names.push_back(path);
    click(*editor, "c26");
    ASSERT_EQ(recorder.plain.back(), "File Saved!");
    const LineList saved = readConfiguration(path);
    EXPECT_TRUE(isValidUtf8(readBytes(path)));
    EXPECT_EQ(saved.at(2), "Caf\u00E9 \u2615");
    EXPECT_EQ(joinPath(roms, setNameOnDisk(roms, saved.at(4))), zip);
}

TEST_F(Save, ALineLongerThanAnEditsDefaultLimitIsSavedWhole)
{
    const std::string about(100'000, 'a');
    auto editor = makeEditor();
    child<QLineEdit>(*editor, "Edit1")->setText(QString::fromStdString(about));
    editor->ConfigFileName = dir.file("long.av2");
    editor->save();
    EXPECT_EQ(readConfiguration(dir.file("long.av2")).at(2), about);
}

TEST_F(Save, AnExistingExecutableIsNotWarnedAbout)
{
    const std::string emulator = dir.write("mame", "");
    auto editor = makeEditor();
    child<QLineEdit>(*editor, "mame")->setText(QString::fromStdString(emulator));
    editor->ConfigFileName = dir.file("a.av2");
    editor->save();
    ASSERT_EQ(recorder.plain.size(), 1u);
    EXPECT_EQ(recorder.plain[0], "File Saved!");

    child<QLineEdit>(*editor, "mame")->setText(QString::fromStdString(dir.path()));
    editor->save();
    EXPECT_EQ(recorder.plain[1], "WARNING: MAME Exe file does not exists.") << "a directory is no executable";
}

TEST_F(Save, CancellingTheNameWritesNothing)
{
    auto editor = makeEditor();
    editor->show();
    click(*editor, "c26");
    EXPECT_EQ(nameAsked, 1);
    EXPECT_EQ(recorder.plain.size(), 1u) << "only the warning";
    EXPECT_TRUE(editor->ConfigFileName.empty());
    EXPECT_TRUE(editor->isVisible());

    click(*editor, "c27");
    EXPECT_EQ(nameAsked, 2);
    EXPECT_TRUE(editor->isVisible()) << "Save and Close stays open without a name";
    EXPECT_EQ(refreshed, 0);

    const std::string path = dir.file("closing.av2");
    names.push_back(path);
    click(*editor, "c27");
    EXPECT_TRUE(platform::fileExists(path));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(refreshed, 1);
}

TEST_F(Save, SaveAsAlwaysAsksAndForgetsTheNameOnCancel)
{
    const std::string original = dir.write("orig.av2", defaultConfiguration().toText());
    auto editor = makeEditor();
    editor->loadConfiguration(readConfiguration(original));
    editor->ConfigFileName = original;
    child<QLineEdit>(*editor, "Edit1")->setText("changed");

    click(*editor, "c25");
    EXPECT_EQ(nameAsked, 1);
    EXPECT_TRUE(editor->ConfigFileName.empty());
    EXPECT_EQ(readBytes(original), defaultConfiguration().toText());
    EXPECT_TRUE(recorder.plain.empty()) << "cancel shows nothing, not even the warning";

    const std::string copy = dir.file("copy.av2");
    names.push_back(copy);
    click(*editor, "c26");
    EXPECT_EQ(nameAsked, 2) << "the next Save asks again";
    EXPECT_EQ(readConfiguration(copy).at(2), "changed");
    EXPECT_EQ(readBytes(original), defaultConfiguration().toText());

    const std::string other = dir.file("other.av2");
    names.push_back(other);
    click(*editor, "c25");
    EXPECT_EQ(nameAsked, 3);
    EXPECT_EQ(editor->ConfigFileName, other);
    EXPECT_TRUE(platform::fileExists(other));
}

// The user's own protection stands: a file the user may not write is not replaced.
TEST_F(Save, AFileTheUserMayNotWriteIsRefused)
{
    handToUnprivilegedUser(dir.path());
    auto editor = makeEditor();
    const std::string report = runAsUnprivilegedUser([&](ChildReport& child) {
        const std::string locked = dir.file("locked.av2");
        writeBytes(locked, "old\r\n");
        chmod(locked.c_str(), 0444);
        editor->ConfigFileName = locked;
        click(*editor, "c26");
        child.expect(recorder.errors == std::vector<std::string>{"Cannot create file " + locked},
                     "no error for the read-only file");
        child.expect(readBytes(locked) == "old\r\n", "the read-only file was changed");

        const std::string open = dir.file("open.av2");
        writeBytes(open, "old\r\n");
        editor->ConfigFileName = open;
        click(*editor, "c26");
        child.expect(recorder.errors.size() == 1, "the writable file gave an error");
        child.expect(readBytes(open) == defaultConfiguration().toText(), "the writable file was not saved");
    });
    EXPECT_EQ(report, "");
}

TEST_F(Save, AFailedWriteKeepsTheEditorOpenAndTheOldFile)
{
    const std::string target = dir.file("missing/x.av2");
    auto editor = makeEditor();
    editor->show();
    child<QLineEdit>(*editor, "Edit1")->setText("typed");
    names.push_back(target);
    click(*editor, "c27");
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Cannot create file " + target);
    EXPECT_EQ(recorder.plain.size(), 1u) << "the warning only, no confirmation";
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->ConfigFileName, target);
    EXPECT_EQ(textOf(*editor, "Edit1"), "typed");
    EXPECT_EQ(refreshed, 0);

    // A directory where the file should be: the write fails and what stood there stays.
    const std::string blocked = dir.mkdir("blocked.av2");
    dir.write("blocked.av2/inside", "kept");
    editor->ConfigFileName = blocked;
    click(*editor, "c26");
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[1], "Cannot create file " + blocked);
    EXPECT_EQ(readBytes(blocked + "/inside"), "kept");
}

// A folder picked through the browser may hold a line feed; saved, it would shift every later
// line of the configuration. The Save is refused in the error box and the file stays.
TEST_F(Save, AValueWithALineBreakIsRefusedAndNothingIsWritten)
{
    const std::string path = dir.write("kept.av2", defaultConfiguration().toText());
    arcavio::test::ChooserSwap chooser(
        [](QWidget*, const std::string&, const std::string&) -> std::optional<std::string> {
            return std::string("/d/roms\nautoboot_script /tmp/x.lua");
        });
    auto editor = makeEditor();
    editor->show();
    editor->ConfigFileName = path;
    click(*editor, "c39");
    ASSERT_EQ(textOf(*editor, "dir1"), "/d/roms\nautoboot_script /tmp/x.lua");
    click(*editor, "c27");
    EXPECT_EQ(recorder.errors, std::vector<std::string>{
                                   "The value \"/d/roms\xE2\x90\x8A"
                                   "autoboot_script /tmp/x.lua\" (line 5, ROMs directory) cannot be written "
                                   "into a configuration: it holds a line break or a zero byte"});
    EXPECT_EQ(readBytes(path), defaultConfiguration().toText());
    EXPECT_EQ(recorder.plain, std::vector<std::string>{"WARNING: MAME Exe file does not exists."});
    EXPECT_TRUE(editor->isVisible()) << "Save and Close stays open";
    EXPECT_EQ(editor->ConfigFileName, path);
}

TEST_F(Save, MessagesComeFromTheLanguageFile)
{
    LineList lines = numberedLanguage(166);
    lines.set(132, "Sauvegardé !");
    lines.set(152, "Pas de MAME");
    language.setLines(lines);
    auto editor = makeEditor();
    editor->ConfigFileName = dir.file("fr.av2");
    editor->save();
    ASSERT_EQ(recorder.plain.size(), 2u);
    EXPECT_EQ(recorder.plain[0], "Pas de MAME");
    EXPECT_EQ(recorder.plain[1], "Sauvegardé !");
}

TEST_F(Save, AMissingWarningLineStopsTheSave)
{
    language.setLines(numberedLanguage(150));
    auto editor = makeEditor();
    ASSERT_EQ(recorder.errors.size(), 1u); // line 159 during creation
    editor->show();
    const std::string path = dir.file("never.av2");
    editor->ConfigFileName = path;
    click(*editor, "c26");
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[1], "List index out of bounds (152)");
    EXPECT_FALSE(platform::fileExists(path));
}

TEST_F(Save, CloseRefreshesTheListAndCloses)
{
    auto editor = makeEditor();
    editor->show();
    click(*editor, "c28");
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(nameAsked, 0);
}

} // namespace
} // namespace arcavio::test
