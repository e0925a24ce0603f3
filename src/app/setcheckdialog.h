#pragma once

#include "app/progresswindow.h"
#include "games/setcheck.h"

class QLabel;
class QWidget;

namespace arcavio {

// The progress window of "Check ROM Sets…", objectName "checkSets": the sets checked of all,
// the set the emulator named last, and Cancel.
//
// Control names and members: checkProgress progressBar_, checkCount countLabel_,
// checkCurrent currentLabel_, checkCancel cancelButton_.
class SetCheckDialog : public ProgressWindow {
    Q_OBJECT
  public:
    explicit SetCheckDialog(QWidget* parent = nullptr);

    // Shows this window until every batch has ended or Cancel stopped the emulator, then keeps
    // the results (see SetCheck::finish, which this throws as).
    SetCheckSummary run(SetCheck& check);

  private:
    void showProgress(const SetCheck& check);

    QLabel* countLabel_;
    QLabel* currentLabel_;
};

} // namespace arcavio
