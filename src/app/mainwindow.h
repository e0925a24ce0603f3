#pragma once

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/configlist.h"
#include "base/language.h"
#include "base/messageprompt.h"
#include "components/processlauncher.h"
#include "components/shellfileoperation.h"
#include "components/widgetowner.h"
#include "components/windowplacement.h"
#include "launch/executabledialog.h"
#include "text/linelist.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QStatusBar;

namespace arcavio {

class MainWindowSkin;
class RegionButton;

// The main window, objectName "Form1": the configuration list with its preview, the menus and
// the six command buttons, and the working lists other windows read.
//
// Control names and the members that hold them:
//   lista         configurationView_   the configuration names
//   Image1        preview_             the selected configuration's picture
//   back          background_          the skin's background picture
//   StatusPanel   statusPanel_         the selected configuration's about text
//   h142 to h147  commandButtons_      Run, Edit, Exclude, New, Refresh, Kwikstart
//   d113          emulatorFileDialog   Kwikstart's open-file dialog for the emulator
class MainWindow : public QMainWindow, private PreviewView {
    Q_OBJECT

  public:
    // Runs the creation handler: the language step, then the skin step; the first error ends
    // it and reaches the error box, and the window is created all the same.
    explicit MainWindow(QWidget* parent = nullptr, std::string skinDirectory = defaultSkinDirectory());

    // "skin" beside the program's own file.
    static std::string defaultSkinDirectory();
    ~MainWindow() override;

    // Working lists shared with the other windows and commands: the language lines, the lines
    // of the selected configuration (Run changes some of them in memory), the lines Edit reads
    // and the option-file buffer Run fills.
    Language language;
    LineList configurationLines;
    LineList editLines;
    LineList optionFileLines;

    // The emulator's launcher (Run, Kwikstart), which hides this window while the emulator runs.
    ProcessLauncher launcher{&launcherOwner_};
    EmulatorFileDialog emulatorFileDialog{this};

    // What the skin step set: the About the Skin text, and whether the buttons' shapes are built
    // again when the window shows.
    const std::string& skinAboutText() const;
    bool regionRefresh() const;

    const ConfigurationList& configurationList() const { return configurationList_; }
    // The list directory, one separator and the selected name; empty when nothing is selected.
    std::string selectedFullPath() const;
    std::string statusText() const;

    // Re-reads the list directory; raises the change event at the end. Throws InOutError.
    void refreshList();
    // Deletes the selected configuration after the shell's question, then refreshes the list.
    void excludeSelected();

    std::array<RegionButton*, 6> commandButtons() const { return commandButtons_; }

  signals:
    // The commands whose windows are built elsewhere; the program wires them.
    void runRequested();
    void editRequested();
    void excludeRequested();
    void newConfigurationRequested();
    void kwikstartRequested();
    void importNamesRequested();
    void checkSetsRequested();
    void refreshRequested();
    void aboutRequested();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildButtons(QWidget* client);
    void buildMenus();
    QAction* addCommand(QMenu* menu, const char* name, std::string_view caption,
                        void (MainWindow::*signal)());
    void languageStep();
    void applyLanguageLine(int line, const QString& text);
    void skinStep();
    void selectionChanged();
    int selectedRow() const;
    void setInnerSize(QSize inner);

    // PreviewView
    void clearPicture() override;
    void setStatusText(const std::string& text) override;
    void showPicture(const std::string& path) override;

    WidgetOwner launcherOwner_{this};
    // Exclude deletes through the shell, which asks first through the message boxes.
    MessagePrompt shellPrompt_;
    ShellFileOperation excludeDeletion_{shellPrompt_};

    ConfigurationList configurationList_;
    int previewedRow_ = -1;
    std::string skinDirectory_;
    WindowPlacement* placement_;

    QListWidget* configurationView_ = nullptr;
    QLabel* preview_ = nullptr;
    QWidget* client_ = nullptr;
    QLabel* background_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    std::array<RegionButton*, 6> commandButtons_{};
    std::unique_ptr<MainWindowSkin> skin_;
};

} // namespace arcavio
