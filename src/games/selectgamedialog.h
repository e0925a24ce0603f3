#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "components/folderbrowser.h"
#include "games/gamepicker.h"
#include "games/ziplisting.h"

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

namespace arcavio {

class Language;
class AddGameDialog;

// Lists the games whose zips lie in one directory, under their names from the game list
// file, and lets the user pick one, add a name, or (for Run) change the directory.
class SelectGameDialog : public QDialog, public GamePicker {
    Q_OBJECT
  public:
    // Takes its texts from the language when it is loaded; the language must outlive the
    // dialog, which reads line 149 on demand.
    explicit SelectGameDialog(const Language& language, QWidget* parent = nullptr);

    // The add-a-game dialog is created after this one; "Add a new Game" does nothing without it.
    void setAddGameDialog(AddGameDialog* dialog) { addGame_ = dialog; }
    // gamelist.ini beside the program unless set otherwise.
    void setGameListPath(std::string path) { gameListPath_ = std::move(path); }
    const std::string& gameListPath() const { return gameListPath_; }

    bool GameChosen = false;
    std::string ChosenDirectory;
    FolderBrowser t160;

    void setZipDirectory(const std::string& directory) override;
    void refreshZipListing() override;
    void setChangeDirectoryVisible(bool visible) override;
    void showModal() override;
    bool gameChosen() const override { return GameChosen; }
    std::string chosenDirectory() const override { return ChosenDirectory; }
    void clearChosenDirectory() override { ChosenDirectory.clear(); }
    std::string selectedZip() const override;

    // What each showing starts with (GameChosen false, "Show all Zip files" cleared, the
    // named list rebuilt); showModal does it before exec().
    void prepareForShowing();

    const ZipListing& zipListing() const { return Ziplist; }
    // The zip of each row of the visible list, index for index.
    const std::vector<std::string>& rowZips() const { return filelist; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyLanguage(const Language& language);
    void fitToTexts();
    void fillList(bool showAll);
    void showNamedList();
    void rebuild();
    void confirm();
    void changeDirectory();
    void addGame();

    const Language& language_;
    AddGameDialog* addGame_ = nullptr;
    std::string gameListPath_;
    ZipListing Ziplist;
    std::vector<std::string> filelist;
    int filelistIndex_ = -1;

    QLabel* c139;
    QPushButton* c136;
    QListView* gamelist;
    QStringListModel* rows_;
    QCheckBox* C135;
    QPushButton* c158;
    QPushButton* c137;
    QPushButton* c138;
};

} // namespace arcavio
