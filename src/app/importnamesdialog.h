#pragma once

#include <QString>

#include <string>

#include "app/progresswindow.h"
#include "games/nameimport.h"

class QFileDialog;
class QLabel;
class QWidget;

namespace arcavio {

// The progress window of "Import Game Names…", objectName "importNames": a busy bar, the number
// of names read so far and Cancel, shown while the emulator lists its sets. The emulator's output
// is read on the user-interface thread, a little at a time from a timer, so the program's windows
// go on painting and answering while it runs.
//
// Control names and members: importEmulator emulatorLabel_, importProgress progressBar_,
// importCount countLabel_, importCancel cancelButton_.
class ImportNamesDialog : public ProgressWindow {
    Q_OBJECT
  public:
    explicit ImportNamesDialog(QWidget* parent = nullptr);

    // Starts the import and shows this window until the emulator has ended or Cancel stopped it,
    // then merges the list into the game list file (nothing is written when cancelled). Throws as
    // GameNameImport does: before the window shows when the emulator cannot be started.
    NameImportSummary run(const std::string& emulator, const std::string& gameListPath);

  private:
    bool readSome(GameNameImport& import);
    void showCount(const GameNameImport& import);

    QLabel* emulatorLabel_;
    QLabel* countLabel_;
};

// The command behind "Import Game Names…": asks for the emulator in an open-file dialog
// (objectName "importEmulatorFile"), runs the import with its progress window, and tells what it
// did in a plain message. Errors are thrown for the caller's guard.
class NameImportCommand {
  public:
    explicit NameImportCommand(QWidget* parent);
    ~NameImportCommand();
    NameImportCommand(const NameImportCommand&) = delete;
    NameImportCommand& operator=(const NameImportCommand&) = delete;

    // `offered` is the emulator the dialog opens on (the selected configuration's), or empty for
    // the one chosen last; a relative path is taken from the current directory.
    void run(const std::string& offered, const std::string& gameListPath);

    // Created on first use (tests drive them).
    QFileDialog* emulatorDialog();
    ImportNamesDialog* progressDialog();

  private:
    QWidget* parent_;
    QFileDialog* emulatorDialog_ = nullptr;
    ImportNamesDialog* progressDialog_ = nullptr;
    QString last_;
};

} // namespace arcavio
