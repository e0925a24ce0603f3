#pragma once

#include <QDialog>
#include <QTimer>

#include <exception>
#include <string>

#include "games/setcheck.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace arcavio {

// The progress window of "Check ROM Sets…", objectName "checkSets": the sets checked of all,
// the set the emulator named last, and Cancel. The emulator's answer is read on the
// user-interface thread a little at a time from a timer, as the import's window does.
//
// Control names and members: checkProgress progressBar_, checkCount countLabel_,
// checkCurrent currentLabel_, checkCancel cancelButton_.
class SetCheckDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SetCheckDialog(QWidget* parent = nullptr);

    // Shows this window until every batch has ended or Cancel stopped the emulator, then keeps
    // the results (see SetCheck::finish, which this throws as).
    SetCheckSummary run(SetCheck& check);

    // Cancel, Escape and the close box: the emulator is stopped at once.
    void reject() override;

  private:
    void readSome();
    void showProgress();

    QProgressBar* progressBar_;
    QLabel* countLabel_;
    QLabel* currentLabel_;
    QPushButton* cancelButton_;
    QTimer timer_;
    SetCheck* check_ = nullptr; // while run() runs
    std::exception_ptr failure_;
};

} // namespace arcavio
