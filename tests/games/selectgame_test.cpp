#include "games/selectgamedialog.h"
#include "support/folder_chooser.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

#include "base/language.h"
#include "base/qthelpers.h"
#include "games/addgamedialog.h"
#include "platform/filesystem.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio {
using arcavio::test::ChooserSwap;

namespace {

using test::readBytes;
using test::whenModal;
using Names = std::vector<std::string>;

class SelectGame : public ::testing::Test {
  protected:
    SelectGame() : restore(platform::currentDirectory())
    {
        roms = dir.mkdir("roms");
        for (const char* zip : {"b.zip", "A.zip", "game1.zip", "c.zip"})
            dir.write("roms/" + std::string(zip), "");
        gameList = dir.write("gamelist.ini", "[gamelist]\r\nb=Alpha\r\nA=Zeta\r\ngame1=\r\n");
        dialog.setGameListPath(gameList);
        dialog.setAddGameDialog(&addGame);
        dialog.setZipDirectory(roms);
    }

    Names rows() const
    {
        Names names;
        const QAbstractItemModel* model = list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.push_back(model->index(row, 0).data().toString().toStdString());
        return names;
    }
    QListView* list() const { return dialog.findChild<QListView*>("gamelist"); }
    QCheckBox* showAll() const { return dialog.findChild<QCheckBox*>("C135"); }
    QPushButton* button(const char* name) const { return dialog.findChild<QPushButton*>(name); }
    QLineEdit* addGameEdit(const char* name) const { return addGame.findChild<QLineEdit*>(name); }
    void clickRow(int row) const
    {
        const QRect place = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, place.center());
    }
    int selectedRow() const
    {
        const QModelIndexList selected = list()->selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.first().row();
    }

    test::CurrentDirectory restore;
    test::TempDir dir;
    test::RecordingMessages messages;
    std::string roms;
    std::string gameList;
    Language language;
    SelectGameDialog dialog{language};
    AddGameDialog addGame{language};
};

TEST_F(SelectGame, ListsNamedZipsInZipOrderAndEveryZipOnRequest)
{
    dialog.prepareForShowing();
    dialog.show();
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha"}));
    EXPECT_EQ(dialog.rowZips(), (Names{"A.zip", "b.zip"}));
    EXPECT_EQ(platform::currentDirectory(), dialog.zipListing().directory());

    QTest::mouseClick(showAll(), Qt::LeftButton);
    ASSERT_TRUE(showAll()->isChecked());
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "c.zip", ""}));
    EXPECT_EQ(dialog.rowZips(), (Names{"A.zip", "b.zip", "c.zip", "game1.zip"}));
    clickRow(2);
    EXPECT_EQ(dialog.selectedZip(), "c.zip");
    // Below the last row neither button changes the selection.
    const QPoint below(10, list()->viewport()->height() - 5);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, below);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(dialog.selectedZip(), "c.zip");

    QTest::mouseClick(showAll(), Qt::LeftButton);
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha"}));
    EXPECT_EQ(dialog.selectedZip(), "");
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(SelectGame, CtrlClickOnTheSelectedGameKeepsIt)
{
    dialog.prepareForShowing();
    dialog.show();
    clickRow(1);
    ASSERT_EQ(dialog.selectedZip(), "b.zip");
    const QRect place = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ControlModifier, place.center());
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(dialog.selectedZip(), "b.zip");
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(dialog.selectedZip(), "b.zip");
}

TEST_F(SelectGame, AHugeGameNameShowsABoundedPrefix)
{
    const std::string huge(5'000'000, 'N');
    dir.write("gamelist.ini", "[gamelist]\r\nb=" + huge + "\r\nA=Zeta\r\n");
    dialog.prepareForShowing();
    dialog.show();
    const Names shown = rows();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Zeta");
    EXPECT_EQ(shown[1], std::string(kShownLineLimit, 'N') + "\xE2\x80\xA6");
    EXPECT_EQ(dialog.rowZips(), (Names{"A.zip", "b.zip"}));
}

TEST_F(SelectGame, EachShowingStartsAfreshFromTheFileOnDisk)
{
    dialog.show();
    showAll()->setChecked(true);
    clickRow(1);
    dialog.GameChosen = true;
    dialog.hide();
    dir.write("gamelist.ini", "[gamelist]\r\nc=Gamma\r\n");

    bool ticked = true;
    int selected = 0;
    Names shown;
    whenModal([&](QWidget* modal) {
        ticked = showAll()->isChecked();
        selected = selectedRow();
        shown = rows();
        EXPECT_FALSE(dialog.GameChosen);
        modal->close();
    });
    dialog.showModal();
    EXPECT_FALSE(ticked);
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(shown, (Names{"Gamma"}));
    EXPECT_FALSE(dialog.GameChosen);
}

TEST_F(SelectGame, OkWantsASelectionAndThenReportsTheZip)
{
    bool openAfterEmptyOk = false;
    whenModal([&](QWidget* modal) {
        QTest::mouseClick(button("c138"), Qt::LeftButton);
        openAfterEmptyOk = modal->isVisible();
        clickRow(1);
        QTest::mouseClick(button("c138"), Qt::LeftButton);
    });
    dialog.showModal();
    EXPECT_TRUE(openAfterEmptyOk);
    EXPECT_EQ(messages.plain, (Names{"Select a game first!!"}));
    EXPECT_TRUE(dialog.GameChosen);
    EXPECT_EQ(dialog.selectedZip(), "b.zip");

    whenModal([&](QWidget*) { QTest::mouseClick(button("c137"), Qt::LeftButton); });
    dialog.showModal();
    EXPECT_FALSE(dialog.GameChosen);
}

TEST_F(SelectGame, AFolderListShowsTheZipsOfEveryFolderOnceAndReportsTheZipsFileName)
{
    const std::string more = dir.mkdir("more");
    for (const char* zip : {"a.ZIP", "game2.zip", "B.zip"})
        dir.write("more/" + std::string(zip), "");
    dialog.setZipDirectory(roms + ";" + dir.file("gone") + ";" + more);
    dialog.refreshZipListing();
    whenModal([&](QWidget*) {
        QTest::mouseClick(showAll(), Qt::LeftButton);
        clickRow(4);
        QTest::mouseClick(button("c138"), Qt::LeftButton);
    });
    dialog.showModal();
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "c.zip", "", "game2.zip"}));
    EXPECT_EQ(dialog.rowZips(), (Names{"A.zip", "b.zip", "c.zip", "game1.zip", "game2.zip"}));
    EXPECT_TRUE(dialog.GameChosen);
    EXPECT_EQ(dialog.selectedZip(), "game2.zip");
    EXPECT_EQ(platform::currentDirectory(), dialog.zipListing().directory());
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(SelectGame, KeysNeitherCloseNorEditAndLettersFindARow)
{
    bool open = false;
    bool editing = true;
    int afterDoubleClick = -1;
    int afterTyping = -1;
    whenModal([&](QWidget* modal) {
        list()->setFocus();
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(list(), key);
        button("c138")->setFocus();
        QTest::keyClick(button("c138"), Qt::Key_Return);
        const QRect place = list()->visualRect(list()->model()->index(1, 0));
        // A real double click: press and release, then the double-click press.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, place.center());
        afterDoubleClick = selectedRow();
        editing = !list()->findChildren<QLineEdit*>().isEmpty();
        open = modal->isVisible();
        list()->setFocus();
        QTest::keyClicks(list(), "z");
        afterTyping = selectedRow();
        modal->close();
    });
    dialog.showModal();
    EXPECT_TRUE(open);
    EXPECT_FALSE(editing);
    EXPECT_EQ(afterDoubleClick, 1);
    EXPECT_EQ(afterTyping, 0);
    EXPECT_TRUE(messages.plain.empty()); // Enter on OK did not press it
    EXPECT_FALSE(dialog.GameChosen);
}

// Typing into the list finds games by part of their name or zip, without regard to case and
// accents; the zip list, OK and the result follow the rows shown.
TEST_F(SelectGame, TypingFindsGamesAndOkReportsTheZipOfTheRowShown)
{
    for (const char* zip : {"pacman.zip", "mspacman.zip", "paclnd.zip", "galaga.zip", "pacmanf.zip"})
        dir.write("roms/" + std::string(zip), "");
    dir.write("gamelist.ini", "[gamelist]\r\nb=Alpha\r\nA=Zeta\r\npacman=Pac-Man\r\nmspacman=Ms. Pac-Man\r\n"
                              "paclnd=P\xC3\xA1\x63-Land\r\ngalaga=Galaga\r\n");
    dialog.refreshZipListing();
    const Names all{"Zeta", "Alpha", "Galaga", "Ms. Pac-Man", "P\u00E1\x63-Land", "Pac-Man"};
    const Names found{"Ms. Pac-Man", "P\u00E1\x63-Land", "Pac-Man"};
    const auto field = [this] { return dialog.findChild<QLineEdit*>("gamefind"); };
    const auto rowOf = [this](const std::string& name) {
        const Names shown = rows();
        return static_cast<int>(std::find(shown.begin(), shown.end(), name) - shown.begin());
    };
    whenModal([&](QWidget* modal) {
        EXPECT_EQ(rows(), all);
        ASSERT_TRUE(field()->isHidden());
        clickRow(rowOf("Galaga"));
        list()->setFocus();
        QTest::keyClicks(list(), "pAc");
        EXPECT_TRUE(field()->isVisible());
        EXPECT_EQ(field()->text(), "pAc");
        EXPECT_EQ(rows(), found);
        EXPECT_EQ(dialog.rowZips(), (Names{"mspacman.zip", "paclnd.zip", "pacman.zip"}));
        EXPECT_EQ(dialog.selectedZip(), "mspacman.zip") << "the first game found is selected";
        // The field sits at the list's lower edge, inside the list's place.
        EXPECT_EQ(list()->geometry().united(field()->geometry()), QRect(13, 32, 369, 265));
        EXPECT_EQ(modal->focusWidget(), list()) << "the list keeps the keys";

        QTest::keyClicks(list(), "l");
        EXPECT_EQ(rows(), (Names{"P\u00E1\x63-Land"}));
        QTest::keyClick(list(), Qt::Key_Backspace);
        EXPECT_EQ(rows(), found);
        clickRow(rowOf("P\u00E1\x63-Land"));

        // "Show all Zip files" rebuilds the list under the same find text.
        QTest::mouseClick(showAll(), Qt::LeftButton);
        EXPECT_EQ(field()->text(), "pAc");
        EXPECT_EQ(rows(), (Names{"Ms. Pac-Man", "P\u00E1\x63-Land", "Pac-Man", "pacmanf.zip"}));
        EXPECT_EQ(dialog.selectedZip(), "");
        clickRow(3);
        EXPECT_EQ(dialog.selectedZip(), "pacmanf.zip");
        QTest::mouseClick(showAll(), Qt::LeftButton);
        EXPECT_EQ(rows(), found);
        clickRow(rowOf("P\u00E1\x63-Land"));

        // Escape closes the field only, and the whole list comes back with the game selected.
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_TRUE(field()->isHidden());
        EXPECT_EQ(rows(), all);
        EXPECT_EQ(list()->geometry(), QRect(13, 32, 369, 265));
        EXPECT_EQ(selectedRow(), rowOf("P\u00E1\x63-Land"));
        EXPECT_EQ(dialog.selectedZip(), "paclnd.zip");
        QTest::keyClick(list(), Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());

        // Emptying the field closes it too; then OK takes the game picked among those found.
        QTest::keyClicks(list(), "MAN");
        EXPECT_EQ(rows(), (Names{"Ms. Pac-Man", "Pac-Man"}));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(list(), Qt::Key_Backspace);
        EXPECT_TRUE(field()->isHidden());
        EXPECT_EQ(rows(), all);
        QTest::keyClicks(list(), "man");
        clickRow(1);
        QTest::mouseClick(button("c138"), Qt::LeftButton);
    });
    dialog.showModal();
    EXPECT_TRUE(dialog.GameChosen);
    EXPECT_EQ(dialog.selectedZip(), "pacman.zip");
    EXPECT_TRUE(messages.errors.empty());

    // The next showing starts without a find.
    whenModal([&](QWidget* modal) {
        EXPECT_TRUE(field()->isHidden());
        EXPECT_EQ(rows(), all);
        modal->close();
    });
    dialog.showModal();
}

TEST_F(SelectGame, ChangeDirectoryPointsTheListingAtThePickedFolder)
{
    const std::string other = dir.mkdir("other");
    dir.write("other/d.zip", "");
    dir.write("other/A.zip", "");
    std::vector<std::string> starts, titles;
    std::optional<std::string> answer;
    ChooserSwap swap([&](QWidget*, const std::string& title, const std::string& start) {
        titles.push_back(title);
        starts.push_back(start);
        return answer;
    });
    EXPECT_FALSE(button("c158")->isVisibleTo(&dialog));
    dialog.setChangeDirectoryVisible(true);
    dialog.prepareForShowing();
    dialog.show();
    ASSERT_TRUE(button("c158")->isVisible());

    QTest::mouseClick(button("c158"), Qt::LeftButton);
    EXPECT_EQ(dialog.ChosenDirectory, "");
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha"}));

    answer = other;
    showAll()->setChecked(true);
    QTest::mouseClick(button("c158"), Qt::LeftButton);
    EXPECT_EQ(dialog.ChosenDirectory, other);
    EXPECT_EQ(dialog.zipListing().directory(), other);
    EXPECT_TRUE(showAll()->isChecked());
    EXPECT_EQ(rows(), (Names{"Zeta", "d.zip"}));

    // A folder that cannot be listed: the error box, the new folder kept, the lists as they were.
    answer = dir.file("gone");
    QTest::mouseClick(button("c158"), Qt::LeftButton);
    EXPECT_EQ(dialog.ChosenDirectory, dir.file("gone"));
    EXPECT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(rows(), (Names{"Zeta", "d.zip"}));

    EXPECT_EQ(titles, (Names{"Select a directory from the list:", "Select a directory from the list:",
                             "Select a directory from the list:"}));
    EXPECT_EQ(starts, (Names{"", "", other}));
    GamePicker& picker = dialog;
    EXPECT_EQ(picker.chosenDirectory(), dir.file("gone"));
    picker.clearChosenDirectory();
    EXPECT_EQ(dialog.ChosenDirectory, "");
}

TEST_F(SelectGame, AddANewGameWritesThePairAndShowsIt)
{
    dir.write("roms/game3.zip", "");
    dialog.setZipDirectory(dir.file("roms/../roms"));
    dialog.prepareForShowing();
    dialog.show();
    addGameEdit("zip")->setText("left over");

    const auto add = [&](const char* zip, const char* game, const char* closeWith) {
        whenModal([=, this](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), "c161");
            EXPECT_EQ(addGameEdit("zip")->text(), "");
            EXPECT_EQ(addGameEdit("game")->text(), "");
            QTest::keyClicks(addGameEdit("zip"), zip);
            QTest::keyClicks(addGameEdit("game"), game);
            QTest::mouseClick(modal->findChild<QPushButton*>(closeWith), Qt::LeftButton);
        });
        QTest::mouseClick(button("c136"), Qt::LeftButton);
    };

    add("game3.zip", "Game Three", "c164");
    EXPECT_EQ(readBytes(gameList), "[gamelist]\r\nb=Alpha\r\nA=Zeta\r\ngame1=\r\ngame3=Game Three\r\n");
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "Game Three"}));

    add("B", "Beta", "c164");
    EXPECT_EQ(rows(), (Names{"Zeta", "Beta", "Game Three"}));

    const std::string before = readBytes(gameList);
    add("c.zip", "Never", "c165");
    EXPECT_EQ(readBytes(gameList), before);

    add("/roms/c.zip", "With a directory", "c164");
    EXPECT_NE(readBytes(gameList).find("/roms/c=With a directory\r\n"), std::string::npos);
    EXPECT_EQ(rows(), (Names{"Zeta", "Beta", "Game Three"}));
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(SelectGame, AFailedWriteIsReportedAndLeavesTheDialogAsItWas)
{
    const std::string blocked = dir.mkdir("blocked/gamelist.ini");
    dialog.setGameListPath(blocked);
    dialog.setZipDirectory(roms);
    dialog.show();
    QTest::mouseClick(showAll(), Qt::LeftButton);
    clickRow(2);
    whenModal([&](QWidget* modal) {
        QTest::keyClicks(addGameEdit("zip"), "c");
        QTest::keyClicks(addGameEdit("game"), "Gamma");
        QTest::mouseClick(modal->findChild<QPushButton*>("c164"), Qt::LeftButton);
    });
    QTest::mouseClick(button("c136"), Qt::LeftButton);
    EXPECT_EQ(messages.errors, (Names{"Cannot create file " + blocked}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(dialog.selectedZip(), "c.zip");
}

// A pair that could not be read back is refused in the error box; the file and the list stay.
TEST_F(SelectGame, APairTheFileCannotHoldIsRefusedAndNothingIsWritten)
{
    dialog.setZipDirectory(roms);
    dialog.show();
    QTest::mouseClick(showAll(), Qt::LeftButton);
    clickRow(1);
    const std::string before = readBytes(gameList);
    for (const auto& [zip, game] : std::vector<std::pair<const char*, const char*>>{
             {"[abc.zip", "x]"}, {";c.zip", "Gamma"}, {"a=b.zip", "Gamma"}}) {
        whenModal([&](QWidget* modal) {
            QTest::keyClicks(addGameEdit("zip"), zip);
            QTest::keyClicks(addGameEdit("game"), game);
            QTest::mouseClick(modal->findChild<QPushButton*>("c164"), Qt::LeftButton);
        });
        QTest::mouseClick(button("c136"), Qt::LeftButton);
    }
    EXPECT_EQ(
        messages.errors,
        (Names{
            "The zip name \"[abc\" cannot be added to gamelist.ini: a line beginning with \"[\" can "
            "read as a section",
            "The zip name \";c\" cannot be added to gamelist.ini: a line beginning with \";\" is a comment",
            "The zip name \"a=b\" cannot be added to gamelist.ini: it holds \"=\", where a name ends"}));
    EXPECT_EQ(readBytes(gameList), before);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "c.zip", ""}));
}

TEST(SelectGameLanguage, TakesItsTextsInOrderAndStopsAtTheFirstMissingLine)
{
    const auto languageOf = [](int count) {
        LineList lines;
        for (int n = 0; n < count; ++n)
            lines.append("L" + std::to_string(n));
        return Language(lines);
    };
    const auto textOf = [](const QWidget& window, const char* name) {
        if (auto* button = window.findChild<QAbstractButton*>(name))
            return button->text().toStdString();
        return window.findChild<QLabel*>(name)->text().toStdString();
    };
    test::RecordingMessages messages;

    const Language full = languageOf(166);
    SelectGameDialog translated(full);
    for (const char* name : {"C135", "c136", "c137", "c138", "c139", "c158"})
        EXPECT_EQ(textOf(translated, name), "L" + std::string(name + 1));
    EXPECT_EQ(translated.folderBrowser.Title, "L160");
    EXPECT_EQ(translated.windowTitle(), "Select Game");
    EXPECT_TRUE(messages.errors.empty());

    const Language short149 = languageOf(149);
    SelectGameDialog partly(short149);
    EXPECT_EQ(textOf(partly, "c139"), "L139");
    EXPECT_EQ(textOf(partly, "c158"), "Change Directory");
    EXPECT_EQ(partly.folderBrowser.Title, "Select a directory from the list:");
    EXPECT_EQ(messages.errors, (Names{"List index out of bounds (158)"}));

    // Line 149 is read when OK is pressed without a selection.
    partly.show();
    QTest::mouseClick(partly.findChild<QPushButton*>("c138"), Qt::LeftButton);
    EXPECT_EQ(messages.errors.back(), "List index out of bounds (149)");
    EXPECT_TRUE(messages.plain.empty());
    QTest::mouseClick(translated.findChild<QPushButton*>("c138"), Qt::LeftButton);
    EXPECT_EQ(messages.plain, (Names{"L149"}));

    const Language short163 = languageOf(163);
    AddGameDialog add(short163);
    EXPECT_EQ(add.windowTitle(), "L161");
    EXPECT_EQ(textOf(add, "c162"), "L162");
    EXPECT_EQ(textOf(add, "c163"), "Game name:");
    EXPECT_EQ(textOf(add, "c164"), "Add");
    EXPECT_EQ(messages.errors.back(), "List index out of bounds (163)");

    const Language none;
    AddGameDialog builtin(none);
    EXPECT_EQ(builtin.windowTitle(), "Add a Game");
    EXPECT_EQ(textOf(builtin, "c165"), "Cancel");
    AddGameDialog addFull(full);
    EXPECT_EQ(textOf(addFull, "c165"), "L165");
}

} // namespace
} // namespace arcavio

namespace arcavio {
namespace {

// Rows marked from the cache of the newest check, only while their zips stay as they were, and
// "Only sets that will run" hiding what will not, for the rest of the run.
TEST_F(SelectGame, MarksCheckedRowsAndHidesWhatWillNotRunOnRequest)
{
    dir.write("gamelist.ini", "[gamelist]\r\nA=Zeta\r\nb=Alpha\r\nc=Gamma\r\ngame1=One\r\n");
    const std::string cachePath = dir.file("set-checks.txt");
    dialog.setSetCheckCachePath(cachePath);
    const auto showAgain = [&] {
        dialog.prepareForShowing();
        dialog.show();
    };
    const auto decorations = [&] {
        std::vector<bool> shown;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            shown.push_back(!list()->model()->index(row, 0).data(Qt::DecorationRole).isNull());
        return shown;
    };
    showAgain();
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "Gamma", "One"}));
    EXPECT_EQ(decorations(), (std::vector<bool>{false, false, false, false})); // never checked: as before

    const auto stampOf = [&](const char* zip) {
        const auto identity = platform::fileIdentity(roms + "/" + zip);
        return SetFileStamp{identity->size, identity->modified};
    };
    // An older version called b good; the newest check says bad, and that is what shows.
    const std::string bytes =
        SetCheckCache().serialize({{"0.252", roms + "/b.zip", stampOf("b.zip"), SetState::Bad},
                                   {"0.252", roms + "/A.zip", stampOf("A.zip"), SetState::Good},
                                   {"0.252", roms + "/c.zip", stampOf("c.zip"), SetState::NotFound},
                                   {"0.252", roms + "/game1.zip", {99, 99}, SetState::Bad},
                                   {"0.251", roms + "/b.zip", stampOf("b.zip"), SetState::Good}},
                                  {});
    platform::replaceFile(cachePath, bytes);
    showAgain();
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "Gamma", "One"})); // the texts stay
    EXPECT_EQ(dialog.rowMark(0), SetState::Good);
    EXPECT_EQ(dialog.rowMark(1), SetState::Bad);
    EXPECT_EQ(dialog.rowMark(2), SetState::NotFound);
    EXPECT_EQ(dialog.rowMark(3), std::nullopt); // game1.zip changed since its check
    EXPECT_EQ(decorations(), (std::vector<bool>{true, true, true, true})); // a blank keeps texts aligned

    auto* onlyRunnable = dialog.findChild<QAction*>("c183");
    ASSERT_NE(onlyRunnable, nullptr);
    EXPECT_EQ(onlyRunnable->text(), "Only sets that will run");
    clickRow(1);
    onlyRunnable->trigger();
    EXPECT_TRUE(onlyRunnable->isChecked());
    EXPECT_EQ(rows(), (Names{"Zeta", "One"}));
    EXPECT_EQ(dialog.rowZips(), (std::vector<std::string>{"A.zip", "game1.zip"}));
    EXPECT_EQ(selectedRow(), -1); // the hidden row is no choice
    // Still on for the next showing, over the full list, and together with a find.
    showAgain();
    showAll()->setChecked(true);
    EXPECT_TRUE(dialog.onlyRunnableSets());
    EXPECT_EQ(rows(), (Names{"Zeta", "One"}));
    QTest::keyClicks(list(), "o");
    EXPECT_EQ(rows(), (Names{"One"}));
    QTest::keyClick(list(), Qt::Key_Escape);
    onlyRunnable->trigger();
    EXPECT_EQ(rows(), (Names{"Zeta", "Alpha", "Gamma", "One"}));
}

} // namespace
} // namespace arcavio
