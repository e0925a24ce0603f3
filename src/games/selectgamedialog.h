#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/folderbrowser.h"
#include "games/gamefinder.h"
#include "games/gamepicker.h"
#include "games/setcheckcache.h"
#include "games/ziplisting.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace arcavio {

class Language;
class AddGameDialog;
class ShownRows;

// The select-game dialog, objectName "c134": lists the games whose zips lie in one directory,
// under their names from the game list file, and lets the user pick one, add a name, or (for
// Run) change the directory. Its results are the fields GameChosen and ChosenDirectory and the
// selected zip; the core reads them through GamePicker.
//
// Control names and members:
//   c139      prompt_                  "Select a Game From the List Above:"
//   c136      addGameButton_           "Add a new Game"
//   gamelist  gameList_                the game names, one row per zip in rowZips()
//   gamefind  findField_               the text being found, at the list's lower edge; typing
//                                      into the list opens it, Escape or emptying it closes it
//   C135      showAllZips_             "Show all Zip files"
//   c158      changeDirectoryButton_   "Change Directory", shown only while Run uses the dialog
//   c137      cancelButton_
//   c138      okButton_
//   t160      folderBrowser            Change Directory's folder browser
//   c183      onlyRunnable_            the list's menu item "Only sets that will run"
//
// A row whose zip the set-check cache knows, as it is now, is marked by a small disc (green
// good, amber best available, red bad, grey not found) beside its unchanged text.
class SelectGameDialog : public QDialog, public GamePicker {
    Q_OBJECT
  public:
    // Takes its texts from the language when it is loaded; the language must outlive the
    // dialog, which reads line 149 on demand.
    explicit SelectGameDialog(const Language& language, QWidget* parent = nullptr);

    // The add-a-game dialog is created after this one; "Add a new Game" does nothing without it.
    void setAddGameDialog(AddGameDialog* dialog) { addGameDialog_ = dialog; }
    // gamelist.ini beside the program unless set otherwise.
    void setGameListPath(std::string path) { gameListPath_ = std::move(path); }
    const std::string& gameListPath() const { return gameListPath_; }

    bool GameChosen = false;
    std::string ChosenDirectory;
    FolderBrowser folderBrowser;

    void setZipDirectory(const std::string& directory) override;
    void refreshZipListing() override;
    void setChangeDirectoryVisible(bool visible) override;
    void showModal() override;
    std::string selectedZip() const override;

    // What each showing starts with (GameChosen false, "Show all Zip files" cleared, the
    // named list rebuilt); showModal does it before exec().
    void prepareForShowing();

    // The cache the marks come from; the user's unless set otherwise.
    void setSetCheckCachePath(std::string path) { setCheckCachePath_ = std::move(path); }
    // What the newest check said of a row's zip, when the zip has not changed since.
    std::optional<SetState> rowMark(int row) const;
    // Whether "Only sets that will run" is ticked; it stays so for the program's run.
    bool onlyRunnableSets() const;

    const ZipListing& zipListing() const { return zipListing_; }
    // The zip of each row the list shows, index for index: the hidden zip-name list.
    std::vector<std::string> rowZips() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // GamePicker's view of the two fields; on the dialog itself they are read as fields.
    bool gameChosen() const override { return GameChosen; }
    std::string chosenDirectory() const override { return ChosenDirectory; }
    void clearChosenDirectory() override { ChosenDirectory.clear(); }

    void applyLanguage(const Language& language);
    void fitToTexts();
    void fillList(bool showAll);
    void showNamedList();
    void rebuild();
    void confirm();
    void changeDirectory();
    void addGame();
    void readSetChecks();

    bool finding() const;
    bool findKey(QKeyEvent* event);
    void openFind();
    void hideFind();
    void closeFind();
    // Shows the rows the find text matches (every row when there is none), without the sets that
    // will not run when only those that will are asked for, keeping the
    // selected row when it is among them, else selecting the first one when asked to.
    void applyFind(bool selectFirstMatch);
    void placeList();

    const Language& language_;
    AddGameDialog* addGameDialog_ = nullptr;
    std::string gameListPath_;
    ZipListing zipListing_;
    // Every row's zip, shown or not; selectedRow_ indexes it.
    std::vector<std::string> allZips_;
    GameFinder finder_;
    int selectedRow_ = -1;
    std::string setCheckCachePath_;
    SetCheckCache setChecks_;
    std::optional<SetFileStamp> setChecksRead_; // of the cache file as it was read
    std::vector<std::string> markFolders_;
    mutable std::vector<std::int8_t> rowMarks_; // per row: -2 not looked up yet, -1 none

    QLabel* prompt_;
    QPushButton* addGameButton_;
    QListView* gameList_;
    ShownRows* rows_;
    QLineEdit* findField_;
    QCheckBox* showAllZips_;
    QPushButton* changeDirectoryButton_;
    QPushButton* cancelButton_;
    QPushButton* okButton_;
    QAction* onlyRunnable_;
};

} // namespace arcavio
