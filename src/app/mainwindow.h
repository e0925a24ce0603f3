#pragma once

#include <QMainWindow>

#include <array>
#include <string>

#include "app/configlist.h"
#include "app/skin.h"
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

class RegionButton;

// The main window: the configuration list with its preview, the menus and the six command
// buttons, and the working lists other windows read.
class MainWindow : public QMainWindow, private PreviewView, private SkinTarget {
    Q_OBJECT

  public:
    // Runs the creation handler: the language step, then the skin step; the first error ends
    // it and reaches the error box, and the window is created all the same.
    explicit MainWindow(QWidget* parent = nullptr, std::string skinDirectory = defaultSkinDirectory());

    // "skin" beside the program's own file.
    static std::string defaultSkinDirectory();
    ~MainWindow() override;

    // Working lists shared with the other windows and commands.
    Language lang;
    LineList config;
    LineList ListBox;
    LineList inifile;

    // Components: deletion with the shell's question (Exclude), asked through the message
    // boxes, the emulator's launcher and the emulator's open-file dialog (Kwikstart).
    MessagePrompt shellPrompt;
    ShellFileOperation delete_{shellPrompt};
    ProcessLauncher Executor{&owner_};
    EmulatorFileDialog d113{this};

    // Set by the skin step.
    std::string skinAboutText;
    bool regionRefresh = false;

    const ConfigurationList& configurationList() const { return list_; }
    // The list directory, one separator and the selected name; empty when nothing is selected.
    std::string selectedFullPath() const;
    std::string statusText() const;

    // Re-reads the list directory; raises the change event at the end. Throws InOutError.
    void refreshList();
    // Deletes the selected configuration after the shell's question, then refreshes the list.
    void excludeSelected();

    std::array<RegionButton*, 6> commandButtons() const { return buttons_; }

  signals:
    // The commands whose windows are built elsewhere; the program wires them.
    void runRequested();
    void editRequested();
    void excludeRequested();
    void newConfigurationRequested();
    void kwikstartRequested();
    void refreshRequested();
    void aboutRequested();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void languageStep();
    void applyLanguageLine(int line, const QString& text);
    void skinStep();
    void selectionChanged();
    int selectedRow() const;

    // PreviewView
    void clearPicture() override;
    void setStatusText(const std::string& text) override;
    void showPicture(const std::string& path) override;

    // SkinTarget
    void loadButtonPicture(int button, ButtonState state, const std::string& path) override;
    void loadBackground(const std::string& path) override;
    void setButtonTop(int button, int top) override;
    void setButtonLeft(int button, int left) override;
    void setListTop(int value) override;
    void setListLeft(int value) override;
    void setListWidth(int value) override;
    void setListHeight(int value) override;
    void setListColour(SkinColour colour) override;
    void setListFontColour(SkinColour colour) override;
    void setWindowOuterWidth(int value) override;
    void setWindowOuterHeight(int value) override;
    void setSkinAboutText(const std::string& text) override;
    void setImageTop(int value) override;
    void setImageLeft(int value) override;
    void setImageWidth(int value) override;
    void setImageHeight(int value) override;
    void setRegionRefresh(bool on) override;
    void centreOnScreen() override;

    void buildButtons(QWidget* client);
    void setListColourRole(int role, SkinColour colour);
    void setInnerSize(QSize inner);

    QAction* addCommand(QMenu* menu, const char* name, const char* caption, void (MainWindow::*signal)());

    WidgetOwner owner_{this};
    ConfigurationList list_;
    int previewedRow_ = -1;
    std::string skinDirectory_;
    WindowPlacement* placement_;

    QListWidget* lista_ = nullptr;
    QLabel* Image1_ = nullptr;
    QWidget* client_ = nullptr;
    QLabel* back_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    std::array<RegionButton*, 6> buttons_{};
};

} // namespace arcavio
