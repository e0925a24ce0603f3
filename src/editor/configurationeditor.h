#pragma once

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "base/language.h"
#include "components/folderbrowser.h"
#include "editor/editorlines.h"
#include "editor/editorrules.h"
#include "text/linelist.h"

class QCheckBox;
class QFileDialog;
class QFrame;
class QLineEdit;
class QPushButton;

namespace arcavio {

struct EmulatorKnowledge;

class EditorPages;
class GamePicker;
class PictureBox;
class SpinEdit;

// What an editor window needs of the rest of the program.
struct EditorContext {
    const Language& language;
    GamePicker& gamePicker;
    // Shows the help window modally.
    std::function<void()> showHelp;
    // Shows the configuration-name dialog modally; its chosen path, empty when cancelled.
    std::function<std::string()> askConfigurationName;
    // The main window's configuration list refresh.
    std::function<void()> refreshList;
    // The window the editor is modal over.
    QWidget* owner = nullptr;
    // Runs a file dialog and returns the confirmed file; empty runs it modally. Tests answer
    // here, since they cannot click a dialog.
    std::function<std::optional<std::string>(QFileDialog& dialog)> runFileDialog;
};

// The configuration editor, objectName "c110": six pages of controls bound to the 69 lines of a
// configuration (see ConfigurationControls), and the panel's Help, Save As, Save, Save and
// Close and Close. The pages are built from the control table (editortable.h); this window
// binds them to its commands.
//
// Control names and members, where the name does not say it:
//   S7984, Panel1     pages_                  the notebook of six pages and the button panel
//   Shape1, Image     pictureFrame_, picture_ the empty frame and the configuration's picture
//   mame              emulatorEdit_           the emulator's program file
//   c21, game, c23    runSpecifiedGame_, gameEdit_, searchGameButton_
//   dir1 to dir10     directoryEdits_         file1 to file3  fileEdits_
//   D111, d113, d125  pictureDialog_, executableDialog_, datDialog_ (created on first use)
//   d114              folderBrowser_
//   d131              saveDialogTitle_        the title of a save dialog that Save never shows
class ConfigurationEditor : public QDialog, public ConfigurationControls {
    Q_OBJECT
  public:
    explicit ConfigurationEditor(const EditorContext& context);
    ~ConfigurationEditor() override;

    // The file Save writes; empty until a name is chosen.
    std::string ConfigFileName;
    // The 69 lines Save assembled last.
    LineList savedLines;

    const std::string& pictureFileName() const { return pictureFileName_; }
    // Controls from a configuration's lines (lines 0 to 68 in order); throws on the first
    // value it cannot take.
    void loadConfiguration(const LineList& lines);

    // The commands of the button panel; they throw what stops them.
    void save();
    void saveAs();
    void saveAndClose();
    void closeEditor();

    // The commands of the path pickers; they throw what stops them.
    void searchExecutable();
    void searchDirectory(int row);  // 1 to 10
    void defaultDirectory(int row); // 1 to 10
    void searchDatFile(int row);    // 1 to 3
    void defaultDatFile(int row);   // 1 to 3
    void loadPictureFromDialog();
    void clearPicture();
    void searchGame();

    // Marks the settings the emulator has no counterpart for (a recent MAME), or takes the marks
    // away (null). The editor does it by itself once it knows the emulator of its first field.
    void markSettingsFor(const EmulatorKnowledge* emulator);

    // The title a dialog of this window has or will have: "D111", "d113", "d114", "d125", "d131".
    std::string dialogTitle(const std::string& name) const;
    FolderBrowser& folderBrowser() { return folderBrowser_; }

    // ConfigurationControls
    void setText(std::string_view control, const std::string& value) override;
    void setFlag(std::string_view control, bool on) override;
    void setInteger(std::string_view control, std::int32_t value) override;
    void setPicture(const std::string& path) override;
    std::string text(std::string_view control) const override;
    bool flag(std::string_view control) const override;
    std::int32_t integer(std::string_view control) const override;
    std::string picture() const override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void bindControls();
    void onClick(QPushButton* button, std::function<void()> command);
    void onClick(std::string_view button, std::function<void()> command);
    void applyLanguage();

    void runSpecifiedGameChanged(bool checked);
    void automaticValueChanged(const std::vector<SpinEdit*>& fields, bool checked);
    void showPicture(const QImage& image);
    std::optional<std::string> runDialog(QFileDialog& dialog);
    QFileDialog& pictureDialog();
    QFileDialog& executableDialog();
    QFileDialog& datDialog();

    QWidget* control(std::string_view name) const;
    void askAboutEmulator(const std::string& program);

    struct Marked {
        QPointer<QWidget> widget;
        QString toolTip;
    };
    std::vector<Marked> marked_;
    std::string askedEmulator_;

    EditorContext context_;
    std::string pictureFileName_;

    std::unique_ptr<EditorPages> pages_;
    QFrame* pictureFrame_ = nullptr;
    PictureBox* picture_ = nullptr;
    QLineEdit* emulatorEdit_ = nullptr;
    QLineEdit* gameEdit_ = nullptr;
    QCheckBox* runSpecifiedGame_ = nullptr;
    QPushButton* searchGameButton_ = nullptr;
    std::vector<QLineEdit*> directoryEdits_;
    std::vector<QLineEdit*> fileEdits_;
    std::vector<SpinEdit*> frameSkip_;
    std::vector<SpinEdit*> resolution_;
    std::vector<SpinEdit*> debugResolution_;

    std::string pictureDialogTitle_;
    std::string executableDialogTitle_;
    std::string saveDialogTitle_;
    QFileDialog* pictureDialog_ = nullptr;
    QFileDialog* executableDialog_ = nullptr;
    QFileDialog* datDialog_ = nullptr;
    FolderBrowser folderBrowser_;
};

} // namespace arcavio
